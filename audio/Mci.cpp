#include "audio/Mci.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QStandardPaths>

#include <SDL.h>
#include <SDL_mixer.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <map>

Q_LOGGING_CATEGORY(lcAudio, "ravex.audio", QtWarningMsg)

namespace {

// SDL and its mixer are loaded when the first music is opened, not when the program starts:
// with the libraries they bring, they cost more at start-up than a whole bare window.
struct SdlApi {
    bool loaded = false;
    decltype(&::Mix_CloseAudio) Mix_CloseAudio = nullptr;
    decltype(&::Mix_FreeMusic) Mix_FreeMusic = nullptr;
    decltype(&::Mix_GetMusicPosition) Mix_GetMusicPosition = nullptr;
    decltype(&::Mix_HaltMusic) Mix_HaltMusic = nullptr;
    decltype(&::Mix_Init) Mix_Init = nullptr;
    decltype(&::Mix_LoadMUS) Mix_LoadMUS = nullptr;
    decltype(&::Mix_MusicDuration) Mix_MusicDuration = nullptr;
    decltype(&::Mix_OpenAudio) Mix_OpenAudio = nullptr;
    decltype(&::Mix_PauseMusic) Mix_PauseMusic = nullptr;
    decltype(&::Mix_PausedMusic) Mix_PausedMusic = nullptr;
    decltype(&::Mix_PlayMusic) Mix_PlayMusic = nullptr;
    decltype(&::Mix_PlayingMusic) Mix_PlayingMusic = nullptr;
    decltype(&::Mix_Quit) Mix_Quit = nullptr;
    decltype(&::Mix_ResumeMusic) Mix_ResumeMusic = nullptr;
    decltype(&::SDL_GetError) SDL_GetError = nullptr;
    decltype(&::SDL_InitSubSystem) SDL_InitSubSystem = nullptr;
    decltype(&::SDL_QuitSubSystem) SDL_QuitSubSystem = nullptr;
    decltype(&::SDL_SetHint) SDL_SetHint = nullptr;
};

template <typename F> bool resolve(QLibrary& mixer, QLibrary& sdl2, const char* name, F& into) {
    QFunctionPointer f = mixer.resolve(name);
    if (!f)
        f = sdl2.resolve(name);
    into = reinterpret_cast<F>(f);
    return f != nullptr;
}

SdlApi loadSdl() {
    SdlApi a;
    static QLibrary sdl2(QStringLiteral("SDL2-2.0"), 0);
    static QLibrary mixer(QStringLiteral("SDL2_mixer-2.0"), 0);
    if (!sdl2.load() || !mixer.load()) {
        qCInfo(lcAudio) << "no SDL:" << sdl2.errorString() << mixer.errorString();
        return a;
    }
    bool ok = true;
    ok = resolve(mixer, sdl2, "Mix_CloseAudio", a.Mix_CloseAudio) && ok;
    ok = resolve(mixer, sdl2, "Mix_FreeMusic", a.Mix_FreeMusic) && ok;
    ok = resolve(mixer, sdl2, "Mix_GetMusicPosition", a.Mix_GetMusicPosition) && ok;
    ok = resolve(mixer, sdl2, "Mix_HaltMusic", a.Mix_HaltMusic) && ok;
    ok = resolve(mixer, sdl2, "Mix_Init", a.Mix_Init) && ok;
    ok = resolve(mixer, sdl2, "Mix_LoadMUS", a.Mix_LoadMUS) && ok;
    ok = resolve(mixer, sdl2, "Mix_MusicDuration", a.Mix_MusicDuration) && ok;
    ok = resolve(mixer, sdl2, "Mix_OpenAudio", a.Mix_OpenAudio) && ok;
    ok = resolve(mixer, sdl2, "Mix_PauseMusic", a.Mix_PauseMusic) && ok;
    ok = resolve(mixer, sdl2, "Mix_PausedMusic", a.Mix_PausedMusic) && ok;
    ok = resolve(mixer, sdl2, "Mix_PlayMusic", a.Mix_PlayMusic) && ok;
    ok = resolve(mixer, sdl2, "Mix_PlayingMusic", a.Mix_PlayingMusic) && ok;
    ok = resolve(mixer, sdl2, "Mix_Quit", a.Mix_Quit) && ok;
    ok = resolve(mixer, sdl2, "Mix_ResumeMusic", a.Mix_ResumeMusic) && ok;
    ok = resolve(mixer, sdl2, "SDL_GetError", a.SDL_GetError) && ok;
    ok = resolve(mixer, sdl2, "SDL_InitSubSystem", a.SDL_InitSubSystem) && ok;
    ok = resolve(mixer, sdl2, "SDL_QuitSubSystem", a.SDL_QuitSubSystem) && ok;
    ok = resolve(mixer, sdl2, "SDL_SetHint", a.SDL_SetHint) && ok;
    a.loaded = ok;
    if (!ok)
        qCInfo(lcAudio) << "SDL lacks a function the player needs";
    return a;
}

const SdlApi& sdl() {
    static const SdlApi api = loadSdl();
    return api;
}

// The sound card is held only while some music is open, so that other programs can have it.
class Player {
public:
    ~Player();
    bool openDevice();
    void closeDeviceIfIdle();

