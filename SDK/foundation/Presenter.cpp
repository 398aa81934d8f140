#include "foundation/Presenter.h"

namespace QuorvaneSDK {
namespace {
Presenter* g_presenter = nullptr;
}

void installPresenter(Presenter* presenter) {
    g_presenter = presenter;
}

Presenter* presenter() {
    return g_presenter;
}

} // namespace QuorvaneSDK
