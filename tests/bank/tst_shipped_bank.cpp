// The shipped question bank, checked as a whole: numbers, collections, categories and their
// order, options, the spread of correct answers, pictures, and what every exam range can draw.
#include "data/BoundSource.h"
#include "data/Explanations.h"
#include "platform/Picture.h"
#include "tools/bank/BankWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSet>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QSet<int> kArchiveSingles = {268, 296, 297, 301, 318, 323, 324, 353, 354, 356, 357, 358, 360,
                                   384, 392, 394, 395, 396, 399, 416, 417, 422, 439, 444, 446};
bool isArchive(int id) {
    return (id >= 195 && id <= 262) || kArchiveSingles.contains(id);
}

// The number plan: which category each block of numbers belongs to (archive numbers aside).
QString plannedCategory(int id) {
    const struct {
        int from, to;
        const char* code;
    } plan[] = {
        {1, 14, "R01"},       {15, 29, "R02"},         {30, 44, "R03"},           {45, 59, "R04"},
        {60, 74, "R05"},      {75, 89, "R06"},         {90, 104, "R07"},          {105, 119, "R08"},
        {120, 134, "R09"},    {135, 149, "R10"},       {150, 164, "R11"},         {165, 169, "R12"},
        {170, 172, "R13"},    {173, 182, "R14"},       {183, 194, "R15"},         {263, 293, "T_EKHTAR"},
        {294, 338, "T_HOKM"}, {339, 370, "T_AKHBARI"}, {371, 412, "T_CHAHARRAH"}, {413, 447, "T_SEHRAH"},
        {448, 474, "R16"},    {475, 495, "R17"},       {496, 513, "R18"},
    };
    for (const auto& p : plan) {
        if (id >= p.from && id <= p.to)
            return QString::fromLatin1(p.code);
    }
    return {};
}

QString bankDir() {
    return qEnvironmentVariable("RAVEX_BANK_DIR", QStringLiteral(RAVEX_SOURCE_BANK));
}
} // namespace

class TestShippedBank : public QObject {
    Q_OBJECT
    BankSource source;

private slots:
    void initTestCase() {
        source = ReadBankSource(bankDir());
        QVERIFY2(source.errors.isEmpty(), qPrintable(source.errors.join('\n')));
    }

    void everyNumberOnceInItsPlace() {
        QMap<int, const BankQuestion*> byId;
        for (const BankQuestion& q : source.questions) {
            QVERIFY2(!byId.contains(q.id), qPrintable(q.where + " repeats " + QString::number(q.id)));
            byId.insert(q.id, &q);
        }
        QCOMPARE(byId.size(), 513);
        QCOMPARE(byId.firstKey(), 1);
        QCOMPARE(byId.lastKey(), 513);
        for (const BankQuestion* q : byId) {
            const BankCategory* c = source.category(q->category);
            QVERIFY2(c, qPrintable(q->where + ": unknown category " + q->category));
            if (isArchive(q->id)) {
                QVERIFY2(c->collection == "old", qPrintable(q->where + ": exams never draw this number"));
            } else {
                QVERIFY2(c->collection != "old", qPrintable(q->where + ": exams draw this number"));
                QVERIFY2(q->category == plannedCategory(q->id), qPrintable(q->where + ": in " + q->category));
            }
        }
    }

    void signCategoriesInTheButtonsOrder() {
        QMap<int, QString> signs;
        for (const BankCategory& c : source.categories) {
            if (c.collection == "signs")
                signs.insert(c.order, c.title);
        }
        QCOMPARE(signs.values().mid(0, 5),
                 (QStringList{"علائم اخباري", "حق تقدم در چهارراه", "علائم اخطار كننده", "علائم حكم كننده",
                              "حق تقدم در سه راه"}));
        QCOMPARE(signs.firstKey(), 0);
    }

    void questionsAreWellFormedAndDistinct() {
        QSet<QString> seen;
        for (const BankQuestion& q : source.questions) {
            QVERIFY2(!q.text.isEmpty(), qPrintable(q.where));
            QSet<QString> options;
            for (const QString& o : q.options) {
                QVERIFY2(!o.isEmpty(), qPrintable(q.where + ": an empty option"));
                options.insert(o);
            }
            QVERIFY2(options.size() == 4, qPrintable(q.where + ": two options read the same"));
            QStringList sorted(q.options.begin(), q.options.end());
            sorted.sort();
            const QString key = q.text + '\n' + sorted.join('\n');
            QVERIFY2(!seen.contains(key), qPrintable(q.where + ": the same question twice"));
            seen.insert(key);
            QVERIFY2(!q.text.contains(QChar(0x064A)) && !q.text.contains(QChar(0x0643)),
                     qPrintable(q.where + ": Arabic yeh or kaf in a question"));
        }
    }

    // Every question says why its correct option is right, briefly enough for the card's
    // explanation strip, in the same Persian letters as the question texts.
    void everyQuestionIsExplained() {
        for (const BankQuestion& q : source.questions) {
            QVERIFY2(!q.explanation.trimmed().isEmpty(), qPrintable(q.where + ": no explanation"));
            QVERIFY2(
                q.explanation.size() <= kMaxExplanationLength,
                qPrintable(q.where + QString(": an explanation of %1 characters").arg(q.explanation.size())));
            QVERIFY2(!q.explanation.contains(QChar(0x064A)) && !q.explanation.contains(QChar(0x0643)),
                     qPrintable(q.where + ": Arabic yeh or kaf in an explanation"));
        }
    }

