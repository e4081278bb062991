// The tips, help and about windows, opened from the main window's menu entries and buttons over
// a data folder of pictures of chosen sizes, and driven with clicks as a user would.
#include "app/frmMain.h"
#include "common/TestPlatform.h"
#include "data/SharedState.h"
#include "info/PictureControl.h"
#include "info/frmRahnama.h"

#include <QApplication>
#include <QDir>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

namespace {
const QString kNextPage = QStringLiteral("صفحه بعد");
const QString kPreviousPage = QStringLiteral("صفحه قبل");

void writePicture(const QString& name, QSize size, QColor colour = Qt::darkCyan) {
    QDir().mkpath(gDataDir);
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(gDataDir + name, "PNG"));
}

void writeBytes(const QString& name, const QByteArray& bytes) {
    QDir().mkpath(gDataDir);
    QFile file(gDataDir + name);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QMdiSubWindow* frameOf(QWidget* form) {
    return form ? qobject_cast<QMdiSubWindow*>(form->parentWidget()) : nullptr;
}

PictureControl* picture(QWidget* form, const char* name) {
    return form->findChild<PictureControl*>(QString::fromLatin1(name));
}

QPushButton* button(QWidget* form, const char* name) {
    return form->findChild<QPushButton*>(QString::fromLatin1(name));
}

// What the user sees at a point of a window.
QColor shownAt(QWidget* form, QPoint at) {
    return form->grab().toImage().pixelColor(at);
}

// A picture's natural size plus the 100 by 400 twips the window adds around it.
QSize aroundPicture(QSize picture) {
    return picture + QSize(7, 27);
}
} // namespace

class TestInfo : public QObject {
    Q_OBJECT
    std::unique_ptr<RunningProgram> program;
    frmMain* main = nullptr;

    QSize mainOuter() const { return main->frameGeometry().size(); }
    QPoint topCentre(QSize frame) const { return QPoint((mainOuter().width() - frame.width()) / 2, 0); }
    // The five about pictures at their shipped sizes, in colours of their own.
    void writeAboutPictures() {
        writePicture("516", {674, 534}, Qt::red);
        writePicture("517", {674, 534}, Qt::green);
        writePicture("518", {674, 534}, Qt::blue);
        writePicture("521", {996, 173}, Qt::yellow);
        writePicture("522", {1010, 79}, Qt::magenta);
    }

private slots:
    void init() {
        program = std::make_unique<RunningProgram>();
        main = program->main;
        QVERIFY(main);
    }
    void cleanup() {
        program.reset();
        QVERIFY(!frmMain::Instance());
    }

