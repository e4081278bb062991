#include "app/ChildWindows.h"

#include "app/ChildForm.h"

ChildForm* CreateChildWindow(const QString& name, QWidget* parent) {
    Q_UNUSED(name);
    Q_UNUSED(parent);
    return nullptr;
}
