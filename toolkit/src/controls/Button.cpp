#include "qmx/toolkit/Button.h"

#include <QPushButton>

#include "controls/ToolkitHook.h"
#include "qmx/toolkit/ClassBuilder.h"
#include "qmx/toolkit/CustomForm.h"

namespace qmx {

const TClassInfo& TButton::StaticClassInfo() {
    static const TClassInfo info =
        TClassInfoBuilder<TButton>("TButton", &inherited::StaticClassInfo())
            .Publish("Anchors")
            .Property("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false)
            .Publish("Caption")
            .Property("Default", &TButton::Default, &TButton::SetDefault).Default(false)
            .Publish("Enabled")
            .Publish("Font")
            .Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Type("TModalResult").Default(0)
            .Publish("ParentFont")
            .Publish("ParentShowHint")
            .Publish("PopupMenu")
            .Publish("ShowHint")
            .Publish("TabOrder")
            .Publish("TabStop").Default(true)
            .Publish("Visible")
            .Publish("OnClick")
            .Publish("OnEnter")
            .Publish("OnExit")
            .Publish("OnKeyDown")
            .Publish("OnKeyPress")
            .Publish("OnKeyUp")
            .Publish("OnMouseDown")
            .Publish("OnMouseMove")
            .Publish("OnMouseUp")
            .Build();
    return info;
}

QMX_REGISTER_CLASS(TButton);

TButton::TButton(TComponent* owner) : TWinControl(owner, new QPushButton) {
    QPushButton* button = Button();
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::StrongFocus);
    QObject::connect(button, &QPushButton::clicked, button,
                     [this] { detail::Guarded(this, [this] { Click(); }); });
    SetTabStop(true);
    SetColor(clBtnFace);
    SetBounds(0, 0, 75, 25);
}

QPushButton* TButton::Button() const { return static_cast<QPushButton*>(Widget()); }

void TButton::SetDefault(bool value) {
    if (value == default_) return;
    default_ = value;
    const TCustomForm* form = GetParentForm(this);
    const auto* focusedButton = form ? dynamic_cast<const TButton*>(form->ActiveControl()) : nullptr;
    active_ = focusedButton ? focusedButton == this : default_;
    if (Button()) Button()->setDefault(active_);
}

void TButton::Click() {
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    TWinControl::Click();
}

void TButton::WndProc(TMessage& message) {
    if (message.Msg == CM_FOCUSCHANGED) {
        const auto* sender = reinterpret_cast<TWinControl*>(message.LParam);
        active_ = dynamic_cast<const TButton*>(sender) ? sender == this : default_;
        if (Button()) Button()->setDefault(active_);
    }
    TWinControl::WndProc(message);
}

void TButton::CMDialogKey(TMessage& message) {
    const bool plain = BitsToShiftState(message.LParam).Empty();
    if (((message.WParam == VK_RETURN && active_) || (message.WParam == VK_ESCAPE && cancel_)) &&
        plain && CanFocus()) {
        Click();
        message.Result = 1;
        return;
    }
    TWinControl::CMDialogKey(message);
}

void TButton::UpdateWidgetText() {
    if (Button()) Button()->setText(ToDisplay(text_));
}

} // namespace qmx
