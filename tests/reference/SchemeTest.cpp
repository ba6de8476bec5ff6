// Condition schemes on the server object, called as the option form calls them.
#include <gtest/gtest.h>

#include "ScopedDemo.h"
#include "qmx/Dispatch.h"
#include "qmx/platform/ClassRegistry.h"

namespace qmx::reference {
namespace {

using test::Gb;

class SchemeTest : public ::testing::Test {
protected:
    test::ScopedDemo demo_;
    Variant server_ = platform::CreateOleObject("ReportCounterS.dmReportCounter");

    AnsiString Insert(const AnsiString& name, bool replace, const AnsiString& values = "v",
                      const AnsiString& user = "796") {
        return VarToStr(CallMethod(server_, "InsertConTable",
                                   VarArrayOf({Variant(name), Variant(user), Variant("20240105"), Variant("KLNB07"),
                                               Variant("sp01,rg06"), Variant(values), Variant(replace)})));
    }

    // The provider's rows as the form's client data set reads them: LoadTable, then the records.
    std::vector<std::vector<AnsiString>> List(const AnsiString& user = "796") {
        DispatchArgs load{VarArrayOf({Variant(user), Variant("KLNB07")})};
        CallMethodRef(server_, "LoadTable", load);
        DispatchArgs get{Variant("pvdConSave"), Variant(std::int32_t(-1)), Variant(), Variant(std::int32_t(0)),
                         Variant(""), Variant(), Variant()};
        const Variant packet = CallMethodRef(server_, "AS_GetRecords", get);
        const VariantArray& fields = packet[0].AsArray();
        EXPECT_EQ(VarToStr(fields[0]), "NCONDITION");
        EXPECT_EQ(VarToStr(fields[5]), "PROGRAMME");
        std::vector<std::vector<AnsiString>> rows;
        for (const Variant& row : packet[1].AsArray().Elements()) {
            std::vector<AnsiString> texts;
            for (const Variant& field : row.AsArray().Elements()) texts.push_back(VarToStr(field));
            rows.push_back(texts);
        }
        EXPECT_EQ(get[2].AsInteger(), static_cast<std::int32_t>(rows.size())); // RecsOut
        return rows;
    }
};

TEST_F(SchemeTest, SavedSchemesAreListedForTheirUserAndProgramOnly) {
    EXPECT_EQ(Insert(Gb("一月发票"), false, Gb("值一")), "");
    EXPECT_EQ(Insert("A", false), "");
    EXPECT_EQ(Insert("Other", false, "v", "F001"), "");
    const auto rows = List();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<AnsiString>{"A", "sp01,rg06", "v", "20240105", "796", "KLNB07"}));
    EXPECT_EQ(rows[1][0], Gb("一月发票"));
    EXPECT_EQ(rows[1][2], Gb("值一"));
    EXPECT_EQ(List("F001").size(), 1u);
}

TEST_F(SchemeTest, ASecondSchemeOfTheSameNameNeedsReplace) {
    ASSERT_EQ(Insert("S1", false, "first"), "");
    const AnsiString refused = Insert("S1", false, "second");
    EXPECT_NE(refused.find(Gb("已经存在")), AnsiString::npos) << refused;
    EXPECT_EQ(List()[0][2], "first");
    EXPECT_EQ(Insert("S1", true, "second"), "");
    ASSERT_EQ(List().size(), 1u);
    EXPECT_EQ(List()[0][2], "second");
}

TEST_F(SchemeTest, NamesAreCheckedInBytesOfTheCodePage) {
    struct Case {
        AnsiString name;
        bool accepted;
    };
    const Case cases[] = {
        {std::string(20, 'x'), true},       {std::string(21, 'x'), false},
        {Gb("一二三四五六七八九十"), true}, {Gb("一二三四五六七八九十壹"), false},
        {"   ", false},                     {"", false},
        {" lead", true},
    };
    for (const Case& c : cases) EXPECT_EQ(Insert(c.name, false).empty(), c.accepted) << c.name;
    // A wide name counts the bytes it has in the database code page.
    const AnsiString wide = VarToStr(CallMethod(
        server_, "InsertConTable",
        VarArrayOf({Variant(u"一二三四五六七八九十壹"), Variant("796"), Variant("20240105"), Variant("KLNB07"),
                    Variant(""), Variant(""), Variant(false)})));
    EXPECT_NE(wide, "");
    EXPECT_EQ(List().size(), 3u);
}

TEST_F(SchemeTest, BadSaveArgumentsAreAnsweredNotStored) {
    EXPECT_NE(VarToStr(CallMethod(server_, "InsertConTable", VarArrayOf({Variant("x"), Variant("796")}))), "");
    EXPECT_NE(VarToStr(CallMethod(server_, "InsertConTable",
                                  VarArrayOf({Variant("x"), Variant("796"), Variant("2024-01-05"), Variant("KLNB07"),
                                              Variant(""), Variant(""), Variant(false)}))),
              "");
    EXPECT_TRUE(List().empty());
}

TEST_F(SchemeTest, RenameAndDelete) {
    ASSERT_EQ(Insert("Old", false), "");
    ASSERT_EQ(Insert("Taken", false), "");
    auto rename = [&](const AnsiString& from, const AnsiString& to, const AnsiString& toUser = "796") {
        return VarToStr(CallMethod(server_, "ChangeConName",
                                   VarArrayOf({Variant(from), Variant("796"), Variant("KLNB07")}),
                                   VarArrayOf({Variant(to), Variant(toUser), Variant("KLNB07")})));
    };
    EXPECT_NE(rename("Old", "Taken"), "");
    EXPECT_NE(rename("Missing", "New"), "");
    EXPECT_NE(rename("Old", std::string(21, 'n')), "");
    EXPECT_NE(rename("Old", "New", "F001"), "");
    EXPECT_EQ(rename("Old", "Old"), "");
    EXPECT_EQ(rename("Old", "old"), ""); // names differ by case: another name
    auto names = [&] {
        std::vector<AnsiString> list;
        for (const auto& row : List()) list.push_back(row[0]);
        return list;
    };
    EXPECT_EQ(names(), (std::vector<AnsiString>{"Taken", "old"}));

    auto remove = [&](const AnsiString& name) {
        const Variant key = VarArrayOf({Variant(name), Variant("796"), Variant("KLNB07")});
        return VarToStr(CallMethod(server_, "DeleteConTable", key));
    };
    EXPECT_EQ(remove("old"), "");
    EXPECT_NE(remove("old"), "");
    EXPECT_EQ(names(), (std::vector<AnsiString>{"Taken"}));
}

TEST_F(SchemeTest, ProviderAnswersNothingBeforeLoadTableAndKnowsOneName) {
    const Variant packet = CallMethod(server_, "AS_GetRecords", Variant("pvdConSave"));
    EXPECT_EQ(packet[1].AsArray().ElementCount(), 0u);
    EXPECT_THROW(CallMethod(server_, "AS_GetRecords", Variant("pvdOther")), EOleError);
    EXPECT_EQ(VarToStr(CallMethod(server_, "AS_GetProviderNames")[0]), "pvdConSave");
}

} // namespace
} // namespace qmx::reference
