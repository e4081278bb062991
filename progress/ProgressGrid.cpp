#include "progress/ProgressGrid.h"

#include "data/ExamHistory.h"
#include "platform/PersianDigits.h"
#include "ui/Look.h"

#include <QHeaderView>
#include <QTableWidget>

using namespace look;

QTableWidget* MakeProgressGrid(QWidget* parent, const char* name, const QStringList& headers) {
    auto* grid = new QTableWidget(0, int(headers.size()), parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setHorizontalHeaderLabels(headers);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->hide();
    // A chosen row would set every column's heading in bold, wider than its column.
    grid->horizontalHeader()->setHighlightSections(false);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid->setFont(Tahoma(9));
    return grid;
}

void SetProgressCell(QTableWidget* grid, int row, int column, const QString& text, const QColor& colour) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    if (colour.isValid())
        item->setForeground(colour);
    grid->setItem(row, column, item);
}

QTableWidget* MakeCategoryGrid(QWidget* parent) {
    QTableWidget* grid = MakeProgressGrid(parent, "grdMozooat",
                                          {QStringLiteral("موضوع"), QStringLiteral("پاسخها"),
                                           QStringLiteral("درست"), QStringLiteral("درصد درست")});
    grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    return grid;
}

void FillCategoryGrid(QTableWidget* grid, const QVector<CategoryScore>& scores) {
    grid->setRowCount(int(scores.size()));
    for (int r = 0; r < scores.size(); ++r) {
        const CategoryScore& s = scores[r];
        const int percent = s.answered > 0 ? (100 * s.right + s.answered / 2) / s.answered : 0;
        SetProgressCell(grid, r, 0, s.title);
        SetProgressCell(grid, r, 1, PersianNumber(s.answered));
        SetProgressCell(grid, r, 2, PersianNumber(s.right));
        SetProgressCell(grid, r, 3, PersianNumber(percent) + u'٪', percent < 50 ? kRed : QColor());
    }
}
