#pragma once
// Com_Validator: checks that a code exists and answers its row (LookupCatalog.h lists the tables
// and keys).
//
//   ProductID, BaseLimited           properties the caller sets before each check; BaseLimited
//                                    is the user's lookup limit (LookupLimit.h)
//   CheckValue(table&, key&, dataSource&, args, row&)   True and the first matching row as an
//   QueryData(table&, key&, dataSource&, args, row&)    array (from 0); False and an unassigned
//                                                       row when none matches or the limit
//                                                       hides it
// args holds the key values in the order of the key fields. An unknown table or key, a wrong
// number of key values or an unknown data source raise EOleError.
#include <memory>

#include "WorkCenterSettings.h"
#include "qmx/reference/AutomationObject.h"

namespace qmx::reference {

class ValidatorService : public AutomationObject {
public:
    explicit ValidatorService(std::shared_ptr<const HostContext> context);

private:
    Variant Check(DispatchArgs& args, const char* member);

    std::shared_ptr<const HostContext> context_;
    Variant productId_ = Variant(std::int32_t(0));
    Variant baseLimited_ = Variant(AnsiString());
};

} // namespace qmx::reference
