#pragma once
// Com_F2Window: the host's lookup window, date picker and phrase list.
//
//   F2GetData(array 0..18)            the rows of a table to choose from (LookupCatalog.h), shown
//                                     in the lookup window. Answers the chosen rows as an array
//                                     of row arrays (texts, the code first), or Empty on Cancel.
//                                     Used: [0] table, [1] key, [2] filter (a text or an array of
//                                     texts each of which a row must contain), [3] several rows,
//                                     [4] the control's text (selected at the start), [6] data
//                                     source, [14] the user's lookup limit (LookupLimit.h), [15]
//                                     the user may see amounts, [16] the user may choose several
//                                     rows.
//   ShowInputDay([roc, start, ds])    the date picker: yyyymmdd, or "" for none
//   GetPhrase(user&, ds&, window)     the phrase list: the chosen phrase, or ""
// A request of the wrong shape or for an unknown lookup raises EOleError.
#include <memory>

#include "WorkCenterSettings.h"
#include "qmx/reference/AutomationObject.h"

namespace qmx::reference {

class LookupWindowService : public AutomationObject {
public:
    explicit LookupWindowService(std::shared_ptr<const HostContext> context);

private:
    Variant F2GetData(DispatchArgs& args);
    Variant ShowInputDay(DispatchArgs& args);
    Variant GetPhrase(DispatchArgs& args);

    std::shared_ptr<const HostContext> context_;
};

// The rows an answer of the Lookup dialog names (HostDialogs.h), as indexes into rows (whose
// element 0 is the code), in the order named and each once. Empty for Cancel.
std::vector<std::size_t> ChosenLookupRows(const Variant& answer, const std::vector<std::vector<AnsiString>>& rows,
                                          bool several, CodePage codePage);
// yyyymmdd (or "") from an answer of the Calendar dialog.
AnsiString ChosenDate(const Variant& answer, CodePage codePage);

} // namespace qmx::reference
