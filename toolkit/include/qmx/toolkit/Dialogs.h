#pragma once
// Message dialogs: real toolkit forms with an icon (component "Image"), the text (label
// "Message") and buttons named "Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore", "All",
// "NoToAll", "YesToAll", "Help", found with FindComponent so that callers can change their
// captions before ShowModal. Shown modally, they go to the application's modal handler when one
// is installed.
#include "qmx/toolkit/Form.h"

namespace qmx {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
QMX_ENUM(TMsgDlgType, "mtWarning", "mtError", "mtInformation", "mtConfirmation", "mtCustom")

enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll,
                  mbYesToAll, mbHelp };
QMX_ENUM(TMsgDlgBtn, "mbYes", "mbNo", "mbOK", "mbCancel", "mbAbort", "mbRetry", "mbIgnore", "mbAll",
         "mbNoToAll", "mbYesToAll", "mbHelp")
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline const TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// The dialog, not shown; the caller frees it. The text is code-page bytes (as every interface
// text). Caption: "Warning", "Error", "Information", "Confirm", or the application's title for
// mtCustom.
TForm* CreateMessageDialog(const AnsiString& text, TMsgDlgType type, TMsgDlgButtons buttons);
// Shows the dialog modally and answers the modal result of the button pressed.
TModalResult MessageDlg(const AnsiString& text, TMsgDlgType type, TMsgDlgButtons buttons,
                        int helpContext = 0);
// A message with one OK button, captioned with the application's title.
void ShowMessage(const AnsiString& text);

// The name of a dialog button's component ("Yes", "NoToAll", ...).
const char* MessageButtonName(TMsgDlgBtn button);

} // namespace qmx
