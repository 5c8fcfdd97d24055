#include "gui/Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares a function: it must be used outside a namespace.
static void InitIcons() {
    Q_INIT_RESOURCE(icons);
}

void InitDemlaResources() {
    InitIcons();
}
