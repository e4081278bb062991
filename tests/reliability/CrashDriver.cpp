// The child the crash test kills: assembles exams and saves editor records over one bank, as
// fast as it can, until it is killed. Each save writes one whole version of a question's texts,
// so a half-written question shows as texts of two versions.
// Usage: crash-driver <bank> <seed>
#include "data/SharedState.h"
#include "rules/ExamDraw.h"
#include "rules/QuestionEdit.h"
#include "rules/ExamAssembly.h"
#include "reliability/CrashVersions.h"

#include <QCoreApplication>
#include <cstdio>
#include <random>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: crash-driver <bank> <seed>\n");
        return 2;
    }
    const QString connection = QStringLiteral("Provider=Microsoft.jet.OLEDB.4.0;Data Source=%1;")
                                   .arg(QString::fromLocal8Bit(argv[1]));
    std::mt19937 engine(static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)));
    InitExamRanges();
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;) {
        if (engine() % 3 == 0) {
            AssembleExam(connection);
        } else {
            const int id = 1 + static_cast<int>(engine() % 513);
            const int version = 1 + static_cast<int>(engine() % 100000);
            SaveQuestion(connection, id, VersionOf(id, version));
        }
    }
}
