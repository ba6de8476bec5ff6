#pragma once
// The real dialogs behind RunHostDialog when no answerer is installed. They need a QApplication;
// without one they raise EOleError.
#include "qmx/reference/HostDialogs.h"

namespace qmx::reference {

// Shows the dialog of the request modally over the active window and answers as an answerer
// would: Lookup an array of the chosen row indexes (Empty for Cancel), Calendar the date
// yyyymmdd ("" for Cancel), Phrase the chosen text ("" for Cancel), Help Empty.
Variant ShowQtHostDialog(const HostDialogRequest& request);

} // namespace qmx::reference
