#pragma once
// TControl: a visual component over a Qt widget. Every control owns its widget; a control without
// Parent is never shown. Coordinates are relative to the parent's client area, as in the original
// toolkit. Non-windowed controls (TGraphicControl: labels, speed buttons) lend a widget for
// painting but never take the focus; windowed ones derive from TWinControl.
#include <functional>

#include "qmx/CodePage.h"
#include "qmx/toolkit/Color.h"
#include "qmx/toolkit/Component.h"
#include "qmx/toolkit/Events.h"
#include "qmx/toolkit/Font.h"
#include "qmx/toolkit/Messages.h"
#include "qmx/toolkit/Types.h"

#include <QMetaObject>

class QWidget;
class QString;

namespace qmx {

class TWinControl;
class TCustomForm;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
QMX_ENUM(TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient")

enum TAnchorKind { akLeft, akTop, akRight, akBottom };
QMX_ENUM(TAnchorKind, "akLeft", "akTop", "akRight", "akBottom")
using TAnchors = TSet<TAnchorKind>;

using TWndMethod = std::function<void(TMessage&)>;

class TControl : public TComponent {
    QMX_CLASS(TControl, TComponent)

public:
    explicit TControl(TComponent* owner);
    ~TControl() override;
    void BeforeDestruction() override;

    // The control's own Qt widget (null only after the application has shut down).
    QWidget* Widget() const { return widget_; }

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
    void SetTop(int top) { SetBounds(left_, top, width_, height_); }
    void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
    void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& rect) { SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height()); }
    // The client area, (0, 0) based; the whole control unless a descendant has a frame.
    virtual TRect ClientRect() const { return Rect(0, 0, width_, height_); }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(int width) { SetWidth(width_ - ClientWidth() + width); }
    void SetClientHeight(int height) { SetHeight(height_ - ClientHeight() + height); }
    // Screen position of the client area's origin.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint point) const;
    TPoint ScreenToClient(TPoint point) const;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors anchors);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and every parent up to a shown form.
    virtual bool Showing() const;

    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool parentColor);

    TFont* Font() const { return font_; }
    void SetFont(TFont* font) { font_->Assign(font); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool parentFont);

    const AnsiString& Hint() const { return hint_; }
    void SetHint(const AnsiString& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool showHint);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool parentShowHint);

    // Caption and Text are one text (code-page bytes).
    AnsiString Caption() const { return GetText(); }
    void SetCaption(const AnsiString& caption) { SetText(caption); }
    AnsiString Text() const { return GetText(); }
    void SetText(const AnsiString& text);

    TComponent* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TComponent* popupMenu);

    // Messages: Perform runs WindowProc (by default WndProc) and answers the message's Result.
    LRESULT Perform(Cardinal msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // Replaceable per instance, as the original toolkit's WindowProc: save it, install another,
    // call the saved one from it.
    TWndMethod WindowProc;
    virtual void WndProc(TMessage& message);
    virtual void DefaultHandler(TMessage& message) { (void)message; }

    virtual void Click();
    virtual void DblClick();

    // Code page of the texts shown: from Font.Charset.
    CodePage DisplayCodePage() const;
    QString ToDisplay(std::string_view text) const;
    AnsiString FromDisplay(const QString& text) const;

    void Invalidate();
    void Update();
    void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnResize;

    // Called by the toolkit's event hook for mouse input on the control's widget.
    void MouseInput(Cardinal msg, TShiftState shift, int x, int y);

    void Loaded() override;
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    // Descendants create their own kind of widget and hand it over; the control owns it.
    TControl(TComponent* owner, QWidget* widget);

    virtual AnsiString GetText() const { return text_; }
    // Stores the text and shows it; descendants that keep their text in the widget override.
    virtual void SetTextValue(const AnsiString& text);
    // Shows text_ in the widget (after a text change and after a change of code page).
    virtual void UpdateWidgetText() {}
    // The widget's tool tip from Hint and ShowHint.
    void UpdateToolTip();
    // Applies Font / Color to the widget.
    virtual void ApplyFont();
    virtual void ApplyColor();
    // Places the widget: relative to the parent's client area.
    virtual void UpdateWidgetGeometry();
    virtual void UpdateWidgetVisibility();
    // After the size changed (children realigned first by TWinControl); then Resize.
    virtual void SizeChanged() { Resize(); }
    // OnResize.
    virtual void Resize();
    // Code page of the texts now shown changed (Font.Charset): show them again.
    virtual void DisplayCodePageChanged(CodePage oldPage, CodePage newPage);

    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    // Whether a press and release on the widget make a click (buttons click through Qt).
    virtual bool ClicksOnMouseUp() const { return true; }

    // Message handlers called by WndProc.
    virtual void CMFontChanged(TMessage& message);
    virtual void CMParentFontChanged(TMessage& message);
    virtual void CMColorChanged(TMessage& message);
    virtual void CMParentColorChanged(TMessage& message);
    virtual void CMEnabledChanged(TMessage& message);
    virtual void CMVisibleChanged(TMessage& message);
    virtual void CMTextChanged(TMessage& message);
    virtual void CMParentShowHintChanged(TMessage& message);
    virtual void CMShowHintChanged(TMessage& message) { (void)message; }

    void RequestAlign();
    // Anchor rules: distances kept from the parent's edges.
    void UpdateAnchorRules();
    void AnchorToParent(int parentWidth, int parentHeight);

    AnsiString text_;

private:
    friend class TWinControl;
    friend class TCustomForm;
    void FontChanged(TObject* sender);
    void AdoptWidget(QWidget* widget);

    QWidget* widget_ = nullptr;
    // Forgets the widget should Qt free it first (a container widget that took it over).
    QMetaObject::Connection widgetGone_;
    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = alNone;
    TAnchors anchors_{akLeft, akTop};
    // Anchor rules: the bounds and the parent's client size they were taken at.
    TRect anchorBounds_;
    int anchorParentWidth_ = -1, anchorParentHeight_ = -1;
    bool anchorMove_ = false;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_;
    bool parentColor_ = false;
    TFont* font_ = nullptr;
    bool parentFont_ = true;
    bool fontFromParent_ = false;
    CodePage shownCodePage_ = 0;
    AnsiString hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TComponent* popupMenu_ = nullptr;
    bool mousePressed_ = false;
};

// The form the control stands on (its top parent when that is a form), or null.
TCustomForm* GetParentForm(const TControl* control);
// The control whose widget is this one or the nearest of its parents; null when none.
TControl* FindControl(const QWidget* widget);

} // namespace qmx
