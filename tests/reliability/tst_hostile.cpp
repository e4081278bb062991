// Hostile files in the data folder, met at start-up and in every window that reads them: the
// program goes on, writes nothing where it should not, and shows only the messages it has.
#include "app/frmMain.h"
#include "common/FixtureBank.h"
#include "common/TestPlatform.h"
#include "data/Connection.h"
#include "reliability/BankHealth.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

#include <cstdio>

namespace {
// Every message a window already has for a bank it cannot use; nothing else may appear.
const QStringList kKnownMessages = {
    QStringLiteral("بانك سؤالات پيدا نشد يا قابل خواندن نيست."),
    QStringLiteral("سؤالات آزمون از بانك خوانده نشد؛ بانك سؤالات ناقص يا خراب است."),
    QStringLiteral("آزمون جديد در بانك نوشته نشد؛ آزمون قبلي دست نخورده باقي ماند."),
    QStringLiteral("مقدار گزينه صحيح عددي بين 1 تا 4 است"),
};
bool known(const QString& message) {
    return kKnownMessages.contains(message) ||
           message.startsWith(QStringLiteral("براي بازه سؤالات")) || // a range without questions
           message.startsWith(QStringLiteral("پس از "));             // draws that never found 30
}

// The windows that read the bank or its pictures, by the main window's control that opens them.
const char* const kReaders[] = {"Command10", "Command1",     "Command2", "Command3",    "Command4",
                                "Command5",  "mnuSoalatOLD", "Command6", "mnuViraiesh", "Command9",
                                "mnuNokat",  "mnu41",        "mnu42"};

// Each file of the folder and a digest of its content.
QMap<QString, QByteArray> snapshot(const QString& dir) {
    QMap<QString, QByteArray> out;
    QDirIterator it(dir, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        out.insert(it.fileName(), f.open(QIODevice::ReadOnly)
                                      ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1)
                                      : QByteArray("<dir>"));
    }
    return out;
}

// A PNG that declares width x height pixels and carries almost nothing.
QByteArray hugePng(quint32 width, quint32 height) {
    QByteArray ihdr("IHDR");
    for (quint32 v : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8)
            ihdr.append(char((v >> shift) & 0xff));
    }
    ihdr.append("\x08\x06\x00\x00\x00", 5); // 8 bits, RGBA, deflate, no filter, no interlace
    quint32 crc = 0xffffffffu;
    for (char c : ihdr) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    crc ^= 0xffffffffu;
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png.append("\x00\x00\x00\x0d", 4).append(ihdr);
    for (int shift = 24; shift >= 0; shift -= 8)
        png.append(char((crc >> shift) & 0xff));
    png.append(QByteArray(64, '\0')); // a few bytes of nothing where the pixels would be
    return png;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The questions of the fixture with pictures: sign questions every seventh ID.
constexpr int kPictured = 301;
} // namespace

class TestHostile : public QObject {
    Q_OBJECT
    int tried_ = 0;

private slots:
    void cleanupTestCase() { std::printf("%d hostile inputs tried\n", tried_); }

