#pragma once
// The application-server object "ReportCounterS.dmReportCounter" (ReportCounter.h lists its
// members).
#include <memory>

#include "SchemeStore.h"
#include "ServerSettings.h"
#include "qmx/reference/AutomationObject.h"
#include "qmx/reference/JobQueue.h"

namespace qmx::reference {

class ReportCounterServer : public AutomationObject {
public:
    explicit ReportCounterServer(ServerSettings settings);

private:
    Variant LoadTable(DispatchArgs& args);
    Variant GetRecords(DispatchArgs& args);
    Variant InsertConTable(DispatchArgs& args);
    Variant DeleteConTable(DispatchArgs& args);
    Variant ChangeConName(DispatchArgs& args);
    Variant GetPower(DispatchArgs& args);
    Variant Request(DispatchArgs& args);
    Variant ExecSvrDLL(DispatchArgs& args);
    Variant UpdateStatus(DispatchArgs& args);

    // The schemes of the session's company database.
    SchemeStore Schemes() const;
    // The texts of a one-dimensional array argument, which must hold at least count elements.
    std::vector<AnsiString> Texts(const Variant& value, std::size_t count, const char* member) const;
    AnsiString Text(std::string_view utf8) const;

    ServerSettings settings_;
    JobQueue queue_;
    AnsiString dataSource_;   // the session's company database
    AnsiString listUser_;     // the schemes LoadTable chose for the provider
    AnsiString listProgram_;
    bool listLoaded_ = false;
    AnsiString lastError_;
};

} // namespace qmx::reference
