#include "rules/ExamAssembly.h"

#include "data/Connection.h"
#include "data/ExamHistory.h"
#include "data/Recordset.h"
#include "data/SharedState.h"
#include "data/Sql.h"
#include "platform/PersianDigits.h"
#include "platform/Random.h"
#include "rules/ExamDraw.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <algorithm>

namespace {
const QString kBankUnreadable = QStringLiteral("بانك سؤالات پيدا نشد يا قابل خواندن نيست.");
const QString kQuestionsUnreadable =
    QStringLiteral("سؤالات آزمون از بانك خوانده نشد؛ بانك سؤالات ناقص يا خراب است.");
const QString kNoMistakes = QStringLiteral("سؤالي براي آزمون اشتباهات در بانك نيست.");
const QString kWriteFailed = QStringLiteral("آزمون جديد در بانك نوشته نشد؛ آزمون قبلي دست نخورده باقي ماند.");
const QString kNotKept = QStringLiteral(
    "بانك سؤالات قابل نوشتن نيست؛ اين آزمون را مي توانيد بدهيد، ولي در بانك نگه داشته نمي شود.");

QString emptyRangeMessage(int first, int last) {
    return QStringLiteral("براي بازه سؤالات %1 تا %2 هيچ سؤال قابل انتخابي در بانك نيست.")
        .arg(PersianNumber(first), PersianNumber(last));
}

QString gaveUpMessage(int draws) {
    return QStringLiteral("پس از %1 بار قرعه كشي، %2 سؤال آزمون از بانك جور نشد.")
        .arg(PersianNumber(draws), PersianNumber(kExamSize));
}

ExamAssemblyResult failure(const QString& message, int draws) {
    return {false, message, draws, QString()};
}

// A bank of the exam's table alone, in the temporary folder, made afresh for each exam; its
// connection string, or nothing when it cannot be made.
QString scratchExamBank() {
    const QString path =
        QDir::temp().filePath(QStringLiteral("ravex-exam-%1.sqlite").arg(QCoreApplication::applicationPid()));
    QFile::remove(path);
    const QString name = QStringLiteral("scratch-exam");
    bool made = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        made = db.open() && QSqlQuery(db).exec(Engine(db).CreateScratchExamTable());
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return made ? QStringLiteral("Provider=Microsoft.jet.OLEDB.4.0;Data Source=") + path + u';' : QString();
}

// A bank another program holds is said as such, whatever step found it.
ExamAssemblyResult failure(const Connection& connection, const QString& message, int draws) {
    return failure(connection.error() == BankError::Busy ? kBankBusyText : message, draws);
}

// The first range in which the bank has no question an exam may draw, as [first, last]; {0, 0}
// when every range has one. Without this a draw could never succeed and the loop would not end.
std::pair<int, int> emptyRange(const QSet<int>& available) {
    for (int i = 1; i <= kExamSize; ++i) {
        const int low = gExamRanges[i];
        const int high = gExamRanges[i + 1];
        bool any = false;
        for (int id = low; id < high && !any; ++id)
            any = available.contains(id) && !IsExcludedFromExams(id);
        if (!any)
            return {low, high - 1};
    }
    return {0, 0};
}

// Empties tblAzmoon and appends the drawn rows in ascending ID order, shuffled, as one
// transaction: either the whole new exam lands or the previous one stays.
bool writeExam(Connection& connection, Recordset& drawn, QVector<ExamOrderRow>* dealt = nullptr) {
    if (!connection.begin())
        return false;
    Recordset exam;
    bool ok = exam.open(sql::ClearExam(), connection) && exam.open(sql::ExamTable(), connection);
    Randomize();
    // The shuffle is kept beside the exam so that a graded answer can be told in the source's own
    // numbering; a bank that cannot take it still gives the exam, only unrecorded.
    QVector<ExamOrderRow> order;
    for (bool more = ok && drawn.moveFirst(); ok && more && !drawn.isEOF(); more = drawn.moveNext()) {
        std::array<QString, 4> options;
        for (int k = 0; k < 4; ++k)
            options[k] = drawn.value(QStringLiteral("G%1").arg(k + 1)).toString();
        // The answer is read as a byte: a value the bank should never hold still cannot overflow.
        const int correct = static_cast<quint8>(drawn.value(QStringLiteral("G_Sahih")).toInt());
        const ShuffledOptions s = Shuffle(options, correct);
        order.append({drawn.value(QStringLiteral("ID")).toInt(), s.order});
        ok = exam.addRow({{QStringLiteral("ID"), drawn.value(QStringLiteral("ID"))},
                          {QStringLiteral("SoorateSoal"), drawn.value(QStringLiteral("SoorateSoal"))},
                          {QStringLiteral("G1"), s.options[0]},
                          {QStringLiteral("G2"), s.options[1]},
                          {QStringLiteral("G3"), s.options[2]},
                          {QStringLiteral("G4"), s.options[3]},
                          {QStringLiteral("G_Sahih"), s.correct},
                          {QStringLiteral("Shekl"), drawn.value(QStringLiteral("Shekl"))},
                          {QStringLiteral("NoeSoal"), drawn.value(QStringLiteral("NoeSoal"))}});
    }
    exam.close();
    if (ok)
        WriteExamOrder(connection, order);
    if (dealt)
        *dealt = order;
    if (ok && connection.commit())
        return true;
    connection.rollback();
    return false;
}
} // namespace

