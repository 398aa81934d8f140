#include "foundation/Messages.h"

namespace QuorvaneSDK {

Messages& Messages::shared() {
    static Messages* instance = new Messages; // lives as long as the library
    return *instance;
}

} // namespace QuorvaneSDK
