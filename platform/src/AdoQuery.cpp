#include "qmx/platform/AdoQuery.h"

#include "AdoResultSet.h"
#include "SqlStatement.h"
#include "TextCodec.h"
#include "qmx/platform/AdoConnection.h"
#include "qmx/platform/SqlDialect.h"

namespace qmx::platform {

TQmADOQuery::TQmADOQuery(TQmADOConnection* connection) { SetConnection(connection); }

TQmADOQuery::~TQmADOQuery() {
    if (connection_) connection_->Detach(this);
}

void TQmADOQuery::SetConnection(TQmADOConnection* connection) {
    if (connection == connection_) return;
    Close();
    if (connection_) connection_->Detach(this);
    connection_ = connection;
    if (connection_) connection_->Attach(this);
}

void TQmADOQuery::SetSQL(AnsiString sql) {
    Close();
    sql_ = std::move(sql);
    const CodePage codePage = connection_ ? connection_->Charset() : CP_GB2312;
    std::vector<AnsiString> names;
    for (const std::string& name : SqlDialect::ParameterNames(detail::CodePageToUtf8(sql_, codePage)))
        names.push_back(detail::Utf8ToCodePage(name, codePage));
    parameters_.Rebuild(names);
}

TQmADOConnection& TQmADOQuery::OpenConnection() {
    if (!connection_) throw EDatabaseError("The query has no connection");
    connection_->Open();
    return *connection_;
}

void TQmADOQuery::Open() {
    TQmADOConnection& connection = OpenConnection();
    Close();
    auto result = std::make_shared<detail::ResultSet>();
    detail::RunSql(connection, sql_, &parameters_, result.get());
    result_ = std::move(result);
}

std::int64_t TQmADOQuery::ExecSQL() {
    TQmADOConnection& connection = OpenConnection();
    Close();
    return detail::RunSql(connection, sql_, &parameters_, nullptr);
}

void TQmADOQuery::Close() { result_.reset(); }

void TQmADOQuery::RequireActive(const char* operation) const {
    if (!result_) throw EDatabaseError(std::string(operation) + ": the query is not open");
}

bool TQmADOQuery::Eof() const { return !result_ || result_->eof; }
bool TQmADOQuery::Bof() const { return !result_ || result_->bof; }

void TQmADOQuery::First() {
    RequireActive("First");
    result_->current = 0;
    result_->bof = true;
    result_->eof = result_->rows.empty();
}

void TQmADOQuery::Last() {
    RequireActive("Last");
    const bool empty = result_->rows.empty();
    result_->current = empty ? 0 : result_->rows.size() - 1;
    result_->eof = true;
    result_->bof = empty;
}

void TQmADOQuery::Next() {
    RequireActive("Next");
    if (result_->current + 1 < result_->rows.size()) {
        ++result_->current;
        result_->bof = false;
        result_->eof = false;
    } else {
        result_->eof = true;
    }
}

void TQmADOQuery::Prior() {
    RequireActive("Prior");
    if (result_->current > 0 && !result_->rows.empty()) {
        --result_->current;
        result_->bof = false;
        result_->eof = false;
    } else {
        result_->bof = true;
    }
}

int TQmADOQuery::RecordCount() const { return result_ ? static_cast<int>(result_->rows.size()) : 0; }

int TQmADOQuery::RecNo() const {
    return result_ && !result_->rows.empty() ? static_cast<int>(result_->current) + 1 : 0;
}

int TQmADOQuery::FieldCount() const { return result_ ? static_cast<int>(result_->names.size()) : 0; }

std::vector<AnsiString> TQmADOQuery::FieldNames() const { return result_ ? result_->names : std::vector<AnsiString>(); }

int TQmADOQuery::FieldIndex(std::string_view name) const {
    if (!result_) return -1;
    for (std::size_t i = 0; i < result_->names.size(); ++i)
        if (AnsiSameText(result_->names[i], name, result_->codePage)) return static_cast<int>(i);
    return -1;
}

TField TQmADOQuery::Fields(int index) const {
    RequireActive("Fields");
    if (index < 0 || index >= FieldCount())
        throw EDatabaseError("Field index " + std::to_string(index) + " out of range");
    return TField(result_, index);
}

TField TQmADOQuery::FieldByName(std::string_view name) const {
    RequireActive("FieldByName");
    const int index = FieldIndex(name);
    if (index < 0) throw EDatabaseError("Field '" + AnsiString(name) + "' not found");
    return TField(result_, index);
}

bool TQmADOQuery::FindField(std::string_view name) const { return FieldIndex(name) >= 0; }

} // namespace qmx::platform
