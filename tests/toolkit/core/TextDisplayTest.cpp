// Texts are code-page bytes shown through the font's character set.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "TestControls.h"
#include "qmx/toolkit/Button.h"
#include "qmx/toolkit/DisplayText.h"
#include "qmx/toolkit/Label.h"
#include "qmx/toolkit/Panel.h"
#include "qmx/toolkit/TypInfo.h"

namespace qmx::test {
namespace {

class TextDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = New<TForm>(nullptr);
        form->Font()->SetCharset(GB2312_CHARSET);
    }
    void TearDown() override { delete form; }
    TForm* form = nullptr;
};

TEST_F(TextDisplayTest, Gb2312CaptionIsShownAsItsCharacters) {
    auto* label = Make<TLabel>(form, form, "lblToday");
    label->SetCaption(UiText("制表日期"));
    EXPECT_EQ(label->Caption(), "\xD6\xC6\xB1\xED\xC8\xD5\xC6\xDA");
    EXPECT_EQ(static_cast<QLabel*>(label->Widget())->text(), QString::fromUtf8("制表日期"));
    form->SetCaption(UiText("发票底稿汇出"));
    EXPECT_EQ(form->Widget()->windowTitle(), QString::fromUtf8("发票底稿汇出"));
}

TEST_F(TextDisplayTest, Big5BytesAreShownOnceTheCharsetIs136) {
    auto* button = Make<TButton>(form, form, "btnOk");
    const AnsiString big5 = Utf8ToAnsi("確定", CP_BIG5);
    button->SetCaption(big5);
    auto* shown = static_cast<QPushButton*>(button->Widget());
    // Read as GB2312 the BIG5 bytes are other characters.
    EXPECT_NE(shown->text(), QString::fromUtf8("確定"));
    SetOrdProp(button, "Font.Charset", CHINESEBIG5_CHARSET);
    EXPECT_EQ(shown->text(), QString::fromUtf8("確定"));
    EXPECT_EQ(button->Caption(), big5); // the bytes are unchanged
}

TEST_F(TextDisplayTest, ACharsetChangeOnTheFormReachesChildrenWithParentFont) {
    auto* panel = Make<TPanel>(form, form, "pnlA");
    auto* inherits = Make<TLabel>(form, panel, "lblInherits");
    auto* own = Make<TLabel>(form, panel, "lblOwn");
    own->Font()->SetName("SimSun"); // a change of its font makes it its own
    EXPECT_FALSE(own->ParentFont());
    EXPECT_TRUE(inherits->ParentFont());
    EXPECT_EQ(inherits->Font()->Charset(), GB2312_CHARSET);

    const AnsiString big5 = Utf8ToAnsi("條件", CP_BIG5);
    inherits->SetCaption(big5);
    own->SetCaption(big5);
    form->Font()->SetCharset(CHINESEBIG5_CHARSET);
    EXPECT_EQ(panel->Font()->Charset(), CHINESEBIG5_CHARSET);
    EXPECT_EQ(static_cast<QLabel*>(inherits->Widget())->text(), QString::fromUtf8("條件"));
    EXPECT_NE(static_cast<QLabel*>(own->Widget())->text(), QString::fromUtf8("條件"));
    EXPECT_TRUE(inherits->ParentFont());
}

TEST_F(TextDisplayTest, EditedTextIsReencodedWhenTheCharsetChanges) {
    auto* edit = Make<TTestEdit>(form, form, "edName");
    edit->SetText(UiText("中国"));
    EXPECT_EQ(edit->Edit()->text(), QString::fromUtf8("中国"));
    // The bytes stay the same; what they show follows the character set.
    edit->Font()->SetCharset(CHINESEBIG5_CHARSET);
    EXPECT_EQ(edit->Text(), UiText("中国"));
    EXPECT_EQ(edit->Edit()->text(), AnsiToQString(UiText("中国"), CP_BIG5));
}

TEST_F(TextDisplayTest, FontSizeAndHeight) {
    TFont font;
    font.SetSize(9);
    EXPECT_EQ(font.Height(), -12);
    font.SetHeight(-13);
    EXPECT_EQ(font.Size(), 10);
    EXPECT_EQ(font.ToQFont().pixelSize(), 13);
    int changes = 0;
    font.OnChange = TNotifyEvent(nullptr, [&](TObject*) { ++changes; });
    TFont other;
    other.SetName("Tahoma");
    other.SetStyle({fsBold, fsItalic});
    font.Assign(&other);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(font.ToQFont().bold());
}

TEST(ColorTest, SystemAndNamedColours) {
    EXPECT_EQ(StringToColor("clBtnFace"), clBtnFace);
    EXPECT_EQ(StringToColor("$00AFFFFF"), 0xAFFFFF);
    EXPECT_EQ(StringToColor("-2147483633"), clBtnFace);
    EXPECT_EQ(ColorToString(clInfoBk), "clInfoBk");
    EXPECT_EQ(ColorToString(0xAFFFFF), "$00AFFFFF");
    EXPECT_THROW(StringToColor("clChartreuse"), EConvertError);
    // 0x00BBGGRR: the required-field yellow is red FF, green FF, blue AF.
    const QColor yellow = ColorToQColor(0xAFFFFF);
    EXPECT_EQ(yellow, QColor(0xFF, 0xFF, 0xAF));
    EXPECT_EQ(ColorToQColor(clWindow), QApplication::palette().color(QPalette::Base));
    EXPECT_EQ(ColorToRGB(clHighlight), QColorToColor(QApplication::palette().color(QPalette::Highlight)));
}

} // namespace
} // namespace qmx::test