    std::map<QString, Mix_Music*> aliases; // keyed by the lower-case alias
    // The alias whose music holds the mixer's single music stream; empty when none was played.
    QString current;

private:
    bool deviceOpen_ = false;
};

Player& player() {
    static Player instance;
    return instance;
}

Player::~Player() {
    // At exit SDL is still loaded, but Qt's logging may be gone: release quietly.
    if (!current.isEmpty())
        sdl().Mix_HaltMusic();
    for (auto& [alias, music] : aliases)
        sdl().Mix_FreeMusic(music);
    aliases.clear();
    closeDeviceIfIdle();
}

bool Player::openDevice() {
    if (deviceOpen_)
        return true;
    if (!sdl().loaded)
        return false;
    // SDL would otherwise take SIGINT and SIGTERM from the Qt program.
    sdl().SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl().SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        qCInfo(lcAudio) << "no audio subsystem:" << sdl().SDL_GetError();
        return false;
    }
    if ((sdl().Mix_Init(MIX_INIT_MP3) & MIX_INIT_MP3) == 0)
        qCInfo(lcAudio) << "no MP3 decoder:" << sdl().SDL_GetError();
    if (sdl().Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
        qCInfo(lcAudio) << "no audio device:" << sdl().SDL_GetError();
        sdl().Mix_Quit();
        sdl().SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    deviceOpen_ = true;
    return true;
}

void Player::closeDeviceIfIdle() {
    if (!deviceOpen_ || !aliases.empty())
        return;
    current.clear();
    sdl().Mix_CloseAudio();
    sdl().Mix_Quit();
    sdl().SDL_QuitSubSystem(SDL_INIT_AUDIO);
    deviceOpen_ = false;
}

bool holdsStream(const QString& alias) {
    return player().current == alias && sdl().Mix_PlayingMusic();
}

int openMusic(const QString& path, const QString& type, const QString& alias) {
    if (type.compare(QLatin1String("MPEGVideo"), Qt::CaseInsensitive) != 0)
        return MciErrUnknownDeviceType;
    Player& p = player();
    if (p.aliases.count(alias) != 0)
        return MciErrAliasInUse;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile() || info.size() == 0)
        return MciErrCannotOpenFile;
    if (!p.openDevice())
        return MciErrNoDevice;
    Mix_Music* music = sdl().Mix_LoadMUS(QFile::encodeName(path).constData());
    if (music == nullptr) {
        qCInfo(lcAudio) << "cannot load" << path << sdl().SDL_GetError();
        p.closeDeviceIfIdle();
        return MciErrCannotOpenFile;
    }
    p.aliases.emplace(alias, music);
    return MciOk;
}

int playMusic(const QString& alias, Mix_Music* music) {
    if (sdl().Mix_PlayMusic(music, 0) != 0) {
        qCInfo(lcAudio) << "cannot play" << alias << sdl().SDL_GetError();
        return MciErrCannotPlay;
    }
    player().current = alias;
    return MciOk;
}

