#include <gtest/gtest.h>

#include <cstring>

#include "qmx/Controller.h"

using namespace qmx;

namespace {

// The vtable slot of a virtual member function (Itanium C++ ABI: the pointer-to-member holds
// 1 + the byte offset of the slot).
template <class F>
std::ptrdiff_t SlotOf(F member) {
    struct Raw {
        std::ptrdiff_t ptr;
        std::ptrdiff_t adj;
    } raw;
    static_assert(sizeof(member) == sizeof(raw));
    std::memcpy(&raw, &member, sizeof raw);
    return (raw.ptr - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

class Recorder : public TDLLBaseController {
public:
    WideString GetVersion() override { return u""; }
    WordBool GetVisible() override { return 0; }
    void SetVisible(WordBool) override {}
    HWND32 GetHandle() override { return 0; }
    std::int32_t Initialize(Variant) override { return 0; }
    std::int32_t SetParams(Variant) override { return -1; }
    std::int32_t SetParam(std::int32_t, Variant) override { return -1; }
    Variant ShowModal() override { return 2; }
    void FreeForm() override {}
    std::int32_t GetInfo(Variant&) override { return -1; }
    bool IsFormFreed() override { return true; }
};

} // namespace

TEST(Controller, SlotsAreInBindingOrder) {
    using C = TDLLBaseController;
    EXPECT_EQ(SlotOf(&C::GetVersion), 0);
    EXPECT_EQ(SlotOf(&C::GetVisible), 1);
    EXPECT_EQ(SlotOf(&C::SetVisible), 2);
    EXPECT_EQ(SlotOf(&C::GetHandle), 3);
    EXPECT_EQ(SlotOf(&C::Initialize), 4);
    EXPECT_EQ(SlotOf(&C::SetParams), 5);
    EXPECT_EQ(SlotOf(&C::SetParam), 6);
    EXPECT_EQ(SlotOf(&C::ShowModal), 7);
    EXPECT_EQ(SlotOf(&C::FreeForm), 8);
    EXPECT_EQ(SlotOf(&C::GetInfo), 9);
    EXPECT_EQ(SlotOf(&C::IsFormFreed), 10);
    EXPECT_EQ(SlotOf(&C::NotifyCreated), 11);
    EXPECT_EQ(SlotOf(&C::NotifyShown), 12);
    EXPECT_EQ(SlotOf(&C::NotifyHidden), 13);
    EXPECT_EQ(SlotOf(&C::NotifyDestroyed), 14);
    EXPECT_EQ(SlotOf(&C::NotifyExtra), 15);
    EXPECT_EQ(SlotOf(&C::DoNotify), 16);
    EXPECT_EQ(SlotOf(&C::Reserved), 17);
}

TEST(Controller, BaseBodiesRaiseTheirCodes) {
    Recorder controller;
    EXPECT_TRUE(controller.HostObject.IsEmpty());
    EXPECT_TRUE(controller.ResultData.IsEmpty());
    EXPECT_EQ(controller.ResultCode, 0);
    controller.NotifyCreated(nullptr); // unassigned OnNotify: nothing happens

    std::vector<std::int32_t> codes;
    controller.OnNotify = [&](std::int32_t code, TDLLBaseController* sender) {
        EXPECT_EQ(sender, &controller);
        codes.push_back(code);
    };
    controller.NotifyCreated(nullptr);
    controller.NotifyShown(nullptr);
    controller.NotifyHidden(nullptr);
    controller.NotifyDestroyed(nullptr);
    controller.NotifyExtra(nullptr);
    controller.Reserved();
    EXPECT_EQ(codes, (std::vector<std::int32_t>{0x100, 0x110, 0x120, 0x130, 0x140}));
}
