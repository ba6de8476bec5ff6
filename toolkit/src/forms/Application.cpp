#include "qmx/toolkit/Application.h"

#include <cxxabi.h>

#include <QApplication>
#include <QEventLoop>

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "controls/ToolkitHook.h"
#include "qmx/CodePage.h"
#include "qmx/toolkit/ClassBuilder.h"
#include "qmx/toolkit/CustomForm.h"
#include "qmx/toolkit/Dialogs.h"
#include "qmx/toolkit/Exceptions.h"
#include "qmx/toolkit/Screen.h"

namespace qmx {

TApplication* Application = new TApplication(nullptr);

namespace {

// Frees the global objects when the library goes; by then the QApplication is gone and the
// forms were freed by Finalize.
struct GlobalsOwner {
    ~GlobalsOwner() {
        FreeAndNil(Application);
        FreeAndNil(Screen);
    }
} globalsOwner;

std::string ShortTypeName(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    std::string result = status == 0 && name ? std::string(name.get()) : std::string(type.name());
    if (const auto colon = result.rfind("::"); colon != std::string::npos) result.erase(0, colon + 2);
    return result;
}

} // namespace

const TClassInfo& TApplication::StaticClassInfo() {
    static const TClassInfo info =
        TClassInfoBuilder<TApplication>("TApplication", &inherited::StaticClassInfo()).Abstract().Build();
    return info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {}

TApplication::~TApplication() = default;

void TApplication::ProcessMessages() {
    if (!qApp) return;
    // Like the original's loop over its queue: messages posted while handling others are
    // handled too; a bound keeps a message that posts itself again from hanging the caller.
    for (int round = 0; round < 64; ++round) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents();
        if (detail::PendingMessages() == 0) break;
    }
}

void TApplication::HandleMessage() {
    if (!qApp) return;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void TApplication::Run() {
    if (!qApp) return;
    if (mainForm_ && !mainForm_->Visible()) mainForm_->Show();
    while (!terminated_) HandleMessage();
}

void TApplication::Terminate() {
    terminated_ = true;
    if (qApp) QCoreApplication::postEvent(qApp, new QEvent(QEvent::None));
}

void TApplication::HandleException(TObject* sender) {
    HandleException(sender, std::current_exception());
}

void TApplication::HandleException(TObject* sender, std::exception_ptr error) {
    if (!error) return;
    // Nothing may leave here: callers are the toolkit's entry points from Qt.
    try {
        try {
            std::rethrow_exception(error);
        } catch (const EAbort&) {
            return;
        } catch (const Exception& e) {
            lastExceptionMessage_ = e.Message();
            lastExceptionClass_ = ShortTypeName(typeid(e));
            ++exceptionCount_;
            if (OnException) OnException(sender, e);
            else ShowException(e);
        } catch (const std::exception& e) {
            const Exception wrapped(e.what());
            lastExceptionMessage_ = wrapped.Message();
            lastExceptionClass_ = ShortTypeName(typeid(e));
            ++exceptionCount_;
            if (OnException) OnException(sender, wrapped);
            else ShowException(wrapped);
        } catch (...) {
            const Exception wrapped("Unknown exception");
            lastExceptionMessage_ = wrapped.Message();
            lastExceptionClass_ = "Unknown";
            ++exceptionCount_;
            if (OnException) OnException(sender, wrapped);
            else ShowException(wrapped);
        }
    } catch (...) {
        // An error while reporting an error is dropped; the first one is recorded above.
    }
}

void TApplication::ShowException(const Exception& error) {
    AnsiString text = error.Message();
    // The original ends the text with a period unless it ends in punctuation already.
    if (!text.empty()) {
        std::size_t last = 0;
        for (std::size_t i = 0; i < text.size(); i += CharLengthAt(text, i, SystemAnsiCodePage())) last = i;
        if (static_cast<unsigned char>(text[last]) > '.') text += '.';
    }
    if (showingException_ > 0 || !qApp) return;
    ++showingException_;
    try {
        std::unique_ptr<TForm, void (*)(TForm*)> dialog(CreateMessageDialog(text, mtError, {mbOK}),
                                                         [](TForm* f) { delete f; });
        if (!title_.empty()) dialog->SetCaption(title_);
        dialog->ShowModal();
    } catch (...) {
        --showingException_;
        throw;
    }
    --showingException_;
}

void TApplication::ClearLastException() {
    lastExceptionMessage_.clear();
    lastExceptionClass_.clear();
    exceptionCount_ = 0;
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == mainForm_) mainForm_ = nullptr;
}

void TApplication::Finalize() {
    mainForm_ = nullptr;
    modalHandler_ = nullptr;
    DestroyComponents();
    // Forms without an owner are freed too: no widget may outlive the QApplication.
    while (Screen && Screen->FormCount() > 0) delete Screen->Forms(Screen->FormCount() - 1);
}

} // namespace qmx
