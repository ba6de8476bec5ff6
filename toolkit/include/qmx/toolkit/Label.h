#pragma once
// TLabel: a non-windowed text. With AutoSize it takes the size of its text; its accelerator
// character focuses FocusControl.
#include "qmx/toolkit/GraphicControl.h"

class QLabel;

namespace qmx {

class TWinControl;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
QMX_ENUM(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")

enum TTextLayout { tlTop, tlCenter, tlBottom };
QMX_ENUM(TTextLayout, "tlTop", "tlCenter", "tlBottom")

class TLabel : public TGraphicControl {
    QMX_CLASS(TLabel, TGraphicControl)

public:
    explicit TLabel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    TWinControl* FocusControl() const { return focusControl_; }
    virtual void SetFocusControl(TWinControl* control);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout layout);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool show);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);

    // Sizes the label to its text (when AutoSize).
    void AdjustBounds();

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void UpdateWidgetText() override;
    void ApplyFont() override;
    void ApplyColor() override;
    void Loaded() override;

private:
    QLabel* LabelWidget() const;
    void UpdateAlignment();

    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    TWinControl* focusControl_ = nullptr;
    TTextLayout layout_ = tlTop;
    bool showAccelChar_ = true;
    bool transparent_ = false;
    bool wordWrap_ = false;
};

} // namespace qmx
