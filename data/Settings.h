#pragma once

#include "data/Connection.h"

#include <QLoggingCategory>
#include <QString>

// Settings that cannot be read or stored; a bank without their table is logged at debug level only.
Q_DECLARE_LOGGING_CATEGORY(lcSettingsStore)

// This program's own settings, one text value a name, kept in tblTanzimatJadid. A bank made before
// the table existed (one that could not be given it, being read-only), or one that cannot be read,
// gives every setting its default.

// Whether the exam's grade button first asks about questions never shown or flagged: on by default.
inline const QString kCheckBeforeGradingSetting = QStringLiteral("CheckBeforeGrading");
// Reading aloud: on or off ("1"/"0", on by default), the voice's name, the pace in tenths (-10..10).
inline const QString kSpeechOnSetting = QStringLiteral("SpeechOn");
inline const QString kSpeechVoiceSetting = QStringLiteral("SpeechVoice");
inline const QString kSpeechRateSetting = QStringLiteral("SpeechRate");

// The school server's address the program opens at start when none is given on the command line
// (--server) or in RAVEX_SERVER; kept in the data folder's own bank, whatever bank is open.
inline const QString kServerAddressSetting = QStringLiteral("ServerAddress");
// The learner last named on this PC, kept in the data folder's bank: a start that finds the server
// out of reach keeps exams under that learner until they go up.
inline const QString kLastLearnerSetting = QStringLiteral("LastLearner");
// The connection string of the data folder's own bank file.
QString LocalBankConnectionString();

// The stored value of name; fallback when none is stored (or NULL), or the bank cannot tell.
QString ReadSetting(Connection& connection, const QString& name, const QString& fallback);
QString ReadSetting(const QString& connectionString, const QString& name, const QString& fallback);

// Stores value under name in one transaction, replacing the one stored; a bank without the table
// is given it. False when the bank refused the write, nothing of it landed, and *error says why.
bool WriteSetting(const QString& connectionString, const QString& name, const QString& value,
                  BankError* error = nullptr);

// An on/off setting, stored as "1" or "0"; a stored value that is neither reads as fallback.
bool ReadFlag(const QString& connectionString, const QString& name, bool fallback);
bool WriteFlag(const QString& connectionString, const QString& name, bool on, BankError* error = nullptr);
