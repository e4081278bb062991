#pragma once

#include <QString>

class ChildForm;
class QWidget;

// The one place that knows every child window by name: the main window asks here for a new
// window of a name, and gets nothing for a window this build does not have yet.
ChildForm* CreateChildWindow(const QString& name, QWidget* parent);
