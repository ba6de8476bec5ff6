// The host's lookup window service, called as the option forms call it, answered by the dialog
// hook the way a scripted host answers it.
#include <gtest/gtest.h>

#include "LookupWindowService.h"
#include "RecordingAnswerer.h"
#include "ScopedDemo.h"
#include "qmx/Dispatch.h"
#include "qmx/platform/ClassRegistry.h"
#include "qmx/reference/LocalClock.h"

namespace qmx::reference {
namespace {

using test::Gb;

struct LookupRequest {
    LookupRequest(AnsiString table_, AnsiString key_, Variant filter_ = Variant(""), bool several_ = false,
                  AnsiString text_ = {})
        : table(std::move(table_)), key(std::move(key_)), filter(std::move(filter_)), several(several_),
          text(std::move(text_)) {}

    AnsiString table;
    AnsiString key;
    Variant filter;
    bool several;
    AnsiString text;
    AnsiString limit;
    bool seeAmounts = true;  // flag B, element 15
    bool pickSeveral = true; // flag A, element 16
};

// The 19 elements of LookupData.
Variant F2Array(const LookupRequest& r) {
    return VarArrayOf({Variant(r.table), Variant(r.key), r.filter, Variant(r.several), Variant(r.text),
                       Variant("DODaza60"), Variant("DODaza60"), Variant(std::int32_t(4711)), Variant(std::int32_t(1)),
                       Variant(false), Variant(std::int32_t(60)), Variant(""), Variant(""), Variant(""),
                       Variant(Utf8ToWide(r.limit)), Variant(r.seeAmounts), Variant(r.pickSeveral), Variant(),
                       Variant("796")});
}

class LookupWindowTest : public ::testing::Test {
protected:
    test::ScopedDemo demo_;
    test::ScopedAnswerer answerer_;
    Variant window_ = GetProperty(platform::CreateOleObject("NorvikWorkCenter.Manager"), "Com_F2Window");

