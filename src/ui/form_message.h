// TFormMessage: the progress window as portable logic. The export run creates it, shows it,
// sets its one line of text before each pass and destroys it; the window is a TMessageView.
#pragma once

#include <memory>
#include <string>

#include "ui/controls.h"

class TToolkit;
class TMessageView;

class TFormMessage {
public:
    // Builds the form without an owner (caption "エクスポート", placeholder label text); the window
    // is created here but not shown.
    explicit TFormMessage(TToolkit& toolkit);
    ~TFormMessage();  // destroys the window
    TFormMessage(const TFormMessage&) = delete;
    TFormMessage& operator=(const TFormMessage&) = delete;

    // Non-modal show.
    void Show();
    // Sets the label's text, then dispatches pending window messages so it is painted at once.
    void SetMessage(const std::string& text);

    std::string Caption;
    TLabel LabelMessage;

private:
    TToolkit& toolkit_;
    std::unique_ptr<TMessageView> view_;
};
