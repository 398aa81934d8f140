#include "foundation/DatabaseConnection.h"
#include "foundation/Startup.h"

namespace QuorvaneSDK {

// The SDK's start-up gives the current database the settings of Database.ini.
void applyStoredConnectionSettings(Database& database) {
    DatabaseConnection().set_DBParameters(database);
}

} // namespace QuorvaneSDK
