#pragma once
// TApplication: the event queue (ProcessMessages), the exception handler every toolkit entry
// point hands errors to, hints, the main form, and the modal handler: when installed it is given
// every form that would be shown modally and answers its modal result instead of a modal loop
// (tests and scripted hosts read the dialog and press its buttons there).
#include <functional>
#include <string>

#include "qmx/toolkit/Component.h"
#include "qmx/toolkit/Events.h"
#include "qmx/toolkit/ModalResult.h"

namespace qmx {

class TCustomForm;

using TExceptionEvent = TEvent<TObject*, const Exception&>;
using TModalHandler = std::function<TModalResult(TCustomForm& form)>;

class TApplication : public TComponent {
    QMX_CLASS(TApplication, TComponent)

public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    // Runs the events waiting in the queue (posted messages, released forms, repaints).
    void ProcessMessages();
    // Waits for at least one event and runs it.
    void HandleMessage();
    // The main event loop until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }

    // Call inside a catch block: hands the exception being handled to OnException, or shows it
    // in an error dialog. EAbort is silent.
    void HandleException(TObject* sender);
    void HandleException(TObject* sender, std::exception_ptr error);
    void ShowException(const Exception& error);
    TExceptionEvent OnException;
    // The message of the last exception handed to HandleException (EAbort excluded), for tests
    // and logs; cleared with ClearLastException.
    const AnsiString& LastExceptionMessage() const { return lastExceptionMessage_; }
    const std::string& LastExceptionClass() const { return lastExceptionClass_; }
    int ExceptionCount() const { return exceptionCount_; }
    void ClearLastException();

    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool showHint) { showHint_ = showHint; }
    int HintHidePause() const { return hintHidePause_; }
    void SetHintHidePause(int milliseconds) { hintHidePause_ = milliseconds; }
    int HintPause() const { return hintPause_; }
    void SetHintPause(int milliseconds) { hintPause_ = milliseconds; }

    TCustomForm* MainForm() const { return mainForm_; }
    void SetMainForm(TCustomForm* form) { mainForm_ = form; }
    const AnsiString& Title() const { return title_; }
    void SetTitle(const AnsiString& title) { title_ = title; }

    void SetModalHandler(TModalHandler handler) { modalHandler_ = std::move(handler); }
    const TModalHandler& ModalHandler() const { return modalHandler_; }

    // Creates a form owned by the application (the first one becomes the main form).
    template <class T>
    T* CreateForm() {
        T* form = New<T>(this);
        if (!mainForm_) mainForm_ = form;
        return form;
    }

    // Frees every form and owned component; runs before the QApplication goes away.
    void Finalize();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool terminated_ = false;
    bool showHint_ = true;
    int hintHidePause_ = 2500;
    int hintPause_ = 500;
    TCustomForm* mainForm_ = nullptr;
    AnsiString title_;
    TModalHandler modalHandler_;
    AnsiString lastExceptionMessage_;
    std::string lastExceptionClass_;
    int exceptionCount_ = 0;
    int showingException_ = 0;
};

extern TApplication* Application;

} // namespace qmx
