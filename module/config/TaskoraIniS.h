#pragma once
// TTaskoraIniS: the server side of the dispatch center as TaskoraS.ini describes it (database
// settings, code pages, work-library folders). Read once by the constructor, then a read-only
// snapshot, like TTaskoraIniC.
//
// DBSettings, [row, column]:
//   row 0 main database: alias, user, password, type, database name, server name,
//         connection time-out, command time-out
//   row 1 temporary database: alias, user, password, type, database name, driver name,
//         connection time-out, command time-out
//   row 2 dispatch server: computer name, server port, client socket port, collation name
//   row 3 EDI database: alias, user, password (as stored, not decoded)
// Cells [2, 4..7] and [3, 3..7] stay unassigned; time-outs and ports are integers.
#include <cstdint>

#include "qmx/Variant.h"
#include "qmx/toolkit/StringList.h"

namespace qmx {

class TTaskoraIniS {
public:
    // Reads the configuration (ReadConfig). A registry value of another type than text raises
    // ERegistryException.
    TTaskoraIniS();
    virtual ~TTaskoraIniS();
    TTaskoraIniS(const TTaskoraIniS&) = delete;
    TTaskoraIniS& operator=(const TTaskoraIniS&) = delete;

    // Starts from the defaults and reads the registry and TaskoraS.ini; true when the read
    // completed. False with ErrorCode "E;000015" (no registry key) or "" (no ServerPath).
    bool ReadConfig();
    // Replaces the contents of list with WorkDLLPaths.
    void GetWorkDLLPaths(TStrings* list) const;

    AnsiString ServerPath;       // installation folder, ending in the delimiter once read
    AnsiString ProfilePath;
    AnsiString ProfileType = "0";
    AnsiString ProfileUser = "Default";
    AnsiString UICodePage;
    AnsiString DBCodePage = "936";
    AnsiString SystemCodePage;
    std::uint8_t UIConvertMode = 0;
    std::uint8_t DBConvertMode = 0;
    bool SupportCallBack = false;
    AnsiString IniFileName;
    // [0..3, 0..7] once the file is read (see above); unassigned before.
    Variant DBSettings;
    AnsiString ErrorCode;
    TStringList WorkDLLPaths;
    AnsiString Version;
    std::uint8_t DBKind = 0;     // 1 ORACLE, 2 DB2, 0 any other
    AnsiString SystemControlAddress;
    AnsiString OtherSystemControlAddress;

private:
    void ResetToDefaults();
};

} // namespace qmx
