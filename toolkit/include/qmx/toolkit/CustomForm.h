#pragma once
// TCustomForm: a top-level window. It drives focus and keys the way the original toolkit did:
// the form keeps its focused control and, when the focus moves within it, runs OnExit from the old
// control up to the common ancestor and OnEnter down to the new one; KeyPreview lets the form see
// keys first; Close goes through OnCloseQuery and OnClose; ShowModal runs a modal loop (or the
// application's modal handler) until ModalResult is set.
#include <string>

#include "qmx/toolkit/ModalResult.h"
#include "qmx/toolkit/WinControl.h"

class QImage;

namespace qmx {

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
QMX_ENUM(TBorderIcon, "biSystemMenu", "biMinimize", "biMaximize", "biHelp")
using TBorderIcons = TSet<TBorderIcon>;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
QMX_ENUM(TFormBorderStyle, "bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin")

enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
                 poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
QMX_ENUM(TPosition, "poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
         "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter")

enum TWindowState { wsNormal, wsMinimized, wsMaximized };
QMX_ENUM(TWindowState, "wsNormal", "wsMinimized", "wsMaximized")

enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
QMX_ENUM(TFormStyle, "fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop")

class TCustomForm : public TWinControl {
    QMX_CLASS(TCustomForm, TWinControl)

public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;
    // Runs OnCreate (the toolkit's factories and CreateForm call it after construction).
    void AfterConstruction() override;
    // Runs OnDestroy while the form is whole, then frees its controls and components.
    void BeforeDestruction() override;

    // The control that has (or gets, when the form is activated) the focus.
    TWinControl* ActiveControl() const { return activeControl_; }
    // Raises EInvalidOperation when the control cannot take the focus.
    void SetActiveControl(TWinControl* control);
    // The control the form's focus walk stands at (the form itself before any control).
    TWinControl* FocusedControl() const { return focusedControl_; }
    // The window is the active one (Screen->FocusedForm()).
    bool Active() const;

    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool keyPreview) { keyPreview_ = keyPreview; }
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState state);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle style);
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }
    // Shown modally right now.
    bool Modal() const { return modal_; }

    // Shows the form and makes it the active window.
    void Show();
    void BringToFront();
    void Close();
    virtual bool CloseQuery();
    // Frees the form when the event queue runs (CM_RELEASE).
    void Release();
    // Modal loop until ModalResult is set (or the application's modal handler answers); the
    // window closed by the user answers mrCancel.
    TModalResult ShowModal();

    void SetFocus() override;
    void WndProc(TMessage& message) override;
    bool Focused() const override;
    bool Showing() const override;
    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;

    // The focus moves to control: runs the exit and enter walk. False when a handler moved the
    // focus elsewhere (the walk ended there).
    bool SetFocusedControl(TWinControl* control);
    // Makes control the active control and, when the form is active, gives it the focus.
    void FocusControl(TWinControl* control);
    // control leaves the form or can no longer be focused.
    void DefocusControl(TWinControl* control, bool removing);

    // The form's window rendered (also offscreen and when hidden).
    QImage Grab();
    bool SaveToPng(const std::string& path);

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    // Called by the toolkit's hook for Qt's window events.
    void QtWindowActivated();
    void QtCloseRequested();
    void QtResized(int clientWidth, int clientHeight);

protected:
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    virtual void Activate();
    virtual void Deactivate();

    void CMDialogKey(TMessage& message) override;
    void UpdateWidgetGeometry() override;
    void UpdateWidgetVisibility() override;
    void UpdateWidgetText() override;

private:
    friend class TApplication;
    void SetActive(bool active);
    void SetWindowFocus();
    void ApplyWindowFlags();
    void PlaceOnShow();
    // Frame metrics of the original toolkit's windows: border and caption heights.
    int FrameWidth() const;
    int CaptionHeight() const;
    void CloseModal();
    TModalResult RunModalLoop();
    TModalResult RunModalHandler();

    TWinControl* activeControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;
    TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
    TFormBorderStyle borderStyle_ = bsSizeable;
    TPosition position_ = poDesigned;
    bool keyPreview_ = false;
    TWindowState windowState_ = wsNormal;
    TFormStyle formStyle_ = fsNormal;
    TModalResult modalResult_ = mrNone;
    bool modal_ = false;
    bool created_ = false;
    bool destroyDone_ = false;
    bool showing_ = false;
    bool released_ = false;
};

} // namespace qmx
