#include "qmx/platform/Paths.h"

#include <gtest/gtest.h>

#include <string>

#include "TestFolder.h"

namespace qmx::platform {
namespace {

TEST(PathsTest, TrailingDelimiter) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        // path, included, excluded
        {"/opt/qmx", "/opt/qmx/", "/opt/qmx"},
        {"/opt/qmx/", "/opt/qmx/", "/opt/qmx"},
        {"/opt/qmx//", "/opt/qmx//", "/opt/qmx/"}, // one delimiter at a time
        {"/", "/", "/"},                          // the root stays the root
        {"", "/", ""},
        {"qmx", "qmx/", "qmx"},
    };
    for (const auto& [path, included, excluded] : cases) {
        EXPECT_EQ(IncludeTrailingPathDelimiter(path), included) << path;
        EXPECT_EQ(ExcludeTrailingPathDelimiter(path), excluded) << path;
    }
}

TEST(PathsTest, PartsOfAFileName) {
    struct Case {
        const char* name;
        const char* path;
        const char* dir;
        const char* file;
        const char* ext;
    };
    const Case cases[] = {
        {"/opt/qmx/TaskoraC.ini", "/opt/qmx/", "/opt/qmx", "TaskoraC.ini", ".ini"},
        {"/opt/qmx/", "/opt/qmx/", "/opt/qmx", "", ""},
        {"/KLNB07C.dll", "/", "/", "KLNB07C.dll", ".dll"},
        {"KLNB07C.dll", "", "", "KLNB07C.dll", ".dll"},
        {"/opt/my.dir/file", "/opt/my.dir/", "/opt/my.dir", "file", ""},
        {"/opt/archive.tar.gz", "/opt/", "/opt", "archive.tar.gz", ".gz"},
        {"/home/u/.profile", "/home/u/", "/home/u", ".profile", ".profile"},
        {"name.", "", "", "name.", "."},
        {"", "", "", "", ""},
        // '/' is never a trail byte: a GBK name whose second byte is '\' splits as usual.
        {"/data/\xD5\x5C.txt", "/data/", "/data", "\xD5\x5C.txt", ".txt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractFilePath(c.name), c.path) << c.name;
        EXPECT_EQ(ExtractFileDir(c.name), c.dir) << c.name;
        EXPECT_EQ(ExtractFileName(c.name), c.file) << c.name;
        EXPECT_EQ(ExtractFileExt(c.name), c.ext) << c.name;
    }
}

TEST(PathsTest, ChangeFileExt) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"/opt/KLNB07C.dll", ".ini", "/opt/KLNB07C.ini"},
        {"/opt/KLNB07C", ".ini", "/opt/KLNB07C.ini"},
        {"/opt/my.dir/KLNB07C", ".ini", "/opt/my.dir/KLNB07C.ini"},
        {"/opt/a.tar.gz", ".zip", "/opt/a.tar.zip"},
        {"/opt/KLNB07C.dll", "", "/opt/KLNB07C"},
    };
    for (const auto& [name, ext, expected] : cases) {
        EXPECT_EQ(ChangeFileExt(name, ext), expected) << name;
    }
}

TEST(PathsTest, FilesAndFolders) {
    test::TestFolder folder;
    std::string file = folder.WriteFile("a.txt", "x");
    std::string dir = folder.Path() + "sub";
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(folder.Path()));
    EXPECT_FALSE(FileExists(folder.Path() + "missing.txt"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(DirectoryExists(folder.Path()));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_FALSE(DirectoryExists(dir));
    EXPECT_FALSE(DirectoryExists(""));

    std::string deep = dir + "/one/two/";
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_TRUE(ForceDirectories(deep)); // already there
    EXPECT_FALSE(ForceDirectories(file + "/below")); // a file is in the way
    EXPECT_FALSE(ForceDirectories(""));
    EXPECT_TRUE(FileExists(file)); // left alone
}

TEST(PathsTest, AbsoluteConfigPaths) {
    const std::pair<const char*, bool> cases[] = {
        {"/opt/taskora", true}, {"C:\\Taskora\\", true}, {"d:", true},
        {"\\\\srv\\share", true}, {"\\Data", false},     {"Data\\x.ini", false},
        {"1:\\x", false},       {"", false},             {"\xD5\x5C\\x", false},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(IsAbsoluteConfigPath(value), expected) << value;
    }
}

TEST(PathsTest, ResolveConfigPath) {
    struct Case {
        const char* value;
        const char* installFolder;
        CodePage codePage;
        const char* expected;
    };
    const Case cases[] = {
        {"/opt/taskora/", "/srv/", CP_WESTERN, "/opt/taskora/"},
        {"C:\\Taskora\\Client\\", "/srv/", CP_WESTERN, "C:/Taskora/Client/"},
        {"\\\\fileserver\\share\\x.ini", "/srv/", CP_WESTERN, "//fileserver/share/x.ini"},
        {"\\Data\\x.ini", "/srv/", CP_WESTERN, "/srv/Data/x.ini"},
        {"\\Data\\x.ini", "/srv", CP_WESTERN, "/srv/Data/x.ini"},
        {"Data\\x.ini", "/srv/", CP_WESTERN, "/srv/Data/x.ini"},
        {"Data/x.ini", "/srv/", CP_WESTERN, "/srv/Data/x.ini"},
        {"x.ini", "", CP_WESTERN, "x.ini"},
        {"\\x.ini", "", CP_WESTERN, "x.ini"},
        {"", "/srv/", CP_WESTERN, ""},
        // GBK: the second byte of 0xD5 0x5C is a trail byte and stays; the backslash after it
        // is a delimiter.
        {"Data\\\xD5\x5C\\x.ini", "/srv/", CP_GB2312, "/srv/Data/\xD5\x5C/x.ini"},
        {"\\\xD5\x5C", "/srv/", CP_GB2312, "/srv/\xD5\x5C"},
        {"D:\\\xD5\x5C\\", "/srv/", CP_GB2312, "D:/\xD5\x5C/"},
        // BIG5 has the same trail byte (0xA5 0x5C).
        {"Data\\\xA5\x5C\\x.ini", "/srv/", CP_BIG5, "/srv/Data/\xA5\x5C/x.ini"},
        // On a single-byte page the same bytes are two characters.
        {"Data\\\xD5\x5C\\x.ini", "/srv/", CP_WESTERN, "/srv/Data/\xD5//x.ini"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResolveConfigPath(c.value, c.installFolder, c.codePage), c.expected)
            << c.value << " in " << c.installFolder << " (" << c.codePage << ")";
    }
}

} // namespace
} // namespace qmx::platform
