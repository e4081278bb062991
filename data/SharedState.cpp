#include "data/SharedState.h"

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

bool gCheckBeforeGrading = true;
bool gSpeechRead = false;
bool gSpeechOn = true;
QString gSpeechVoice;
int gSpeechRate = 0;
bool gSpeechRefusalShown = false;

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

QString SystemDataDir(bool* ok) {
    QString buffer(kSystemDirBufferSize, u' ');
    GetSystemDirectoryA(buffer, kSystemDirBufferSize);
    return GetDataDir(buffer, ok);
}
