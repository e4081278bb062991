#pragma once

#include <QString>
#include <functional>

// The folder that stands for the system directory: the user's data location, where the program
// may write its bank. Writes the path and a terminating zero character into the first characters
// of buffer (which keeps its length) and returns the path's length; when the path does not fit in
// size - 1 characters, or there is none, nothing is written and 0 or the needed size is returned.
unsigned GetSystemDirectoryA(QString& buffer, unsigned size);

// Tests put another folder (or none, an empty text) in place of the user's data location.
void SetSystemDirectoryProvider(std::function<QString()> provider);
