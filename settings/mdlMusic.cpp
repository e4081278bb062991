#include "settings/mdlMusic.h"

#include "audio/Mci.h"
#include "data/Recordset.h"
#include "data/SharedState.h"
#include "data/Sql.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcMusic, "ravex.music", QtCriticalMsg)

namespace {
const QString kOpenTail = QStringLiteral(" type MPEGVideo Alias MP3Play");
} // namespace

mdlMusic& mdlMusic::instance() {
    static mdlMusic player;
    return player;
}

mdlMusic::mdlMusic() : defaultFile_(QCoreApplication::applicationDirPath() + QStringLiteral("/Music.mp3")) {}

void mdlMusic::setCommandSender(CommandSender sender) {
    sender_ = std::move(sender);
}

int mdlMusic::send(const QString& command, QString* reply) {
    return sender_ ? sender_(command, reply) : mciSendString(command, reply);
}

void mdlMusic::StartMusic() {
    {
        Recordset rs;
        if (!rs.open(sql::MusicSetting(), ConnectionString())) {
            // An unreadable bank still has the program's own music.
            qCWarning(lcMusic) << "no music setting to read; playing the default";
            gMusicFile = defaultFile_;
        } else if (!rs.isEOF()) {
            rs.moveFirst();
            // An older program stored a deleted music as NULL: that is the empty setting too, or
            // the default would never come back after a restart.
            const QVariant music = rs.value(QStringLiteral("Music"));
            if (music.toString().isEmpty() && !gMusicDeleted) {
                gMusicFile = defaultFile_;
                rs.setValue(QStringLiteral("Music"), gMusicFile);
                if (!rs.update())
                    qCWarning(lcMusic) << "cannot store the default music path";
            } else {
                gMusicFile = music.toString();
            }
        }
    }
    PlayMusic(gMusicFile);
}

bool mdlMusic::IsMusicPlaying() {
    QString reply;
    if (send(QStringLiteral("status MP3Play mode"), &reply) != MciOk)
        return false;
    return reply.left(7) == QLatin1String("playing");
}

void mdlMusic::PlayMusic(const QString& path) {
    // A missing file is left for the next tick to try again; an empty path goes on and fails.
    if (!path.isEmpty() && !QFileInfo::exists(path)) {
        emit started(MusicStart::FileMissing);
        return;
    }
    // The short form keeps the command short and free of blanks. The command is never cut: a cut
    // path named another file, and an over-long command is refused whole.
    const QString command = QStringLiteral("open ") + GetShortPathName(path) + kOpenTail;
    int result = send(command);
    if (result == MciOk) {
        result = send(QStringLiteral("play MP3Play"));
        if (result == MciOk) {
            emit started(MusicStart::Playing);
            return;
        }
    }
    // Fetched for the log only: the player never shows a message.
    qCWarning(lcMusic) << "cannot play" << path << mciGetErrorString(result);
    StopMusic();
    emit started(MusicStart::Refused);
}

void mdlMusic::PauseMusic() {
    send(QStringLiteral("pause MP3Play"));
}

void mdlMusic::ResumeMusic() {
    send(QStringLiteral("resume MP3Play"));
}

void mdlMusic::StopMusic() {
    send(QStringLiteral("stop MP3Play"));
    send(QStringLiteral("close MP3Play"));
}
