#pragma once
// The command line's presenter: the SDK's questions are answered No (a
// script must never hang on one); notices, the clipboard, web pages and
// sounds are ignored. The SDK writes its full error reports to its log
// itself; the terminal gets the command's one line.

#include "foundation/Presenter.h"

namespace QuorvaneCli {

class CliPresenter : public QuorvaneSDK::Presenter {
public:
    bool askYesNo(const QString& title, const QString& text) override;
    void showPopUp(const QString& text, int displayMs, QuorvaneSDK::MessageType kind,
                   const QString& soundFile, bool bold) override;
    void setClipboardText(const QString&) override {}
    void openUrl(const QString&) override {}
    void playSound(const QString&) override {}
};

} // namespace QuorvaneCli
