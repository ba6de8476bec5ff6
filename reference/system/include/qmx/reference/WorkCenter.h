#pragma once
// The host's system object, class "NorvikWorkCenter.Manager", with its four services:
//
//   Com_Counter     GetSysInfo(company&), GetCounter(name, args&, [company, dataSource])
//   Com_Validator   ProductID, BaseLimited, CheckValue/QueryData(table&, key&, dataSource&, args, row&)
//   Com_F2Window    F2GetData(array of 19), ShowInputDay([roc, start, dataSource]),
//                   GetPhrase(user&, dataSource&, window)
//   the manager     ProductID, CallHelp([subsystem, topic]), GetMessage(type, number),
//                   GetFileList([file name])
//
// and the host's own properties DataSource, CompanyId, UserId and Language (the session the
// host starts the module with; GetSysInfo and GetMessage read the company database of
// DataSource).
//
// Settings come from the registry key HKEY_LOCAL_MACHINE\Software\QMX\WorkCenter, read when a
// manager is made:
//   DataPath     folder of the company databases (<DataSource>.db)          required
//   DataSource   company database of the session                            "DODaza60"
//   CompanyId    company of the session                                     = DataSource
//   UserId       user of the session                                        ""
//   Language     "CHS" (Chinese message texts) or "ENG"                     "CHS"
//   DBCodePage   code page of the texts exchanged with the module            "936"
//   PackagePath  folder of the packaged server libraries (GetFileList)      ""
//   HelpPath     folder of the help pages (<subsystem>/<topic>.html)         ""
//   ProductID    product identifier (dword)                                 60
// Folder values are configuration paths (Paths.h: ResolveConfigPath), relative ones taken from
// the folder of this library.
//
// Dialogs (the lookup window, the calendar, the phrase list, help) are real Qt dialogs unless a
// host installed an answerer (HostDialogs.h), which then answers every one of them.
#include "qmx/Dispatch.h"

namespace qmx::reference {

inline constexpr const char* WorkCenterProgId = "NorvikWorkCenter.Manager";
// The factory symbol the registry's "Factory" value names.
inline constexpr const char* WorkCenterFactorySymbol = "NorvikWorkCenterCreateObject";
inline constexpr const char* WorkCenterRegistryKey = "Software\\QMX\\WorkCenter";

// Registers the class in this process: CreateOleObject("NorvikWorkCenter.Manager") then makes a
// manager without looking at the registry's class entry.
void RegisterWorkCenterClass();

// A new manager with the settings the registry holds now.
DispatchPtr CreateWorkCenterManager();

} // namespace qmx::reference

// The registry factory (see ClassRegistry.h): a new manager for "NorvikWorkCenter.Manager",
// null for any other class or when it cannot be made.
extern "C" qmx::Dispatch* NorvikWorkCenterCreateObject(const char* progId);
