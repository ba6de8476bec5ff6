#include "qmx/toolkit/CustomForm.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <algorithm>

#include "controls/ToolkitHook.h"
#include "qmx/toolkit/Application.h"
#include "qmx/toolkit/ClassBuilder.h"
#include "qmx/toolkit/Screen.h"

namespace qmx {

namespace {

// Posted to a form that gets the focus back (after a modal dialog, or when the active form went
// away); handled when the event queue runs.
constexpr Cardinal CM_RESTOREFOCUS = CM_BASE + 100;
// Answers of a modal handler that keep being refused by the form end in an error, not a hang.
constexpr int kMaxModalHandlerRounds = 16;

bool FormExists(const TCustomForm* form) {
    const auto& forms = Screen->FormList();
    return form && std::find(forms.begin(), forms.end(), form) != forms.end();
}

// Runs a focus message; a handler error goes to the application, as each window's message
// handling did. False when the handler moved the focus (the walk ends).
bool SendFocusMessage(TWinControl* control, Cardinal msg) {
    const int count = Screen->FocusCount();
    detail::Guarded(control, [&] { control->Perform(msg); });
    return Screen->FocusCount() == count;
}

} // namespace

const TClassInfo& TCustomForm::StaticClassInfo() {
    static const TClassInfo info =
        TClassInfoBuilder<TCustomForm>("TCustomForm", &inherited::StaticClassInfo())
            .Abstract()
            .Build();
    return info;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner, new QWidget(nullptr, Qt::Window)) {
    visible_ = false;
    parentFont_ = false;
    parentColor_ = false;
    SetColor(clBtnFace);
    Widget()->setAttribute(Qt::WA_QuitOnClose, false);
    Screen->AddForm(this);
    SetBounds(0, 0, 320, 240);
}

TCustomForm::~TCustomForm() {
    if (!destroyDone_) {
        // Not freed through delete (a form on the stack): the same steps, minus what needs the
        // whole object.
        destroyDone_ = true;
        Destroying();
        Screen->RemoveForm(this);
    }
}

void TCustomForm::AfterConstruction() {
    TWinControl::AfterConstruction();
    DoCreate();
}

void TCustomForm::BeforeDestruction() {
    if (destroyDone_) return;
    destroyDone_ = true;
    Destroying();
    DoDestroy();
    if (Application && Application->MainForm() == this) Application->SetMainForm(nullptr);
    if (Widget()) Widget()->hide();
    const bool wasFocused = Screen->FocusedForm() == this;
    Screen->RemoveForm(this);
    if (wasFocused)
        for (TCustomForm* other : Screen->FormList())
            if (other->Showing()) {
                PostMessage(other, CM_RESTOREFOCUS);
                break;
            }
    TWinControl::BeforeDestruction();
}

void TCustomForm::DoCreate() {
    created_ = true;
    if (OnCreate) detail::Guarded(this, [&] { OnCreate(this); });
}

void TCustomForm::DoDestroy() {
    if (OnDestroy) detail::Guarded(this, [&] { OnDestroy(this); });
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

void TCustomForm::Activate() {
    if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
    if (OnDeactivate) OnDeactivate(this);
}

// --- geometry -------------------------------------------------------------------------------

int TCustomForm::FrameWidth() const {
    switch (borderStyle_) {
    case bsNone: return 0;
    case bsSizeable:
    case bsSizeToolWin: return 4;
    default: return 3;
    }
}

int TCustomForm::CaptionHeight() const {
    switch (borderStyle_) {
    case bsNone: return 0;
    case bsToolWindow:
    case bsSizeToolWin: return 15;
    default: return 19;
    }
}

TRect TCustomForm::ClientRect() const {
    return Rect(0, 0, std::max(0, Width() - 2 * FrameWidth()),
                std::max(0, Height() - 2 * FrameWidth() - CaptionHeight()));
}

TPoint TCustomForm::ClientOrigin() const {
    return {Left() + FrameWidth(), Top() + FrameWidth() + CaptionHeight()};
}

void TCustomForm::UpdateWidgetGeometry() {
    QWidget* w = Widget();
    if (!w) return;
    const TRect client = ClientRect();
    if (Parent()) {
        w->setGeometry(Left(), Top(), client.Width(), client.Height());
        return;
    }
    w->move(Left(), Top());
    if (borderStyle_ == bsSizeable || borderStyle_ == bsSizeToolWin) {
        w->setMinimumSize(0, 0);
        w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        w->resize(client.Width(), client.Height());
    } else {
        w->setFixedSize(client.Width(), client.Height());
    }
}

void TCustomForm::QtResized(int clientWidth, int clientHeight) {
    if (clientWidth == ClientWidth() && clientHeight == ClientHeight()) return;
    SetBounds(Left(), Top(), clientWidth + 2 * FrameWidth(),
              clientHeight + 2 * FrameWidth() + CaptionHeight());
}

void TCustomForm::PlaceOnShow() {
    auto centerOn = [this](const TRect& area) {
        SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2,
                  Width(), Height());
    };
    auto screenArea = [] {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect r = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
        return Bounds(r.x(), r.y(), r.width(), r.height());
    };
    auto formArea = [](const TCustomForm* form) { return form->BoundsRect(); };
    switch (position_) {
    case poScreenCenter:
    case poDesktopCenter: centerOn(screenArea()); break;
    case poMainFormCenter: {
        const TCustomForm* main = Application->MainForm();
        centerOn(main && main != this && main->Showing() ? formArea(main) : screenArea());
        break;
    }
    case poOwnerFormCenter: {
        const TCustomForm* ownerForm = dynamic_cast<TCustomForm*>(Owner());
        if (!ownerForm || ownerForm == this || !ownerForm->Showing()) ownerForm = Application->MainForm();
        centerOn(ownerForm && ownerForm != this && ownerForm->Showing() ? formArea(ownerForm) : screenArea());
        break;
    }
    default: break;
    }
}

// --- window appearance ----------------------------------------------------------------------

void TCustomForm::ApplyWindowFlags() {
    QWidget* w = Widget();
    if (!w || Parent()) return;
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint;
    if (borderStyle_ == bsNone) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::WindowTitleHint;
        if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin) flags |= Qt::Tool;
        if (borderStyle_ == bsDialog) flags |= Qt::Dialog;
        if (borderIcons_.Contains(biSystemMenu)) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (borderStyle_ != bsDialog && borderStyle_ != bsToolWindow && borderStyle_ != bsSizeToolWin) {
            if (borderIcons_.Contains(biMinimize)) flags |= Qt::WindowMinimizeButtonHint;
            if (borderIcons_.Contains(biMaximize)) flags |= Qt::WindowMaximizeButtonHint;
        }
        if (borderIcons_.Contains(biHelp)) flags |= Qt::WindowContextHelpButtonHint;
    }
    if (formStyle_ == fsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
    if (w->windowFlags() == flags) return;
    const bool wasVisible = w->isVisible();
    w->setWindowFlags(flags);
    UpdateWidgetGeometry();
    if (wasVisible) w->show();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
    borderIcons_ = icons;
    ApplyWindowFlags();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
    if (style == borderStyle_) return;
    // The outer size stays; the client area follows the new frame.
    borderStyle_ = style;
    ApplyWindowFlags();
    UpdateWidgetGeometry();
    SizeChanged();
}

