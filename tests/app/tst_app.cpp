// Start-up and the main window, driven as a user would.
#include "app/frmMain.h"
#include "app/mdlRavex.h"
#include "common/FixtureBank.h"
#include "common/TestPlatform.h"
#include "platform/SystemDir.h"
#include "ui/Look.h"
#include "ui/MessageBox.h"

#include <QDir>
#include <QDirIterator>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRawFont>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QTimer>
#include <QtTest>

class ClosingChild : public QWidget {
public:
    explicit ClosingChild(std::function<void()> onClose) : onClose_(std::move(onClose)) {}

protected:
    void closeEvent(QCloseEvent* event) override {
        onClose_();
        event->accept();
    }

private:
    std::function<void()> onClose_;
};

class TestApp : public QObject {
    Q_OBJECT
    QTemporaryDir root;
    std::unique_ptr<MessageRecorder> messages;

    frmMain* start() {
        SetSystemDirectoryProvider([this] { return root.path(); });
        if (!Main())
            return nullptr;
        return frmMain::Instance();
    }
    QString dataDir() const { return root.path() + QStringLiteral("/vkimgdir/"); }
    void writeToDataDir(const QString& name, const QByteArray& bytes) {
        QDir().mkpath(dataDir());
        QFile f(dataDir() + name);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

private slots:
    void init() {
        messages = std::make_unique<MessageRecorder>();
        QDir(dataDir()).removeRecursively();
    }
    // A message box speaks Persian (Qt's own button text from Qt's translations) and is wide
    // enough for its whole title even when its text is one short word.
    void aMessageBoxShowsItsWholeTitleInPersian() {
        if (!InstallQtTranslations())
            QSKIP("Qt's Persian translations (qt6-translations-l10n) are not installed");
        const QString ok = QCoreApplication::translate("QPlatformTheme", "OK");
        QVERIFY(ok != QLatin1String("OK"));
        messages.reset(); // the real box this once
        const QString title = kMainCaption;
        int width = 0;
        QString button;
        QTimer::singleShot(50, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            width = box->width();
            button = box->buttons().value(0)->text();
            box->accept();
        });
        MsgBox(nullptr, QStringLiteral("خطا"), MsgIcon::Warning, title);
        QCOMPARE(button.remove(u'&'), ok);
        QVERIFY2(width >= MessageBoxTitleWidth(title, QFontMetrics(QApplication::font())),
                 qPrintable(QString::number(width)));
        QVERIFY(width > QFontMetrics(QApplication::font()).horizontalAdvance(title));
    }

    void cleanup() {
        if (frmMain::Instance())
            frmMain::Instance()->close();
        QTest::qWait(0);
        QVERIFY(!frmMain::Instance());
        SetSystemDirectoryProvider({});
        messages.reset();
    }

    void startupSetsTheSharedState() {
        gExamTime = QTime(0, 46); // whatever the last run chose
        gPassMark = 3;
        frmMain* main = start();
        QVERIFY(main);
        QCOMPARE(gDataDir, dataDir());
        QCOMPARE(ConnectionString(), QStringLiteral("Provider=Microsoft.jet.OLEDB.4.0;Data Source=") +
                                         dataDir() + QStringLiteral("515;"));
        QCOMPARE(gExamTime, QTime(0, 26));
        QCOMPARE(gPassMark, quint8(27));
        QVERIFY(main->isVisible());
        QVERIFY(main->windowState() & Qt::WindowMaximized);
        QCOMPARE(main->windowTitle(),
                 QStringLiteral("نرم افزار Ravex      بهار 1388        نسخه 4       محصول Velkor"));
        QVERIFY(messages->messages.isEmpty()); // no data folder at all, and not a word about it
    }

    void startupWithoutASystemDirectoryEndsWithTheErrorBox() {
        SetSystemDirectoryProvider([] { return QString(); });
        QVERIFY(!Main());
        QVERIFY(!frmMain::Instance());
        QCOMPARE(messages->messages.size(), 1);
        QCOMPARE(messages->messages[0].title, QStringLiteral("نرم افزار Ravex نسخه4"));
        QCOMPARE(messages->messages[0].icon, MsgIcon::Information);
        QVERIFY(!messages->messages[0].prompt.isEmpty());
    }

