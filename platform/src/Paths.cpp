#include "qmx/platform/Paths.h"

#include <filesystem>
#include <system_error>

namespace qmx::platform {

namespace {

namespace fs = std::filesystem;

bool EndsWithDelimiter(std::string_view path) {
    return !path.empty() && path.back() == PathDelim;
}

// Position just after the last delimiter (0 when there is none).
std::size_t FileNameStart(std::string_view fileName) {
    std::size_t pos = fileName.rfind(PathDelim);
    return pos == std::string_view::npos ? 0 : pos + 1;
}

// Position of the extension's dot, or npos.
std::size_t ExtensionStart(std::string_view fileName) {
    std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || dot < FileNameStart(fileName)) return std::string_view::npos;
    return dot;
}

bool IsAsciiLetter(char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

fs::path ToFsPath(std::string_view name) {
    // The bytes are the file name as the file system stores it; no conversion.
    return fs::path(std::string(name));
}

} // namespace

AnsiString IncludeTrailingPathDelimiter(std::string_view path) {
    AnsiString result(path);
    if (!EndsWithDelimiter(path)) result += PathDelim;
    return result;
}

AnsiString ExcludeTrailingPathDelimiter(std::string_view path) {
    if (path.size() > 1 && EndsWithDelimiter(path)) path.remove_suffix(1);
    return AnsiString(path);
}

AnsiString ExtractFilePath(std::string_view fileName) {
    return AnsiString(fileName.substr(0, FileNameStart(fileName)));
}

AnsiString ExtractFileDir(std::string_view fileName) {
    std::size_t start = FileNameStart(fileName);
    if (start == 0) return {};
    if (start == 1) return AnsiString(1, PathDelim); // the root keeps its delimiter
    return AnsiString(fileName.substr(0, start - 1));
}

AnsiString ExtractFileName(std::string_view fileName) {
    return AnsiString(fileName.substr(FileNameStart(fileName)));
}

AnsiString ExtractFileExt(std::string_view fileName) {
    std::size_t dot = ExtensionStart(fileName);
    return dot == std::string_view::npos ? AnsiString() : AnsiString(fileName.substr(dot));
}

AnsiString ChangeFileExt(std::string_view fileName, std::string_view extension) {
    std::size_t dot = ExtensionStart(fileName);
    AnsiString result(fileName.substr(0, dot == std::string_view::npos ? fileName.size() : dot));
    result += extension;
    return result;
}

bool FileExists(std::string_view fileName) {
    if (fileName.empty()) return false;
    std::error_code error;
    fs::file_status status = fs::status(ToFsPath(fileName), error);
    return !error && fs::exists(status) && !fs::is_directory(status);
}

bool DirectoryExists(std::string_view folder) {
    if (folder.empty()) return false;
    std::error_code error;
    return fs::is_directory(ToFsPath(folder), error);
}

bool ForceDirectories(std::string_view folder) {
    if (folder.empty()) return false;
    std::error_code error;
    fs::create_directories(ToFsPath(folder), error);
    return DirectoryExists(folder);
}

bool IsAbsoluteConfigPath(std::string_view value) {
    if (value.empty()) return false;
    if (value[0] == '/') return true;
    // An ASCII letter is never a lead byte and ':' / '\' at the start are characters of their own.
    if (value.size() >= 2 && IsAsciiLetter(value[0]) && value[1] == ':') return true;
    return value.size() >= 2 && value[0] == '\\' && value[1] == '\\';
}

AnsiString BackslashesToDelimiters(std::string_view value, CodePage codePage) {
    AnsiString result(value);
    for (std::size_t pos = AnsiFindChar(value, '\\', 0, codePage); pos != std::string_view::npos;
         pos = AnsiFindChar(value, '\\', pos + 1, codePage)) {
        result[pos] = PathDelim;
    }
    return result;
}

AnsiString ResolveConfigPath(std::string_view value, std::string_view installFolder,
                             CodePage codePage) {
    if (value.empty()) return {};
    AnsiString converted = BackslashesToDelimiters(value, codePage);
    if (IsAbsoluteConfigPath(value)) return converted;

    std::string_view relative = converted;
    // "\Data" is below the installation folder like "Data"; the converted '/' goes.
    if (value[0] == '\\') relative.remove_prefix(1);
    if (installFolder.empty()) return AnsiString(relative);
    return IncludeTrailingPathDelimiter(installFolder) + AnsiString(relative);
}

} // namespace qmx::platform
