#pragma once
// Com_Counter: the company's system information and values read from its database.
//
//   GetSysInfo(company&)                     [0..1, 0..n-1] array of (name, value): the shared
//                                            parameters overridden by the company's own
//   GetCounter(name, args&, [company, ds])   "SIMPLESQL": args [SELECT text, field names]: the rows
//                                            of one read-only SELECT as an array of row arrays
//                                            (only the named fields when the comma-separated
//                                            list is not empty), Null when it finds no row;
//                                            "RESULTCONNECTSTRING": the company database's
//                                            connection string
#include <memory>

#include "WorkCenterSettings.h"
#include "qmx/reference/AutomationObject.h"

namespace qmx::reference {

class CounterService : public AutomationObject {
public:
    explicit CounterService(std::shared_ptr<const HostContext> context);

private:
    Variant GetSysInfo(DispatchArgs& args);
    Variant GetCounter(DispatchArgs& args);
    Variant SimpleSql(const VariantArray& arguments, const AnsiString& dataSource);

    std::shared_ptr<const HostContext> context_;
};

// True when the text is one statement that begins with SELECT (after blanks and comments).
bool IsSelectStatement(std::string_view sql);

} // namespace qmx::reference