    void examRanges() {
        InitExamRanges();
        QCOMPARE(gExamRanges[1], qint16(1));
        QCOMPARE(gExamRanges[31], qint16(514));
        int narrowest = 1000, widest = 0;
        for (int i = 1; i <= 30; ++i) {
            QVERIFY(gExamRanges[i] < gExamRanges[i + 1]);
            narrowest = qMin(narrowest, gExamRanges[i + 1] - gExamRanges[i]);
            widest = qMax(widest, gExamRanges[i + 1] - gExamRanges[i]);
        }
        for (int i = 2; i <= 12; ++i)
            QCOMPARE(gExamRanges[i], qint16(15 * (i - 1)));
        QCOMPARE(gExamRanges[15], qint16(183));
        QCOMPARE(gExamRanges[16], qint16(263));
        QCOMPARE(narrowest, 3);
        QCOMPARE(widest, 80);
    }

    // Restored, the area under the menu bar is the designed 1016 x 714 pixels, centred on the screen.
    void restoredSizeAndPlace() {
        frmMain* main = start();
        QVERIFY(main);
        main->showNormal();
        QCOMPARE(main->centralWidget()->size(), QSize(1016, 714));
        const QRect screen = main->screen()->availableGeometry();
        const QPoint centre = main->frameGeometry().center();
        QVERIFY2(qAbs(centre.x() - screen.center().x()) <= 2 && qAbs(centre.y() - screen.center().y()) <= 2,
                 qPrintable(QStringLiteral("%1,%2").arg(centre.x()).arg(centre.y())));
    }

    // The fonts the windows name are drawn with a stand-in where they are not installed, named
    // directly for speed: the face named is installed, draws every letter of the text itself (no
    // search for another face), and joins the Persian letters. Which face a desktop's own
    // substitution would choose is the desktop's business (more fonts, another choice).
    void standInFontsDrawTheTextThemselves_data() {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("text");
        const QString persian = QStringLiteral("تعداد سؤالات آزمون 30");
        for (const char* family : {"Tahoma", "Nazanin", "MS Sans Serif"})
            QTest::newRow(family) << QString::fromLatin1(family) << persian;
        QTest::newRow("Times New Roman") << QStringLiteral("Times New Roman") << QStringLiteral("OK");
    }
    void standInFontsDrawTheTextThemselves() {
        QFETCH(QString, family);
        QFETCH(QString, text);
        const QString standIn = look::InstalledFamily(family);
        QStringList installed = QFontDatabase::families();
        for (QString& f : installed)
            f = f.toCaseFolded();
        QVERIFY2(installed.contains(standIn.toCaseFolded()), qPrintable(standIn));
        // The glyphs drawn for a text, sorted, and the faces that drew them.
        struct Drawn {
            QList<quint32> glyphs;
            QStringList faces;
        };
        const auto draw = [](const QString& what, const QFont& font) {
            QTextLayout layout(what, font);
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            Drawn drawn;
            for (const QGlyphRun& run : layout.glyphRuns()) {
                drawn.glyphs << run.glyphIndexes();
                drawn.faces << run.rawFont().familyName().toCaseFolded();
            }
            std::sort(drawn.glyphs.begin(), drawn.glyphs.end());
            drawn.faces.removeDuplicates();
            return drawn;
        };
        for (const bool bold : {false, true}) {
            const QFont font = look::Font(family, 12, bold);
            const Drawn whole = draw(text, font);
            QCOMPARE(whole.faces, QStringList{standIn.toCaseFolded()});
            QVERIFY(!whole.glyphs.contains(0)); // no letter drawn as a missing-glyph box
            // Joined letters take other shapes than the same letters drawn one by one.
            QList<quint32> apart;
            for (const QChar letter : text) {
                if (!letter.isSpace())
                    apart << draw(QString(letter), font).glyphs;
            }
            std::sort(apart.begin(), apart.end());
            if (text.front().script() == QChar::Script_Arabic)
                QVERIFY2(whole.glyphs != apart, "the Persian letters are drawn unjoined");
        }
    }

