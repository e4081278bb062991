// The floor for keep_ravex: the same rows (an exam and its thirty answers) inserted plainly through
// Qt's PostgreSQL driver, one transaction a learner, each learner on a connection of their own.
// Usage: keep_floor URL LEARNERS; prints as keep_ravex does.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUrl>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: keep_floor URL LEARNERS\n");
        return 2;
    }
    const QUrl url(QString::fromLocal8Bit(argv[1]));
    const int learners = std::atoi(argv[2]);
    std::vector<qint64> took(learners);
    std::atomic<int> ready{0}, kept{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < learners; ++i)
        threads.emplace_back([&, i] {
            const QString name = QStringLiteral("floor-%1").arg(i);
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
                db.setHostName(url.host());
                db.setPort(url.port());
                db.setDatabaseName(url.path().mid(1));
                db.setUserName(url.userName());
                ++ready;
                while (ready < learners)
                    std::this_thread::yield();
                QElapsedTimer clock;
                clock.start();
                bool ok = db.open();
                QSqlQuery q(db);
                ok = ok && q.exec(QStringLiteral("BEGIN")) &&
                     q.prepare(QStringLiteral(
                         "INSERT INTO tblExamHistory (TakenAt, Seconds, PassMark, Questions, "
                         "Correct, Wrong, Passed, Kind) VALUES (?, ?, 27, 30, 7, 23, 0, 'main') "
                         "RETURNING ExamID"));
                q.addBindValue(QStringLiteral("2026-01-01T10:00:00"));
                q.addBindValue(i);
                ok = ok && q.exec() && q.next();
                const QVariant exam = ok ? q.value(0) : QVariant();
                QSqlQuery answer(db);
                ok = ok && answer.prepare(
                               QStringLiteral("INSERT INTO tblExamAnswers (ExamID, Position, QuestionID, "
                                              "Chosen, Correct) VALUES (?, ?, ?, 2, 1)"));
                for (int p = 1; ok && p <= 30; ++p) {
                    answer.bindValue(0, exam);
                    answer.bindValue(1, p);
                    answer.bindValue(2, p);
                    ok = answer.exec();
                }
                ok = ok && q.exec(QStringLiteral("COMMIT"));
                took[i] = clock.nsecsElapsed();
                kept += ok ? 1 : 0;
                q = QSqlQuery();
                answer = QSqlQuery();
                db.close();
            }
            QSqlDatabase::removeDatabase(name);
        });
    for (std::thread& t : threads)
        t.join();
    std::sort(took.begin(), took.end());
    const auto at = [&](double p) {
        return took[std::min<size_t>(took.size() - 1, size_t(p * took.size()))] / 1e6;
    };
    std::printf("kept %d of %d on the server (0 queued); per keep p50 %.1f ms, p99 %.1f ms\n", kept.load(),
                learners, at(0.5), at(0.99));
    std::printf("keep %d %lld\n", learners, static_cast<long long>(took.back()) * learners);
    return kept == learners ? 0 : 1;
}
