#pragma once

#include <QString>

namespace QuorvaneSDK {

// Opens a web page in the user's browser through the host's presenter
// (which the programs implement with xdg-open). Errors are ignored; with no
// presenter installed nothing happens.
class Web {
public:
    void Hyper_Link(const QString& Url);
};

} // namespace QuorvaneSDK