    // Every compiled-in picture the windows name is built: a named file as it is, a picture named
    // without an extension at its own size and at twice its size, for a screen scaled above 100 %.
    void everyPictureTheWindowsNameIsBuilt() {
        look::EnsureResources();
        const QRegularExpression named(QStringLiteral("\":/([^\"]+)\""));
        QStringList missing;
        int names = 0;
        for (const char* folder :
             {"app", "browse", "card", "editor", "exam", "info", "progress", "settings", "ui"}) {
            QDirIterator it(QStringLiteral(RAVEX_SOURCE_DIR "/") + QLatin1String(folder),
                            {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                QFile source(it.next());
                QVERIFY(source.open(QIODevice::ReadOnly));
                const QString text = QString::fromUtf8(source.readAll());
                for (const QRegularExpressionMatch& m : named.globalMatch(text)) {
                    const QString name = QStringLiteral(":/") + m.captured(1);
                    const QStringList files =
                        QFileInfo(name).suffix().isEmpty()
                            ? QStringList{name + QStringLiteral(".png"), name + QStringLiteral("@2x.png")}
                            : QStringList{name};
                    for (const QString& file : files) {
                        if (!QFile::exists(file))
                            missing << QFileInfo(source.fileName()).fileName() + QStringLiteral(": ") + file;
                    }
                    ++names;
                }
            }
        }
        QVERIFY2(names >= 10, qPrintable(QString::number(names))); // the scan found the sources
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
    }

    void buttonStrip() {
        frmMain* main = start();
        QVERIFY(main);
        const struct {
            const char* name;
            const char* caption;
            int left, width;
        } expected[] = {
            {"Command1", "علائم اخطار كننده", 13890, 1395},
            {"Command2", "علائم حكم كننده", 12525, 1365},
            {"Command3", "علائم اخباري", 11220, 1305},
            {"Command4", "حق تقدم در سه راه", 9735, 1485},
            {"Command5", "حق تقدم در چهارراه", 8250, 1485},
            {"Command10", "مرور سؤالات", 6720, 1530},
            {"Command9", "تنظيمات", 5175, 1530},
            {"Command6", "آزمون اصلي", 3750, 1430},
            {"Command7", "راهنما", 2535, 1215},
            {"cmdMusic", "قطع آهنگ", 1290, 1245},
            {"Command8", "خروج", 45, 1245},
        };
        auto* strip = main->findChild<QWidget*>("Picture1");
        QVERIFY(strip);
        QCOMPARE(strip->height(), 25);
        QWidget* previous = nullptr;
        for (const auto& e : expected) {
            auto* b = strip->findChild<QPushButton*>(e.name);
            QVERIFY2(b, e.name);
            QCOMPARE(b->text(), QString::fromUtf8(e.caption));
            QCOMPARE(b->geometry(), QRect(qRound(e.left / 15.0), 2, qRound(e.width / 15.0), 20));
            QCOMPARE(b->font().family(), look::InstalledFamily(QStringLiteral("Tahoma")));
            // The designed 8.25 points; a caption wider than its button's inside a little less.
            QVERIFY2(b->font().pointSizeF() <= 8.25 && b->font().pointSizeF() >= 7.5, e.name);
            if (previous)
                QCOMPARE(previous->nextInFocusChain(), b); // tab order runs right to left
            previous = b;
        }
        QCOMPARE(strip->findChild<QPushButton*>("cmdMusic")->property("Tag").toString(), QStringLiteral("1"));
        auto* timer = main->findChild<QTimer*>("Timer1");
        QVERIFY(timer && timer->isActive());
        QCOMPARE(timer->interval(), 500);
    }

    // At the designed width every strip button stands at its twips place in the strip; on a wider
    // window the strip's buttons stay whole and centred, as far from the left as from the right.
    void theStripOnAnyWidth_data() {
        QTest::addColumn<int>("width");
        QTest::newRow("designed") << 1016;
        QTest::newRow("1366") << 1366;
        QTest::newRow("1920") << 1920;
        QTest::newRow("odd") << 1111;
    }
    void theStripOnAnyWidth() {
        QFETCH(int, width);
        frmMain* main = start();
        QVERIFY(main);
        main->showNormal();
        main->resize(width, main->height());
        QTRY_COMPARE(main->centralWidget()->width(), width);
        auto* strip = main->findChild<QWidget*>("Picture1");
        QRect all;
        for (auto* b : strip->findChildren<QPushButton*>())
            all |= QRect(b->mapTo(strip, QPoint(0, 0)), b->size());
        // The designed strip itself reaches 3 pixels past the designed width, as it always did.
        if (width > 1016)
            QVERIFY(strip->rect().contains(all));
        const int offset = (width - 1016) / 2;
        QCOMPARE(all.left(), offset + qRound(45 / 15.0));
        auto* command1 = strip->findChild<QPushButton*>("Command1");
        QCOMPARE(QRect(command1->mapTo(strip, QPoint(0, 0)), command1->size()),
                 QRect(offset + qRound(13890 / 15.0), 2, qRound(1395 / 15.0), 20));
    }

    void menu() {
        frmMain* main = start();
        QVERIFY(main);
        const QList<QAction*> top = main->menuBar()->actions();
        QStringList titles;
        for (QAction* a : top)
            titles << a->text();
        QCOMPARE(titles, (QStringList{"سوالات", "امكانات", "راهنما", "خروج"}));
        const struct {
            const char* name;
            const char* caption;
            const char* shortcut;
        } entries[] = {
            {"mnuMorooreSoalat", "مرور سؤالات", "Ctrl+S"},
            {"mnuMorooreTabloha", "مرور تابلوها و تقاطعها", "Ctrl+M"},
            {"mnuNokat", "نكات مهم در آزمون شهر", ""},
            {"mnuSoalatOLD", "سؤالات سالهاي قبل", ""},
            {"mnu32", "آزمون اصلي", "Ctrl+A"},
            {"mnuTanzimat", "تنظيمات", "Ctrl+T"},
            {"mnuViraiesh", "ويرايش سؤالات", ""},
            {"mnu41", "راهنماي استفاده از برنامه", ""},
            {"mnu42", "درباره ما", ""},
            {"mnuKhorooj", "خروج", ""},
        };
        for (const auto& e : entries) {
            auto* action = main->findChild<QAction*>(e.name);
            QVERIFY2(action, e.name);
            QCOMPARE(action->text(), QString::fromUtf8(e.caption));
            QCOMPARE(action->shortcut(), QKeySequence(QString::fromLatin1(e.shortcut)));
        }
        const QList<QAction*> soalat = top[0]->menu()->actions();
        QCOMPARE(soalat.size(), 6);
        QVERIFY(soalat[2]->isSeparator() && soalat[4]->isSeparator());
        QCOMPARE(soalat[5]->objectName(), QStringLiteral("mnuSoalatOLD"));
    }

    // Each window opens from its strip button, its menu entry and its shortcut, as the one window of
    // its kind; asked for again from behind another window, that same window comes to the front.
    void everyWindowOpensFromItsControls_data() {
        QTest::addColumn<QString>("control"); // a button or menu entry by name, or a shortcut
        QTest::addColumn<QString>("window");
        const struct {
            const char* control;
            const char* window;
        } rows[] = {
            {"Command10", "frmSoalat"},       {"mnuMorooreSoalat", "frmSoalat"},
            {"Ctrl+S", "frmSoalat"},          {"mnuMorooreTabloha", "frmTabloha"},
            {"Ctrl+M", "frmTabloha"},         {"mnuNokat", "frmNokat"},
            {"mnuSoalatOLD", "frmSoalatOLD"}, {"Command6", "frmAzmoon"},
            {"mnu32", "frmAzmoon"},           {"Ctrl+A", "frmAzmoon"},
            {"Command9", "frmTanzimat"},      {"mnuTanzimat", "frmTanzimat"},
            {"Ctrl+T", "frmTanzimat"},        {"mnuViraiesh", "frmViraiesh"},
            {"mnuPishraft", "frmPishraft"},   {"mnuEshtebahat", "frmEshtebahat"},
            {"Command7", "frmRahnama"},       {"mnu41", "frmRahnama"},
            {"mnu42", "frmDarbareMa"},
        };
        for (const auto& row : rows)
            QTest::newRow(row.control) << QString::fromLatin1(row.control) << QString::fromLatin1(row.window);
    }
    void everyWindowOpensFromItsControls() {
        QFETCH(QString, control);
        QFETCH(QString, window);
        auto program = std::make_unique<RunningProgram>();
        frmMain* main = program->main;
        QVERIFY(main);
        FixtureBank bank;
        FixtureBank::fillExam(bank);
        QVERIFY2(bank.write(), qPrintable(bank.lastError));
        bank.useAsGlobals();

        const auto act = [&] {
            if (control.startsWith(QLatin1String("Ctrl+"))) {
                const QKeySequence keys(control);
                PressKey(Qt::Key(keys[0].key()), keys[0].keyboardModifiers());
            } else {
                program->Open(qPrintable(control));
            }
            QMdiSubWindow* active = main->mdiArea()->activeSubWindow();
            return active ? active->widget() : nullptr;
        };
        const auto framesOf = [&](const QString& name) {
            int n = 0;
            for (QMdiSubWindow* sub : main->mdiArea()->subWindowList())
                n += sub->widget()->objectName() == name;
            return n;
        };
        // Another window first, so that the keys have somewhere to go and the window a place behind.
        const char* other = window == QLatin1String("frmNokat") ? "mnuSoalatOLD" : "mnuNokat";
        QWidget* behind = program->Open(other);
        QVERIFY(behind);

        QWidget* form = act();
        QVERIFY(form);
        QCOMPARE(form->objectName(), window);
        QCOMPARE(QString::fromLatin1(form->metaObject()->className()), window);
        QVERIFY(form->isVisible());

        QCOMPARE(program->Open(other), behind);
        QCOMPARE(act(), form);
        QCOMPARE(framesOf(window), 1);
        QCOMPARE(main->mdiArea()->subWindowList().size(), 2);
        QVERIFY(program->platform.messages.messages.isEmpty());
        program.reset();
    }

    void entriesWithoutTheirWindowDoNothingHarmful() {
        frmMain* main = start();
        QVERIFY(main);
        for (const char* name : {"mnuNokat", "mnuTanzimat", "mnuViraiesh", "mnu41", "mnu42"})
            main->findChild<QAction*>(name)->trigger();
        for (const char* name : {"Command9", "Command7", "cmdMusic"})
            QTest::mouseClick(main->findChild<QPushButton*>(name), Qt::LeftButton);
        QVERIFY(main->isVisible());
        QVERIFY(messages->messages.isEmpty());
    }

    void backgroundPicture_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("shown");
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        QTest::newRow("picture") << png << true;
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("text") << QByteArray("not a picture at all\n") << false;
        QTest::newRow("truncated") << png.left(png.size() / 2) << false;
    }
    void backgroundPicture() {
        QFETCH(QByteArray, content);
        QFETCH(bool, shown);
        if (!content.isEmpty())
            writeToDataDir("0", content);
        frmMain* main = start();
        QVERIFY(main);
        QCOMPARE(!main->mdiArea()->picture().isNull(), shown);
        if (shown)
            QCOMPARE(main->mdiArea()->picture().size(), QSize(30, 20));
        // Around the picture the windows' blue exactly, and the picture's edges melt into it.
        QCOMPARE(main->mdiArea()->background().color(), QColor(155, 188, 225));
        const QImage seen = main->mdiArea()->viewport()->grab().toImage();
        QCOMPARE(seen.pixelColor(1, 1), QColor(155, 188, 225));
        const QPoint centre = seen.rect().center();
        QCOMPARE(seen.pixelColor(centre), shown ? QColor(Qt::darkGreen) : QColor(155, 188, 225));
        if (shown) { // the picture's outermost row is all but the blue itself: no seam
            const QColor edge = seen.pixelColor(centre.x(), centre.y() - 10);
            QVERIFY2(qAbs(edge.red() - 155) + qAbs(edge.green() - 188) + qAbs(edge.blue() - 225) < 60,
                     qPrintable(edge.name()));
        }
        QVERIFY(messages->messages.isEmpty());
    }

