#include "foundation/Startup.h"

#include "foundation/Database.h"
#include "foundation/SDKMessages.h"

namespace QuorvaneSDK {
namespace {
bool g_started = false;
}

bool sdkStarted() {
    return g_started;
}

void ensureSdkStarted() {
    if (g_started)
        return;
    // Set first: creating the current database below re-enters from its
    // constructor.
    g_started = true;
    try {
        SDKMessages::sdkListener();
        applyStoredConnectionSettings(Database::current());
    } catch (...) {
        // Start-up failures leave the creation defaults in place.
    }
}

} // namespace QuorvaneSDK
