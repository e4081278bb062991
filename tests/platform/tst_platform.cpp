// The small conversions and the stand-ins for the operating system.
#include "app/mdlRavex.h"
#include "common/TestPlatform.h"
#include "platform/PersianDigits.h"
#include "platform/Picture.h"
#include "platform/SystemDir.h"
#include "platform/Vb.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void val_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("plain") << "27" << 27.0;
        QTest::newRow("leading number") << "12abc" << 12.0;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("blanks around and inside") << " 2 4 " << 24.0;
        QTest::newRow("fraction") << "29.5" << 29.5;
        QTest::newRow("negative") << "-1" << -1.0;
        QTest::newRow("bare dot") << "." << 0.0;
        QTest::newRow("exponent") << "1e2x" << 100.0;
        QTest::newRow("dangling exponent") << "3e" << 3.0;
        QTest::newRow("persian digits are not a number") << "۳" << 0.0;
    }
    void val() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(vb::Val(text), value);
    }

    void trimAndRound() {
        QCOMPARE(vb::Trim(QStringLiteral("  R01 ")), QStringLiteral("R01"));
        QCOMPARE(vb::Trim(QStringLiteral("\tR01")), QStringLiteral("\tR01")); // blanks only
        QCOMPARE(vb::Trim(QStringLiteral("   ")), QString());
        QCOMPARE(vb::RoundHalfEven(2.5), 2);
        QCOMPARE(vb::RoundHalfEven(29.5), 30);
        QCOMPARE(vb::RoundHalfEven(3.5), 4);
        QCOMPARE(vb::RoundHalfEven(0.6), 1);
    }

    // Every digit mapped, no separators a year or an ID would break on, the sign kept.
    void persianNumbers_data() {
        QTest::addColumn<qint64>("n");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64(0) << QStringLiteral("۰");
        QTest::newRow("every digit") << qint64(1234567890) << QStringLiteral("۱۲۳۴۵۶۷۸۹۰");
        QTest::newRow("a year") << qint64(1405) << QStringLiteral("۱۴۰۵");
        QTest::newRow("negative") << qint64(-30) << QStringLiteral("-۳۰");
    }
    void persianNumbers() {
        QFETCH(qint64, n);
        QFETCH(QString, text);
        QCOMPARE(PersianNumber(n), text);
    }

    void systemDirectoryBuffer() {
        SetSystemDirectoryProvider([] { return QStringLiteral("/home/u/.local/share/"); });
        QString buffer(255, u' ');
        QCOMPARE(GetSystemDirectoryA(buffer, 255), 20u);
        QCOMPARE(buffer.size(), 255);
        QCOMPARE(buffer.left(23), QStringLiteral("/home/u/.local/share") + QChar(u'\0') + u' ' + u' ');
        QCOMPARE(GetDataDir(buffer), QStringLiteral("/home/u/.local/share/vkimgdir/"));

        // A path that does not fit leaves the buffer as it was and says how much room it needs.
        SetSystemDirectoryProvider([] { return QString(300, u'a'); });
        QString small(255, u' ');
        QCOMPARE(GetSystemDirectoryA(small, 255), 301u);
        QCOMPARE(small, QString(255, u' '));
        SetSystemDirectoryProvider([] { return QString(); });
        QCOMPARE(GetSystemDirectoryA(small, 255), 0u);
        SetSystemDirectoryProvider({});
    }

    void dataDirFromBuffer_data() {
        QTest::addColumn<QString>("buffer");
        QTest::addColumn<QString>("dataDir");
        QTest::addColumn<bool>("ok");
        QTest::newRow("windows example")
            << QStringLiteral("C:\\WINDOWS\\system32") + QChar(u'\0') + QString(40, u' ')
            << "C:\\WINDOWS\\system32/vkimgdir/" << true;
        QTest::newRow("linux") << QStringLiteral("/root/.local/share") + QChar(u'\0') + "   "
                               << "/root/.local/share/vkimgdir/" << true;
        QTest::newRow("all blanks") << QString(255, u' ') << "" << false;
        QTest::newRow("nothing but the terminator") << QString(QChar(u'\0')) + "  "
                                                    << "/vkimgdir/" << true;
    }
    void dataDirFromBuffer() {
        QFETCH(QString, buffer);
        QFETCH(QString, dataDir);
        QFETCH(bool, ok);
        bool got = !ok;
        QCOMPARE(GetDataDir(buffer, &got), dataDir);
        QCOMPARE(got, ok);
    }

    void randomIsUniformInHalfOpenRange() {
        Randomize();
        float lo = 1, hi = 0;
        for (int i = 0; i < 100000; ++i) {
            const float r = Rnd();
            QVERIFY(r >= 0.0f && r < 1.0f);
            lo = qMin(lo, r);
            hi = qMax(hi, r);
        }
        QVERIFY(lo < 0.001f && hi > 0.999f);
    }

    void reseedsWithinOneClockTickDiffer() {
        FakePlatform fake; // the tick count stands still
        QVector<float> first, second;
        Randomize();
        for (int i = 0; i < 8; ++i)
            first.append(Rnd());
        Randomize();
        for (int i = 0; i < 8; ++i)
            second.append(Rnd());
        QVERIFY(first != second);
    }

    void picturesByContent() {
        QTemporaryDir dir;
        const QString good = dir.filePath(QStringLiteral("7"));
        QImage image(20, 10, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QVERIFY(image.save(good, "PNG"));
        QCOMPARE(LoadPicture(good).size(), QSize(20, 10));

        QFile text(dir.filePath(QStringLiteral("0")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("this is not a picture\n");
        text.close();
        QVERIFY(LoadPicture(text.fileName()).isNull());

        QFile full(good);
        QVERIFY(full.open(QIODevice::ReadOnly));
        QFile cut(dir.filePath(QStringLiteral("8")));
        QVERIFY(cut.open(QIODevice::WriteOnly));
        cut.write(full.readAll().left(40));
        cut.close();
        QVERIFY(LoadPicture(cut.fileName()).isNull());

        QVERIFY(LoadPicture(dir.filePath(QStringLiteral("missing"))).isNull());
        QVERIFY(LoadPicture(dir.path()).isNull()); // a folder
        QVERIFY(LoadPicture(QString()).isNull());
    }

    // Files without a suffix: the common formats known by their first bytes, others by asking
    // the image readers.
    void picturesOfEveryFormat_data() {
        QTest::addColumn<QByteArray>("format");
        for (const char* format : {"PNG", "JPEG", "BMP", "PPM", "ICO"})
            QTest::newRow(format) << QByteArray(format);
    }
    void picturesOfEveryFormat() {
        QFETCH(QByteArray, format);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("12"));
        QImage image(24, 16, QImage::Format_RGB32);
        image.fill(QColor(0, 0, 255));
        QVERIFY(image.save(path, format.constData()));
        const QImage read = LoadPicture(path).toImage();
        QCOMPARE(read.size(), QSize(24, 16));
        QVERIFY(qAbs(read.pixelColor(12, 8).blue() - 255) < 8);
    }

    // The ground decoded on another core is the one the next load of that file returns; a file
    // that changes after the start, or goes, is read as it is at the load.
    void prefetchedPictures() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("0"));
        const auto write = [&](QSize size) {
            QImage image(size, QImage::Format_RGB32);
            image.fill(Qt::darkGreen);
            return image.save(path, "JPEG");
        };
        QVERIFY(write({40, 30}));
        quint64 start = PictureDecodes();
        PrefetchPicture(path);
        QCOMPARE(LoadPicture(path).size(), QSize(40, 30));
        QCOMPARE(LoadPicture(path).size(), QSize(40, 30));
        QCOMPARE(PictureDecodes(), start + 1);

        const QString other = dir.filePath(QStringLiteral("1"));
        QVERIFY(QFile::copy(path, other));
        PrefetchPicture(other);
        QVERIFY(write({50, 20}));
        QVERIFY(QFile::remove(other) && QFile::copy(path, other));
        QCOMPARE(LoadPicture(other).size(), QSize(50, 20));

        PrefetchPicture(dir.filePath(QStringLiteral("missing")));
        QVERIFY(LoadPicture(dir.filePath(QStringLiteral("missing"))).isNull());
        PrefetchPicture(path); // started and never collected, then another: nothing is left hanging
        PrefetchPicture(other);
        QCOMPARE(LoadPicture(other).size(), QSize(50, 20));
    }

    // A picture is decoded once while its file stays as it was, and afresh when the file changes
    // in size or only in its modification time; the cache forgets the oldest beyond its bound.
    void picturesAreDecodedOnce() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("42"));
        const auto write = [&](QSize size, QColor colour) {
            QImage image(size, QImage::Format_RGB32);
            image.fill(colour);
            return image.save(path, "PNG");
        };
        QVERIFY(write({20, 10}, Qt::blue));
        const quint64 start = PictureDecodes();
        QCOMPARE(LoadPicture(path).size(), QSize(20, 10));
        QCOMPARE(LoadPicture(path).size(), QSize(20, 10));
        QCOMPARE(PictureDecodes(), start + 1);

        QVERIFY(write({30, 15}, Qt::blue)); // another size of file
        QCOMPARE(LoadPicture(path).size(), QSize(30, 15));
        QCOMPARE(PictureDecodes(), start + 2);

        QVERIFY(write({30, 15}, Qt::red)); // the same size of file: only the time tells
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(
            file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(LoadPicture(path).toImage().pixelColor(0, 0), QColor(Qt::red));
        QCOMPARE(PictureDecodes(), start + 3);

        QVERIFY(QFile::remove(path));
        QVERIFY(LoadPicture(path).isNull());

        QStringList many;
        for (int i = 0; i <= kPictureCacheSize; ++i) {
            many << dir.filePath(QStringLiteral("p%1").arg(i));
            QImage image(4, 4, QImage::Format_RGB32);
            image.fill(Qt::green);
            QVERIFY(image.save(many.last(), "PNG"));
            LoadPicture(many.last());
        }
        const quint64 filled = PictureDecodes();
        LoadPicture(many.last()); // the newest is kept
        QCOMPARE(PictureDecodes(), filled);
        LoadPicture(many.first()); // the oldest went
        QCOMPARE(PictureDecodes(), filled + 1);
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
