#pragma once
// The dialogs of the host's services, and the hook through which a scripted host or a test
// answers them instead of a person.
//
// Without an answerer every dialog is a real, modal Qt dialog (which needs a QApplication; without
// one the service raises EOleError). With an answerer installed, the service builds the request,
// hands it to the answerer and uses its answer exactly as it would use the dialog's.
//
// Texts in the contents are AnsiString in the database code page (936), as the services answer
// them. The kinds, their contents and the answers taken:
//
//   Lookup    F2GetData's window.
//             [0] table, [1] key, [2] title, [3] several rows may be chosen (Boolean),
//             [4] column captions (array of texts), [5] rows (array; each row an array of texts,
//             the code first), [6] the text of the control the lookup started from.
//             Answer: Empty or Null for Cancel; else a row index (integer, from 0) or a code
//             (text), or an array of those. A code or index that is not listed, or several rows
//             where only one may be chosen, raises EOleError.
//   Calendar  ShowInputDay's date picker.
//             [0] years of the Republic of China (Boolean), [1] the start date yyyymmdd.
//             Answer: a date yyyymmdd (text) or a date value; Empty, Null or "" for none.
//   Phrase    GetPhrase's list. [0] user, [1] phrases (array of texts).
//             Answer: a phrase index (integer) or the text itself; Empty, Null or "" for none.
//   Help      CallHelp. [0] subsystem, [1] topic, [2] the help page's file ("" when there is none).
//             The answer is ignored.
#include <memory>
#include <string>

#include "qmx/CodePage.h"
#include "qmx/Variant.h"

namespace qmx::reference {

enum class HostDialogKind { Lookup, Calendar, Phrase, Help };

// "Lookup", "Calendar", "Phrase", "Help".
const char* HostDialogKindName(HostDialogKind kind);

struct HostDialogRequest {
    HostDialogKind Kind = HostDialogKind::Lookup;
    Variant Contents;
    // The code page of the texts in Contents.
    CodePage TextCodePage = CP_GB2312;
};

class HostDialogAnswerer {
public:
    virtual ~HostDialogAnswerer() = default;
    virtual Variant AnswerDialog(const HostDialogRequest& request) = 0;
};

// Installs the process-wide answerer; null goes back to real dialogs. Answers the one installed
// before.
std::shared_ptr<HostDialogAnswerer> SetHostDialogAnswerer(std::shared_ptr<HostDialogAnswerer> answerer);
std::shared_ptr<HostDialogAnswerer> InstalledHostDialogAnswerer();

// Runs the dialog of the request: through the answerer when one is installed, else as a Qt
// dialog. Answers as the answerer would (see above).
Variant RunHostDialog(const HostDialogRequest& request);

} // namespace qmx::reference