ShuffledOptions Shuffle(const std::array<QString, 4>& options, int correct) {
    ShuffledOptions out;
    out.correct = correct;
    std::array<int, 4> order{};
    bool found = false;
    for (int k = 0; k < 4; ++k) {
        bool repeated = true;
        while (repeated) {
            order[k] = std::min(static_cast<int>(4 * Rnd()) + 1, 4);
            repeated = std::find(order.begin(), order.begin() + k, order[k]) != order.begin() + k;
        }
        if (order[k] == correct && !found) {
            out.correct = k + 1;
            found = true;
        }
        out.options[k] = options[order[k] - 1];
    }
    out.order = order;
    return out;
}

ExamAssemblyResult AssembleExam(const QString& connectionString, int maxDraws) {
    Connection connection(connectionString);
    if (!connection.isOpen())
        return failure(connection, kBankUnreadable, 0);

    // Only the numbers the 30 ranges cover are read: the rest of the bank, however large, can
    // never be drawn, so an exam costs the same on a bank of any size.
    int low = gExamRanges[1];
    int high = gExamRanges[2];
    for (int i = 1; i <= kExamSize; ++i) {
        low = std::min<int>(low, gExamRanges[i]);
        high = std::max<int>(high, gExamRanges[i + 1]);
    }
    Recordset drawn;
    if (!drawn.open(sql::ExamPoolNumbers(low, high), connection))
        return failure(connection, kQuestionsUnreadable, 0);
    QSet<int> available;
    for (bool more = drawn.moveFirst(); more && !drawn.isEOF(); more = drawn.moveNext())
        available.insert(drawn.value(QStringLiteral("ID")).toInt());
    if (const auto [first, last] = emptyRange(available); first != 0)
        return failure(emptyRangeMessage(first, last), 0);

    int draws = 0;
    for (;;) {
        if (draws >= maxDraws)
            return failure(gaveUpMessage(draws), draws);
        DrawExamQuestions(&available);
        ++draws;
        if (!drawn.open(sql::ExamPoolWhere(gExamFilter), connection))
            return failure(connection, kQuestionsUnreadable, draws);
        if (drawn.recordCount() == kExamSize)
            break;
    }
    QVector<ExamOrderRow> dealt;
    if (!writeExam(connection, drawn, &dealt)) {
        // A bank that cannot be written still examines: the exam is dealt into a scratch bank,
        // taken as usual and not kept, and the learner is told so once.
        const BankError why = connection.error();
        if (why == BankError::ReadOnly || why == BankError::Full) {
            const QString scratch = scratchExamBank();
            Connection other(scratch);
            if (other.isOpen() && writeExam(other, drawn, &dealt))
                return {true, kNotKept, draws, scratch, dealt};
        }
        return failure(connection, kWriteFailed, draws);
    }
    return {true, QString(), draws, connectionString, dealt};
}

ExamAssemblyResult AssembleExamOf(const QString& connectionString, const QVector<int>& ids) {
    Connection connection(connectionString);
    if (!connection.isOpen())
        return failure(connection, kBankUnreadable, 0);
    QStringList terms;
    for (const int id : ids) {
        if (terms.size() < kExamSize && !IsExcludedFromExams(id))
            terms << QStringLiteral("ID=%1").arg(id);
    }
    if (terms.isEmpty())
        return failure(connection, kNoMistakes, 0);
    const QString filter = terms.join(QStringLiteral(" Or "));
    Recordset drawn;
    if (!drawn.open(sql::ExamPoolWhere(filter), connection))
        return failure(connection, kQuestionsUnreadable, 0);
    if (drawn.recordCount() == 0)
        return failure(connection, kNoMistakes, 0);
    QVector<ExamOrderRow> dealt;
    if (!writeExam(connection, drawn, &dealt))
        return failure(connection, kWriteFailed, 1);
    // The answers start on option 1, as a drawn exam's do.
    gExamFilter = filter;
    gExamIDs.fill(0);
    int i = 0;
    for (bool more = drawn.moveFirst(); more && !drawn.isEOF() && i < kExamSize; more = drawn.moveNext())
        gExamIDs[++i] = static_cast<qint16>(drawn.value(QStringLiteral("ID")).toInt());
    gAnswers.fill(0);
    for (int k = 1; k <= kExamSize; ++k)
        gAnswers[k] = 1;
    return {true, QString(), 1, connectionString, dealt};
}
