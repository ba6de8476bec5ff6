#pragma once
// TTaskoraIniC: the client side of the dispatch center as TaskoraC.ini describes it (servers,
// code pages, work-library folders, message-center settings). The constructor reads everything
// once; the object is then a read-only snapshot. Create one, take the values, free it: every
// reader reads the registry and the file afresh.
//
//   TTaskoraIniC ini;
//   if (VarIsArray(ini.ServerAddresses)) {
//       AnsiString host = ini.ServerAddresses.AsArray().At({0, 0}).AsString();
//       int port = ini.ServerAddresses.AsArray().At({1, 0}).AsInteger();
//   }
#include <cstdint>

#include "qmx/Variant.h"
#include "qmx/toolkit/StringList.h"

namespace qmx {

class TTaskoraIniC {
public:
    // Reads the configuration (ReadConfig); whether that succeeded shows in ErrorCode and the
    // fields. A registry value of another type than text raises ERegistryException.
    TTaskoraIniC();
    virtual ~TTaskoraIniC();
    TTaskoraIniC(const TTaskoraIniC&) = delete;
    TTaskoraIniC& operator=(const TTaskoraIniC&) = delete;

    // Starts from the defaults and reads the registry and TaskoraC.ini; true when the read
    // completed. False with ErrorCode "E;000015" (no registry key), "" (no ClientPath) or
    // "E;000016" (no server host).
    bool ReadConfig();

    AnsiString ClientPath;       // installation folder, ending in the delimiter once read
    AnsiString ProfilePath;      // folder the INI file was looked for in
    AnsiString ProfileType = "0";
    AnsiString ProfileUser = "Default";
    AnsiString UICodePage;       // "936", "950" or "437"
    AnsiString DBCodePage = "936";
    AnsiString SystemCodePage;
    std::uint8_t UIConvertMode = 0;
    std::uint8_t DBConvertMode = 0;
    bool SupportCallBack = false;
    AnsiString IniFileName;
    // [0..1, 0..n-1]: [0, i] host text, [1, i] port (integer); unassigned without a host.
    Variant ServerAddresses;
    AnsiString ErrorCode;
    AnsiString LangType;
    // Absolute folders with a trailing delimiter (the raw "key=value" lines after "E;000016").
    TStringList WorkDLLPaths;
    AnsiString Version;
    AnsiString CreateGifBeforeSendEF;
    AnsiString AutoCheckNewMsg;
    AnsiString CheckInterval;
    AnsiString PopupMsg;
    AnsiString LoginCheck;

private:
    void ResetToDefaults();
};

} // namespace qmx
