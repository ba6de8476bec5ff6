// A process without a user interface (a job runner, a service) and without a dialog answerer:
// the host's dialogs raise instead of waiting for a person who is not there.
#include <gtest/gtest.h>

#include "ScopedDemo.h"
#include "qmx/Dispatch.h"
#include "qmx/platform/ClassRegistry.h"

namespace qmx::reference {
namespace {

TEST(HeadlessHost, DialogsRaiseWithoutUserInterface) {
    test::ScopedDemo demo;
    const Variant host = platform::CreateOleObject("NorvikWorkCenter.Manager");
    const Variant window = GetProperty(host, "Com_F2Window");
    EXPECT_THROW(CallMethod(window, "ShowInputDay", VarArrayOf({Variant(false), Variant("20240105")})), EOleError);
    EXPECT_THROW(CallMethod(host, "CallHelp", VarArrayOf({Variant("KLN"), Variant("13070000")})), EOleError);
    // Services without dialogs work as anywhere.
    DispatchArgs args{Variant("DODaza60")};
    EXPECT_TRUE(CallMethodRef(GetProperty(host, "Com_Counter"), "GetSysInfo", args).IsArray());
}

} // namespace
} // namespace qmx::reference
