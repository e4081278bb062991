// Learners keeping an exam at the same moment on a school server, each on a connection of their
// own, through the program's own keep (a key made on the PC, the answers, the answer summaries).
// Usage: keep_ravex URL LEARNERS. Prints each keep's time at the 50th and 99th percentile and
// "keep <learners> <nanoseconds of the slowest>" last; fails unless every exam is on the server.
#include "data/Connection.h"
#include "data/ExamHistory.h"
#include "data/Recordset.h"
#include "data/SharedState.h"
#include "data/Sql.h"
#include "data/UploadQueue.h"
#include "rules/ExamAssembly.h"
#include "rules/ExamDraw.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: keep_ravex URL LEARNERS\n");
        return 2;
    }
    const QString bank = QStringLiteral("Data Source=") + QString::fromLocal8Bit(argv[1]) + u';';
    const int learners = std::atoi(argv[2]);
    QTemporaryDir data; // the queue's folder: a keep that had to wait there would show in it
    gDataDir = data.path() + u'/';
    InitExamRanges();
    if (!AssembleExam(bank).ok) {
        std::fprintf(stderr, "no exam could be drawn on %s\n", argv[1]);
        return 1;
    }
    GradedExam exam;
    exam.takenAt = QDateTime::currentDateTime();
    exam.passMark = 27;
    Recordset rs;
    rs.open(sql::ExamQuestions(), bank);
    for (bool more = rs.moveFirst(); more && !rs.isEOF(); more = rs.moveNext()) {
        exam.ids << rs.value(QStringLiteral("ID")).toInt();
        exam.shownCorrect << rs.value(QStringLiteral("G_Sahih"));
        exam.shownChosen << 2;
    }
    rs.close();
    const auto countKept = [&] {
        Connection c(bank);
        QSqlQuery q(c.database());
        return q.exec(QStringLiteral("SELECT count(*) FROM tblExamHistory")) && q.next() ? q.value(0).toInt()
                                                                                         : -1;
    };
    const int before = countKept();
    std::vector<qint64> took(learners);
    std::atomic<int> ready{0}, kept{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < learners; ++i)
        threads.emplace_back([&, i] {
            GradedExam mine = exam;
            mine.durationSeconds = i;
            ++ready;
            while (ready < learners)
                std::this_thread::yield();
            QElapsedTimer clock;
            clock.start();
            kept += KeepExam(bank, mine).kept ? 1 : 0;
            took[i] = clock.nsecsElapsed();
        });
    for (std::thread& t : threads)
        t.join();
    const int onServer = countKept() - before;
    const int queued = WaitingCount(QString::fromLocal8Bit(argv[1]));
    std::sort(took.begin(), took.end());
    const auto at = [&](double p) {
        return took[std::min<size_t>(took.size() - 1, size_t(p * took.size()))] / 1e6;
    };
    std::printf("kept %d of %d on the server (%d queued); per keep p50 %.1f ms, p99 %.1f ms\n", onServer,
                learners, queued, at(0.5), at(0.99));
    std::printf("keep %d %lld\n", learners, static_cast<long long>(took.back()) * learners);
    return onServer == learners && kept == learners ? 0 : 1;
}
