#pragma once

#include "rules/MusicState.h"

#include <QObject>
#include <QString>
#include <functional>

// The background music: one MP3 file, read from the bank's settings, played once through the
// multimedia command device under the alias MP3Play. The player never shows anything itself; it
// reports what each start came to, and the main window's music state (MusicControl) follows.
class mdlMusic : public QObject {
    Q_OBJECT
public:
    // Sends one command text; 0 on success, otherwise an error code. reply may be null.
    using CommandSender = std::function<int(const QString& command, QString* reply)>;

    static mdlMusic& instance();

    // Finds the music file in the bank's settings (writing the default there when none is set)
    // and plays it.
    void StartMusic();
    bool IsMusicPlaying();
    // Opens and plays path; a missing file changes nothing, any other failure closes the device.
    void PlayMusic(const QString& path);
    void PauseMusic();
    void ResumeMusic();
    void StopMusic();

    // The program folder's Music.mp3.
    QString defaultFile() const { return defaultFile_; }

    // For tests: another command device (empty: the real one) and another default file.
    void setCommandSender(CommandSender sender);
    void setDefaultFile(const QString& path) { defaultFile_ = path; }

signals:
    // What a start of the music came to, whoever started it.
    void started(MusicStart outcome);

private:
    mdlMusic();
    int send(const QString& command, QString* reply = nullptr);

    CommandSender sender_;
    QString defaultFile_;
};
