// Kills a child that assembles exams and saves questions over a bank, at random moments, again
// and again: after every kill the bank is whole, holds a whole exam and no half-written question.
// RAVEX_SEED replays; RAVEX_CRASH_KILLS sets how many kills (RAVEX_CRASH_SECONDS bounds the time).
#include "common/FixtureBank.h"
#include "common/TestPlatform.h"
#include "data/SharedState.h"
#include "rules/ExamDraw.h"
#include "rules/ExamAssembly.h"
#include "reliability/BankHealth.h"
#include "reliability/CrashVersions.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <cstdio>

namespace {
struct Texts {
    QString soorateSoal;
    std::array<QString, 4> options;
    int correct = 0;
};

// Every question's texts, by ID.
QMap<int, Texts> readQuestions(const QString& bankPath) {
    QMap<int, Texts> out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("questions"));
        db.setDatabaseName(bankPath);
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("SELECT ID, SoorateSoal, G1, G2, G3, G4, G_Sahih FROM tblSoal"));
            while (q.next()) {
                Texts t{q.value(1).toString(), {}, q.value(6).toInt()};
                for (int k = 0; k < 4; ++k)
                    t.options[k] = q.value(2 + k).toString();
                out.insert(q.value(0).toInt(), t);
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("questions"));
    return out;
}

// Empty when the question holds its original texts or one whole version the driver wrote.
QString halfWritten(int id, const Texts& now, const Texts& original) {
    static const QRegularExpression versioned(QStringLiteral("^v(\\d+) q(\\d+)$"));
    const QRegularExpressionMatch m = versioned.match(now.soorateSoal);
    if (!m.hasMatch()) {
        if (now.soorateSoal == original.soorateSoal && now.options == original.options &&
            now.correct == original.correct)
            return {};
        return QStringLiteral("question %1 is neither original nor a written version").arg(id);
    }
    const EditedQuestion expected = VersionOf(id, m.captured(1).toInt());
    if (m.captured(2).toInt() != id || now.options != expected.options ||
        QString::number(now.correct) != expected.correct)
        return QStringLiteral("question %1 holds texts of two versions: %2 / %3")
            .arg(id)
            .arg(now.soorateSoal, now.options[0]);
    return {};
}
} // namespace

class TestCrash : public QObject {
    Q_OBJECT
private slots:
    void killsNeverLeaveAHalfWrittenBank() {
        bool ok = false;
        const int kills = qEnvironmentVariableIntValue("RAVEX_CRASH_KILLS", &ok);
        const int wanted = ok && kills > 0 ? kills : 10;
        const int seconds = qEnvironmentVariableIntValue("RAVEX_CRASH_SECONDS", &ok);
        const qint64 limitMs = 1000LL * (ok && seconds > 0 ? seconds : 60);
        SeededRandom random("crash");

        FixtureBank bank;
        FixtureBank::fillExam(bank);
        QVERIFY2(bank.write(), qPrintable(bank.lastError));
        InitExamRanges();
        QVERIFY(AssembleExam(bank.connectionString()).ok);
        const QMap<int, Texts> originals = readQuestions(bank.bankPath());
        const QString driver = QCoreApplication::applicationDirPath() + QStringLiteral("/crash-driver");
        QVERIFY2(QFileInfo(driver).isExecutable(), qPrintable(driver));

        QElapsedTimer total;
        total.start();
        int survived = 0;
        QStringList failures;
        while (survived < wanted && total.elapsed() < limitMs && failures.isEmpty()) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            child.start(driver, {bank.bankPath(), QString::number(random.seed() + survived)});
            QVERIFY(child.waitForStarted());
            QVERIFY(child.waitForReadyRead(10000)); // "ready": the loop is about to write
            QTest::qSleep(5 + static_cast<int>(random.next() * 150));
            child.kill(); // SIGKILL: no clean-up of any kind
            child.waitForFinished(5000);
            if (child.exitStatus() != QProcess::CrashExit)
                failures << QStringLiteral("the driver ended by itself: %1").arg(child.exitCode());

            const BankHealth health = CheckBank(bank.bankPath());
            failures << health.problems;
            QString why;
            if (!IsWholeExam(bank.bankPath(), &why))
                failures << QStringLiteral("no whole exam after kill %1: %2").arg(survived + 1).arg(why);
            const QMap<int, Texts> now = readQuestions(bank.bankPath());
            if (now.size() != originals.size())
                failures
                    << QStringLiteral("%1 questions instead of %2").arg(now.size()).arg(originals.size());
            for (auto it = now.cbegin(); it != now.cend(); ++it) {
                const QString problem = halfWritten(it.key(), it.value(), originals.value(it.key()));
                if (!problem.isEmpty())
                    failures << problem;
            }
            if (failures.isEmpty())
                ++survived;
        }
        int rewritten = 0; // the driver really wrote: else the kills proved nothing
        for (const Texts& t : readQuestions(bank.bankPath()))
            rewritten += t.soorateSoal.startsWith(u'v') ? 1 : 0;
        std::printf("%d kills survived (%d questions rewritten)\n", survived, rewritten);
        std::fflush(stdout);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u'\n')));
        QVERIFY(survived > 0);
        QVERIFY(rewritten > 0);
    }
};

QTEST_MAIN(TestCrash)
#include "tst_crash.moc"
