#pragma once
// TPanel: a container with bevels and a centred caption.
#include "qmx/toolkit/Label.h"
#include "qmx/toolkit/WinControl.h"

namespace qmx {

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
QMX_ENUM(TPanelBevel, "bvNone", "bvLowered", "bvRaised", "bvSpace")

enum TBorderStyle { bsNoneBorder, bsSingleBorder };
// Named as form resources write them.
QMX_ENUM(TBorderStyle, "bsNone", "bsSingle")

class TPanel : public TWinControl {
    QMX_CLASS(TPanel, TWinControl)

public:
    explicit TPanel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel bevel);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel bevel);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);

protected:
    void AdjustClientRect(TRect& rect) const override;
    void UpdateWidgetText() override;
    void ApplyColor() override;

private:
    void Changed();

    TAlignment alignment_ = taCenter;
    TPanelBevel bevelInner_ = bvNone;
    TPanelBevel bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TBorderStyle borderStyle_ = bsNoneBorder;
};

} // namespace qmx
