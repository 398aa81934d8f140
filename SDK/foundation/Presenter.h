#pragma once
// What the SDK may show the user. The SDK never opens a window itself: the
// host program installs a presenter (the GUI shows dialogs, the command line
// prints, tests record the calls). With none installed the SDK only logs.

#include "foundation/Enums.h"

#include <QString>

namespace QuorvaneSDK {

class Presenter {
public:
    virtual ~Presenter() = default;

    // A modal question with a warning icon and Yes/No buttons; true for Yes.
    virtual bool askYesNo(const QString& title, const QString& text) = 0;
    // A pop-up notice shown for displayMs milliseconds with a sound; bold is
    // used for error notices.
    virtual void showPopUp(const QString& text, int displayMs, MessageType kind,
                           const QString& soundFile, bool bold) = 0;
    virtual void setClipboardText(const QString& text) = 0;
    virtual void openUrl(const QString& url) = 0;
    virtual void playSound(const QString& soundFile) = 0;
};

// Installs the host's presenter (not owned; nullptr removes it).
void installPresenter(Presenter* presenter);
// The installed presenter, or nullptr.
Presenter* presenter();

} // namespace QuorvaneSDK