    Variant Lookup(const LookupRequest& request, Variant answer) {
        // An answer left over from a request that raised before its dialog is dropped.
        answerer_->answers.assign({std::move(answer)});
        return CallMethod(window_, "F2GetData", F2Array(request));
    }
    const HostDialogRequest& LastRequest() { return answerer_->requests.back(); }
    std::size_t ListedRows() { return LastRequest().Contents[5].AsArray().ElementCount(); }
};

TEST_F(LookupWindowTest, CustomersAreListedAndChosenByCodeOrRow) {
    const Variant chosen = Lookup({"COPMA", "01", VarArrayOf({Variant("")}), true, "C0002"},
                                  VarArrayOf({Variant("c0003"), Variant(std::int32_t(0))}));
    const HostDialogRequest& request = LastRequest();
    EXPECT_EQ(request.Kind, HostDialogKind::Lookup);
    EXPECT_EQ(VarToStr(request.Contents[2]), Gb("客户信息查询"));
    EXPECT_TRUE(request.Contents[3].AsBoolean());
    EXPECT_EQ(request.Contents[4].AsArray().ElementCount(), 5u);
    EXPECT_EQ(ListedRows(), 5u);
    EXPECT_EQ(VarToStr(request.Contents[6]), "C0002");
    // Rows in the order chosen, each [code, short name, full name, tax number, telephone].
    ASSERT_EQ(chosen.AsArray().ElementCount(), 2u);
    EXPECT_EQ(VarToStr(chosen[0][0]), "C0003");
    EXPECT_EQ(VarToStr(chosen[0][1]), Gb("南粤贸易"));
    EXPECT_EQ(VarToStr(chosen[1][0]), "C0001");
    EXPECT_EQ(chosen[1].AsArray().ElementCount(), 5u);
}

TEST_F(LookupWindowTest, CancelAnswersNothing) {
    EXPECT_TRUE(Lookup({"TISTA", "60"}, Variant()).IsEmpty());
    EXPECT_TRUE(Lookup({"TISTA", "60"}, VarArrayOf({})).IsEmpty());
}

TEST_F(LookupWindowTest, ReceiversLookupAnswersIdNameMobileAndMail) {
    const Variant chosen = Lookup({"QMXMA", "04"}, Variant("A001"));
    EXPECT_EQ(ListedRows(), 5u); // the inactive user is not offered
    const Variant user = chosen[0];
    EXPECT_EQ(VarToStr(user[0]), "A001");
    EXPECT_EQ(VarToStr(user[1]), Gb("李静"));
    EXPECT_EQ(VarToStr(user[2]), "13912345678");
    EXPECT_EQ(VarToStr(user[3]), "jing.li@norvik-demo.cn");
}

TEST_F(LookupWindowTest, RightsShapeTheWindow) {
    // Flag A off: one row only, even where several were asked for.
    LookupRequest single{"COPMA", "01", Variant(""), true};
    single.pickSeveral = false;
    EXPECT_THROW(Lookup(single, VarArrayOf({Variant("C0001"), Variant("C0002")})), EOleError);
    EXPECT_FALSE(LastRequest().Contents[3].AsBoolean());

    // Flag B off: amounts are not shown nor answered.
    LookupRequest drafts{"TISTA", "60"};
    drafts.seeAmounts = false;
    const Variant draft = Lookup(drafts, Variant("XF-20240105-001"));
    EXPECT_EQ(VarToStr(draft[0][4]), "");
    EXPECT_EQ(VarToStr(draft[0][3]), Gb("华东电子"));
    EXPECT_EQ(VarToStr(Lookup({"TISTA", "60"}, Variant("XF-20240105-001"))[0][4]), "13560");

    // A limit on customers lists only the allowed ones.
    LookupRequest limited{"COPMA", "01"};
    limited.limit = "COPMA\x03" "2\x03" "C0001\x03" "C0003\x03";
    Lookup(limited, Variant());
    EXPECT_EQ(ListedRows(), 2u);
    EXPECT_THROW(Lookup(limited, Variant("C0002")), EOleError);
}

TEST_F(LookupWindowTest, FilterTextsNarrowTheRows) {
    Lookup({"COPMA", "01", Variant(Gb("华东"))}, Variant());
    EXPECT_EQ(ListedRows(), 1u);
    Lookup({"TISTA", "60", VarArrayOf({Variant("xf-202401"), Variant("C0002")})}, Variant());
    EXPECT_EQ(ListedRows(), 1u);
    Lookup({"TISTA", "60", Variant("   ")}, Variant());
    EXPECT_EQ(ListedRows(), 6u);
}

TEST_F(LookupWindowTest, BadRequestsAndAnswersRaise) {
    EXPECT_THROW(CallMethod(window_, "F2GetData", VarArrayOf({Variant("COPMA"), Variant("01")})), EOleError);
    EXPECT_THROW(Lookup({"COPMA", "99"}, Variant()), EOleError);
    EXPECT_THROW(Lookup({"COPMA", "01"}, Variant(std::int32_t(5))), EOleError);
    EXPECT_THROW(Lookup({"COPMA", "01"}, Variant("C9999")), EOleError);
    EXPECT_THROW(Lookup({"COPMA", "01"}, VarArrayCreate({{0, 1}, {0, 1}})), EOleError);
}

TEST_F(LookupWindowTest, DatePickerAnswersACompactDate) {
    struct Case {
        Variant start;
        bool roc;
        Variant answer;
        AnsiString expected;
    };
    const AnsiString today = TodayYmd();
    const Case cases[] = {
        {Variant("20240105"), false, Variant("20240212"), "20240212"},
        {Variant("20240105"), true, Variant(" 20240212 "), "20240212"},
        {Variant("2024/01/05"), false, Variant(""), ""},
        {Variant(), false, Variant(), ""},
        {Variant("20240105"), false, Variant::FromDate(45296.75), "20240105"},
    };
    for (const Case& c : cases) {
        answerer_->answers.push_back(c.answer);
        const Variant answer =
            CallMethod(window_, "ShowInputDay", VarArrayOf({Variant(c.roc), c.start, Variant("DODaza60")}));
        EXPECT_EQ(VarToStr(answer), c.expected);
        EXPECT_EQ(LastRequest().Kind, HostDialogKind::Calendar);
        EXPECT_EQ(LastRequest().Contents[0].AsBoolean(), c.roc);
        const AnsiString start = VarToStr(c.start);
        EXPECT_EQ(VarToStr(LastRequest().Contents[1]), start == "20240105" ? start : today);
    }
    for (const char* bad : {"2024", "20240230", "tomorrow"}) {
        answerer_->answers.push_back(Variant(bad));
        EXPECT_THROW(CallMethod(window_, "ShowInputDay", VarArrayOf({Variant(false), Variant("20240105")})), EOleError)
            << bad;
    }
    EXPECT_THROW(CallMethod(window_, "ShowInputDay", VarArrayOf({Variant(false)})), EOleError);
}

TEST_F(LookupWindowTest, PhraseListOffersTheUsersOwnFirst) {
    DispatchArgs args{Variant("796"), Variant("DODaza60"), Variant(std::int32_t(0))};
    answerer_->answers.push_back(Variant(std::int32_t(0)));
    EXPECT_EQ(VarToStr(CallMethodRef(window_, "GetPhrase", args)), Gb("仅导出专用发票"));
    EXPECT_EQ(LastRequest().Contents[1].AsArray().ElementCount(), 3u);
    answerer_->answers.push_back(Variant(Gb("自己输入的")));
    EXPECT_EQ(VarToStr(CallMethodRef(window_, "GetPhrase", args)), Gb("自己输入的"));
    answerer_->answers.push_back(Variant(std::int32_t(3)));
    EXPECT_THROW(CallMethodRef(window_, "GetPhrase", args), EOleError);
}

TEST(ChosenLookupRows, AnswersNameListedRowsOnce) {
    const std::vector<std::vector<AnsiString>> rows = {{"A1"}, {"B2"}, {"C3"}};
    using Rows = std::vector<std::size_t>;
    const Variant byCodeAndRow = VarArrayOf({Variant("c3"), Variant(std::int32_t(0)), Variant("A1")});
    EXPECT_EQ(ChosenLookupRows(byCodeAndRow, rows, true, CP_GB2312), (Rows{2, 0}));
    EXPECT_EQ(ChosenLookupRows(Variant::Null(), rows, false, CP_GB2312), Rows{});
    EXPECT_EQ(ChosenLookupRows(Variant(std::int32_t(1)), rows, false, CP_GB2312), Rows{1});
    EXPECT_THROW(ChosenLookupRows(Variant(std::int32_t(-1)), rows, false, CP_GB2312), EOleError);
}

} // namespace
} // namespace qmx::reference