    void tipsWindowTakesThePictureSize_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("smaller than the main window") << QSize(500, 300);
        QTest::newRow("the shipped size") << QSize(960, 600);
        QTest::newRow("larger than the main window") << QSize(1300, 900);
    }
    // A picture larger than the main window's area is shown whole, scaled down to fit it.
    void tipsWindowTakesThePictureSize() {
        QFETCH(QSize, size);
        writePicture("01", size, Qt::darkGreen);
        QWidget* tips = program->Open("mnuNokat");
        QVERIFY(tips);
        QCOMPARE(tips->windowTitle(), QStringLiteral("نكات مهم در آزمون شهر"));
        const QRect area = main->mdiArea()->viewport()->rect();
        if (aroundPicture(size).height() > area.height()) {
            const QSize shown = picture(tips, "Picture1")->size();
            QVERIFY(shown.height() < size.height());
            QVERIFY(qAbs(shown.width() - size.width() * shown.height() / size.height()) <= 1); // its shape
            QVERIFY(area.contains(frameOf(tips)->geometry()));
            size = shown;
        }
        QCOMPARE(picture(tips, "Picture1")->size(), size);
        QCOMPARE(frameOf(tips)->size(), aroundPicture(size));
        QCOMPARE(frameOf(tips)->pos(), topCentre(aroundPicture(size)));
        QCOMPARE(shownAt(tips, {5, 5}), QColor(Qt::darkGreen));
    }

    void missingOrDamagedPictureStillOpensTheWindow_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
        QTest::addColumn<QString>("caption");
        const QString tips = QStringLiteral("نكات مهم در آزمون شهر");
        const QString help = QStringLiteral("راهنما");
        QTest::newRow("tips, missing") << "mnuNokat"
                                       << "01" << QByteArray() << tips;
        QTest::newRow("tips, damaged") << "mnuNokat"
                                       << "01" << QByteArray("\x89PNG not really") << tips;
        QTest::newRow("help button, missing") << "Command7"
                                              << "519" << QByteArray() << help;
        QTest::newRow("help menu, damaged") << "mnu41"
                                            << "519" << QByteArray("GIF89a...") << help;
    }
    void missingOrDamagedPictureStillOpensTheWindow() {
        QFETCH(QString, control);
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, caption);
        if (!bytes.isEmpty())
            writeBytes(file, bytes);
        QWidget* form = program->Open(qPrintable(control));
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), caption);
        QVERIFY(frameOf(form)->isVisible());
        if (auto* help = qobject_cast<frmRahnama*>(form)) {
            QVERIFY(help->background().isNull());
            ClickButton(help, "Command1"); // the other page is missing too: still turns
            QCOMPARE(button(help, "Command1")->text(), kPreviousPage);
        } else {
            QVERIFY(picture(form, "Picture1")->picture().isNull());
        }
        QVERIFY(program->platform.messages.messages.isEmpty());
    }

    void helpPagesTurnAndComeBack() {
        writePicture("519", {996, 599}, Qt::red);
        writePicture("520", {996, 599}, Qt::blue);
        auto* help = qobject_cast<frmRahnama*>(program->Open("Command7"));
        QVERIFY(help);
        QCOMPARE(help->windowTitle(), QStringLiteral("راهنما"));
        QCOMPARE(help->size(), QSize(996, 599)); // the client area, 14940 x 8985 twips
        QCOMPARE(frameOf(help)->pos(), QPoint((mainOuter().width() - frameOf(help)->width()) / 2, 7));
        QPushButton* page = button(help, "Command1");
        QPushButton* back = button(help, "cmdClose");
        QCOMPARE(back->text(), QStringLiteral("بازگشت"));
        const QRect pageFirst(880, 568, 115, 29);
        const QRect backFirst(2, 568, 115, 29);
        QCOMPARE(page->geometry(), pageFirst);
        QCOMPARE(back->geometry(), backFirst);

        struct Page {
            QColor colour;
            bool first;
            QRect pageAt;
            QRect backAt;
            QString caption;
        };
        const Page pages[] = {{Qt::red, true, pageFirst, backFirst, kNextPage},
                              {Qt::blue, false, backFirst, pageFirst, kPreviousPage},
                              {Qt::red, true, pageFirst, backFirst, kNextPage}};
        for (int turn = 0; turn < 3; ++turn) {
            if (turn > 0)
                ClickButton(help, "Command1");
            const Page& p = pages[turn];
            QCOMPARE(help->IsFirstPage, p.first);
            QCOMPARE(shownAt(help, {300, 300}), p.colour);
            QCOMPARE(page->geometry(), p.pageAt);
            QCOMPARE(back->geometry(), p.backAt);
            QCOMPARE(page->text(), p.caption);
        }

        // Every opening starts on the first page, the buttons in their places.
        ClickButton(help, "Command1");
        ClickButton(help, "cmdClose");
        QTest::qWait(0);
        QVERIFY(!main->Child("frmRahnama"));
        help = qobject_cast<frmRahnama*>(program->Open("mnu41"));
        QVERIFY(help);
        QVERIFY(help->IsFirstPage);
        QCOMPARE(shownAt(help, {300, 300}), QColor(Qt::red));
        QCOMPARE(button(help, "Command1")->geometry(), pageFirst);
        QCOMPARE(button(help, "Command1")->text(), kNextPage);
    }

    // The shipped help pages name, in «», every menu, every menu entry and every button of the
    // main window's strip by the caption the program shows: a window added to the program is
    // added to the help with it.
    void theHelpNamesEveryMenuEntryAndButton() {
        QString help;
        for (const char* page : {"help-1", "help-2"}) {
            QFile svg(qEnvironmentVariable("RAVEX_BANK_DIR") + QStringLiteral("/pictures/screens/") +
                      QLatin1String(page) + QStringLiteral(".svg"));
            QVERIFY2(svg.open(QIODevice::ReadOnly), qPrintable(svg.fileName()));
            help += QString::fromUtf8(svg.readAll());
        }
        help.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
        QStringList names;
        for (const QAction* menu : main->menuBar()->actions()) {
            names << menu->text();
            for (const QAction* entry : menu->menu() ? menu->menu()->actions() : QList<QAction*>()) {
                if (!entry->isSeparator())
                    names << entry->text();
            }
        }
        for (const QPushButton* b : main->findChild<QWidget*>("Picture1")->findChildren<QPushButton*>())
            names << b->text();
        QVERIFY(names.size() >= 25);
        for (const QString& name : std::as_const(names))
            QVERIFY2(help.contains(QStringLiteral("«") + name + QStringLiteral("»")), qPrintable(name));
    }

    void aboutWindowShowsItsPictures() {
        writeAboutPictures();
        QWidget* about = program->Open("mnu42");
        QVERIFY(about);
        QCOMPARE(about->windowTitle(), QStringLiteral("درباره ما"));
        QCOMPARE(about->size(), QSize(1013, 568)); // 15195 x 8520 twips
        QCOMPARE(frameOf(about)->pos(), QPoint(0, 7));
        QCOMPARE(picture(about, "Image4")->geometry(), QRect(338, 174, 337, 267));
        // The panels are drawn stretched to their controls, the bands from their corners.
        QCOMPARE(shownAt(about, {170, 300}), QColor(Qt::red));
        QCOMPARE(shownAt(about, {500, 300}), QColor(Qt::green));
        QCOMPARE(shownAt(about, {840, 300}), QColor(Qt::blue));
        QCOMPARE(shownAt(about, {500, 50}), QColor(Qt::yellow));
        QCOMPARE(shownAt(about, {500, 480}), QColor(Qt::magenta));
        for (const char* clickable : {"Image3", "Image4", "Image5", "cmdBazgasht"})
            QCOMPARE(about->findChild<QWidget*>(clickable)->cursor().shape(), Qt::BitmapCursor);
        ClickButton(about, "cmdBazgasht");
        QTest::qWait(0);
        QVERIFY(!main->Child("frmDarbareMa"));
    }

    void aMissingAboutPictureLeavesOnlyItsControlEmpty_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("control");
        const char* rows[][2] = {{"516", "Image3"},
                                 {"517", "Image4"},
                                 {"518", "Image5"},
                                 {"521", "Picture1"},
                                 {"522", "Picture3"}};
        for (const auto& row : rows)
            QTest::newRow(row[0]) << row[0] << row[1];
    }
    void aMissingAboutPictureLeavesOnlyItsControlEmpty() {
        QFETCH(QString, file);
        QFETCH(QString, control);
        writeAboutPictures();
        QVERIFY(QFile::remove(gDataDir + file));
        QWidget* about = program->Open("mnu42");
        QVERIFY(about);
        for (const char* name : {"Image3", "Image4", "Image5", "Picture1", "Picture3"})
            QCOMPARE(picture(about, name)->picture().isNull(), control == QLatin1String(name));
        QVERIFY(program->platform.messages.messages.isEmpty());
        // An empty panel has nothing to enlarge: a click on it leaves the about window as it is.
        if (control.startsWith(QLatin1String("Image"))) {
            QTest::mouseClick(picture(about, qPrintable(control)), Qt::LeftButton);
            QTest::qWait(0);
            QCOMPARE(main->Child("frmDarbareMa"), about);
            QVERIFY(!main->Child("frmDarbareMa2"));
        }
    }

    // A size marked "from area" is added to the size of the main window's MDI area, the part of
    // the main window the learner sees between its menu and its button strip.
    void enlargedPictureFitsTheArea_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("widthFromArea");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("heightFromArea");
        QTest::addColumn<bool>("scaled");
        QTest::newRow("smaller") << 400 << false << 300 << false << false;
        QTest::newRow("the shipped panel") << 674 << false << 534 << false << false;
        QTest::newRow("its window as wide as the area") << -7 << true << 300 << false << false;
        QTest::newRow("its window one pixel wider") << -6 << true << 300 << false << true;
        QTest::newRow("its window as tall as the area") << 300 << false << -27 << true << false;
        QTest::newRow("its window one pixel taller") << 300 << false << -26 << true << true;
        QTest::newRow("a little taller than the area") << 300 << false << 10 << true << true;
        QTest::newRow("wider than the main window only") << 60 << true << 300 << false << true;
        QTest::newRow("larger both ways") << 50 << true << 40 << true << true;
    }
    void enlargedPictureFitsTheArea() {
        QFETCH(int, width);
        QFETCH(bool, widthFromArea);
        QFETCH(int, height);
        QFETCH(bool, heightFromArea);
        QFETCH(bool, scaled);
        const QSize area = main->mdiArea()->viewport()->size();
        const QSize picture1(width + (widthFromArea ? area.width() : 0),
                             height + (heightFromArea ? area.height() : 0));
        writeAboutPictures();
        writePicture("516", picture1, Qt::darkRed);
        QWidget* about = program->Open("mnu42");
        QTest::mouseClick(picture(about, "Image3"), Qt::LeftButton);
        QTest::qWait(0);
        QVERIFY(!main->Child("frmDarbareMa"));
        QWidget* enlarged = main->Child("frmDarbareMa2");
        QVERIFY(enlarged);
        QCOMPARE(enlarged->windowTitle(), QStringLiteral("ساير نرم افزارهاي Velkor"));
        PictureControl* natural = picture(enlarged, "Picture1");
        PictureControl* stretched = picture(enlarged, "Image1");
        QCOMPARE(natural->isVisible(), !scaled);
        QCOMPARE(stretched->isVisible(), scaled);
        const QSize frame = scaled ? area - QSize(67, 100) : aroundPicture(picture1);
        QCOMPARE(frameOf(enlarged)->size(), frame);
        QCOMPARE(frameOf(enlarged)->pos(), QPoint((area.width() - frame.width()) / 2, 0));
        QVERIFY(QRect(QPoint(), area).contains(frameOf(enlarged)->geometry()));
        if (scaled)
            QCOMPARE(stretched->size(), enlarged->size()); // the whole inside of the window
        else
            QCOMPARE(natural->size(), picture1);
        QCOMPARE(shownAt(enlarged, {enlarged->width() / 2, enlarged->height() / 2}), QColor(Qt::darkRed));

        // A click on the picture brings the about window back, freshly loaded.
        QTest::mouseClick(scaled ? stretched : natural, Qt::LeftButton);
        QTest::qWait(0);
        QVERIFY(!main->Child("frmDarbareMa2"));
        QWidget* again = main->Child("frmDarbareMa");
        QVERIFY(again);
        QVERIFY(!picture(again, "Image3")->picture().isNull());
        QCOMPARE(frameOf(again)->pos(), QPoint(0, 7));
    }

    // On a 1024 x 600 screen the shipped panel is scaled into the area between the menu and the
    // button strip, where the main window's outside would have let it run under the strip.
    void theEnlargedPanelOnASmallScreen() {
        writeAboutPictures();
        main->resize(QSize(1024, 600) - (mainOuter() - main->size()));
        QTRY_COMPARE(mainOuter(), QSize(1024, 600));
        QTest::mouseClick(picture(program->Open("mnu42"), "Image4"), Qt::LeftButton);
        QWidget* enlarged = main->Child("frmDarbareMa2");
        QVERIFY(enlarged && picture(enlarged, "Image1")->isVisible());
        QVERIFY(main->mdiArea()->viewport()->rect().contains(frameOf(enlarged)->geometry()));
    }

    // A smaller panel enlarged in the window that shows a scaled one shows at its natural size.
    void aSmallerPanelReplacesAScaledOne() {
        writeAboutPictures();
        writePicture("516", main->mdiArea()->viewport()->size() + QSize(100, 100), Qt::darkRed);
        QTest::mouseClick(picture(program->Open("mnu42"), "Image3"), Qt::LeftButton);
        QWidget* enlarged = main->Child("frmDarbareMa2");
        QVERIFY(enlarged);
        QVERIFY(picture(enlarged, "Image1")->isVisible());
        QTest::mouseClick(picture(program->Open("mnu42"), "Image4"), Qt::LeftButton);
        QTest::qWait(0);
        QCOMPARE(main->Child("frmDarbareMa2"), enlarged);
        QVERIFY(!main->Child("frmDarbareMa"));
        QVERIFY(picture(enlarged, "Picture1")->isVisible());
        QVERIFY(!picture(enlarged, "Image1")->isVisible());
        QCOMPARE(frameOf(enlarged)->size(), aroundPicture({674, 534}));
        QCOMPARE(shownAt(enlarged, {300, 300}), QColor(Qt::green));
    }

    // Closing the enlarged picture brings the about window back, except when the program ends.
    void exitWithTheEnlargedPictureOpenEndsTheProgram_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("exit button") << "Command8";
        QTest::newRow("exit menu") << "mnuKhorooj";
        QTest::newRow("close box") << "";
    }
    void exitWithTheEnlargedPictureOpenEndsTheProgram() {
        QFETCH(QString, how);
        writeAboutPictures();
        QTest::mouseClick(picture(program->Open("mnu42"), "Image5"), Qt::LeftButton);
        QVERIFY(main->Child("frmDarbareMa2"));
        QPointer<frmMain> closing = main;
        if (how.isEmpty())
            main->close();
        else
            program->Open(qPrintable(how));
        QVERIFY(!closing || !closing->isVisible());
        QVERIFY(!closing || closing->mdiArea()->subWindowList().isEmpty());
        QTest::qWait(0);
        QVERIFY(!frmMain::Instance());
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }
};

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
