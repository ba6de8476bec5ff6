#include "qmx/toolkit/Control.h"

#include <QPalette>
#include <QWidget>

#include <algorithm>

#include "controls/ToolkitHook.h"
#include "qmx/toolkit/ClassBuilder.h"
#include "qmx/toolkit/CustomForm.h"
#include "qmx/toolkit/DisplayText.h"
#include "qmx/toolkit/WinControl.h"

namespace qmx {

const TClassInfo& TControl::StaticClassInfo() {
    static const TClassInfo info =
        TClassInfoBuilder<TControl>("TControl", &inherited::StaticClassInfo())
            .Property("Left", &TControl::Left, &TControl::SetLeft).NoDefault()
            .Property("Top", &TControl::Top, &TControl::SetTop).NoDefault()
            .Property("Width", &TControl::Width, &TControl::SetWidth).NoDefault()
            .Property("Height", &TControl::Height, &TControl::SetHeight).NoDefault()
            .Property("Hint", &TControl::Hint, &TControl::SetHint)
            // Declared here, published by the descendants that have them.
            .Declare("Align", &TControl::Align, &TControl::SetAlign).Default(alNone)
            .Declare("Anchors", &TControl::Anchors, &TControl::SetAnchors).Type("TAnchors").Default(TAnchors{akLeft, akTop}.Bits())
            .Declare("Caption", &TControl::Caption, &TControl::SetCaption).Type("TCaption")
            .Declare("Text", &TControl::Text, &TControl::SetText).Type("TCaption")
            .Declare("Color", &TControl::Color, &TControl::SetColor).Type("TColor").Default(clWindow)
            .Declare("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true)
            .Declare("Font", &TControl::Font, &TControl::SetFont)
            .Declare("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(true)
            .Declare("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true)
            .Declare("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(true)
            .Declare("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
            .Declare("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Default(false)
            .Declare("Visible", &TControl::Visible, &TControl::SetVisible).Default(true)
            .Declare("ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth).Stored(false)
            .Declare("ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight).Stored(false)
            .Declare("OnClick", &TControl::OnClick)
            .Declare("OnDblClick", &TControl::OnDblClick)
            .Declare("OnMouseDown", &TControl::OnMouseDown)
            .Declare("OnMouseUp", &TControl::OnMouseUp)
            .Declare("OnMouseMove", &TControl::OnMouseMove)
            .Declare("OnResize", &TControl::OnResize)
            .Abstract()
            .Build();
    return info;
}

TControl::TControl(TComponent* owner) : TControl(owner, new QWidget) {}

TControl::TControl(TComponent* owner, QWidget* widget) : TComponent(owner), color_(clWindow) {
    WindowProc = [this](TMessage& message) { WndProc(message); };
    font_ = new TFont;
    font_->SetOwnerObject(this);
    font_->OnChange = TNotifyEvent(this, &TControl::FontChanged);
    shownCodePage_ = DisplayCodePage();
    AdoptWidget(widget);
}

void TControl::AdoptWidget(QWidget* widget) {
    detail::EnsureToolkitHook();
    detail::RegisterControl(this);
    widget_ = widget;
    widget_->hide();
    detail::RegisterWidget(widget_, this);
    widgetGone_ = QObject::connect(widget_, &QObject::destroyed, [this] {
        detail::UnregisterWidget(widget_);
        widget_ = nullptr;
    });
    TControl::ApplyFont();
    TControl::ApplyColor();
}

TControl::~TControl() {
    detail::UnregisterControl(this);
    if (!ComponentState().Contains(csDestroying)) Destroying();
    if (parent_) parent_->RemoveControl(this);
    QObject::disconnect(widgetGone_);
    if (widget_) {
        detail::UnregisterWidget(widget_);
        QWidget* doomed = widget_;
        widget_ = nullptr;
        delete doomed;
    }
    delete font_;
}

void TControl::BeforeDestruction() {
    Destroying();
    // Leave the parent first: it takes the focus away from this control while it is whole.
    if (parent_) parent_->RemoveControl(this);
    TComponent::BeforeDestruction();
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (parent_) {
        UpdateAnchorRules();
        RequestAlign();
    }
}

// --- parent ---------------------------------------------------------------------------------

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

TCustomForm* GetParentForm(const TControl* control) {
    if (!control) return nullptr;
    const TControl* top = control;
    while (top->Parent()) top = top->Parent();
    if (!top->InheritsFrom(TCustomForm::StaticClassInfo())) return nullptr;
    return const_cast<TCustomForm*>(static_cast<const TCustomForm*>(top));
}

TControl* FindControl(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (TControl* control = detail::ControlOfWidget(w)) return control;
    return nullptr;
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetParentComponent(TComponent* parent) {
    if (auto* winControl = dynamic_cast<TWinControl*>(parent)) SetParent(winControl);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

// --- bounds ---------------------------------------------------------------------------------

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    const bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (!anchorMove_) UpdateAnchorRules();
    UpdateWidgetGeometry();
    if (resized) SizeChanged();
    RequestAlign();
}

void TControl::UpdateWidgetGeometry() {
    if (widget_) widget_->setGeometry(left_, top_, std::max(0, width_), std::max(0, height_));
}

TPoint TControl::ClientOrigin() const {
    if (!parent_) return {left_, top_};
    const TPoint origin = parent_->ClientOrigin();
    return {origin.X + left_, origin.Y + top_};
}

TPoint TControl::ClientToScreen(TPoint point) const {
    const TPoint origin = ClientOrigin();
    return {point.X + origin.X, point.Y + origin.Y};
}

TPoint TControl::ScreenToClient(TPoint point) const {
    const TPoint origin = ClientOrigin();
    return {point.X - origin.X, point.Y - origin.Y};
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    const TAlign old = align_;
    align_ = align;
    anchors_ = [&] {
        switch (align) {
        case alTop: return TAnchors{akLeft, akTop, akRight};
        case alBottom: return TAnchors{akLeft, akRight, akBottom};
        case alLeft: return TAnchors{akLeft, akTop, akBottom};
        case alRight: return TAnchors{akRight, akTop, akBottom};
        case alClient: return TAnchors{akLeft, akTop, akRight, akBottom};
        default: return TAnchors{akLeft, akTop};
        }
    }();
    if (old != alNone || align != alNone) RequestAlign();
}

void TControl::SetAnchors(TAnchors anchors) {
    if (anchors == anchors_) return;
    anchors_ = anchors;
    UpdateAnchorRules();
}

void TControl::RequestAlign() {
    if (parent_ && align_ != alNone) parent_->AlignControl(this);
}

void TControl::UpdateAnchorRules() {
    if (!parent_ || ComponentState().Contains(csLoading)) {
        anchorParentWidth_ = anchorParentHeight_ = -1;
        return;
    }
    anchorBounds_ = BoundsRect();
    anchorParentWidth_ = parent_->ClientWidth();
    anchorParentHeight_ = parent_->ClientHeight();
}

void TControl::AnchorToParent(int parentWidth, int parentHeight) {
    if (align_ != alNone || anchorParentWidth_ < 0) return;
    if (anchors_ == TAnchors{akLeft, akTop}) return;
    int left = left_, top = top_, width = width_, height = height_;
    const int dx = parentWidth - anchorParentWidth_;
    const int dy = parentHeight - anchorParentHeight_;
    if (anchors_.Contains(akRight)) {
        if (anchors_.Contains(akLeft)) width = anchorBounds_.Width() + dx;
        else left = anchorBounds_.Left + dx;
    } else if (!anchors_.Contains(akLeft)) {
        left = anchorBounds_.Left + dx / 2;
    }
    if (anchors_.Contains(akBottom)) {
        if (anchors_.Contains(akTop)) height = anchorBounds_.Height() + dy;
        else top = anchorBounds_.Top + dy;
    } else if (!anchors_.Contains(akTop)) {
        top = anchorBounds_.Top + dy / 2;
    }
    anchorMove_ = true;
    SetBounds(left, top, std::max(0, width), std::max(0, height));
    anchorMove_ = false;
}

// --- visibility and state -------------------------------------------------------------------

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
    RequestAlign();
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::UpdateWidgetVisibility() {
    if (widget_) widget_->setVisible(visible_ && parent_ != nullptr);
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor color) {
    if (color == color_) {
        parentColor_ = false;
        return;
    }
    color_ = color;
    parentColor_ = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool parentColor) {
    if (parentColor == parentColor_) return;
    parentColor_ = parentColor;
    if (parentColor && parent_) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::ApplyColor() {
    if (!widget_) return;
    QPalette palette = widget_->palette();
    palette.setColor(QPalette::Window, ColorToQColor(color_));
    widget_->setPalette(palette);
    widget_->setAutoFillBackground(color_ != clNone);
}

void TControl::FontChanged(TObject*) {
    if (!fontFromParent_) parentFont_ = false;
    Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool parentFont) {
    if (parentFont == parentFont_) return;
    parentFont_ = parentFont;
    if (parentFont && parent_) Perform(CM_PARENTFONTCHANGED);
}

void TControl::ApplyFont() {
    if (!widget_) return;
    widget_->setFont(font_->ToQFont());
    QPalette palette = widget_->palette();
    const QColor text = ColorToQColor(font_->Color());
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    widget_->setPalette(palette);
}

CodePage TControl::DisplayCodePage() const { return CharsetToCodePage(font_->Charset()); }

QString TControl::ToDisplay(std::string_view text) const {
    return AnsiToQString(text, shownCodePage_ ? shownCodePage_ : DisplayCodePage());
}

AnsiString TControl::FromDisplay(const QString& text) const {
    return QStringToAnsi(text, shownCodePage_ ? shownCodePage_ : DisplayCodePage());
}

void TControl::DisplayCodePageChanged(CodePage, CodePage) {
    UpdateWidgetText();
    UpdateToolTip();
}

void TControl::SetHint(const AnsiString& hint) {
    hint_ = hint;
    UpdateToolTip();
}

void TControl::SetShowHint(bool showHint) {
    parentShowHint_ = false;
    if (showHint == showHint_) return;
    showHint_ = showHint;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool parentShowHint) {
    if (parentShowHint == parentShowHint_) return;
    parentShowHint_ = parentShowHint;
    if (parentShowHint && parent_) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::UpdateToolTip() {
    // Tool tips are shown by the toolkit's hook from Hint, ShowHint and Application->ShowHint;
    // the widget keeps no text of its own.
    if (widget_) widget_->setToolTip(QString());
}

void TControl::SetText(const AnsiString& text) {
    if (text == GetText()) return;
    SetTextValue(text);
}

void TControl::SetTextValue(const AnsiString& text) {
    text_ = text;
    Perform(CM_TEXTCHANGED);
}

void TControl::SetPopupMenu(TComponent* popupMenu) {
    if (popupMenu_ == popupMenu) return;
    if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = popupMenu;
    if (popupMenu_) popupMenu_->FreeNotification(this);
}

// --- messages -------------------------------------------------------------------------------

LRESULT TControl::Perform(Cardinal msg, WPARAM wParam, LPARAM lParam) {
    TMessage message{msg, wParam, lParam, 0};
    if (WindowProc) WindowProc(message);
    else WndProc(message);
    return message.Result;
}

void TControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_FONTCHANGED: CMFontChanged(message); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(message); break;
    case CM_COLORCHANGED: CMColorChanged(message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(message); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(message); break;
    case CM_TEXTCHANGED: CMTextChanged(message); break;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(message); break;
    case CM_SHOWHINTCHANGED: CMShowHintChanged(message); break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        const TMouseButton button = message.Msg == WM_LBUTTONDOWN ? mbLeft
                                    : message.Msg == WM_RBUTTONDOWN ? mbRight : mbMiddle;
        if (button == mbLeft) mousePressed_ = true;
        MouseDown(button, BitsToShiftState(static_cast<LPARAM>(message.WParam)),
                  static_cast<std::int16_t>(message.LParam & 0xFFFF),
                  static_cast<std::int16_t>((message.LParam >> 16) & 0xFFFF));
        break;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        const TMouseButton button = message.Msg == WM_LBUTTONUP ? mbLeft
                                    : message.Msg == WM_RBUTTONUP ? mbRight : mbMiddle;
        const int x = static_cast<std::int16_t>(message.LParam & 0xFFFF);
        const int y = static_cast<std::int16_t>((message.LParam >> 16) & 0xFFFF);
        const bool click = button == mbLeft && mousePressed_ && x >= 0 && y >= 0 && x < width_ &&
                           y < height_ && ClicksOnMouseUp();
        if (button == mbLeft) mousePressed_ = false;
        MouseUp(button, BitsToShiftState(static_cast<LPARAM>(message.WParam)), x, y);
        if (click) Click();
        break;
    }
    case WM_LBUTTONDBLCLK:
        DblClick();
        break;
    case WM_MOUSEMOVE:
        MouseMove(BitsToShiftState(static_cast<LPARAM>(message.WParam)),
                  static_cast<std::int16_t>(message.LParam & 0xFFFF),
                  static_cast<std::int16_t>((message.LParam >> 16) & 0xFFFF));
        break;
    default:
        DefaultHandler(message);
        break;
    }
}

void TControl::MouseInput(Cardinal msg, TShiftState shift, int x, int y) {
    const LPARAM position = static_cast<LPARAM>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                                                static_cast<std::uint32_t>(x & 0xFFFF));
    Perform(msg, static_cast<WPARAM>(ShiftStateToBits(shift)), position);
}

void TControl::CMFontChanged(TMessage&) {
    ApplyFont();
    const CodePage page = DisplayCodePage();
    if (page != shownCodePage_) {
        const CodePage old = shownCodePage_;
        shownCodePage_ = page;
        DisplayCodePageChanged(old, page);
    }
}

void TControl::CMParentFontChanged(TMessage&) {
    if (!parentFont_ || !parent_) return;
    fontFromParent_ = true;
    try {
        font_->Assign(parent_->Font());
    } catch (...) {
        fontFromParent_ = false;
        throw;
    }
    fontFromParent_ = false;
}

void TControl::CMColorChanged(TMessage&) { ApplyColor(); }

void TControl::CMParentColorChanged(TMessage&) {
    if (!parentColor_ || !parent_) return;
    SetColor(parent_->Color());
    parentColor_ = true;
}

void TControl::CMEnabledChanged(TMessage&) {
    if (widget_) widget_->setEnabled(enabled_);
}

void TControl::CMVisibleChanged(TMessage&) { UpdateWidgetVisibility(); }

void TControl::CMTextChanged(TMessage&) { UpdateWidgetText(); }

void TControl::CMParentShowHintChanged(TMessage&) {
    if (!parentShowHint_ || !parent_) return;
    SetShowHint(parent_->ShowHint());
    parentShowHint_ = true;
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

// --- painting -------------------------------------------------------------------------------

void TControl::Invalidate() {
    if (widget_) widget_->update();
}

void TControl::Update() {
    if (widget_) widget_->repaint();
}

void TControl::Repaint() {
    if (widget_) widget_->repaint();
}

void TControl::BringToFront() {
    if (widget_) widget_->raise();
}

void TControl::SendToBack() {
    if (widget_) widget_->lower();
}

} // namespace qmx
