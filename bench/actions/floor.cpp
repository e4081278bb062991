// The floor for one action: a bare main window with an MDI area and a Persian label, and in it a
// plain form filled by the same SQL through the raw SQLite C API (the category list, then the
// count and the first row of the chosen category), with the row's picture decoded and shown.
// Usage: actions_floor review|signs|category|next|grade
#include "../common/RawBank.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <QVBoxLayout>

namespace {
struct Form {
    QWidget* widget = nullptr;
    QComboBox* categories = nullptr;
    QLabel* count = nullptr;
    QLabel* question = nullptr;
    QLabel* options[4] = {};
    QLabel* picture = nullptr;
};

Form makeForm(QMdiArea* mdi) {
    Form f;
    f.widget = new QWidget;
    auto* layout = new QVBoxLayout(f.widget);
    f.categories = new QComboBox;
    f.count = new QLabel;
    f.question = new QLabel;
    layout->addWidget(f.categories);
    layout->addWidget(f.count);
    layout->addWidget(f.question);
    for (QLabel*& option : f.options) {
        option = new QLabel;
        layout->addWidget(option);
    }
    f.picture = new QLabel;
    layout->addWidget(f.picture);
    mdi->addSubWindow(f.widget)->resize(950, 570);
    f.widget->show();
    return f;
}

void showRow(Form& f, const QStringList& row) {
    if (row.size() < 9)
        return;
    f.question->setText(row[2]);
    for (int k = 0; k < 4; ++k)
        f.options[k]->setText(row[3 + k]);
    f.picture->clear();
    if (row[8].toInt() != 0) {
        QImageReader reader(QFileInfo(RawBankPath()).path() + u'/' + row[8]);
        reader.setDecideFormatFromContent(true);
        const QPixmap picture = QPixmap::fromImage(reader.read());
        f.picture->setPixmap(picture.scaled(QSize(375, 340).boundedTo(picture.size()), Qt::KeepAspectRatio,
                                            Qt::SmoothTransformation));
    }
}

// The list of categories, then the count and the first row of the first: what opening does.
QString openList(RawBank& bank, Form& f, const QString& list, const QString& view) {
    const QVector<QStringList> categories =
        bank.rows(QStringLiteral("Select %1.NoeSoal,tblNoeSoal.Farsi from %1,tblNoeSoal Where "
                                 "tblNoeSoal.NoeSoal = %1.NoeSoal")
                      .arg(list));
    for (const QStringList& c : categories)
        f.categories->addItem(c.value(1));
    return QStringLiteral("Select * from %1 Where NoeSoal ='%2'").arg(view, categories.value(0).value(0));
}

QStringList firstRow(RawBank& bank, Form& f, const QString& sql) {
    f.count->setText(bank.rows(QStringLiteral("SELECT count(*) FROM (") + sql + u')').value(0).value(0));
    const QStringList row =
        bank.rows(QStringLiteral("SELECT * FROM (") + sql + QStringLiteral(") ORDER BY ID LIMIT 1")).value(0);
    showRow(f, row);
    return row;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    const QString action = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    QMainWindow window;
    auto* mdi = new QMdiArea(&window);
    window.setCentralWidget(mdi);
    auto* label = new QLabel(QStringLiteral("مرور سؤالات"), &window);
    label->move(10, 10);
    label->adjustSize();
    window.showMaximized();

    RawBank bank(RawBankPath());
    Form f = makeForm(mdi);
    const bool signs = action == QLatin1String("signs") || action == QLatin1String("next");
    if (action == QLatin1String("grade")) {
        RawAssembleExam(bank);
        f.count->setText(bank.rows(QStringLiteral("SELECT count(*) FROM tblAzmoon")).value(0).value(0));
        const QVector<QStringList> exam = bank.rows(QStringLiteral(
            "SELECT ID, NoeSoal, SoorateSoal, G1, G2, G3, G4, G_Sahih, Shekl FROM tblAzmoon ORDER BY ID"));
        showRow(f, exam.value(0));
        int correct = 0;
        for (const QStringList& row : exam)
            correct += row.value(7) == QLatin1String("1");
        QDialog result(&window);
        auto* layout = new QVBoxLayout(&result);
        for (const QString& text :
             {QStringLiteral("30"), QString::number(30 - correct), QString::number(correct),
              QStringLiteral("00:00"), QStringLiteral("مردود")})
            layout->addWidget(new QLabel(text));
        result.show();
        QApplication::processEvents();
        result.accept();
    } else {
        const QString sql =
            signs ? openList(bank, f, QStringLiteral("qryNoeSoaleTabloha"), QStringLiteral("qryTabloha"))
                  : openList(bank, f, QStringLiteral("qryNoeSoal"), QStringLiteral("qrySoalat"));
        const QStringList row = firstRow(bank, f, sql);
        if (action == QLatin1String("category"))
            firstRow(bank, f, sql);
        if (action == QLatin1String("next"))
            showRow(f, bank.rows(QStringLiteral("SELECT * FROM (") + sql +
                                     QStringLiteral(") WHERE ID > ? ORDER BY ID LIMIT 1"),
                                 {row.value(0).toLongLong()})
                           .value(0));
    }
    QTimer::singleShot(0, &app, &QApplication::quit);
    return QApplication::exec();
}
