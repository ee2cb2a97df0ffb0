#include "app/AppResources.h"

// Outside any namespace, as the resource compiler's registration function is.
static void RegisterAppResourcesOnce() {
    Q_INIT_RESOURCE(app);
}

namespace velmora {

void RegisterAppResources() {
    // The program's pictures live in a static library, which registers nothing by
    // itself; registering twice is harmless.
    RegisterAppResourcesOnce();
}

} // namespace velmora
