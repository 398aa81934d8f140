#include "foundation/Web.h"

#include "foundation/Presenter.h"

namespace QuorvaneSDK {

void Web::Hyper_Link(const QString& Url) {
    try {
        if (Presenter* p = presenter())
            p->openUrl(Url);
    } catch (...) {
        // Opening a page is a convenience: a failure changes nothing else.
    }
}

} // namespace QuorvaneSDK
