#include "controls/ToolkitHook.h"

#include <QApplication>
#include <QHash>
#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QResizeEvent>
#include <QToolTip>
#include <QWidget>

#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "controls/KeyMap.h"
#include "qmx/toolkit/Application.h"
#include "qmx/toolkit/CustomForm.h"
#include "qmx/CodePage.h"
#include "qmx/toolkit/Screen.h"

namespace qmx::detail {

namespace {

int pendingMessages = 0;

class MessageEvent : public QEvent {
public:
    MessageEvent(Cardinal msg, WPARAM wParam, LPARAM lParam)
        : QEvent(MessageEventType()), Msg(msg), WParam(wParam), LParam(lParam) {
        ++pendingMessages;
    }
    ~MessageEvent() override { --pendingMessages; }
    Cardinal Msg;
    WPARAM WParam;
    LPARAM LParam;
};

struct HookState {
    QHash<const QWidget*, TControl*> widgets;
    std::unordered_map<HWND, TWinControl*> handles;
    std::unordered_set<const TControl*> controls;
    QObject* hook = nullptr;
    int forwarding = 0;
    // The last mouse event handled, so that one propagated to a parent widget of the same
    // control is not seen twice.
    TControl* lastMouseControl = nullptr;
    int lastMouseType = 0;
    quint64 lastMouseTime = 0;
};

HookState& State() {
    static HookState state;
    return state;
}

TWinControl* WindowedControlOf(QWidget* widget) {
    for (TControl* c = FindControl(widget); c; c = c->Parent())
        if (auto* w = dynamic_cast<TWinControl*>(c)) return w;
    return nullptr;
}

bool IsDialogKey(Word key) {
    return key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || key == VK_LEFT ||
           key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

// Runs one key message through the control's WindowProc; answers the key it comes back with.
LPARAM Deliver(TWinControl* target, Cardinal msg, WPARAM key, LPARAM shiftBits) {
    TMessage message{msg, key, shiftBits, 0};
    Guarded(target, [&] {
        if (target->WindowProc) target->WindowProc(message);
        else target->WndProc(message);
    });
    return static_cast<LPARAM>(message.WParam);
}

// Hands the event on to Qt (the widget's own handling) as a copy that the toolkit leaves alone;
// the original is consumed, so that Qt's propagation of an ignored key to the parent widgets
// never brings the same key to the parent controls.
bool ForwardCopy(QWidget* receiver, const QEvent* event) {
    std::unique_ptr<QEvent> copy(event->clone());
    ForwardGuard guard;
    QCoreApplication::sendEvent(receiver, copy.get());
    return true;
}

bool HandleKey(QWidget* receiver, QKeyEvent* event) {
    TWinControl* target = WindowedControlOf(receiver);
    if (!target) return false;
    const QPointer<QWidget> alive(target->Widget());
    Word vk = QtKeyToVirtualKey(event->key());
    TShiftState shift = ShiftStateOf(event->modifiers());
    if (event->key() == Qt::Key_Backtab) shift += ssShift;
    const LPARAM bits = ShiftStateToBits(shift);

    if (event->type() == QEvent::KeyRelease) {
        if (vk != 0 && Deliver(target, WM_KEYUP, vk, bits) == 0) return true;
        return alive ? ForwardCopy(receiver, event) : true;
    }

    // Navigation keys the control does not keep go to the form first (Tab, arrows, the default
    // and cancel buttons); a handled one goes no further.
    TCustomForm* form = GetParentForm(target);
    if (vk != 0 && IsDialogKey(vk) && form && !target->WantsKey(vk, shift)) {
        LRESULT handled = 0;
        Guarded(form, [&] { handled = form->Perform(CM_DIALOGKEY, vk, bits); });
        if (handled != 0 || !alive) return true;
    }

    bool keySwallowed = false;
    if (vk != 0) {
        keySwallowed = Deliver(target, WM_KEYDOWN, vk, bits) == 0;
        if (!alive) return true;
    }

    const QString text = event->text();
    if (text.isEmpty()) return keySwallowed || ForwardCopy(receiver, event);
    const AnsiString bytes = target->FromDisplay(text);
    AnsiString kept;
    for (char byte : bytes) {
        const auto key = static_cast<char>(Deliver(target, WM_CHAR, static_cast<unsigned char>(byte), 0));
        if (!alive) return true;
        if (key != 0) kept += key;
    }
    // The character is what edits act on: a swallowed character is no input at all.
    if (kept.empty()) return true;
    if (!keySwallowed && kept == bytes) return ForwardCopy(receiver, event);
    QKeyEvent forwarded(QEvent::KeyPress, keySwallowed ? Qt::Key_unknown : event->key(),
                        keySwallowed ? Qt::NoModifier : event->modifiers(), target->ToDisplay(kept),
                        event->isAutoRepeat(), static_cast<quint16>(event->count()));
    ForwardGuard guard;
    QCoreApplication::sendEvent(receiver, &forwarded);
    return true;
}

bool HandleInputMethod(QWidget* receiver, QInputMethodEvent* event) {
    if (event->commitString().isEmpty()) return false;
    TWinControl* target = WindowedControlOf(receiver);
    if (!target) return false;
    const QPointer<QWidget> alive(target->Widget());
    // Composed text arrives as key presses of its code-page bytes, as the original received it.
    const AnsiString bytes = target->FromDisplay(event->commitString());
    AnsiString kept;
    for (char byte : bytes) {
        const auto key = static_cast<char>(Deliver(target, WM_CHAR, static_cast<unsigned char>(byte), 0));
        if (!alive) return true;
        if (key != 0) kept += key;
    }
    if (kept == bytes) return ForwardCopy(receiver, event);
    QInputMethodEvent forwarded(event->preeditString(), event->attributes());
    forwarded.setCommitString(target->ToDisplay(kept), event->replacementStart(),
                              event->replacementLength());
    ForwardGuard guard;
    QCoreApplication::sendEvent(receiver, &forwarded);
    return true;
}

void HandleMouse(QWidget* receiver, QMouseEvent* event) {
    TControl* control = FindControl(receiver);
    if (!control || !control->Widget()) return;
    const QPoint local = event->position().toPoint();
    // A press that a child control's widget ignored comes up again: the child had it.
    if (QWidget* child = receiver->childAt(local); child && FindControl(child) != control) return;
    HookState& s = State();
    if (s.lastMouseControl == control && s.lastMouseType == event->type() &&
        s.lastMouseTime == event->timestamp())
        return;
    s.lastMouseControl = control;
    s.lastMouseType = event->type();
    s.lastMouseTime = event->timestamp();

    const QPoint p = receiver == control->Widget() ? local : receiver->mapTo(control->Widget(), local);
    const TShiftState shift = ShiftStateOf(event->modifiers(), event->buttons());
    Cardinal msg = 0;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        msg = event->button() == Qt::RightButton ? WM_RBUTTONDOWN
              : event->button() == Qt::MiddleButton ? WM_MBUTTONDOWN : WM_LBUTTONDOWN;
        break;
    case QEvent::MouseButtonRelease:
        msg = event->button() == Qt::RightButton ? WM_RBUTTONUP
              : event->button() == Qt::MiddleButton ? WM_MBUTTONUP : WM_LBUTTONUP;
        break;
    case QEvent::MouseButtonDblClick:
        if (event->button() == Qt::LeftButton) msg = WM_LBUTTONDBLCLK;
        break;
    case QEvent::MouseMove: msg = WM_MOUSEMOVE; break;
    default: break;
    }
    if (msg != 0) Guarded(control, [&] { control->MouseInput(msg, shift, p.x(), p.y()); });
}

bool HandleToolTip(QWidget* receiver, QHelpEvent* event) {
    TControl* control = FindControl(receiver);
    while (control && !control->ShowHint()) control = control->Parent();
    if (!control) return false;
    AnsiString hint = control->Hint();
    // "short|long": the tool tip shows the short part.
    if (const auto bar = AnsiFindChar(hint, '|', 0, control->DisplayCodePage()); bar != AnsiString::npos)
        hint.resize(bar);
    if (!Application->ShowHint() || hint.empty()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    QToolTip::showText(event->globalPos(), control->ToDisplay(hint), receiver, QRect(),
                       Application->HintHidePause());
    return true;
}

class EventHook : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!watched->isWidgetType()) return false;
        // Nothing the toolkit raises may cross into Qt's event dispatch.
        try {
            return Filter(static_cast<QWidget*>(watched), event);
        } catch (...) {
            HandleCurrentException(FindControl(static_cast<QWidget*>(watched)));
            return true;
        }
    }

private:
    static bool Filter(QWidget* widget, QEvent* event) {
        const QEvent::Type type = event->type();
        if (type == MessageEventType()) {
            auto* message = static_cast<MessageEvent*>(event);
            TControl* control = ControlOfWidget(widget);
            if (!control) return true;
            // Freeing a released form is not left to a replaceable WindowProc.
            if (auto* form = dynamic_cast<TCustomForm*>(control); form && message->Msg == CM_RELEASE) {
                delete form;
                return true;
            }
            Guarded(control, [&] { control->Perform(message->Msg, message->WParam, message->LParam); });
            return true;
        }
        switch (type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            if (ForwardGuard::Active()) return false;
            return HandleKey(widget, static_cast<QKeyEvent*>(event));
        case QEvent::InputMethod:
            if (ForwardGuard::Active()) return false;
            return HandleInputMethod(widget, static_cast<QInputMethodEvent*>(event));
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            HandleMouse(widget, static_cast<QMouseEvent*>(event));
            return false;
        case QEvent::ToolTip:
            return HandleToolTip(widget, static_cast<QHelpEvent*>(event));
        case QEvent::Close:
            if (auto* form = dynamic_cast<TCustomForm*>(ControlOfWidget(widget)); form && widget->isWindow()) {
                Guarded(form, [&] { form->QtCloseRequested(); });
                event->ignore();
                return true;
            }
            return false;
        case QEvent::Resize:
            if (auto* form = dynamic_cast<TCustomForm*>(ControlOfWidget(widget));
                form && widget->isWindow() && !form->Parent()) {
                const QSize size = static_cast<QResizeEvent*>(event)->size();
                Guarded(form, [&] { form->QtResized(size.width(), size.height()); });
            }
            return false;
        case QEvent::WindowActivate:
            if (auto* form = dynamic_cast<TCustomForm*>(ControlOfWidget(widget)); form && widget->isWindow())
                Guarded(form, [&] { form->QtWindowActivated(); });
            return false;
        default:
            return false;
        }
    }
};

