#pragma once
// Where the company databases of a site lie: one SQLite file per data source, named after it
// ("<folder>/DODaza60.db"). The data source is the name the host passes to the module and the
// module passes back to the services, so it is checked before it becomes part of a path.
#include <string>
#include <string_view>

#include "qmx/CodePage.h"

namespace qmx::reference {

class CompanyDirectory {
public:
    // folder: a path of this system (a trailing '/' is optional). codePage: the code page of the
    // texts the services exchange with the database (the company's database code page).
    explicit CompanyDirectory(AnsiString folder, CodePage codePage = CP_GB2312);

    const AnsiString& Folder() const { return folder_; }
    CodePage GetCodePage() const { return codePage_; }

    // 1 to 64 characters, each an ASCII letter, digit, '_' or '-'.
    static bool IsValidDataSource(std::string_view dataSource);

    // The file of an existing database: "<folder>/<dataSource>.db", or the one file whose name
    // matches without regard to case (data source names are not case-sensitive). Raises
    // Exception for an invalid name or when there is no such database.
    AnsiString FileOf(std::string_view dataSource) const;
    bool Exists(std::string_view dataSource) const;
    // The file a new database of that name gets (not checked for existence).
    AnsiString NewFileOf(std::string_view dataSource) const;

    // CompanyConnectionString of FileOf(dataSource), with the directory's code page.
    AnsiString ConnectionString(std::string_view dataSource) const;

private:
    AnsiString folder_;
    CodePage codePage_;
};

} // namespace qmx::reference
