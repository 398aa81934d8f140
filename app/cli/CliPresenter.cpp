#include "CliPresenter.h"

namespace QuorvaneCli {

bool CliPresenter::askYesNo(const QString&, const QString&) {
    return false;
}

// Notices are not printed: the SDK's warnings and errors reach the command
// through its message events, and the command says in its one line what
// failed and why.
void CliPresenter::showPopUp(const QString&, int, QuorvaneSDK::MessageType, const QString&, bool) {
}

} // namespace QuorvaneCli