    void brokenBankDoesNotStopStartup_data() {
        QTest::addColumn<QByteArray>("bank");
        QTest::newRow("random bytes") << QByteArray(2048, '\x9c');
        QTest::newRow("empty") << QByteArray();
    }
    void brokenBankDoesNotStopStartup() {
        QFETCH(QByteArray, bank);
        writeToDataDir("515", bank);
        frmMain* main = start();
        QVERIFY(main && main->isVisible());
        QVERIFY(messages->messages.isEmpty());
    }

    // A text box would keep Ctrl+A (select all) for itself; the menu's four keys win over every box
    // of every child window, and the box's text stays as it was.
    void menuShortcutsWinOverAFocusedBox_data() {
        QTest::addColumn<QString>("opener");
        QTest::newRow("question editor") << "mnuViraiesh";
        QTest::newRow("settings") << "Command9";
    }
    void menuShortcutsWinOverAFocusedBox() {
        QFETCH(QString, opener);
        FixtureBank bank;
        FixtureBank::fillExam(bank);
        QVERIFY2(bank.write(), qPrintable(bank.lastError));
        RunningProgram program;
        QVERIFY(program.main);
        bank.useAsGlobals();
        QWidget* form = program.Open(qPrintable(opener));
        QVERIFY(form);
        const QList<QLineEdit*> boxes = form->findChildren<QLineEdit*>();
        QVERIFY(!boxes.isEmpty());
        const struct {
            Qt::Key key;
            const char* window;
        } shortcuts[] = {{Qt::Key_A, "frmAzmoon"},
                         {Qt::Key_S, "frmSoalat"},
                         {Qt::Key_M, "frmTabloha"},
                         {Qt::Key_T, "frmTanzimat"}};
        for (QLineEdit* box : boxes) {
            if (!box->isVisible())
                continue;
            for (const auto& s : shortcuts) {
                const QString where = box->objectName() + QStringLiteral(" Ctrl+") + QChar(s.key);
                QCOMPARE(program.Open(qPrintable(opener)), form);
                QTest::mouseClick(box, Qt::LeftButton);
                QVERIFY2(QApplication::focusWidget() == box, qPrintable(where));
                const QString before = box->text();
                PressKey(s.key, Qt::ControlModifier);
                QMdiSubWindow* active = program.main->mdiArea()->activeSubWindow();
                QVERIFY2(active, qPrintable(where));
                QVERIFY2(active->widget()->objectName() == QLatin1String(s.window), qPrintable(where));
                QVERIFY2(box->text() == before && !box->hasSelectedText(), qPrintable(where));
            }
        }
        QVERIFY(program.platform.messages.messages.isEmpty());
    }

    void exitClosesEveryChildFirst_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("button") << "Command8";
        QTest::newRow("menu") << "mnuKhorooj";
        QTest::newRow("close box") << "close";
    }
    void exitClosesEveryChildFirst() {
        QFETCH(QString, how);
        QPointer<frmMain> main = start();
        QVERIFY(main);
        QStringList closed;
        for (int i = 0; i < 3; ++i) {
            auto* child = new ClosingChild([&closed, main, i] {
                // the main window is still up while its children close
                closed << QString::number(i) + (main && main->isVisible() ? "" : " late");
            });
            QMdiSubWindow* sub = main->mdiArea()->addSubWindow(child);
            sub->setAttribute(Qt::WA_DeleteOnClose);
            sub->show();
        }
        if (how == "Command8")
            QTest::mouseClick(main->findChild<QPushButton*>("Command8"), Qt::LeftButton);
        else if (how == "mnuKhorooj")
            main->findChild<QAction*>("mnuKhorooj")->trigger();
        else
            main->close();
        QTest::qWait(0);
        QVERIFY(!main);
        closed.sort();
        QCOMPARE(closed, (QStringList{"0", "1", "2"}));
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
