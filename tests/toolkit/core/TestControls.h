#pragma once
// Small windowed controls and helpers for the toolkit's tests.
#include <QLineEdit>

#include <string>
#include <vector>

#include "qmx/toolkit/Application.h"
#include "qmx/toolkit/ClassBuilder.h"
#include "qmx/toolkit/DisplayText.h"
#include "qmx/toolkit/Form.h"
#include "qmx/toolkit/WinControl.h"

namespace qmx::test {

// A minimal edit: a windowed, tab-stopping control over a QLineEdit whose text is the control's.
class TTestEdit : public TWinControl {
    QMX_CLASS(TTestEdit, TWinControl)

public:
    explicit TTestEdit(TComponent* owner) : TWinControl(owner, new QLineEdit) {
        SetTabStop(true);
        SetBounds(0, 0, 100, 21);
    }
    QLineEdit* Edit() const { return static_cast<QLineEdit*>(Widget()); }
    bool WantsKey(Word key, TShiftState) const override {
        return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
    }

protected:
    AnsiString GetText() const override { return FromDisplay(Edit()->text()); }
    void SetTextValue(const AnsiString& text) override { Edit()->setText(ToDisplay(text)); }
    void DisplayCodePageChanged(CodePage oldPage, CodePage newPage) override {
        Edit()->setText(AnsiToQString(QStringToAnsi(Edit()->text(), oldPage), newPage));
    }
};

// Records focus events of controls as "enter Name" / "exit Name".
struct FocusLog {
    std::vector<std::string> Events;

    void Watch(TWinControl* control) {
        control->OnEnter = TNotifyEvent(nullptr, [this](TObject* sender) {
            Events.push_back("enter " + static_cast<TComponent*>(sender)->Name());
        });
        control->OnExit = TNotifyEvent(nullptr, [this](TObject* sender) {
            Events.push_back("exit " + static_cast<TComponent*>(sender)->Name());
        });
    }
};

// Installs a modal handler for one test and removes it afterwards.
class ScopedModalHandler {
public:
    explicit ScopedModalHandler(TModalHandler handler) { Application->SetModalHandler(std::move(handler)); }
    ~ScopedModalHandler() { Application->SetModalHandler(nullptr); }
    ScopedModalHandler(const ScopedModalHandler&) = delete;
    ScopedModalHandler& operator=(const ScopedModalHandler&) = delete;
};

template <class T>
T* Make(TComponent* owner, TWinControl* parent, const char* name) {
    auto* control = new T(owner);
    control->SetName(name);
    control->SetParent(parent);
    return control;
}

} // namespace qmx::test
