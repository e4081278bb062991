// The chance of passing over 10,000 kept exams (300,000 answers), against reading those answers
// alone. Usage: readiness_bench DATADIR — the bank (DATADIR/515) is copied, given the history
// behind the program's back (so the first chance makes the answers' summaries afresh, as for a bank
// from before them), and timed best of five; exit 1 when the chance takes 50 ms or more.
#include "data/Connection.h"
#include "data/LeitnerStore.h"
#include "data/SharedState.h"
#include "rules/ExamDraw.h"
#include "rules/LeitnerBox.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
constexpr int kExams = 10000;

template <typename F> double bestMs(F&& f) {
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: readiness_bench DATADIR\n");
        return 2;
    }
    QTemporaryDir dir;
    const QString bank = dir.filePath(QStringLiteral("515"));
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]) + QStringLiteral("/515"), bank))
        return 2;
    const QString connection = QStringLiteral("Provider=Microsoft.jet.OLEDB.4.0;Data Source=") + bank + u';';
    InitExamRanges();
    {
        Connection c(connection);
        QSqlQuery q(c.database());
        QRandomGenerator random(1);
        c.begin();
        for (int e = 1; e <= kExams; ++e) {
            q.exec(
                QStringLiteral("INSERT INTO tblExamHistory (ExamID, TakenAt, Seconds, PassMark, Questions, "
                               "Correct, Wrong, Passed) VALUES (%1, '%2T10:00:00', 600, 25, 30, 25, 5, 1)")
                    .arg(e)
                    .arg(QDate(2020, 1, 1).addDays(e / 10).toString(Qt::ISODate)));
            for (int p = 1; p <= kExamSize; ++p) {
                const int id = gExamRanges[p] + int(random.bounded(gExamRanges[p + 1] - gExamRanges[p]));
                q.exec(QStringLiteral("INSERT INTO tblExamAnswers VALUES (%1, %2, %3, %4, 1)")
                           .arg(e)
                           .arg(p)
                           .arg(id)
                           .arg(1 + random.bounded(4)));
            }
        }
        c.commit();
    }
    const QDate today(2022, 10, 1);
    int answers = 0;
    double pass = 0;
    QElapsedTimer first;
    first.start();
    const double firstPass = ReadReadiness(connection, 25, today).pass;
    const double firstMs = first.nsecsElapsed() / 1e6;
    const double readMs = bestMs([&] { answers = int(ReadKeptAnswers(connection).size()); });
    const double chanceMs = bestMs([&] { pass = ReadReadiness(connection, 25, today).pass; });
    std::printf("answers read: %d in %.1f ms; the chance (%.3f) in %.1f ms; the first, which makes the "
                "summaries (%.3f), in %.1f ms\n",
                answers, readMs, pass, chanceMs, firstPass, firstMs);
    return chanceMs < 50 && std::abs(pass - firstPass) < 1e-9 ? 0 : 1;
}