void TCustomForm::SetFormStyle(TFormStyle style) {
    formStyle_ = style;
    ApplyWindowFlags();
}

void TCustomForm::SetWindowState(TWindowState state) {
    windowState_ = state;
    QWidget* w = Widget();
    if (!w || !w->isVisible()) return;
    w->setWindowState(state == wsMinimized ? Qt::WindowMinimized
                      : state == wsMaximized ? Qt::WindowMaximized : Qt::WindowNoState);
}

void TCustomForm::UpdateWidgetText() {
    if (Widget()) Widget()->setWindowTitle(ToDisplay(text_));
}

bool TCustomForm::Showing() const {
    if (Parent()) return TWinControl::Showing();
    return Visible();
}

// --- showing and hiding ---------------------------------------------------------------------

void TCustomForm::UpdateWidgetVisibility() {
    QWidget* w = Widget();
    if (Parent()) {
        TWinControl::UpdateWidgetVisibility();
        return;
    }
    if (Visible()) {
        if (!created_) DoCreate();
        showing_ = true;
        DoShow();
        PlaceOnShow();
        ApplyWindowFlags();
        const bool byHandler = modal_ && Application->ModalHandler();
        if (w && !byHandler) {
            w->setWindowModality(modal_ ? Qt::ApplicationModal : Qt::NonModal);
            SetWindowState(windowState_);
            if (windowState_ == wsMinimized) w->showMinimized();
            else if (windowState_ == wsMaximized) w->showMaximized();
            else w->show();
            w->activateWindow();
        }
        // Showing a window activates it; a modal form is activated by ShowModal itself.
        if (!modal_ && Screen->FocusedForm() != this) SetActive(true);
        else if (modal_) {
            if (!activeControl_) activeControl_ = FindNextControl(nullptr, true, true, false);
            SetWindowFocus();
        }
    } else {
        if (!showing_) return;
        showing_ = false;
        if (w) w->hide();
        DoHide();
        if (!modal_ && Screen->FocusedForm() == this) {
            // A hidden window is no longer the active one; the next window takes over, as the
            // desktop activates it.
            Screen->focusedForm_ = nullptr;
            detail::Guarded(this, [this] { Perform(CM_DEACTIVATE); });
            for (TCustomForm* other : Screen->FormList())
                if (other != this && other->Showing()) {
                    PostMessage(other, CM_RESTOREFOCUS);
                    break;
                }
        }
    }
}