void FocusChanged(QWidget*, QWidget* now) {
    if (!now) return;
    TWinControl* control = WindowedControlOf(now);
    TCustomForm* form = GetParentForm(control);
    if (!form || form->ComponentState().Contains(csDestroying)) return;
    if (Screen->FocusedForm() == form && form->FocusedControl() == control) return;
    Guarded(form, [&] { form->SetFocusedControl(control); });
}

void FinalizeToolkit() {
    if (Application) Application->Finalize();
    HookState& s = State();
    // Controls nobody freed (no owner, no parent) lose their widgets now; the controls stay
    // valid objects without a widget.
    std::vector<QWidget*> strays;
    for (const TControl* control : s.controls)
        if (QWidget* w = control->Widget(); w && !w->parentWidget()) strays.push_back(w);
    for (QWidget* w : strays) delete w;
    delete s.hook;
    s.hook = nullptr;
}

} // namespace

int PendingMessages() { return pendingMessages; }

QEvent::Type MessageEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void EnsureToolkitHook() {
    HookState& s = State();
    if (s.hook) return;
    if (!qApp) throw EInvalidOperation("controls need a QApplication");
    s.hook = new EventHook;
    qApp->installEventFilter(s.hook);
    QObject::connect(qApp, &QApplication::focusChanged, s.hook, &FocusChanged);
    qAddPostRoutine(&FinalizeToolkit);
}

