#include "app/mdlRavex.h"

#include "app/frmMain.h"
#include "platform/MessageBox.h"
#include "platform/SystemDir.h"

QString gDataDir;
QString gConnProvider;
QString gConnSource;
QTime gExamTime;
quint8 gPassMark = 0;
std::array<qint16, 32> gExamRanges{};

std::array<qint16, 31> gExamIDs{};
QString gExamFilter;
std::array<quint8, 31> gAnswers{};
QTime gExamStart;
QTime gExamLimit;

QString gCorrectText;
QString gWrongText;
QString gVerdictText;
QString gElapsedText;

QString gMusicFile;
bool gMusicDeleted = false;

QString ConnectionString() {
    return gConnProvider + gConnSource;
}

QString GetDataDir(const QString& buffer, bool* ok) {
    QString path = buffer;
    while (path.endsWith(u' '))
        path.chop(1);
    if (ok)
        *ok = !path.isEmpty();
    if (path.isEmpty())
        return {};
    path.chop(1); // the terminating zero character
    return path + QStringLiteral("/vkimgdir/");
}

void InitExamRanges() {
    gExamRanges[1] = 1;
    for (int i = 2; i <= 12; ++i)
        gExamRanges[i] = static_cast<qint16>(15 * (i - 1));
    const qint16 fixed[] = {170, 173, 183, 263, 278, 286, 294, 310, 323, 339,
                            355, 371, 390, 413, 425, 448, 475, 496, 514};
    for (int i = 13; i <= 31; ++i)
        gExamRanges[i] = fixed[i - 13];
}

bool Main() {
    QString buffer(kSystemDirBufferSize, u' ');
    GetSystemDirectoryA(buffer, kSystemDirBufferSize);
    bool ok = false;
    const QString dataDir = GetDataDir(buffer, &ok);
    if (!ok) {
        MsgBox(nullptr, QStringLiteral("Invalid procedure call or argument"), MsgIcon::Information,
               kStartupErrorTitle);
        return false;
    }
    gDataDir = dataDir;
    InitExamRanges();
    frmMain::Open();
    gExamTime = QTime(0, 26);
    gPassMark = 27;
    gConnProvider = QStringLiteral("Provider=Microsoft.jet.OLEDB.4.0;");
    gConnSource = QStringLiteral("Data Source=") + gDataDir + QStringLiteral("515;");
    return true;
}
