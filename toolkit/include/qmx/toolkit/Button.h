#pragma once
// TButton: a push button. Clicking it sets its form's ModalResult to the button's; the Default
// button answers Return and the Cancel button Escape anywhere on the form.
#include "qmx/toolkit/ModalResult.h"
#include "qmx/toolkit/WinControl.h"

class QPushButton;

namespace qmx {

class TButton : public TWinControl {
    QMX_CLASS(TButton, TWinControl)

public:
    explicit TButton(TComponent* owner);

    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }

    void Click() override;
    void WndProc(TMessage& message) override;

protected:
    void CMDialogKey(TMessage& message) override;
    void UpdateWidgetText() override;
    void ApplyColor() override {}
    bool ClicksOnMouseUp() const override { return false; }

private:
    QPushButton* Button() const;

    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_ = mrNone;
    // Return clicks this button: it has the focus, or it is the default and no button has it.
    bool active_ = false;
};

} // namespace qmx
