// The instructor's report of a school server, as text: every learner with their exams, last
// score, chance of passing and weakest categories, then the questions the class misses most.
// Usage: ravex-report URL [--pass-mark N]
//   URL: the server's bank (postgresql://user@host:port/dbname); the password comes from
//        ~/.pgpass or PGPASSWORD. The login must hold ravex_instructor to see every learner.
#include "data/Classroom.h"
#include "data/SharedState.h"
#include "platform/Clock.h"
#include "rules/ClassReport.h"
#include "rules/ExamDraw.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QString url;
    int passMark = 27;
    bool ok = true;
    for (int i = 1; i < args.size() && ok; ++i) {
        if (args[i] == QLatin1String("--pass-mark") && i + 1 < args.size())
            passMark = args[++i].toInt();
        else if (url.isEmpty() && !args[i].startsWith(QLatin1String("--")))
            url = args[i];
        else
            ok = false;
    }
    if (!ok || url.isEmpty() || passMark < 1 || passMark > 30) {
        std::fprintf(stderr, "usage: ravex-report URL [--pass-mark N]\n");
        return 2;
    }
    InitExamRanges();
    const ClassRecords records =
        ReadClassRecords(QStringLiteral("Provider=Microsoft.jet.OLEDB.4.0;Data Source=") + url + u';');
    if (!records.ok) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(records.problem));
        return 1;
    }
    const ClassReport report = BuildClassReport(records, passMark, NowDateTime().date());
    for (const QString& line : ClassReportLines(report))
        std::printf("%s\n", qUtf8Printable(line));
    return 0;
}
