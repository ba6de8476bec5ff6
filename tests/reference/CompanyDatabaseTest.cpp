#include "qmx/reference/CompanyDatabase.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ScopedDemo.h"
#include "qmx/platform/AdoConnection.h"
#include "qmx/platform/AdoQuery.h"
#include "qmx/reference/CompanyDirectory.h"

namespace qmx::reference {
namespace {

namespace fs = std::filesystem;
using platform::TQmADOConnection;
using platform::TQmADOQuery;
using test::Gb;

class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "qmx-db-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

AnsiString ReadOne(const AnsiString& connectionString, const char* sql) {
    TQmADOConnection connection(connectionString);
    TQmADOQuery query(&connection);
    query.SetSQL(sql);
    query.Open();
    return query.Fields(0).AsString();
}

TEST(CompanyDatabase, SeedDataReadsBackInTheConnectionsCodePage) {
    TempDir dir;
    const std::string file = dir.File("DODaza60.db");
    CreateCompanyDatabase(file, {});
    const AnsiString gb = CompanyConnectionString(file, "DODaza60");
    EXPECT_EQ(ReadOne(gb, "SELECT MB002 FROM DODaza60..ADMMB WHERE MB001 = 'KLNB07'"), Gb("销项发票底稿导出"));
    EXPECT_EQ(ReadOne(CompanyConnectionString(file, "DODaza60", CP_BIG5),
                      "SELECT MA002 FROM QMXMA WHERE MA001 = '796'"),
              Utf8ToAnsi("王小明", CP_BIG5));
    // Every message the option forms show has a text.
    EXPECT_EQ(ReadOne(gb, "SELECT COUNT(*) FROM QMXMSG"), "20");
    // Built under another name and renamed: nothing but the database is left in the folder.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.Path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"DODaza60.db"});
}

TEST(CompanyDatabase, ExistingFileIsKeptUnlessReplaced) {
    TempDir dir;
    const std::string file = dir.File("X.db");
    std::ofstream(file) << "not a database";
    EXPECT_THROW(CreateCompanyDatabase(file, {}), Exception);
    std::ifstream kept(file);
    std::string content;
    std::getline(kept, content);
    EXPECT_EQ(content, "not a database");

    CompanyDatabaseOptions replace;
    replace.Replace = true;
    replace.WithSeed = false;
    CreateCompanyDatabase(file, replace);
    EXPECT_EQ(ReadOne(CompanyConnectionString(file, "X"), "SELECT COUNT(*) FROM ADMMB"), "0");
}

TEST(CompanyDatabase, UnwritablePlacesFailWithoutLeavingFiles) {
    TempDir dir;
    EXPECT_THROW(CreateCompanyDatabase(dir.File("missing/X.db"), {}), Exception);
    EXPECT_THROW(CreateCompanyDatabase(dir.Path(), {}), Exception);
    EXPECT_THROW(CreateCompanyDatabase("", {}), Exception);
    EXPECT_TRUE(fs::is_empty(dir.Path()));
}

TEST(CompanyDatabase, ConnectionStringQuotesPathsThatNeedIt) {
    TempDir dir;
    fs::create_directory(dir.File("a;b \"c\""));
    const std::string file = dir.File("a;b \"c\"/Co.db");
    CreateCompanyDatabase(file, {});
    EXPECT_EQ(ReadOne(CompanyConnectionString(file, "Co"), "SELECT COUNT(*) FROM Co..COPMA"), "5");
    EXPECT_EQ(QuoteConnectionValue("plain/path.db"), "plain/path.db");
    EXPECT_EQ(QuoteConnectionValue(" lead"), "\" lead\"");
}

TEST(CompanyDirectory, FindsDatabasesByNameWithoutRegardToCase) {
    TempDir dir;
    CreateCompanyDatabase(dir.File("DODaza60.db"), {});
    const CompanyDirectory companies(dir.Path());
    EXPECT_EQ(companies.FileOf("DODaza60"), dir.File("DODaza60.db"));
    EXPECT_EQ(companies.FileOf("dodaza60"), dir.File("DODaza60.db"));
    EXPECT_TRUE(companies.Exists("DODAZA60"));
    EXPECT_FALSE(companies.Exists("Other"));
    EXPECT_THROW(companies.FileOf("Other"), Exception);
    EXPECT_EQ(ReadOne(companies.ConnectionString("dodaza60"), "SELECT COUNT(*) FROM dodaza60..TISTA"), "6");
}

TEST(CompanyDirectory, DataSourceNamesNeverLeaveTheFolder) {
    struct Case {
        const char* name;
        bool valid;
    };
    const Case cases[] = {{"DODaza60", true}, {"a_b-c", true},  {"", false},   {"../x", false},
                          {"a/b", false},     {"a\\b", false},  {"a b", false}, {"a.db", false},
                          {"x;y", false},     {"公司", false}};
    for (const Case& c : cases) EXPECT_EQ(CompanyDirectory::IsValidDataSource(c.name), c.valid) << c.name;
    EXPECT_FALSE(CompanyDirectory::IsValidDataSource(std::string(65, 'a')));
    const CompanyDirectory companies("/tmp");
    EXPECT_THROW(companies.NewFileOf("../etc/passwd"), Exception);
}

} // namespace
} // namespace qmx::reference
