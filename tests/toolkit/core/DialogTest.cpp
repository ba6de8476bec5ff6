// Message dialogs: real forms whose buttons are found by name.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include <memory>

#include "TestControls.h"
#include "qmx/toolkit/Button.h"
#include "qmx/toolkit/Dialogs.h"
#include "qmx/toolkit/DisplayText.h"
#include "qmx/toolkit/Label.h"

namespace qmx::test {
namespace {

using DialogPtr = std::unique_ptr<TForm, void (*)(TForm*)>;
DialogPtr Dialog(const AnsiString& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    return DialogPtr(CreateMessageDialog(text, type, buttons), [](TForm* f) { delete f; });
}

class DialogTest : public ::testing::Test {
protected:
    void TearDown() override { Application->SetModalHandler(nullptr); }
};

TEST_F(DialogTest, EveryButtonHasItsNameAndModalResult) {
    struct Case {
        TMsgDlgBtn Button;
        const char* Name;
        TModalResult Result;
    };
    const Case cases[] = {
        {mbYes, "Yes", mrYes},       {mbNo, "No", mrNo},           {mbOK, "OK", mrOk},
        {mbCancel, "Cancel", mrCancel}, {mbAbort, "Abort", mrAbort}, {mbRetry, "Retry", mrRetry},
        {mbIgnore, "Ignore", mrIgnore}, {mbAll, "All", mrAll},     {mbNoToAll, "NoToAll", mrNoToAll},
        {mbYesToAll, "YesToAll", mrYesToAll}, {mbHelp, "Help", mrNone},
    };
    TMsgDlgButtons all;
    for (const Case& c : cases) all += c.Button;
    DialogPtr dialog = Dialog("Question", mtConfirmation, all);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_STREQ(MessageButtonName(c.Button), c.Name);
        auto* button = dynamic_cast<TButton*>(dialog->FindComponent(c.Name));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->ModalResult(), c.Result);
        EXPECT_EQ(button->Parent(), dialog.get());
    }
    EXPECT_NE(dialog->FindComponent("Image"), nullptr);
    EXPECT_NE(dialog->FindComponent("Message"), nullptr);
}

TEST_F(DialogTest, OnlyTheAskedButtonsExist) {
    DialogPtr dialog = Dialog("Save?", mtConfirmation, mbYesNoCancel);
    EXPECT_NE(dialog->FindComponent("yes"), nullptr);
    EXPECT_NE(dialog->FindComponent("No"), nullptr);
    EXPECT_NE(dialog->FindComponent("Cancel"), nullptr);
    EXPECT_EQ(dialog->FindComponent("OK"), nullptr);
    auto* yes = static_cast<TButton*>(dialog->FindComponent("Yes"));
    auto* cancel = static_cast<TButton*>(dialog->FindComponent("Cancel"));
    EXPECT_TRUE(yes->Default());
    EXPECT_TRUE(cancel->Cancel());
    // Buttons stand in one row below the text, left to right in the order of the set.
    auto* no = static_cast<TButton*>(dialog->FindComponent("No"));
    auto* message = static_cast<TLabel*>(dialog->FindComponent("Message"));
    EXPECT_LT(yes->Left(), no->Left());
    EXPECT_LT(no->Left(), cancel->Left());
    EXPECT_GT(yes->Top(), message->Top() + message->Height() - 1);
    EXPECT_LE(cancel->Left() + cancel->Width(), dialog->ClientWidth());
}

TEST_F(DialogTest, CaptionsByType) {
    struct Case {
        TMsgDlgType Type;
        const char* Caption;
        bool Icon;
    };
    Application->SetTitle("KLNB07");
    const Case cases[] = {{mtWarning, "Warning", true},
                          {mtError, "Error", true},
                          {mtInformation, "Information", true},
                          {mtConfirmation, "Confirm", true},
                          {mtCustom, "KLNB07", false}};
    for (const Case& c : cases) {
        DialogPtr dialog = Dialog("text", c.Type, {mbOK});
        EXPECT_EQ(dialog->Caption(), c.Caption);
        EXPECT_EQ(dialog->FindComponent("Image") != nullptr, c.Icon);
    }
    Application->SetTitle("");
}

TEST_F(DialogTest, RenamedButtonsAndFontAreUsedWhenShown) {
    DialogPtr dialog = Dialog(UiText("要保存吗?"), mtConfirmation, {mbYes, mbNo});
    auto* yes = static_cast<TButton*>(dialog->FindComponent("Yes"));
    // What the framework does before showing: Chinese captions and a Chinese font.
    dialog->Font()->SetCharset(GB2312_CHARSET);
    yes->SetCaption(UiText("是(&Y)"));
    dialog->SetCaption(UiText("确认"));
    AnsiString seenCaption;
    QString seenText;
    ScopedModalHandler handler([&](TCustomForm& shown) {
        seenCaption = static_cast<TButton*>(shown.FindComponent("Yes"))->Caption();
        seenText = static_cast<QPushButton*>(yes->Widget())->text();
        static_cast<TButton*>(shown.FindComponent("No"))->Click();
        return mrNone;
    });
    EXPECT_EQ(dialog->ShowModal(), mrNo);
    EXPECT_EQ(seenCaption, UiText("是(&Y)"));
    EXPECT_EQ(seenText, QString::fromUtf8("是(&Y)"));
    auto* message = static_cast<TLabel*>(dialog->FindComponent("Message"));
    EXPECT_EQ(static_cast<QLabel*>(message->Widget())->text(), QString::fromUtf8("要保存吗?"));
    EXPECT_EQ(dialog->Widget()->windowTitle(), QString::fromUtf8("确认"));
}

TEST_F(DialogTest, MessageDlgAnswersTheButtonPressed) {
    ScopedModalHandler handler([](TCustomForm& dialog) {
        // Keyboard: Return presses the default button.
        dialog.Perform(CM_DIALOGKEY, VK_RETURN, 0);
        return mrNone;
    });
    EXPECT_EQ(MessageDlg("Continue?", mtConfirmation, mbYesNoCancel), mrYes);
    Application->SetModalHandler([](TCustomForm& dialog) {
        dialog.Perform(CM_DIALOGKEY, VK_ESCAPE, 0);
        return mrNone;
    });
    EXPECT_EQ(MessageDlg("Continue?", mtConfirmation, mbYesNoCancel), mrCancel);
    EXPECT_EQ(MessageDlg("Retry?", mtWarning, mbAbortRetryIgnore), mrCancel); // no cancel button: closed
    AnsiString caption;
    Application->SetTitle("KLNB07");
    Application->SetModalHandler([&](TCustomForm& dialog) {
        caption = dialog.Caption();
        return mrOk;
    });
    ShowMessage("Done");
    EXPECT_EQ(caption, "KLNB07");
    Application->SetTitle("");
}

} // namespace
} // namespace qmx::test
