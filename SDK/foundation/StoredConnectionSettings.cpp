#include "foundation/Startup.h"

namespace QuorvaneSDK {

// Replaced by the connection settings store; until then the creation
// defaults of the database stay in place.
void applyStoredConnectionSettings(Database&) {
}

} // namespace QuorvaneSDK
