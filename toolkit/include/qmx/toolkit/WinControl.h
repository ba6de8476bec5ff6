#pragma once
// TWinControl: a control that can hold child controls and take the keyboard focus. Children are
// kept in two lists as in the original toolkit (non-windowed first, then windowed) and laid out
// by Align; windowed children also form the tab order.
#include <vector>

#include "qmx/toolkit/Control.h"

namespace qmx {

class TWinControl : public TControl {
    QMX_CLASS(TWinControl, TControl)

public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    void BeforeDestruction() override;

    // Children: Controls(0 .. ControlCount-1), non-windowed first, then windowed, each in the
    // order they were put on this control.
    int ControlCount() const;
    TControl* Controls(int index) const;
    // True for this control and everything below it.
    bool ContainsControl(const TControl* control) const;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // Sends the message to every child (stops at the first that answers non-zero).
    void Broadcast(TMessage& message);
    // The widget children's widgets are placed in.
    virtual QWidget* ContainerWidget() const { return Widget(); }

    // Native window id, created on request; HandleAllocated tells whether it was.
    HWND Handle() const;
    bool HandleAllocated() const { return handle_ != 0; }
    void HandleNeeded() const { (void)Handle(); }

    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop);
    const AnsiString& ImeName() const { return imeName_; }
    void SetImeName(const AnsiString& imeName) { imeName_ = imeName; }

    // Visible and enabled up to its form (not the form's own state), as the original did.
    virtual bool CanFocus() const;
    virtual void SetFocus();
    virtual bool Focused() const;

    // Tab order through this control's windowed descendants, depth first.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                 bool checkParent) const;
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

    void DisableAlign() { ++alignLevel_; }
    void EnableAlign();
    bool AlignDisabled() const { return alignLevel_ > 0; }
    void Realign();

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

    // Key input as the toolkit's event hook delivers it: the form sees it first when it has
    // KeyPreview; answers true when the key was swallowed (set to 0).
    bool DoKeyDown(Word& key, TShiftState shift);
    bool DoKeyUp(Word& key, TShiftState shift);
    bool DoKeyPress(char& key);
    // Which navigation keys the control keeps for itself instead of the form (Tab, arrows,
    // Return, Escape): the original's dialog codes.
    virtual bool WantsKey(Word key, TShiftState shift) const;

    void Loaded() override;
    void WndProc(TMessage& message) override;
    // Puts the windowed children into the tab order read from a form resource.
    void FixupTabList();

protected:
    TWinControl(TComponent* owner, QWidget* widget);

    virtual void KeyDown(Word& key, TShiftState shift);
    virtual void KeyUp(Word& key, TShiftState shift);
    virtual void KeyPress(char& key);
    virtual void DoEnter();
    virtual void DoExit();

    // Align: lays out the children in rect (the client area after AdjustClientRect).
    virtual void AlignControls(TControl* control, TRect& rect);
    virtual void AdjustClientRect(TRect& rect) const { (void)rect; }

    virtual void CMEnter(TMessage& message);
    virtual void CMExit(TMessage& message);
    virtual void CMDialogKey(TMessage& message);
    void CMFontChanged(TMessage& message) override;
    void CMColorChanged(TMessage& message) override;
    void CMEnabledChanged(TMessage& message) override;
    void CMVisibleChanged(TMessage& message) override;
    void CMShowHintChanged(TMessage& message) override;
    void SizeChanged() override;

    void UpdateWidgetVisibility() override;

private:
    friend class TControl;
    friend class TCustomForm;
    void AlignControl(TControl* control);
    void DestroyChildren();
    void RemoveFocus(bool removing);

    std::vector<TControl*> controls_;       // non-windowed children
    std::vector<TWinControl*> winControls_; // windowed children
    std::vector<TWinControl*> tabList_;
    bool tabStop_ = false;
    bool focusing_ = false; // a focus walk towards this control is running
    int tabOrderValue_ = -1; // TabOrder read while loading, applied by the parent's FixupTabList
    AnsiString imeName_;
    int alignLevel_ = 0;
    bool alignPending_ = false;
    mutable HWND handle_ = 0;
};

} // namespace qmx
