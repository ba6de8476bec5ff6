#pragma once
// Running SQL texts on a connection: translation of the dialect, charset conversion, binding of
// named parameters, reading of results. Shared by TQmADOConnection::Execute and TQmADOQuery.
#include <cstdint>
#include <string_view>

namespace qmx::platform {
class TQmADOConnection;
class TParameters;
} // namespace qmx::platform

namespace qmx::platform::detail {

struct ResultSet;

// Runs the statements of sql (text in the connection's Charset) and answers the rows they
// changed. With result: the text must hold exactly one statement, returning rows, which are read
// into result. A parameter of the text missing from parameters (or any, without parameters)
// raises EDatabaseError; so does every error of the engine, naming its reason and the text.
std::int64_t RunSql(TQmADOConnection& connection, std::string_view sql, const TParameters* parameters,
                    ResultSet* result);

} // namespace qmx::platform::detail
