#pragma once

#include <functional>

class QDialog;

// Shows a dialog modally and returns when it is closed, however it was closed. Tests install a
// handler that acts on the dialog as a user would (a click on its button, Escape) and returns at
// once, so no modal loop runs under test.
int ExecModal(QDialog* dialog);
void SetModalHandler(std::function<int(QDialog*)> handler);
