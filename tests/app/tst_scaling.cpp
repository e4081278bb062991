// Fitting a small screen: the scale factor, every window's controls at their designed places on
// a large enough area and scaled together on a small one, the exam answered and graded when it
// is scaled down, and the main window's strip whole however narrow the window.
#include "app/CentredStrip.h"
#include "app/frmMain.h"
#include "app/mdlRavex.h"
#include "common/FixtureBank.h"
#include "common/TestPlatform.h"
#include "exam/Circle.h"
#include "exam/frmAzmoon.h"
#include "exam/frmNatije.h"
#include "platform/SystemDir.h"
#include "ui/ChildForm.h"
#include "ui/FitText.h"
#include "ui/Layout.h"
#include "ui/Look.h"
#include "ui/Modal.h"
#include "ui/Scaling.h"

#include <QAbstractButton>
#include <QCategoryAxis>
#include <QChartView>
#include <QDialog>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// Each control's last row over all of a window's tables: a later table overrides.
QMap<QString, ControlPlace> RowsOf(const ChildForm* form) {
    QMap<QString, ControlPlace> rows;
    for (const auto& table : form->layoutTables())
        for (const ControlPlace& row : table)
            rows.insert(QString::fromLatin1(row.name), row);
    return rows;
}

// The rectangle of a widget in another's coordinates.
QRect RectIn(const QWidget* widget, const QWidget* ancestor) {
    return QRect(widget->mapTo(ancestor, QPoint(0, 0)), widget->size());
}

// What a user sees of a window's fit: its frame's size, and each named control's place, font and
// icon.
QStringList LookOf(const ChildForm* form) {
    const QSize frame = form->parentWidget()->size();
    QStringList look{QStringLiteral("frame %1x%2").arg(frame.width()).arg(frame.height())};
    for (const QWidget* control : form->findChildren<QWidget*>()) {
        if (control->objectName().isEmpty() || control->objectName().startsWith(QLatin1String("qt_")))
            continue;
        const QRect r = control->geometry();
        QString line = QStringLiteral("%1 %2,%3 %4x%5 font %6/%7")
                           .arg(control->objectName())
                           .arg(r.x())
                           .arg(r.y())
                           .arg(r.width())
                           .arg(r.height())
                           .arg(control->font().pointSizeF())
                           .arg(control->font().pixelSize());
        if (const auto* button = qobject_cast<const QAbstractButton*>(control))
            line += QStringLiteral(" icon %1x%2")
                        .arg(button->iconSize().width())
                        .arg(button->iconSize().height());
        look << line;
    }
    return look;
}

// The bounding box of the pixels that stand out from the image's top-left one: its ink.
QRect InkIn(const QImage& image, int contrast) {
    QRect ink;
    const int ground = qGray(image.pixel(0, 0));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAbs(qGray(image.pixel(x, y)) - ground) >= contrast)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

// The option 1..4 the exam's marker stands exactly on by the marker rule, or 0.
int MarkedOption(const QWidget* exam) {
    const double factor = qobject_cast<const ChildForm*>(exam)->scaleFactor();
    const int top = exam->findChild<Circle*>("shpJavab")->y();
    for (int k = 1; k <= 4; ++k) {
        if (top == exam->findChild<Circle*>(QStringLiteral("Shape%1").arg(k))->y() + qRound(5 * factor))
            return k;
    }
    return 0;
}
} // namespace

class TestScaling : public QObject {
    Q_OBJECT
    std::unique_ptr<RunningProgram> program;
    frmMain* main = nullptr;
    int graded = 0;

    // Resizes the main window until its MDI area has this size.
    void giveArea(QSize area) {
        QWidget* viewport = main->mdiArea()->viewport();
        for (int i = 0; i < 3 && viewport->size() != area; ++i) {
            main->resize(main->size() + (area - viewport->size()));
            QTest::qWait(0);
        }
        QCOMPARE(viewport->size(), area);
    }
    // The exam opens only with an exam to give: it gets a bank that holds one.
    ChildForm* open(const QString& name) {
        if (name == QLatin1String("frmAzmoon") && !examBank) {
            examBank = std::make_unique<FixtureBank>();
            FixtureBank::fillExam(*examBank);
            if (!examBank->write())
                return nullptr;
            examBank->useAsGlobals();
        }
        return qobject_cast<ChildForm*>(main->ShowChild(name));
    }
    std::unique_ptr<FixtureBank> examBank;
    bool insideArea(const ChildForm* form) const {
        return main->mdiArea()->viewport()->rect().contains(form->parentWidget()->geometry());
    }

private slots:
    void init() {
        examBank.reset();
        program = std::make_unique<RunningProgram>();
        main = program->main;
        QVERIFY(main);
        graded = 0;
        SetModalHandler([this](QDialog* dialog) {
            ++graded;
            ClickButton(dialog, "Command1");
            return dialog->result();
        });
    }
    void cleanup() {
        SetModalHandler({});
        program.reset();
    }

