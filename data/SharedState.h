#pragma once

#include <QString>
#include <QTime>
#include <array>

// The shared state of the whole program, set by Main and read by every window.

extern QString gDataDir;      // the data folder, ending in a separator
extern QString gConnProvider; // the two halves of the bank's connection string
extern QString gConnSource;
extern QTime gExamTime;                    // the exam's duration plus one minute
extern quint8 gPassMark;                   // the least number of correct answers that passes
extern std::array<qint16, 32> gExamRanges; // indexes 1..31 used: the exam's 30 ranges of IDs

// The exam being taken (indexes 1..30 used).
extern std::array<qint16, 31> gExamIDs;
extern QString gExamFilter;
extern std::array<quint8, 31> gAnswers;
extern QTime gExamStart;
extern QTime gExamLimit;

// The last result.
extern QString gCorrectText;
extern QString gWrongText;
extern QString gVerdictText;
extern QString gElapsedText;

// Whether the grade button first asks about questions never shown or flagged.
extern bool gCheckBeforeGrading;

// Reading aloud: on or off, the voice by name (empty: the first Persian one on offer) and the pace
// in tenths from -10 (slowest) to 10 (fastest). Read from the bank when a question window first
// wants it, not at start-up; `gSpeechRead` says whether it was.
extern bool gSpeechRead;
extern bool gSpeechOn;
extern QString gSpeechVoice;
extern int gSpeechRate;
// Whether the learner was told that nothing can be read aloud here: once a run.
extern bool gSpeechRefusalShown;

// The background music.
extern QString gMusicFile;
extern bool gMusicDeleted;

inline const QString kAppTitle = QStringLiteral("Ravex V4");
inline const QString kStartupErrorTitle = QStringLiteral("نرم افزار Ravex نسخه4");
inline constexpr int kSystemDirBufferSize = 255;
inline constexpr int kExamSize = 30;

// The full connection string every window opens the bank with.
QString ConnectionString();

// The data folder from the buffer the system directory was written into: trailing blanks cut,
// then the terminating character, then the folder's own name and a separator appended. An
// all-blank buffer has nothing to cut: the result is empty and ok is false.
QString GetDataDir(const QString& buffer, bool* ok = nullptr);

// The data folder under the system directory, as start-up finds it; ok is false when the
// system directory cannot be read.
QString SystemDataDir(bool* ok);
