// Builds a data folder (the bank 515 and the numbered pictures) from the bank's text sources.
// Usage: make-datadir [--bank DIR] [--out DIR]
//   --bank: the sources (default: bank/ of the source tree this tool was built from)
//   --out:  the data folder (default: the one the program reads, e.g. ~/.local/share/vkimgdir)
// Files already in the data folder are kept as they are.
#include "data/SharedState.h"
#include "tools/bank/BankWriter.h"

#include <QGuiApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QString bank = QStringLiteral(RAVEX_SOURCE_DIR "/bank");
    QString out;
    const QStringList args = QGuiApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--bank") && i + 1 < args.size())
            bank = args[++i];
        else if (args[i] == QLatin1String("--out") && i + 1 < args.size())
            out = args[++i];
        else {
            std::fprintf(stderr, "usage: make-datadir [--bank DIR] [--out DIR]\n");
            return 2;
        }
    }
    if (out.isEmpty()) {
        bool ok = false;
        out = SystemDataDir(&ok);
        if (!ok) {
            std::fprintf(stderr, "make-datadir: no user data folder to build into\n");
            return 1;
        }
    }
    QString report;
    const bool ok = MakeDataDir(bank, out, &report);
    std::fprintf(ok ? stdout : stderr, "%s\n", qPrintable(report));
    return ok ? 0 : 1;
}
