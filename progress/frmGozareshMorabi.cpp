#include "progress/frmGozareshMorabi.h"

#include "data/SharedState.h"
#include "platform/Clock.h"
#include "platform/PersianDigits.h"
#include "progress/ProgressGrid.h"
#include "ui/Look.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

using namespace look;

namespace {
const ControlPlace kLayout[] = {
    {"lblVaziat", 150, 120, 14000, 420},       {"lblShagerdan", 150, 600, 14000, 330},
    {"grdShagerdan", 150, 960, 14000, 3600},   {"lblEshtebahat", 150, 4680, 14000, 330},
    {"grdEshtebahat", 150, 5040, 14000, 3300},
};
} // namespace

frmGozareshMorabi::frmGozareshMorabi(QWidget* parent) : ChildForm(parent) {
    setWindowTitle(QStringLiteral("گزارش مربي"));
    SetFormBackground(this);
    lblVaziat_ =
        MakeLabel(this, QStringLiteral("lblVaziat"), {}, TahomaBold(10), kAlignRight | Qt::AlignVCenter);
    lblVaziat_->setWordWrap(true);
    MakeLabel(this, QStringLiteral("lblShagerdan"), QStringLiteral("شاگردان"), TahomaBold(10),
              kAlignRight | Qt::AlignVCenter);
    MakeLabel(this, QStringLiteral("lblEshtebahat"), QStringLiteral("سؤالهايي كه كلاس بيشتر اشتباه كرده است"),
              TahomaBold(10), kAlignRight | Qt::AlignVCenter);
    grdShagerdan_ =
        MakeProgressGrid(this, "grdShagerdan",
                         {QStringLiteral("شاگرد"), QStringLiteral("آزمونها"), QStringLiteral("آخرين نمره"),
                          QStringLiteral("شانس قبولي"), QStringLiteral("ضعيف ترين مباحث")});
    // The names and figures as wide as they need, the weakest categories the rest.
    for (int column : {0, 1, 2, 3})
        grdShagerdan_->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    grdEshtebahat_ =
        MakeProgressGrid(this, "grdEshtebahat",
                         {QStringLiteral("سؤال"), QStringLiteral("اشتباه"), QStringLiteral("پاسخ"),
                          QStringLiteral("شاگردان"), QStringLiteral("متن سؤال")});
    for (int column : {0, 1, 2, 3})
        grdEshtebahat_->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    PlaceLayout(kLayout);
}

void frmGozareshMorabi::Form_Load() {
    PlaceOnMain(14300, 8625);
    ReadReport();
}

void frmGozareshMorabi::ReadReport() {
    const ClassRecords records = ReadClassRecords(ConnectionString());
    report_ = records.ok ? BuildClassReport(records, gPassMark, NowDateTime().date()) : ClassReport();
    lblVaziat_->setText(
        records.ok ? QStringLiteral("شاگردان: %1، آزمونها: %2")
                         .arg(PersianNumber(report_.learners.size()), PersianNumber(records.exams.size()))
                   : records.problem);
    grdShagerdan_->setRowCount(int(report_.learners.size()));
    for (int row = 0; row < report_.learners.size(); ++row) {
        const LearnerReport& l = report_.learners[row];
        QStringList weakest;
        for (const CategoryShare& share : l.weakest)
            weakest << CategoryShareText(share);
        SetProgressCell(grdShagerdan_, row, 0, LearnerLabel(l.name));
        SetProgressCell(grdShagerdan_, row, 1, PersianNumber(l.exams));
        SetProgressCell(grdShagerdan_, row, 2,
                        l.last ? PersianNumber(l.last->correct) + QStringLiteral(" از ") +
                                     PersianNumber(l.last->questions)
                               : QStringLiteral("-"),
                        l.last && !l.last->passed ? kRed : QColor());
        SetProgressCell(grdShagerdan_, row, 3, ReadinessText(l.readiness));
        SetProgressCell(grdShagerdan_, row, 4,
                        weakest.isEmpty() ? QStringLiteral("-") : weakest.join(QStringLiteral("، ")));
    }
    grdEshtebahat_->setRowCount(int(report_.mostMissed.size()));
    for (int row = 0; row < report_.mostMissed.size(); ++row) {
        const MissedQuestion& q = report_.mostMissed[row];
        SetProgressCell(grdEshtebahat_, row, 0, PersianNumber(q.id));
        SetProgressCell(grdEshtebahat_, row, 1, PersianNumber(q.misses));
        SetProgressCell(grdEshtebahat_, row, 2, PersianNumber(q.answered));
        SetProgressCell(grdEshtebahat_, row, 3, PersianNumber(q.learners));
        SetProgressCell(grdEshtebahat_, row, 4, q.text.simplified());
    }
}
