#pragma once

#include <QString>

// The background music speaks the command texts of the Windows multimedia interface; this is a
// small interpreter for the few it uses, played through SDL2_mixer. Call it from one thread only.
//
//   open <path> type MPEGVideo Alias <name>
//   play <name>          from the start, once
//   pause <name>, resume <name>, stop <name>, close <name>
//   status <name> mode   replies "playing", "paused" or "stopped"
//   status <name> position   replies the position in milliseconds
//   status <name> length     replies the length in milliseconds
//
// Keywords are case-insensitive, and so are aliases.

inline constexpr int MciOk = 0;
inline constexpr int MciErrUnrecognizedCommand = 1;
inline constexpr int MciErrAliasNotOpen = 2;
inline constexpr int MciErrAliasInUse = 3;
inline constexpr int MciErrCannotOpenFile = 4;
inline constexpr int MciErrNoDevice = 5;
inline constexpr int MciErrCommandTooLong = 6;
inline constexpr int MciErrUnknownDeviceType = 7;
inline constexpr int MciErrCannotPlay = 8;

// The caller builds its commands in a buffer of this many characters.
inline constexpr int MciMaxCommandLength = 255;

// Runs one command; 0 on success, otherwise one of the MciErr codes. reply, when given, receives
// the command's answer, and is emptied for a command that has none.
int mciSendString(const QString& command, QString* reply = nullptr);

// A readable text for a code from mciSendString.
QString mciGetErrorString(int code);

// A path naming the same file or folder with no blanks and short enough for any command: the path
// itself when it already is, otherwise a link in a private runtime folder. Empty when the file
// does not exist or no link can be made.
QString GetShortPathName(const QString& longPath);