void TCustomForm::Show() {
    SetVisible(true);
    BringToFront();
}

void TCustomForm::BringToFront() {
    if (QWidget* w = Widget(); w && w->isVisible()) w->activateWindow();
    if (Visible() && !modal_ && Screen->FocusedForm() != this) SetActive(true);
}

void TCustomForm::SetActive(bool active) {
    if (!active) return;
    if (!activeControl_) activeControl_ = FindNextControl(nullptr, true, true, false);
    SetWindowFocus();
}

void TCustomForm::SetWindowFocus() {
    TWinControl* target = activeControl_ ? activeControl_ : this;
    const int count = Screen->FocusCount();
    QWidget* w = target->Widget();
    if (w && Widget() && Widget()->isVisible()) w->setFocus(Qt::OtherFocusReason);
    // Qt tells the focus change only for its active window; otherwise the walk runs here (for
    // the control that has the focus already it only brings the screen's records up to date).
    if (count == Screen->FocusCount()) SetFocusedControl(target);
}

void TCustomForm::QtWindowActivated() {
    if (Screen->FocusedForm() == this || !Showing()) return;
    SetActive(true);
}

void TCustomForm::QtCloseRequested() { Close(); }

void TCustomForm::SetFocus() {
    if (!Active()) {
        if (!Visible() || !Enabled()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
        SetActive(true);
    }
}

bool TCustomForm::Active() const { return Screen->FocusedForm() == this; }

bool TCustomForm::Focused() const { return Active() && focusedControl_ == this; }

// --- focus ----------------------------------------------------------------------------------

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (activeControl_ == control) return;
    if (control && !(control != this && GetParentForm(control) == this &&
                     (ComponentState().Contains(csLoading) || control->CanFocus())))
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    activeControl_ = control;
    if (!ComponentState().Contains(csLoading) && Active()) SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* control) {
    const bool wasActive = Active();
    SetActiveControl(control);
    if (!wasActive) SetFocus();
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing) {
    if (removing && control->ContainsControl(focusedControl_)) focusedControl_ = control->Parent();
    if (control->ContainsControl(activeControl_)) SetActiveControl(nullptr);
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
    if (!control || ComponentState().Contains(csDestroying)) return false;
    ++Screen->focusCount_;
    activeControl_ = control != this ? control : nullptr;
    Screen->activeControl_ = control;
    Screen->activeCustomForm_ = this;
    Screen->MoveToFront(this);
    if (control->focusing_) return false;
    control->focusing_ = true;
    struct Reset {
        TWinControl* c;
        ~Reset() {
            if (detail::IsLiveControl(c)) c->focusing_ = false;
        }
    } reset{control};

    if (Screen->focusedForm_ != this) {
        if (TCustomForm* old = Screen->focusedForm_) {
            Screen->focusedForm_ = nullptr;
            if (!SendFocusMessage(old, CM_DEACTIVATE)) return false;
        }
        Screen->focusedForm_ = this;
        if (!SendFocusMessage(this, CM_ACTIVATE)) return false;
    }
    if (!focusedControl_) focusedControl_ = this;
    if (focusedControl_ != control) {
        // Exit from the old control up to the common ancestor, then enter down to the new one.
        while (focusedControl_ && !focusedControl_->ContainsControl(control)) {
            TWinControl* leaving = focusedControl_;
            focusedControl_ = leaving->Parent();
            if (!SendFocusMessage(leaving, CM_EXIT)) return false;
        }
        while (focusedControl_ && focusedControl_ != control) {
            TWinControl* entering = control;
            while (entering->Parent() && entering->Parent() != focusedControl_) entering = entering->Parent();
            if (entering->Parent() != focusedControl_) break;
            focusedControl_ = entering;
            if (!SendFocusMessage(entering, CM_ENTER)) return false;
        }
        detail::Guarded(this, [&] { Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control)); });
    }
    return true;
}

// --- closing --------------------------------------------------------------------------------

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application->MainForm() == this) {
        Application->Terminate();
        if (action == caFree) Release();
        else Hide();
    } else if (action == caHide) {
        Hide();
    } else if (action == caMinimize) {
        SetWindowState(wsMinimized);
    } else {
        Release();
    }
}

