#pragma once
// File names and folders. The delimiter is '/'; a '/' byte is never the trail byte of a GBK or
// BIG5 character, so the functions below that look only for '/' and '.' work on code-page text
// byte by byte. Only '\' needs the code page (ResolveConfigPath).
//
// Values read from INI files and the registry may be written Windows-style. ResolveConfigPath
// turns them into paths of this system:
//
//   value                   result                              why
//   ""                      ""                                  not set stays not set
//   "/opt/taskora/"         "/opt/taskora/"                     absolute
//   "\\srv\share\x"         "//srv/share/x"                     network path, absolute; the share
//                                                               is expected mounted at /srv/share
//   "D:\Taskora\"           "D:/Taskora/"                       drive letter, absolute: kept as
//                                                               written, delimiters become '/'
//   "\Data\x.ini"           install + "Data/x.ini"              one backslash: below the install
//   "Data\x.ini"            install + "Data/x.ini"              relative: below the install
//
// A drive-letter value is kept (with '/' delimiters) rather than guessed at: this system has no
// drives, so such a value names a folder that does not exist (unless the current folder holds a
// folder named like the drive) and a lookup through it fails like one on a missing drive. The
// administrator writes a Linux path instead.
#include <string>
#include <string_view>

#include "qmx/CodePage.h"

namespace qmx::platform {

inline constexpr char PathDelim = '/';

// "" gives "/" (the original toolkit appends in every case).
AnsiString IncludeTrailingPathDelimiter(std::string_view path);
// Removes one trailing delimiter; the root "/" stays "/", since "" would name the current folder.
AnsiString ExcludeTrailingPathDelimiter(std::string_view path);

// Everything up to and including the last delimiter ("" when there is none).
AnsiString ExtractFilePath(std::string_view fileName);
// The folder without its trailing delimiter, except for the root: "/a/b" -> "/a", "/a" -> "/".
AnsiString ExtractFileDir(std::string_view fileName);
// Everything after the last delimiter.
AnsiString ExtractFileName(std::string_view fileName);
// From the last '.' of the file name on, dot included; "" when the file name has no dot.
AnsiString ExtractFileExt(std::string_view fileName);
// Replaces the extension (as ExtractFileExt finds it) with extension, or appends it.
AnsiString ChangeFileExt(std::string_view fileName, std::string_view extension);

// An existing file that is not a folder (links are followed).
bool FileExists(std::string_view fileName);
bool DirectoryExists(std::string_view folder);
// Creates the folder and every missing parent; true when the folder exists afterwards. An empty
// name gives false.
bool ForceDirectories(std::string_view folder);

// Begins with '/', with a drive letter and ':', or with two backslashes.
bool IsAbsoluteConfigPath(std::string_view value);
// Every backslash that is a character of its own (never a trail byte) becomes '/'.
AnsiString BackslashesToDelimiters(std::string_view value, CodePage codePage = SystemAnsiCodePage());
// The path a configuration value names (see the table above). installFolder is a path of this
// system (already resolved); an empty installFolder leaves relative values relative.
AnsiString ResolveConfigPath(std::string_view value, std::string_view installFolder,
                             CodePage codePage = SystemAnsiCodePage());

} // namespace qmx::platform
