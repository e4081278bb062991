// Builds a data folder (the bank 515 and the numbered pictures) from the bank's text sources.
// Usage: make-datadir [--bank DIR] [--out DIR] [--postgres URL]
//   --bank: the sources (default: bank/ of the source tree this tool was built from)
//   --out:  the data folder (default: the one the program reads, e.g. ~/.local/share/vkimgdir)
//   --postgres: a school server's empty database (postgresql://user@host:port/dbname) to make the
//           bank in instead; the password comes from ~/.pgpass or PGPASSWORD. With --out as well,
//           the data folder (its pictures) is made too. The school's roles ravex_instructor and
//           ravex_learner are made where missing (the login needs CREATEROLE), and the login is
//           made an instructor.
// Files already in the data folder are kept as they are; a server that has the bank is left as it is.
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
    QString server;
    const QStringList args = QGuiApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--bank") && i + 1 < args.size())
            bank = args[++i];
        else if (args[i] == QLatin1String("--out") && i + 1 < args.size())
            out = args[++i];
        else if (args[i] == QLatin1String("--postgres") && i + 1 < args.size())
            server = args[++i];
        else {
            std::fprintf(stderr, "usage: make-datadir [--bank DIR] [--out DIR] [--postgres URL]\n");
            return 2;
        }
    }
    if (!server.isEmpty()) {
        const BankSource source = ReadBankSource(bank);
        if (!source.errors.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(source.errors.join(u'\n')));
            return 1;
        }
        QString message;
        const ServerLoad load = WriteServerBank(server, source, &message);
        std::fprintf(load == ServerLoad::Refused ? stderr : stdout, "make-datadir: %s\n",
                     qPrintable(message));
        if (load == ServerLoad::Refused)
            return 1;
        if (out.isEmpty())
            return 0;
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