    void scaleFactor_data() {
        QTest::addColumn<QSize>("designed");
        QTest::addColumn<QSize>("available");
        QTest::addColumn<double>("factor");
        QTest::newRow("equal") << QSize(953, 575) << QSize(953, 575) << 1.0;
        QTest::newRow("larger") << QSize(953, 575) << QSize(1920, 1000) << 1.0;
        QTest::newRow("narrower") << QSize(1000, 500) << QSize(750, 600) << 0.75;
        QTest::newRow("lower") << QSize(1000, 500) << QSize(1200, 250) << 0.5;
        QTest::newRow("both, width decides") << QSize(1000, 500) << QSize(600, 400) << 0.6;
        QTest::newRow("both, height decides") << QSize(1000, 500) << QSize(900, 200) << 0.4;
        QTest::newRow("one pixel short") << QSize(1000, 500) << QSize(999, 500) << 0.999;
        QTest::newRow("empty area") << QSize(1000, 500) << QSize(0, 0) << 1.0;
        QTest::newRow("no width") << QSize(1000, 500) << QSize(0, 400) << 1.0;
        QTest::newRow("unknown area") << QSize(1000, 500) << QSize() << 1.0;
        QTest::newRow("window of no size") << QSize(0, 0) << QSize(800, 600) << 1.0;
        QTest::newRow("window of no height") << QSize(800, 0) << QSize(400, 600) << 1.0;
    }
    void scaleFactor() {
        QFETCH(QSize, designed);
        QFETCH(QSize, available);
        QFETCH(double, factor);
        QCOMPARE(ScaleFactor(designed, available), factor);
    }

