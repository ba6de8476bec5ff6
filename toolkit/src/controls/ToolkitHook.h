#pragma once
// Private: the bridge between Qt and the toolkit. One application-wide event filter routes Qt's
// input (keys, input-method text, mouse, focus, window activation, close requests, tool tips,
// posted messages) to the controls; a widget -> control map tells which control a widget is.
#include <QEvent>

#include "qmx/toolkit/Types.h"

class QWidget;

namespace qmx {
class TObject;
class TControl;
class TWinControl;
}

namespace qmx::detail {

// Installs the event filter and the focus hook once (needs a QApplication).
void EnsureToolkitHook();

void RegisterWidget(QWidget* widget, TControl* control);
void UnregisterWidget(QWidget* widget);
// The control of exactly this widget.
TControl* ControlOfWidget(const QWidget* widget);

// Every existing control, to tell whether a pointer a handler may have freed is still valid.
void RegisterControl(const TControl* control);
void UnregisterControl(const TControl* control);
bool IsLiveControl(const TControl* control);

void RegisterHandle(HWND handle, TWinControl* control);
void UnregisterHandle(HWND handle);
TWinControl* ControlOfHandle(HWND handle);

// A posted message for a control's widget.
QEvent::Type MessageEventType();
// Posted messages not yet handled (a message for a freed control is dropped and not counted).
int PendingMessages();

// Key events the toolkit sends itself (after its own key handling) pass the filter untouched.
class ForwardGuard {
public:
    ForwardGuard();
    ~ForwardGuard();
    ForwardGuard(const ForwardGuard&) = delete;
    ForwardGuard& operator=(const ForwardGuard&) = delete;
    static bool Active();
};

// Runs fn; an exception is handed to Application->HandleException(sender).
template <class F>
void Guarded(TObject* sender, F&& fn);
void HandleCurrentException(TObject* sender);

template <class F>
void Guarded(TObject* sender, F&& fn) {
    try {
        fn();
    } catch (...) {
        HandleCurrentException(sender);
    }
}

} // namespace qmx::detail
