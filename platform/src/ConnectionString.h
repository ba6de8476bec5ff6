#pragma once
// The connection string of TQmADOConnection (keys documented in AdoConnection.h).
#include <string_view>

#include "qmx/CodePage.h"

namespace qmx::platform::detail {

struct ConnectionSettings {
    AnsiString dataSource;   // the database file, or ":memory:"
    AnsiString databaseName; // the company database that db..table names
    CodePage charset = CP_GB2312;
    int busyTimeout = 5000; // milliseconds
    bool readOnly = false;
    bool create = false;
};

// Raises EDatabaseError for a malformed string, a provider other than the embedded engine, a
// missing data source or a bad value.
ConnectionSettings ParseConnectionString(std::string_view text);

} // namespace qmx::platform::detail
