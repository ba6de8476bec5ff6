#include "qmx/reference/CompanyDirectory.h"

#include <filesystem>

#include "qmx/reference/CompanyDatabase.h"
#include "qmx/platform/Paths.h"

namespace qmx::reference {

namespace {
constexpr std::string_view kExtension = ".db";
}

CompanyDirectory::CompanyDirectory(AnsiString folder, CodePage codePage)
    : folder_(folder.empty() ? AnsiString() : platform::IncludeTrailingPathDelimiter(folder)), codePage_(codePage) {}

bool CompanyDirectory::IsValidDataSource(std::string_view dataSource) {
    if (dataSource.empty() || dataSource.size() > 64) return false;
    for (char ch : dataSource) {
        const bool ok = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') ||
                        ch == '_' || ch == '-';
        if (!ok) return false;
    }
    return true;
}

AnsiString CompanyDirectory::NewFileOf(std::string_view dataSource) const {
    if (!IsValidDataSource(dataSource))
        throw Exception("'" + AnsiString(dataSource) + "' is not a valid data source name");
    if (folder_.empty()) throw Exception("No folder of company databases is configured");
    return folder_ + AnsiString(dataSource) + AnsiString(kExtension);
}

AnsiString CompanyDirectory::FileOf(std::string_view dataSource) const {
    const AnsiString exact = NewFileOf(dataSource);
    if (platform::FileExists(exact)) return exact;
    // Data source names are not case-sensitive; file names are.
    const AnsiString wanted = AnsiUpperCase(AnsiString(dataSource) + AnsiString(kExtension), CP_GB2312);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, error)) {
        const AnsiString name = entry.path().filename().string();
        if (AnsiUpperCase(name, CP_GB2312) == wanted && entry.is_regular_file()) return folder_ + name;
    }
    throw Exception("The company database '" + AnsiString(dataSource) + "' does not exist in " + folder_);
}

bool CompanyDirectory::Exists(std::string_view dataSource) const {
    try {
        FileOf(dataSource);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

AnsiString CompanyDirectory::ConnectionString(std::string_view dataSource) const {
    return CompanyConnectionString(FileOf(dataSource), dataSource, codePage_);
}

} // namespace qmx::reference
