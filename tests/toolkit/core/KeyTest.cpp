// Keys: the form's preview, swallowing, code-page bytes, dialog keys.
#include <QInputMethodEvent>
#include <QtTest/QTest>

#include "FormFixture.h"
#include "qmx/toolkit/Button.h"
#include "qmx/toolkit/DisplayText.h"

namespace qmx::test {
namespace {

using KeyTest = FormFixture;

struct KeyLog {
    Events Seen;
    TKeyEvent Down(const std::string& who, Word swallow = 0) {
        return TKeyEvent(nullptr, [this, who, swallow](TObject*, Word& key, TShiftState) {
            Seen.push_back(who + " down " + std::to_string(key));
            if (key == swallow) key = 0;
        });
    }
    TKeyPressEvent Press(const std::string& who, char swallow = 1) {
        return TKeyPressEvent(nullptr, [this, who, swallow](TObject*, char& key) {
            Seen.push_back(who + " press " + std::to_string(static_cast<unsigned char>(key)));
            if (key == swallow) key = 0;
        });
    }
};

TEST_F(KeyTest, PreviewRunsTheFormsHandlersFirst) {
    KeyLog keys;
    form->SetKeyPreview(true);
    form->OnKeyDown = keys.Down("form");
    form->OnKeyPress = keys.Press("form");
    ed1->OnKeyDown = keys.Down("ed1");
    ed1->OnKeyPress = keys.Press("ed1");
    QTest::keyClick(ed1->Widget(), Qt::Key_A);
    EXPECT_EQ(keys.Seen, (Events{"form down 65", "ed1 down 65", "form press 97", "ed1 press 97"}));
    EXPECT_EQ(ed1->Edit()->text(), "a");
}

TEST_F(KeyTest, WithoutPreviewTheFormSeesNothing) {
    KeyLog keys;
    form->OnKeyDown = keys.Down("form");
    ed1->OnKeyDown = keys.Down("ed1");
    QTest::keyClick(ed1->Widget(), Qt::Key_F2);
    EXPECT_EQ(keys.Seen, (Events{"ed1 down 113"}));
}

TEST_F(KeyTest, AKeySetToZeroIsSwallowed) {
    KeyLog keys;
    form->SetKeyPreview(true);
    form->OnKeyDown = keys.Down("form", VK_F2);
    form->OnKeyPress = keys.Press("form", 'x');
    ed1->OnKeyDown = keys.Down("ed1");
    ed1->OnKeyPress = keys.Press("ed1");
    QTest::keyClick(ed1->Widget(), Qt::Key_F2);
    EXPECT_EQ(keys.Seen, (Events{"form down 113"}));
    keys.Seen.clear();
    QTest::keyClick(ed1->Widget(), Qt::Key_X);
    EXPECT_EQ(keys.Seen, (Events{"form down 88", "ed1 down 88", "form press 120"}));
    EXPECT_EQ(ed1->Edit()->text(), "");
    // A key swallowed in OnKeyDown still arrives as a character, as in the original.
    keys.Seen.clear();
    ed1->OnKeyDown = keys.Down("ed1", 'Y');
    QTest::keyClick(ed1->Widget(), Qt::Key_Y);
    EXPECT_EQ(keys.Seen, (Events{"form down 89", "ed1 down 89", "form press 121", "ed1 press 121"}));
    EXPECT_EQ(ed1->Edit()->text(), "y");
}

TEST_F(KeyTest, AChangedCharacterIsWhatTheControlReceives) {
    ed1->OnKeyPress = TKeyPressEvent(nullptr, [](TObject*, char& key) {
        if (key >= 'a' && key <= 'z') key = static_cast<char>(key - 32);
    });
    QTest::keyClicks(ed1->Widget(), "ab1");
    EXPECT_EQ(ed1->Edit()->text(), "AB1");
    EXPECT_EQ(ed1->Text(), "AB1");
}

TEST_F(KeyTest, ComposedTextArrivesAsCodePageBytes) {
    ed1->Font()->SetCharset(GB2312_CHARSET);
    std::string pressed;
    ed1->OnKeyPress = TKeyPressEvent(nullptr, [&](TObject*, char& key) { pressed += key; });
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("中文"));
    QCoreApplication::sendEvent(ed1->Widget(), &commit);
    EXPECT_EQ(pressed, UiText("中文"));
    EXPECT_EQ(pressed, "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(ed1->Edit()->text(), QString::fromUtf8("中文"));
    EXPECT_EQ(ed1->Text(), "\xD6\xD0\xCE\xC4");
}

TEST_F(KeyTest, ReturnAndEscapeGoToTheDefaultAndCancelButtons) {
    auto* ok = Make<TButton>(form, form, "btnOk");
    ok->SetModalResult(mrOk);
    ok->SetDefault(true);
    auto* cancel = Make<TButton>(form, form, "btnCancel");
    cancel->SetModalResult(mrCancel);
    cancel->SetCancel(true);
    int okClicks = 0;
    ok->OnClick = TNotifyEvent(nullptr, [&](TObject*) { ++okClicks; });
    KeyLog keys;
    form->SetKeyPreview(true);
    form->OnKeyDown = keys.Down("form");

    QTest::keyClick(ed1->Widget(), Qt::Key_Return);
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(form->ModalResult(), mrOk);
    QTest::keyClick(ed1->Widget(), Qt::Key_Escape);
    EXPECT_EQ(form->ModalResult(), mrCancel);
    // The buttons took the keys: the form's preview did not see them.
    EXPECT_TRUE(keys.Seen.empty());

    // A focused button answers Return itself; without a default button Return reaches the form.
    cancel->SetFocus();
    QTest::keyClick(cancel->Widget(), Qt::Key_Return);
    EXPECT_EQ(okClicks, 1);
    ok->SetDefault(false);
    ed1->SetFocus();
    QTest::keyClick(ed1->Widget(), Qt::Key_Return);
    EXPECT_EQ(keys.Seen, (Events{"form down 13"}));
}

TEST_F(KeyTest, ArrowKeysMoveBetweenButtonsButStayInEdits) {
    auto* b1 = Make<TButton>(form, form, "btnA");
    auto* b2 = Make<TButton>(form, form, "btnB");
    b1->SetFocus();
    QTest::keyClick(b1->Widget(), Qt::Key_Right);
    EXPECT_EQ(form->ActiveControl(), b2);
    QTest::keyClick(b2->Widget(), Qt::Key_Up);
    EXPECT_EQ(form->ActiveControl(), b1);
    ed1->SetFocus();
    QTest::keyClick(ed1->Widget(), Qt::Key_Down);
    EXPECT_EQ(form->ActiveControl(), ed1);
}

} // namespace
} // namespace qmx::test
