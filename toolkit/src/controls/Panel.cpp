#include "qmx/toolkit/Panel.h"

#include "controls/PanelWidget.h"
#include "qmx/toolkit/ClassBuilder.h"

namespace qmx {

const TClassInfo& TPanel::StaticClassInfo() {
    static const TClassInfo info =
        TClassInfoBuilder<TPanel>("TPanel", &inherited::StaticClassInfo())
            .Publish("Align")
            .Property("Alignment", &TPanel::Alignment, &TPanel::SetAlignment).Default(taCenter)
            .Publish("Anchors")
            .Property("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner).Default(bvNone)
            .Property("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter).Default(bvRaised)
            .Property("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth).Type("TBevelWidth").Default(1)
            .Property("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth).Type("TBorderWidth").Default(0)
            .Property("BorderStyle", &TPanel::BorderStyle, &TPanel::SetBorderStyle).Default(bsNoneBorder)
            .Publish("Caption")
            .Publish("Color").Default(clBtnFace)
            .Publish("Enabled")
            .Publish("Font")
            .Publish("ParentColor").Default(false)
            .Publish("ParentFont")
            .Publish("ParentShowHint")
            .Publish("PopupMenu")
            .Publish("ShowHint")
            .Publish("TabOrder")
            .Publish("TabStop")
            .Publish("Visible")
            .Publish("OnClick")
            .Publish("OnDblClick")
            .Publish("OnEnter")
            .Publish("OnExit")
            .Publish("OnMouseDown")
            .Publish("OnMouseMove")
            .Publish("OnMouseUp")
            .Publish("OnResize")
            .Build();
    return info;
}

QMX_REGISTER_CLASS(TPanel);

TPanel::TPanel(TComponent* owner) : TWinControl(owner, new detail::PanelWidget) {
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 41);
    Changed();
}

void TPanel::Changed() {
    auto* w = static_cast<detail::PanelWidget*>(Widget());
    if (!w) return;
    w->BevelOuter = bevelOuter_;
    w->BevelInner = bevelInner_;
    w->BevelWidth = bevelWidth_;
    w->BorderWidth = borderWidth_;
    w->SingleBorder = borderStyle_ == bsSingleBorder;
    w->CaptionAlignment = (alignment_ == taLeftJustify ? Qt::AlignLeft
                           : alignment_ == taRightJustify ? Qt::AlignRight : Qt::AlignHCenter) |
                          Qt::AlignVCenter;
    w->Caption = ToDisplay(text_);
    w->update();
}

void TPanel::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    Changed();
}

void TPanel::SetBevelInner(TPanelBevel bevel) {
    bevelInner_ = bevel;
    Changed();
    Realign();
}

void TPanel::SetBevelOuter(TPanelBevel bevel) {
    bevelOuter_ = bevel;
    Changed();
    Realign();
}

void TPanel::SetBevelWidth(int width) {
    bevelWidth_ = std::max(1, width);
    Changed();
    Realign();
}

void TPanel::SetBorderWidth(int width) {
    borderWidth_ = std::max(0, width);
    Changed();
    Realign();
}

void TPanel::SetBorderStyle(TBorderStyle style) {
    borderStyle_ = style;
    Changed();
    Realign();
}

void TPanel::AdjustClientRect(TRect& rect) const {
    int inset = borderWidth_;
    if (bevelOuter_ != bvNone) inset += bevelWidth_;
    if (bevelInner_ != bvNone) inset += bevelWidth_;
    if (borderStyle_ == bsSingleBorder) inset += 1;
    rect = Rect(rect.Left + inset, rect.Top + inset, rect.Right - inset, rect.Bottom - inset);
}

void TPanel::UpdateWidgetText() { Changed(); }

void TPanel::ApplyColor() {
    TWinControl::ApplyColor();
    if (Widget()) Widget()->update();
}

} // namespace qmx
