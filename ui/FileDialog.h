#pragma once

#include <QString>
#include <functional>

class QWidget;

// The file-open dialog. filter is in the classic form "description|pattern|description|pattern";
// returns the chosen file's full path, or an empty text when the dialog was cancelled. Tests
// install a handler that answers at once, so no modal loop ever runs under test.
QString GetOpenFileName(QWidget* parent, const QString& filter);

using FileDialogHandler = std::function<QString(QWidget* parent, const QString& qtFilter)>;
// The handler receives the filter already in Qt's form.
void SetFileDialogHandler(FileDialogHandler handler);

// "MP3 files (*.mp3) | *.mp3" -> "MP3 files (*.mp3)": each description keeps its text, and its
// pattern in brackets unless it already ends with them; filters are joined by ";;".
QString QtFileFilter(const QString& classicFilter);