void TCustomForm::Release() {
    if (released_) return;
    released_ = true;
    PostMessage(this, CM_RELEASE);
}

void TCustomForm::CloseModal() {
    try {
        TCloseAction action = caNone;
        if (CloseQuery()) {
            action = caHide;
            DoClose(action);
        }
        if (action == caNone) modalResult_ = mrNone;
        else if (action == caFree) Release();
    } catch (...) {
        modalResult_ = mrNone;
        Application->HandleException(this);
    }
}

TModalResult TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || modal_ || formStyle_ == fsMDIChild)
        throw EInvalidOperation("Cannot make a visible window modal");
    modal_ = true;
    const int savedFocusCount = Screen->focusCount_;
    TCustomForm* savedForm = Screen->focusedForm_;
    Screen->focusedForm_ = this;
    auto restore = [&] {
        // Focus goes back to the form that had it, through the event queue; the dialog was
        // not an exit for its control.
        Screen->focusedForm_ = FormExists(savedForm) ? savedForm : nullptr;
        Screen->focusCount_ = savedFocusCount;
        modal_ = false;
        if (Screen->focusedForm_) PostMessage(Screen->focusedForm_, CM_RESTOREFOCUS);
    };
    TModalResult result = mrNone;
    try {
        Show();
        try {
            Perform(CM_ACTIVATE);
            modalResult_ = mrNone;
            result = Application->ModalHandler() ? RunModalHandler() : RunModalLoop();
            Perform(CM_DEACTIVATE);
        } catch (...) {
            Hide();
            throw;
        }
        Hide();
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return result;
}

TModalResult TCustomForm::RunModalLoop() {
    do {
        Application->HandleMessage();
        if (Application->Terminated()) modalResult_ = mrCancel;
        else if (modalResult_ != mrNone) CloseModal();
    } while (modalResult_ == mrNone);
    return modalResult_;
}

TModalResult TCustomForm::RunModalHandler() {
    for (int round = 0;; ++round) {
        const TModalHandler handler = Application->ModalHandler();
        const TModalResult answer = handler ? handler(*this) : mrCancel;
        if (answer != mrNone) modalResult_ = answer;
        // A handler that neither answers nor presses a button has closed the window.
        if (modalResult_ == mrNone || Application->Terminated()) modalResult_ = mrCancel;
        CloseModal();
        if (modalResult_ != mrNone) return modalResult_;
        if (round + 1 >= kMaxModalHandlerRounds)
            throw EInvalidOperation("the modal handler's answers do not close the form '" + Name() + "'");
    }
}

// --- messages -------------------------------------------------------------------------------

void TCustomForm::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_CLOSE:
        Close();
        break;
    case CM_RELEASE:
        delete this;
        return;
    case CM_ACTIVATE:
        Activate();
        break;
    case CM_DEACTIVATE:
        Deactivate();
        break;
    case CM_RESTOREFOCUS:
        if (Showing() && !ComponentState().Contains(csDestroying)) {
            if (Screen->FocusedForm() != this) SetActive(true);
            else SetWindowFocus();
        }
        break;
    case WM_NEXTDLGCTL:
        if (message.LParam != 0) {
            if (auto* control = reinterpret_cast<TWinControl*>(message.WParam)) control->SetFocus();
        } else {
            SelectNext(activeControl_, message.WParam == 0, true);
        }
        break;
    default:
        TWinControl::WndProc(message);
        break;
    }
}

void TCustomForm::CMDialogKey(TMessage& message) {
    const TShiftState shift = BitsToShiftState(message.LParam);
    if (!shift.Contains(ssAlt)) {
        switch (message.WParam) {
        case VK_TAB:
            if (!shift.Contains(ssCtrl)) {
                SelectNext(activeControl_, !shift.Contains(ssShift), true);
                message.Result = 1;
                return;
            }
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (activeControl_ && activeControl_->Parent()) {
                activeControl_->Parent()->SelectNext(
                    activeControl_, message.WParam == VK_RIGHT || message.WParam == VK_DOWN, false);
                message.Result = 1;
            }
            return;
        default: break;
        }
    }
    TWinControl::CMDialogKey(message);
}

// --- rendering ------------------------------------------------------------------------------

QImage TCustomForm::Grab() {
    QWidget* w = Widget();
    if (!w) return {};
    w->ensurePolished();
    return w->grab().toImage();
}

bool TCustomForm::SaveToPng(const std::string& path) {
    const QImage image = Grab();
    return !image.isNull() && image.save(QString::fromStdString(path), "PNG");
}

} // namespace qmx
