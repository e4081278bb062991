// The program's exam assembly, once per run, on the bank in the data folder; then it exits.
#include "data/SharedState.h"
#include "rules/ExamDraw.h"
#include "rules/ExamAssembly.h"

#include <QCoreApplication>
#include <QDir>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty())
        data = QDir::homePath() + QStringLiteral("/.local/share");
    InitExamRanges();
    const QString connection = QStringLiteral("Provider=Microsoft.jet.OLEDB.4.0;Data Source=") + data +
                               QStringLiteral("/vkimgdir/515;");
    return AssembleExam(connection).ok ? 0 : 1;
}