int closeMusic(const QString& alias, Mix_Music* music) {
    Player& p = player();
    if (p.current == alias) {
        sdl().Mix_HaltMusic();
        p.current.clear();
    }
    sdl().Mix_FreeMusic(music);
    p.aliases.erase(alias);
    p.closeDeviceIfIdle();
    return MciOk;
}

QString mode(const QString& alias) {
    if (!holdsStream(alias))
        return QStringLiteral("stopped");
    // The mixer counts paused music as playing.
    return sdl().Mix_PausedMusic() ? QStringLiteral("paused") : QStringLiteral("playing");
}

QString length(const QString& alias, Mix_Music* music) {
    const double seconds = sdl().Mix_MusicDuration(music);
    if (seconds < 0) {
        qCInfo(lcAudio) << "no length for" << alias << sdl().SDL_GetError();
        return QStringLiteral("0");
    }
    return QString::number(std::llround(seconds * 1000));
}

QString position(const QString& alias, Mix_Music* music) {
    if (!holdsStream(alias))
        return QStringLiteral("0");
    const double seconds = sdl().Mix_GetMusicPosition(music);
    if (seconds < 0) {
        qCInfo(lcAudio) << "no position for" << alias << sdl().SDL_GetError();
        return QStringLiteral("0");
    }
    return QString::number(std::llround(seconds * 1000));
}

// Runs a command on an open alias: every command but open.
int onAlias(const QStringList& words, QString* reply) {
    const QString verb = words.at(0).toLower();
    const QString alias = words.at(1).toLower();
    const bool status = verb == QLatin1String("status");
    if (words.size() != (status ? 3 : 2))
        return MciErrUnrecognizedCommand;
    static const QStringList verbs = {QStringLiteral("play"),   QStringLiteral("pause"),
                                      QStringLiteral("resume"), QStringLiteral("stop"),
                                      QStringLiteral("close"),  QStringLiteral("status")};
    if (!verbs.contains(verb))
        return MciErrUnrecognizedCommand;
    const QString item = status ? words.at(2).toLower() : QString();
    static const QStringList items = {QStringLiteral("mode"), QStringLiteral("position"),
                                      QStringLiteral("length")};
    if (status && !items.contains(item))
        return MciErrUnrecognizedCommand;

    Player& p = player();
    const auto found = p.aliases.find(alias);
    if (found == p.aliases.end())
        return MciErrAliasNotOpen;
    Mix_Music* music = found->second;

    if (verb == QLatin1String("play"))
        return playMusic(alias, music);
    if (verb == QLatin1String("close"))
        return closeMusic(alias, music);
    if (status) {
        if (reply != nullptr)
            *reply = item == QLatin1String("mode")       ? mode(alias)
                     : item == QLatin1String("position") ? position(alias, music)
                                                         : length(alias, music);
        return MciOk;
    }
    if (verb == QLatin1String("stop")) {
        if (p.current == alias) {
            sdl().Mix_HaltMusic();
            p.current.clear();
        }
        return MciOk;
    }
    // Pause and resume act on the stream only while it sounds this alias's music.
    if (holdsStream(alias)) {
        if (verb == QLatin1String("pause"))
            sdl().Mix_PauseMusic();
        else
            sdl().Mix_ResumeMusic();
    }
    return MciOk;
}

} // namespace