void RegisterWidget(QWidget* widget, TControl* control) { State().widgets.insert(widget, control); }

void UnregisterWidget(QWidget* widget) {
    HookState& s = State();
    if (TControl* control = s.widgets.value(widget); control && s.lastMouseControl == control)
        s.lastMouseControl = nullptr;
    s.widgets.remove(widget);
}

TControl* ControlOfWidget(const QWidget* widget) { return State().widgets.value(widget, nullptr); }

void RegisterControl(const TControl* control) { State().controls.insert(control); }
void UnregisterControl(const TControl* control) { State().controls.erase(control); }
bool IsLiveControl(const TControl* control) { return State().controls.count(control) != 0; }

void RegisterHandle(HWND handle, TWinControl* control) { State().handles[handle] = control; }
void UnregisterHandle(HWND handle) { State().handles.erase(handle); }

TWinControl* ControlOfHandle(HWND handle) {
    const auto& handles = State().handles;
    const auto it = handles.find(handle);
    return it == handles.end() ? nullptr : it->second;
}

ForwardGuard::ForwardGuard() { ++State().forwarding; }
ForwardGuard::~ForwardGuard() { --State().forwarding; }
bool ForwardGuard::Active() { return State().forwarding > 0; }

void HandleCurrentException(TObject* sender) {
    if (Application) Application->HandleException(sender);
}

} // namespace qmx::detail

namespace qmx {

void PostMessage(TControl* control, Cardinal msg, WPARAM wParam, LPARAM lParam) {
    if (!control || !control->Widget()) return;
    QCoreApplication::postEvent(control->Widget(), new detail::MessageEvent(msg, wParam, lParam));
}

bool PostMessage(HWND handle, Cardinal msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = detail::ControlOfHandle(handle);
    if (!control) return false;
    PostMessage(control, msg, wParam, lParam);
    return true;
}

LRESULT SendMessage(HWND handle, Cardinal msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = detail::ControlOfHandle(handle);
    return control ? control->Perform(msg, wParam, lParam) : 0;
}

} // namespace qmx