    void correctOptionsAreSpread() {
        int counts[5] = {};
        for (const BankQuestion& q : source.questions)
            ++counts[q.correct];
        for (int k = 1; k <= 4; ++k) {
            const double share = double(counts[k]) / source.questions.size();
            QVERIFY2(share >= 0.20 && share <= 0.30,
                     qPrintable(QString("option %1: %2%").arg(k).arg(share * 100)));
        }
    }

    void everySignQuestionHasADrawablePicture() {
        QTemporaryDir out;
        QHash<QString, bool> drawn;
        for (const BankQuestion& q : source.questions) {
            const BankCategory* c = source.category(q.category);
            if (c->collection == "signs")
                QVERIFY2(!q.picture.isEmpty(), qPrintable(q.where + ": a sign question without a picture"));
            if (q.picture.isEmpty() || drawn.contains(q.picture))
                continue;
            const QString svg = bankDir() + "/pictures/" + q.picture + ".svg";
            QString error;
            const QString png = out.filePath(QString::number(q.id));
            QVERIFY2(RenderSvg(svg, png, QSize(750, 680), &error), qPrintable(q.where + ": " + error));
            QVERIFY2(!LoadPicture(png).isNull(), qPrintable(q.where));
            drawn.insert(q.picture, true);
        }
        QVERIFY(drawn.size() >= 150);
        for (const ScreenPicture& s : ScreenPictures())
            QVERIFY(QSvgRenderer(bankDir() + "/pictures/" + s.source + ".svg").isValid());
    }

    // The data folder's own pictures as make-datadir leaves them: each decodes from its content
    // (the files carry no extension), at the size its window lays it out for, and small.
    void informationPicturesFitTheirWindows() {
        const QMap<QString, QSize> expected = {
            {"0", {800, 520}},   // the main window's background
            {"01", {960, 600}},  // the tips window takes the picture's size
            {"516", {674, 534}}, // the about window's three panels, twice
            {"517", {674, 534}}, // the 337 x 267 they are shown at: a click
            {"518", {674, 534}}, // shows them enlarged
            {"519", {996, 599}}, // the help window's client area, page 1
            {"520", {996, 599}}, // and page 2
            {"521", {996, 173}}, // the about window's top band
            {"522", {1010, 79}}, // and its bottom band
        };
        QSet<QString> listed;
        for (const ScreenPicture& s : ScreenPictures())
            listed.insert(s.file);
        QCOMPARE(listed, QSet<QString>(expected.keyBegin(), expected.keyEnd()));

        QTemporaryDir out;
        QString report;
        QVERIFY2(MakeDataDir(bankDir(), out.path(), &report), qPrintable(report));
        QHash<QString, QImage> images;
        for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
            const QString path = out.filePath(it.key());
            QImageReader reader(path);
            QVERIFY2(reader.canRead(), qPrintable(it.key() + ": not a picture"));
            const QImage image = reader.read();
            QVERIFY2(!image.isNull(), qPrintable(it.key() + ": " + reader.errorString()));
            QVERIFY2(image.size() == it.value(),
                     qPrintable(QString("%1: %2 x %3").arg(it.key()).arg(image.width()).arg(image.height())));
            QVERIFY2(QFileInfo(path).size() < 250 * 1024, qPrintable(it.key() + ": over 250 KB"));
            images.insert(it.key(), image);
        }

        // The help window's buttons sit on the pages' bottom band, so it stays plain window blue.
        for (const QString page : {"519", "520"}) {
            const QImage& image = images[page];
            for (int y = image.height() - 45; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (image.pixel(x, y) != qRgb(155, 188, 225))
                        QFAIL(qPrintable(QString("%1: drawn on at %2, %3").arg(page).arg(x).arg(y)));
                }
            }
        }
    }

    // Every number an exam may draw is an eligible question of the built bank, so no draw over
    // the shipped bank ever has to be repeated, and each range has all its candidates.
    void everyDrawableNumberIsEligible() {
        QTemporaryDir dir;
        QString error;
        QVERIFY2(WriteBankDatabase(dir.filePath("515"), source, &error), qPrintable(error));
        BoundSource pool;
        pool.setConnectionString("Provider=Microsoft.jet.OLEDB.4.0;Data Source=" + dir.filePath("515") + ";");
        pool.setRecordSource("Select * from qrySoalateAzmoon");
        QVERIFY(pool.refresh());
        QSet<int> eligible;
        for (pool.moveFirst(); !pool.isEOF(); pool.moveNext())
            eligible.insert(pool.value("ID").toInt());
        for (int id = 1; id <= 513; ++id)
            QCOMPARE(eligible.contains(id), !isArchive(id));
        QCOMPARE(eligible.size(), 513 - 68 - 25);
    }
};

QTEST_MAIN(TestShippedBank)
#include "tst_shipped_bank.moc"
