#pragma once
// TForm: TCustomForm with its properties and events published, the class form resources and
// designed forms derive from.
#include "qmx/toolkit/CustomForm.h"

namespace qmx {

class TForm : public TCustomForm {
    QMX_CLASS(TForm, TCustomForm)

public:
    explicit TForm(TComponent* owner);

    // Accepted from form resources for compatibility; they change nothing here.
    bool OldCreateOrder() const { return oldCreateOrder_; }
    void SetOldCreateOrder(bool value) { oldCreateOrder_ = value; }
    int PixelsPerInch() const { return 96; }
    void SetPixelsPerInch(int) {}
    int TextHeight() const { return textHeight_; }
    void SetTextHeight(int value) { textHeight_ = value; }
    bool Scaled() const { return scaled_; }
    void SetScaled(bool value) { scaled_ = value; }
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool value) { autoScroll_ = value; }

private:
    bool oldCreateOrder_ = false;
    int textHeight_ = 13;
    bool scaled_ = true;
    bool autoScroll_ = true;
};

} // namespace qmx