int mciSendString(const QString& command, QString* reply) {
    if (reply != nullptr)
        reply->clear();
    // The caller's buffer cut longer commands, which turned a long path into another one.
    if (command.size() > MciMaxCommandLength)
        return MciErrCommandTooLong;
    const QString text = command.trimmed();

    // The path runs up to the last " type ", so that it may hold blanks and keywords itself.
    static const QRegularExpression openCommand(
        QStringLiteral(R"(^open(?:\s+(.*))?\s+type\s+(\S+)\s+alias\s+(\S+)$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = openCommand.match(text);
    if (match.hasMatch()) {
        QString path = match.captured(1).trimmed();
        if (path.size() >= 2 && path.startsWith(u'"') && path.endsWith(u'"'))
            path = path.mid(1, path.size() - 2);
        return openMusic(path, match.captured(2), match.captured(3).toLower());
    }

    static const QRegularExpression blanks(QStringLiteral(R"(\s+)"));
    const QStringList words = text.split(blanks, Qt::SkipEmptyParts);
    if (words.size() < 2)
        return MciErrUnrecognizedCommand;
    return onAlias(words, reply);
}

QString mciGetErrorString(int code) {
    switch (code) {
    case MciOk:
        return QStringLiteral("The command succeeded.");
    case MciErrUnrecognizedCommand:
        return QStringLiteral("The command is not recognised.");
    case MciErrAliasNotOpen:
        return QStringLiteral("No music is open under that alias.");
    case MciErrAliasInUse:
        return QStringLiteral("The alias is already open; close it first.");
    case MciErrCannotOpenFile:
        return QStringLiteral("The file cannot be opened as music: it is missing, empty or not playable.");
    case MciErrNoDevice:
        return QStringLiteral("No audio device is available.");
    case MciErrCommandTooLong:
        return QStringLiteral("The command is longer than %1 characters.").arg(MciMaxCommandLength);
    case MciErrUnknownDeviceType:
        return QStringLiteral("Only the MPEGVideo device type is known.");
    case MciErrCannotPlay:
        return QStringLiteral("The music cannot be played.");
    }
    return QStringLiteral("Unknown error %1.").arg(code);
}

namespace {

// Well under any command's limit, with room for the rest of an open command.
constexpr int kShortPathLength = 80;

bool isShort(const QString& path) {
    return path.size() <= kShortPathLength &&
           std::none_of(path.begin(), path.end(), [](QChar c) { return c.isSpace(); });
}

// A folder of our own for the links: in a shared temporary folder another user could have made
// it first and filled it with links of theirs.
QString linkFolder() {
    // Asked once: Qt warns at every ask when the session has no runtime folder of its own.
    static const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    const QString bases[] = {runtime, QDir::tempPath(), QStringLiteral("/tmp")};
    for (const QString& base : bases) {
        if (base.isEmpty())
            continue;
        const QString folder = base + QStringLiteral("/ravex-short-") + QString::number(::getuid());
        if (!isShort(folder + QStringLiteral("/0123456789abcdef.mpeg")))
            continue;
        if (!QDir().mkpath(folder)) {
            qCInfo(lcAudio) << "cannot make" << folder;
            continue;
        }
        const QFileInfo info(folder);
        if (info.isSymLink() || info.ownerId() != ::getuid()) {
            qCInfo(lcAudio) << folder << "belongs to someone else";
            continue;
        }
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return folder;
    }
    return {};
}

bool linksTo(const QString& link, const QString& target) {
    return QFileInfo(link).isSymLink() && QFile::symLinkTarget(link) == target;
}

} // namespace

QString GetShortPathName(const QString& longPath) {
    if (longPath.isEmpty())
        return {};
    const QFileInfo info(longPath);
    if (!info.exists())
        return {};
    if (isShort(longPath))
        return longPath;

    const QString folder = linkFolder();
    if (folder.isEmpty())
        return {};
    const QString target = QDir::cleanPath(info.absoluteFilePath());
    // The mixer chooses its decoder by the name's ending, so the link keeps a plain one.
    static const QRegularExpression plainSuffix(QStringLiteral("^[A-Za-z0-9]{1,4}$"));
    const QString suffix = info.suffix();
    const QString link =
        folder + u'/' +
        QString::fromLatin1(
            QCryptographicHash::hash(target.toUtf8(), QCryptographicHash::Sha1).toHex().left(16)) +
        (plainSuffix.match(suffix).hasMatch() ? u'.' + suffix.toLower() : QString());
    if (linksTo(link, target))
        return link;
    QFile::remove(link);
    // Another copy of the program may have made the same link meanwhile.
    if (!QFile::link(target, link) && !linksTo(link, target)) {
        qCInfo(lcAudio) << "cannot link" << link << "to" << target;
        return {};
    }
    return link;
}
