#include "platform/Resources.h"

#include <QtGlobal>

static void initAll() {
    Q_INIT_RESOURCE(resources);
    Q_INIT_RESOURCE(bank);
}

void EnsureResources() {
    static const bool done = (initAll(), true);
    Q_UNUSED(done);
}