    void theProgramGoesOnAndWritesNothingWrong_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<bool>("bankMayChange"); // an exam may be written to a usable bank
        for (const char* d : {"random bytes",
                              "truncated bank",
                              "empty bank",
                              "no tblAzmoon",
                              "no tblSoal",
                              "no qrySoalat view",
                              "no category view",
                              "wrong column types",
                              "text picture",
                              "truncated picture",
                              "huge picture",
                              "picture -5",
                              "picture huge number",
                              "text mp3",
                              "empty mp3",
                              "long music path",
                              "music path with blanks and Persian",
                              "music path is a folder",
                              "category code with apostrophe",
                              "null texts"}) {
            const bool broken = QByteArray(d) == "random bytes" || QByteArray(d).endsWith(" bank");
            QTest::newRow(d) << QString::fromLatin1(d) << !broken;
        }
    }
    void theProgramGoesOnAndWritesNothingWrong() {
        QFETCH(QString, damage);
        QFETCH(bool, bankMayChange);
        FixtureBank bank;
        FixtureBank::fillExam(bank);
        if (damage == QLatin1String("category code with apostrophe")) {
            bank.addCategory(QStringLiteral("T_O'NEIL"), 99, QStringLiteral("general"),
                             QStringLiteral("رده ' تازه"));
            bank.addQuestion(514, QStringLiteral("T_O'NEIL"), 2);
        }
        QVERIFY2(bank.write(), qPrintable(bank.lastError));
        const QString dir = bank.dataDir();
        const QByteArray good = fileBytes(bank.bankPath());
        const QString picture = dir + QString::number(kPictured);
        const auto setMusic = [&](const QString& path) {
            QVERIFY(bank.exec(QStringLiteral("UPDATE tblTanzimat SET Music = '%1'")
                                  .arg(QString(path).replace(u'\'', QStringLiteral("''")))));
        };

        if (damage == QLatin1String("random bytes")) {
            QByteArray noise(8192, '\0');
            QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
            bank.writeFile(QStringLiteral("515"), noise);
        } else if (damage == QLatin1String("truncated bank")) {
            bank.writeFile(QStringLiteral("515"), good.left(good.size() / 3));
        } else if (damage == QLatin1String("empty bank")) {
            bank.writeFile(QStringLiteral("515"), QByteArray());
        } else if (damage == QLatin1String("no tblAzmoon")) {
            QVERIFY(bank.exec(QStringLiteral("DROP TABLE tblAzmoon")));
        } else if (damage == QLatin1String("no tblSoal")) {
            QVERIFY(bank.exec(QStringLiteral("PRAGMA foreign_keys = OFF")));
            QVERIFY(bank.exec(QStringLiteral("DROP TABLE tblSoal")));
        } else if (damage == QLatin1String("no qrySoalat view")) {
            QVERIFY(bank.exec(QStringLiteral("DROP VIEW qrySoalat")));
        } else if (damage == QLatin1String("no category view")) {
            QVERIFY(bank.exec(QStringLiteral("DROP VIEW qryNoeSoaleAzmoon")));
        } else if (damage == QLatin1String("wrong column types")) {
            for (const char* view : {"qrySoalat", "qryTabloha", "qrySoalatOLD", "qrySoalateAzmoon"}) {
                QVERIFY(bank.exec(QStringLiteral("DROP VIEW %1").arg(QLatin1String(view))));
                QVERIFY(bank.exec(
                    QStringLiteral("CREATE VIEW %1 AS SELECT 'x' || ID AS ID, X'00ff' AS NoeSoal, "
                                   "1.5 AS SoorateSoal, NULL AS G1, X'41' AS G2, -1 AS G3, 'g' AS G4, "
                                   "'abc' AS G_Sahih, 'pic' AS Shekl FROM tblSoal")
                        .arg(QLatin1String(view))));
            }
        } else if (damage == QLatin1String("text picture")) {
            bank.writeFile(QString::number(kPictured), "this is not a picture\n");
        } else if (damage == QLatin1String("truncated picture")) {
            bank.writeFile(QString::number(kPictured), fileBytes(picture).left(40));
        } else if (damage == QLatin1String("huge picture")) {
            bank.writeFile(QString::number(kPictured), hugePng(30000, 30000));
            bank.writeFile(QStringLiteral("0"), hugePng(30000, 30000));
        } else if (damage == QLatin1String("picture -5")) {
            QVERIFY(bank.exec(QStringLiteral("UPDATE tblSoal SET Shekl = -5")));
        } else if (damage == QLatin1String("picture huge number")) {
            QVERIFY(
                bank.exec(QStringLiteral("UPDATE tblSoal SET Shekl = 9223372036854775807 WHERE ID % 2 = 0")));
            QVERIFY(bank.exec(QStringLiteral("UPDATE tblSoal SET Shekl = 1e300 WHERE ID % 2 = 1")));
        } else if (damage == QLatin1String("text mp3")) {
            bank.writeFile(QStringLiteral("music.mp3"), "not music\n");
            setMusic(dir + QStringLiteral("music.mp3"));
        } else if (damage == QLatin1String("empty mp3")) {
            bank.writeFile(QStringLiteral("music.mp3"), QByteArray());
            setMusic(dir + QStringLiteral("music.mp3"));
        } else if (damage == QLatin1String("long music path")) {
            setMusic(dir + QString(4000, u'm') + QStringLiteral(".mp3"));
        } else if (damage == QLatin1String("music path with blanks and Persian")) {
            bank.writeFile(QStringLiteral("آهنگ  من ' (1).mp3"), "ID3");
            setMusic(dir + QStringLiteral("آهنگ  من ' (1).mp3"));
        } else if (damage == QLatin1String("music path is a folder")) {
            QVERIFY(QDir(dir).mkdir(QStringLiteral("folder.mp3")));
            setMusic(dir + QStringLiteral("folder.mp3"));
        } else if (damage == QLatin1String("null texts")) {
            QVERIFY(bank.exec(QStringLiteral("UPDATE tblTanzimat SET Music = NULL")));
            QVERIFY(bank.exec(QStringLiteral("UPDATE tblNoeSoal SET Farsi = ''")));
        }
        const QMap<QString, QByteArray> before = snapshot(dir);

        {
            // Start-up meets the files first; then every window that reads them, moved about.
            RunningProgram program;
            QVERIFY(program.main);
            bank.useAsGlobals();
            for (const char* control : kReaders) {
                QWidget* form = program.Open(control);
                QVERIFY2(frmMain::Instance(), control);
                if (!form)
                    continue;
                for (const char* move : {"cmdNext", "cmdEnd", "cmdPrevious", "cmdFirst"}) {
                    if (auto* b = form->findChild<QPushButton*>(QString::fromLatin1(move));
                        b && b->isVisible())
                        QTest::mouseClick(b, Qt::LeftButton);
                }
                if (auto* combo = form->findChild<QComboBox*>(QStringLiteral("cboNoeSoal"))) {
                    for (int i = 0; i < combo->count(); ++i) {
                        combo->setCurrentIndex(i);
                        emit combo->activated(i);
                    }
                }
                QMetaObject::invokeMethod(program.main, "Timer1_Timer"); // the music's tick
            }
            QCoreApplication::processEvents();
            for (const auto& m : program.platform.messages.messages)
                QVERIFY2(known(m.prompt),
                         qPrintable(damage + QStringLiteral(": unexpected message ") + m.prompt));
        }
        ++tried_;

        QMap<QString, QByteArray> after = snapshot(dir);
        if (bankMayChange) {
            // Only the bank itself may have changed (a new exam); the pictures never.
            after.remove(QStringLiteral("515"));
            QMap<QString, QByteArray> withoutBank = before;
            withoutBank.remove(QStringLiteral("515"));
            QCOMPARE(after, withoutBank);
            const BankHealth health = CheckBank(bank.bankPath());
            if (damage != QLatin1String("no tblAzmoon") && damage != QLatin1String("no tblSoal"))
                QVERIFY2(health.ok(), qPrintable(health.problems.join(u'\n')));
        } else {
            QCOMPARE(after, before); // a damaged bank is never "repaired" or overwritten
        }
    }
};

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
