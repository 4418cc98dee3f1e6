#include "ui/form_message.h"

#include "ui/form_texts.h"
#include "ui/toolkit.h"

TFormMessage::TFormMessage(TToolkit& toolkit) : toolkit_(toolkit)
{
    qv::form_texts::ApplyMessageResource(*this);
    view_ = toolkit_.CreateMessageWindow(*this);
}

TFormMessage::~TFormMessage() = default;

void TFormMessage::Show() { view_->Show(); }

void TFormMessage::SetMessage(const std::string& text)
{
    LabelMessage.Caption = text;
    view_->SetText(text);
    toolkit_.ProcessMessages();
}
