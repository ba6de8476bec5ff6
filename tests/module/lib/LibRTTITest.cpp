#include <gtest/gtest.h>

#include "lib/LibRTTI.h"
#include "qmx/toolkit/Button.h"
#include "qmx/toolkit/Color.h"
#include "qmx/toolkit/Form.h"
#include "qmx/toolkit/Label.h"
#include "qmx/toolkit/TypInfo.h"

using namespace qmx;

class LibRTTITest : public ::testing::Test {
protected:
    void SetUp() override {
        form = New<TForm>(nullptr);
        label = New<TLabel>(form);
        label->SetParent(form);
        label->SetCaption("Caption of the label");
        button = New<TButton>(form);
        button->SetParent(form);
    }
    void TearDown() override { delete form; }

    TForm* form = nullptr;
    TLabel* label = nullptr;
    TButton* button = nullptr;
};

TEST_F(LibRTTITest, TextsByNameWithoutRegardToCase) {
    EXPECT_TRUE(HasPropByName(label, "caption"));
    EXPECT_EQ(GetStrPropByName(label, "CAPTION"), "Caption of the label");
    SetStrPropByName(label, "Caption", "new");
    EXPECT_EQ(label->Caption(), "new");
    // Missing: an unpublished name, an empty name, no object.
    EXPECT_FALSE(HasPropByName(label, "ButtonHint"));
    EXPECT_EQ(GetStrPropByName(label, "ButtonHint"), "");
    EXPECT_EQ(GetStrPropByName(label, ""), "");
    EXPECT_EQ(GetStrPropByName(nullptr, "Caption"), "");
    EXPECT_FALSE(HasPropByName(nullptr, "Caption"));
    SetStrPropByName(nullptr, "Caption", "x");
}

TEST_F(LibRTTITest, OrdinalsAndTheRequiredColour) {
    SetOrdPropByName(label, "Color", 0xAFFFFF);
    EXPECT_EQ(GetOrdPropByName(label, "Color"), 0xAFFFFF);
    EXPECT_EQ(label->Color(), TColor(0xAFFFFF));
    // A button publishes no Color: nothing changes, nothing is raised.
    EXPECT_FALSE(HasPropByName(button, "Color"));
    EXPECT_NO_THROW(SetOrdPropByName(button, "Color", 0xAFFFFF));
    EXPECT_EQ(GetOrdPropByName(button, "Color"), 0);
    // Booleans and enumerations are ordinals too.
    SetOrdPropByName(button, "Default", 1);
    EXPECT_TRUE(button->Default());
}

TEST_F(LibRTTITest, WrongKindsAreMissingNotErrors) {
    EXPECT_EQ(GetStrPropByName(label, "Color"), "");
    EXPECT_EQ(GetOrdPropByName(label, "Caption"), 0);
    EXPECT_NO_THROW(SetStrPropByName(label, "Color", "red"));
    EXPECT_NO_THROW(SetOrdPropByName(label, "Caption", 5));
    EXPECT_EQ(label->Caption(), "Caption of the label");
    EXPECT_FALSE(GetMethodPropByName(label, "Caption").Assigned());
}

TEST_F(LibRTTITest, SaveReplaceAndCallTheSavedHandler) {
    std::vector<std::string> calls;
    button->OnExit = TNotifyEvent(nullptr, [&](TObject*) { calls.push_back("original"); });
    const TMethod saved = GetMethodPropByName(button, "OnExit");
    ASSERT_TRUE(saved.Assigned());
    SetMethodPropByName(button, "OnExit", TNotifyEvent(nullptr, [&, saved](TObject* sender) {
        calls.push_back("framework");
        saved.As<TNotifyEvent>()(sender);
    }));
    GetMethodPropByName(button, "OnExit").As<TNotifyEvent>()(button);
    EXPECT_EQ(calls, (std::vector<std::string>{"framework", "original"}));

    // An unassigned handler reads as an empty event.
    EXPECT_FALSE(GetMethodPropByName(button, "OnEnter").Assigned());
    EXPECT_FALSE(GetMethodPropByName(button, "OnNothing").Assigned());
}
