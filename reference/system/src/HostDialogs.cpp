#include "qmx/reference/HostDialogs.h"

#include <mutex>

#include "QtHostDialogs.h"

namespace qmx::reference {

namespace {

struct AnswererSlot {
    std::mutex mutex;
    std::shared_ptr<HostDialogAnswerer> answerer;
};

AnswererSlot& Slot() {
    static AnswererSlot slot;
    return slot;
}

} // namespace

const char* HostDialogKindName(HostDialogKind kind) {
    switch (kind) {
    case HostDialogKind::Lookup: return "Lookup";
    case HostDialogKind::Calendar: return "Calendar";
    case HostDialogKind::Phrase: return "Phrase";
    case HostDialogKind::Help: return "Help";
    }
    return "Unknown";
}

std::shared_ptr<HostDialogAnswerer> SetHostDialogAnswerer(std::shared_ptr<HostDialogAnswerer> answerer) {
    AnswererSlot& slot = Slot();
    std::lock_guard lock(slot.mutex);
    std::swap(slot.answerer, answerer);
    return answerer;
}

std::shared_ptr<HostDialogAnswerer> InstalledHostDialogAnswerer() {
    AnswererSlot& slot = Slot();
    std::lock_guard lock(slot.mutex);
    return slot.answerer;
}

Variant RunHostDialog(const HostDialogRequest& request) {
    // Taken out of the slot first: the answerer may install another one while it answers.
    if (const std::shared_ptr<HostDialogAnswerer> answerer = InstalledHostDialogAnswerer())
        return answerer->AnswerDialog(request);
    return ShowQtHostDialog(request);
}

} // namespace qmx::reference