    // On an area at least the designed size every window stands at its designed size, each
    // control at its twips place; on a small area the same controls are placed by the same rows
    // at the window's factor, all inside the window, and the window inside the area.
    void everyWindowPlacesItsControls_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("small");
        for (const char* name :
             {"frmSoalat", "frmTabloha", "frmSoalatOLD", "frmAzmoon", "frmViraiesh", "frmTanzimat",
              "frmRahnama", "frmDarbareMa", "frmPishraft", "frmEshtebahat"}) {
            QTest::addRow("%s designed", name) << QString::fromLatin1(name) << false;
            QTest::addRow("%s small", name) << QString::fromLatin1(name) << true;
        }
    }
    void everyWindowPlacesItsControls() {
        QFETCH(QString, window);
        QFETCH(bool, small);
        giveArea(small ? QSize(700, 450) : QSize(1100, 720));
        ChildForm* form = open(window);
        QVERIFY(form);
        const QMap<QString, ControlPlace> rows = RowsOf(form);
        QVERIFY2(!rows.isEmpty(), "the window keeps no layout table");
        const double factor = form->scaleFactor();
        if (small && window != QLatin1String("frmTanzimat")) // the settings window is small anyway
            QVERIFY(factor < 1.0);
        else
            QCOMPARE(factor, 1.0);
        const QRect area = main->mdiArea()->viewport()->rect();
        QVERIFY(area.contains(form->parentWidget()->geometry()));
        for (auto row = rows.cbegin(); row != rows.cend(); ++row) {
            auto* control = form->findChild<QWidget*>(row.key());
            QVERIFY2(control, qPrintable(row.key()));
            const ControlPlace& p = row.value();
            QRect expected = small ? PlaceRect(p, factor) : TwipsRect(p.left, p.top, p.width, p.height);
            // The exam's marker stands on option 1 by the marker rule: 5 pixels, scaled, into it.
            if (row.key() == QLatin1String("shpJavab"))
                expected.moveTop(form->findChild<QWidget*>("Shape1")->y() + qRound(5 * factor));
            QCOMPARE(control->geometry(), expected);
            // Whole inside the window, unless the design itself reaches past its edge.
            const QRect designedIn = TwipsRect(p.left, p.top, p.width, p.height);
            const QRect designedWindow(QPoint(), (QSizeF(form->size()) / factor).toSize());
            if (control->parentWidget() == form && designedWindow.adjusted(-1, -1, 1, 1).contains(designedIn))
                QVERIFY2(form->rect().adjusted(-1, -1, 1, 1).contains(control->geometry()),
                         qPrintable(row.key()));
        }
    }

    // On an area 700 x 450 the exam is scaled down whole: its texts smaller with it, the grade
    // button inside the area and clickable, and every way of answering saves the right option.
    void aSmallAreaExam_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("option");
        QTest::newRow("arrows to 3") << "arrows" << 3;
        QTest::newRow("arrows round to 4") << "arrows" << 4;
        QTest::newRow("digit 2") << "digit" << 2;
        QTest::newRow("digit 4") << "digit" << 4;
        QTest::newRow("text 3") << "text" << 3;
        QTest::newRow("circle 1") << "circle" << 1;
        QTest::newRow("circle 4") << "circle" << 4;
        QTest::newRow("up button to 4") << "upButton" << 4;
    }
    void aSmallAreaExam() {
        QFETCH(QString, how);
        QFETCH(int, option);
        FixtureBank bank;
        FixtureBank::fillExam(bank);
        QVERIFY2(bank.write(), qPrintable(bank.lastError));
        bank.useAsGlobals();
        giveArea(QSize(700, 450));
        auto* form = qobject_cast<frmAzmoon*>(program->Open("Command6"));
        QVERIFY(form);
        const double factor = form->scaleFactor();
        QVERIFY(factor < 1.0);
        // Scaled texts go down to a quarter point, so near sizes share one face size.
        const double points = form->findChild<QLabel*>("lblG1")->font().pointSizeF();
        QVERIFY2(points <= 12 * factor && points > 12 * factor - 0.25, qPrintable(QString::number(points)));

        const auto markedOption = [form] { return MarkedOption(form); };
        QCOMPARE(markedOption(), 1); // a fresh exam's marker stands on option 1, ready to move

        PressKey(Qt::Key_Right); // question 2
        if (how == "arrows") {
            PressKey(Qt::Key_Down, Qt::NoModifier, option == 4 ? 7 : option - 1);
        } else if (how == "digit") {
            PressKey(Qt::Key(Qt::Key_0 + option));
        } else if (how == "upButton") {
            ClickButton(form, "cmdUp");
        } else {
            const QString name = how == "text" ? QStringLiteral("lblG%1") : QStringLiteral("Shape%1");
            auto* target = form->findChild<QWidget*>(name.arg(option));
            QCOMPARE(form->childAt(target->geometry().center()), target);
            QTest::mouseClick(target, Qt::LeftButton);
        }
        QCOMPARE(markedOption(), option);
        QCOMPARE(int(gAnswers[2]), option);
        QCOMPARE(int(gAnswers[1]), 1); // the marker's place when the first question was left
        // Back and forth: the answer comes back onto its circle, and the arrows go on from there.
        PressKey(Qt::Key_Left);
        PressKey(Qt::Key_Right);
        QCOMPARE(markedOption(), option);
        PressKey(Qt::Key_Down);
        QCOMPARE(int(gAnswers[2]), option % 4 + 1);

        // The grade button is on the screen, inside the area, and a click on it grades.
        auto* grade = form->findChild<QPushButton*>("cmdTashih");
        QVERIFY(grade->isVisible());
        QWidget* viewport = main->mdiArea()->viewport();
        QVERIFY(viewport->rect().contains(RectIn(grade, viewport)));
        QVERIFY(form->rect().contains(grade->geometry()));
        QCOMPARE(form->childAt(grade->geometry().center()), grade);
        QTest::mouseClick(grade, Qt::LeftButton);
        QCOMPARE(graded, 1);
        QVERIFY(form->graded());
    }

    // A window open while the main window shrinks is fitted again as if opened afresh at the new
    // size, and growing back brings it to its designed look exactly: nothing compounds over
    // repeated resizes.
    void openWindowsRefit_data() {
        QTest::addColumn<QString>("window");
        for (const char* name :
             {"frmSoalat", "frmTabloha", "frmSoalatOLD", "frmAzmoon", "frmViraiesh", "frmTanzimat",
              "frmNokat", "frmRahnama", "frmDarbareMa", "frmPishraft", "frmEshtebahat"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void openWindowsRefit() {
        QFETCH(QString, window);
        const QSize large(1100, 720), small(700, 450), smaller(560, 380);
        giveArea(large);
        ChildForm* form = open(window);
        QVERIFY(form);
        QCOMPARE(form->scaleFactor(), 1.0);
        const QStringList designed = LookOf(form);
        const QPoint designedAt = form->parentWidget()->pos();

        giveArea(small);
        const QStringList refitted = LookOf(form);
        const bool scales = window != QLatin1String("frmTanzimat") && window != QLatin1String("frmNokat");
        QCOMPARE(form->scaleFactor() < 1.0, scales);
        QVERIFY(insideArea(form));
        giveArea(smaller);
        QVERIFY(insideArea(form));
        giveArea(small);
        QCOMPARE(LookOf(form), refitted);
        giveArea(large);
        QCOMPARE(LookOf(form), designed);
        // One that was scaled is placed afresh; one that never was stays where the area kept it.
        if (scales)
            QCOMPARE(form->parentWidget()->pos(), designedAt);

        // Opened afresh on the small area, the window looks as the refitted one did.
        giveArea(small);
        form->parentWidget()->close();
        QTest::qWait(0);
        ChildForm* fresh = open(window);
        QVERIFY(fresh);
        QCOMPARE(LookOf(fresh), refitted);
    }

    // The progress chart's texts are the window's texts too: at its factor on a fresh opening and
    // after every refit, at their designed sizes on a large area.
    void theProgressChartsFonts() {
        const auto fontsOf = [](const ChildForm* form) {
            const QChart* chart = form->findChild<QChartView*>("chtDorost")->chart();
            const auto* axis = qobject_cast<const QCategoryAxis*>(chart->axes(Qt::Horizontal).value(0));
            return QList<double>{chart->titleFont().pointSizeF(), chart->legend()->font().pointSizeF(),
                                 axis->labelsFont().pointSizeF(), axis->titleFont().pointSizeF()};
        };
        const QList<double> designed{10, 9, 8, 9};
        const auto scaled = [&](double factor) {
            QList<double> sizes;
            for (const double size : designed)
                sizes << size * factor;
            return sizes;
        };
        giveArea(QSize(640, 420));
        ChildForm* form = open(QStringLiteral("frmPishraft"));
        QVERIFY(form && form->scaleFactor() < 1.0);
        QCOMPARE(fontsOf(form), scaled(form->scaleFactor()));
        giveArea(QSize(1100, 720));
        QCOMPARE(fontsOf(form), designed);
        giveArea(QSize(700, 450));
        QVERIFY(form->scaleFactor() < 1.0);
        QCOMPARE(fontsOf(form), scaled(form->scaleFactor()));
    }

    // The exam's marker is measured in the window's own pixels: through a shrink and a grow it
    // stays on the chosen option, the arrows and a click go on from there, and grading works.
    void theExamMarkerAfterARefit() {
        FixtureBank bank;
        FixtureBank::fillExam(bank);
        QVERIFY2(bank.write(), qPrintable(bank.lastError));
        bank.useAsGlobals();
        giveArea(QSize(1100, 720));
        auto* form = qobject_cast<frmAzmoon*>(program->Open("Command6"));
        QVERIFY(form);
        PressKey(Qt::Key_Right); // question 2
        PressKey(Qt::Key_3);
        QCOMPARE(MarkedOption(form), 3);

        giveArea(QSize(700, 450));
        QVERIFY(form->scaleFactor() < 1.0);
        QCOMPARE(MarkedOption(form), 3);
        PressKey(Qt::Key_Down);
        QCOMPARE(int(gAnswers[2]), 4);

        giveArea(QSize(1100, 720));
        QCOMPARE(form->findChild<Circle*>("shpJavab")->y(), frmAzmoon::kMarkerTops[3]);
        QCOMPARE(MarkedOption(form), 4);

        giveArea(QSize(640, 420));
        auto* circle = form->findChild<Circle*>("Shape2");
        QCOMPARE(form->childAt(circle->geometry().center()), circle);
        QTest::mouseClick(circle, Qt::LeftButton);
        QCOMPARE(MarkedOption(form), 2);
        QCOMPARE(int(gAnswers[2]), 2);
        PressKey(Qt::Key_Left);
        PressKey(Qt::Key_Right);
        QCOMPARE(MarkedOption(form), 2);
        QTest::mouseClick(form->findChild<QPushButton*>("cmdTashih"), Qt::LeftButton);
        QCOMPARE(graded, 1);
    }

    // The help window's page button changes sides on the second page; a refit keeps it there.
    void theHelpButtonsAfterARefit() {
        giveArea(QSize(1100, 720));
        ChildForm* help = open(QStringLiteral("frmRahnama"));
        QVERIFY(help);
        ClickButton(help, "Command1"); // the second page
        const QMap<QString, ControlPlace> rows = RowsOf(help);
        for (const QSize area : {QSize(700, 450), QSize(1100, 720)}) {
            giveArea(area);
            const double factor = help->scaleFactor();
            QCOMPARE(help->findChild<QPushButton*>("Command1")->x(), PlaceRect(rows["cmdClose"], factor).x());
            QCOMPARE(help->findChild<QPushButton*>("cmdClose")->x(), PlaceRect(rows["Command1"], factor).x());
        }
    }

    // A window the learner moved aside stays inside an area that shrinks around it, unscaled
    // while it still fits.
    void aMovedWindowStaysInside() {
        giveArea(QSize(1100, 720));
        ChildForm* settings = open(QStringLiteral("frmTanzimat"));
        QVERIFY(settings);
        QWidget* frame = settings->parentWidget();
        const QSize size = frame->size();
        frame->move(1100 - size.width(), 720 - size.height());
        giveArea(QSize(800, 560));
        QCOMPARE(settings->scaleFactor(), 1.0);
        QCOMPARE(frame->size(), size);
        QVERIFY(insideArea(settings));
    }

    // Narrower than the designed 1016 pixels the strip's buttons shrink together, texts and all,
    // each whole, in order and inside the strip; at the designed width and wider nothing shrinks.
    void theStripOnANarrowWindow_data() {
        QTest::addColumn<int>("width");
        QTest::newRow("designed") << 1016;
        QTest::newRow("one short") << 1015;
        QTest::newRow("1366 at 150 %") << 910;
        QTest::newRow("1024 at 150 %") << 682;
        QTest::newRow("1024 at 200 %") << 512;
    }
    void theStripOnANarrowWindow() {
        QFETCH(int, width);
        main->resize(width, 600);
        QTRY_COMPARE(main->centralWidget()->width(), width);
        auto* strip = main->findChild<CentredStrip*>("Picture1");
        QVERIFY(strip);
        const double factor = strip->scaleFactor();
        QCOMPARE(factor == 1.0, width >= 1016);
        QRect previous;
        for (const char* name : {"Command1", "Command2", "Command3", "Command4", "Command5", "Command10",
                                 "Command9", "Command6", "Command7", "cmdMusic", "Command8"}) {
            auto* b = strip->findChild<QPushButton*>(name);
            QVERIFY2(b, name);
            const QRect r = RectIn(b, strip);
            if (width < 1016)
                QVERIFY2(strip->rect().contains(r), name);
            // Its text shrinks with it, a little more where the button's margins keep their size;
            // a caption wider than the button's inside is drawn smaller at any width, just enough to
            // clear the margins, and one that fits keeps the designed size.
            const int inside =
                b->width() - 2 * (b->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b) +
                                  b->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, b));
            QVERIFY2(QFontMetricsF(b->font()).horizontalAdvance(b->text()) <= inside, name);
            QVERIFY2(b->font().pointSizeF() <= 8.25 * factor &&
                         b->font().pointSizeF() >= 0.75 * 8.25 * factor,
                     name);
            if (factor == 1.0)
                QCOMPARE(b->font().pointSizeF() == 8.25,
                         QFontMetricsF(look::Tahoma(8.25)).horizontalAdvance(b->text()) <= inside);
            // As drawn, inside the button's frame: the caption's ink keeps clear of both sides.
            const QRect ink = InkIn(b->grab().toImage().copy(2, 4, b->width() - 4, b->height() - 8), 80);
            QVERIFY2(!ink.isEmpty() && ink.left() >= 1 && ink.right() <= b->width() - 6, name);
            // Right to left, side by side: each to the left of the one before, none overlapping.
            if (previous.isValid())
                QVERIFY2(r.right() < previous.left(), name);
            previous = r;
            QCOMPARE(strip->childAt(r.center()), b); // nothing covers it
        }
    }

    // The exam's hint "از صفحه كليد استفاده كنيد" draws its whole ink, the dots over and under its
    // letters included, inside its box: at its designed place and scaled down on small areas.
    void theExamHintDrawsItsWholeInk_data() {
        QTest::addColumn<QSize>("area");
        QTest::newRow("designed") << QSize(1100, 720);
        QTest::newRow("small") << QSize(700, 450);
        QTest::newRow("smaller") << QSize(560, 380);
    }
    void theExamHintDrawsItsWholeInk() {
        QFETCH(QSize, area);
        FixtureBank bank;
        FixtureBank::fillExam(bank);
        QVERIFY2(bank.write(), qPrintable(bank.lastError));
        bank.useAsGlobals();
        giveArea(area);
        auto* form = qobject_cast<frmAzmoon*>(program->Open("Command6"));
        QVERIFY(form);
        auto* hint = form->findChild<FitLabel*>("Label14");
        QVERIFY(hint);
        QCOMPARE(hint->geometry(), PlaceRect(RowsOf(form)["Label14"], form->scaleFactor()));
        // Where the face says its ink reaches: inside the box.
        const QRectF fontInk = QFontMetricsF(hint->drawnFont()).tightBoundingRect(hint->text());
        QVERIFY(QRectF(hint->rect()).contains(hint->inkRect()));
        // What is drawn: below the first row of pixels, above the last, and as tall as the face says.
        const QImage drawn = hint->grab().toImage();
        const QRect ink = InkIn(drawn, 40);
        QVERIFY2(ink.top() >= 1 && ink.bottom() <= drawn.height() - 2 && ink.left() >= 1 &&
                     ink.right() <= drawn.width() - 2,
                 qPrintable(QStringLiteral("ink rows %1..%2 of %3")
                                .arg(ink.top())
                                .arg(ink.bottom())
                                .arg(drawn.height())));
        QVERIFY(ink.height() >= qFloor(fontInk.height()) - 1);
    }

    // Restored, the main window never outgrows the screen's free area; on a screen that holds
    // it, it has its designed size. (ctest runs this once more on a 1024 x 600 screen.)
    void theRestoredMainWindowFitsTheScreen() {
        program.reset();
        QTemporaryDir root;
        SetSystemDirectoryProvider([&root] { return root.path(); });
        QVERIFY(Main());
        frmMain* fresh = frmMain::Instance();
        fresh->showNormal();
        const QRect available = fresh->screen()->availableGeometry();
        const QSize designed(1016, 714);
        if (available.width() >= 1016 && available.height() >= 800) {
            QCOMPARE(fresh->centralWidget()->size(), designed);
        } else {
            QVERIFY(fresh->width() <= available.width() && fresh->height() <= available.height());
            QVERIFY(fresh->centralWidget()->height() < designed.height());
        }
        fresh->close();
        QTest::qWait(0);
        SetSystemDirectoryProvider({});
    }

    // The result window fits a screen smaller than itself whole, its OK button included; on a
    // large one it keeps its designed size and places.
    void theResultWindowFitsTheScreen_data() {
        QTest::addColumn<QSize>("available");
        QTest::newRow("large") << QSize(1920, 1080);
        QTest::newRow("512 x 300") << QSize(512, 300);
        QTest::newRow("400 x 240") << QSize(400, 240);
    }
    void theResultWindowFitsTheScreen() {
        QFETCH(QSize, available);
        frmNatije result(nullptr, available);
        const QSize designed(403, 312);
        if (available.height() >= designed.height() + 30) {
            QCOMPARE(result.scaleFactor(), 1.0);
            QCOMPARE(result.size(), designed);
            QCOMPARE(result.findChild<QPushButton*>("Command1")->geometry(),
                     TwipsRect(1860, 3870, 2325, 495));
            return;
        }
        QVERIFY(result.scaleFactor() < 1);
        QVERIFY(result.height() + 30 <= available.height() && result.width() <= available.width());
        for (QWidget* control : result.findChildren<QWidget*>())
            QVERIFY2(result.rect().contains(control->geometry()), qPrintable(control->objectName()));
        QVERIFY(result.findChild<QLabel*>("lblDorost")->font().pointSizeF() < 18);
    }
};

QTEST_MAIN(TestScaling)
#include "tst_scaling.moc"
