#pragma once

#include "data/SharedState.h"
#include "rules/ExamDraw.h"

class QWidget;

// Start-up: the data folder, the ranges, the main window, the defaults, the connection string.
// Returns false when start-up failed before the main window could be shown.
bool Main();

// The school server named at start-up: "--server URL" among the arguments, else the variable
// RAVEX_SERVER; empty for the bank file in the data folder.
QString ServerFromStart(const QStringList& arguments);
// The server the program opens: ServerFromStart, else the address the settings window keeps in the
// data folder's bank (localBank, a connection string); empty for that bank itself.
QString ServerAtStart(const QStringList& arguments, const QString& localBank);
// Names who practises on a school server: asked while the server answers (and remembered on this
// PC), else the learner last named here.
void ChooseLearner(bool onServer, QWidget* parent);

// The data folder an installed program ships, found beside its executable.
QString InstalledDataDir();

// Qt's own texts (message box buttons, the file dialog, context menus) in Persian, from Qt's
// translations. False when they are not installed: Qt's texts then stay English.
bool InstallQtTranslations();
