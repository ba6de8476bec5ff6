#include "qmx/Controller.h"

namespace qmx {

TDLLBaseController::~TDLLBaseController() = default;

void TDLLBaseController::NotifyCreated(TObject*) { DoNotify(NOTIFY_CREATED); }
void TDLLBaseController::NotifyShown(TObject*) { DoNotify(NOTIFY_SHOWN); }
void TDLLBaseController::NotifyHidden(TObject*) { DoNotify(NOTIFY_HIDDEN); }
void TDLLBaseController::NotifyDestroyed(TObject*) { DoNotify(NOTIFY_DESTROYED); }
void TDLLBaseController::NotifyExtra(TObject*) { DoNotify(NOTIFY_EXTRA); }

void TDLLBaseController::DoNotify(std::int32_t code) {
    if (OnNotify) OnNotify(code, this);
}

void TDLLBaseController::Reserved() {}

} // namespace qmx
