// Applying form resources to components: creation by class name, every kind of property,
// references, events, collections, loading state, visual inheritance and errors.
#include "qmx/toolkit/FormResourceReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "qmx/toolkit/ClassBuilder.h"
#include "qmx/toolkit/FormResourceIdents.h"
#include "qmx/toolkit/FormResourceParser.h"
#include "qmx/toolkit/FormResourceRegistry.h"
#include "qmx/toolkit/FormResourceTargets.h"
#include "qmx/toolkit/StringList.h"

namespace qmx::test {

enum TTestKind { tkdNone, tkdFirst, tkdSecond };
QMX_ENUM(TTestKind, "tkdNone", "tkdFirst", "tkdSecond")
enum TTestOption { toLeft, toTop, toRight };
QMX_ENUM(TTestOption, "toLeft", "toTop", "toRight")
using TTestOptions = TSet<TTestOption>;

// What happened, in order: "Loaded a", "set b.Caption loading" ...
std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

// A sub-object reached through a property path, like a font.
class TTestFont : public TPersistent {
    QMX_CLASS(TTestFont, TPersistent)

public:
    int Charset() const { return charset_; }
    void SetCharset(int charset) { charset_ = charset; }
    int Color() const { return color_; }
    void SetColor(int color) { color_ = color; }

private:
    int charset_ = 1;
    int color_ = 0;
};

class TTestColumn : public TPersistent {
    QMX_CLASS(TTestColumn, TPersistent)

public:
    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& caption) { caption_ = caption; }
    int Width() const { return width_; }
    void SetWidth(int width) { width_ = width; }

private:
    AnsiString caption_;
    int width_ = 64;
};

class TTestColumns : public TPersistent, public IFormResourceCollection {
    QMX_CLASS(TTestColumns, TPersistent)

public:
    void ClearForReading() override { items.clear(); }
    TPersistent* AddForReading() override {
        items.push_back(std::make_unique<TTestColumn>());
        return items.back().get();
    }
    std::vector<std::unique_ptr<TTestColumn>> items;
};

class TTestPicture : public TPersistent, public IFormResourceData {
    QMX_CLASS(TTestPicture, TPersistent)

public:
    bool ReadFormData(std::string_view name, const TFormValue& value) override {
        if (name != "Data") return false;
        if (value.Kind != TFormValueKind::Binary) throw EPropertyError("binary data expected");
        bytes = value.Text;
        resourceName = value.ResourceName;
        return true;
    }
    std::string bytes;
    std::string resourceName;
};

class TTestWidget : public TComponent {
    QMX_CLASS(TTestWidget, TComponent)

public:
    explicit TTestWidget(TComponent* owner) : TComponent(owner) {}

    int Left() const { return left_; }
    void SetLeft(int left) { left_ = left; }
    double Ratio() const { return ratio_; }
    void SetRatio(double ratio) { ratio_ = ratio; }
    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& caption) {
        Log().push_back("set " + Name() + ".Caption" +
                        (ComponentState().Contains(csLoading) ? " loading" : ""));
        caption_ = caption;
    }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    TTestKind Kind() const { return kind_; }
    void SetKind(TTestKind kind) { kind_ = kind; }
    TTestOptions Options() const { return options_; }
    void SetOptions(TTestOptions options) { options_ = options; }
    char Accel() const { return accel_; }
    void SetAccel(char accel) { accel_ = accel; }
    int Color() const { return color_; }
    void SetColor(int color) { color_ = color; }
    TTestFont* Font() const { return font_.get(); }
    void SetFont(TTestFont* font) { font_->SetCharset(font->Charset()); }
    TStrings* Items() const { return items_.get(); }
    void SetItems(TStrings* items) { items_->Assign(items); }
    TTestColumns* Columns() const { return columns_.get(); }
    void SetColumns(TTestColumns*) {}
    TTestPicture* Glyph() const { return glyph_.get(); }
    void SetGlyph(TTestPicture*) {}
    TTestFont* NoFont() const { return nullptr; }
    void SetNoFont(TTestFont*) {}
    TComponent* Buddy() const { return buddy_; }
    void SetBuddy(TComponent* buddy) { buddy_ = buddy; }
    int Computed() const { return 42; }

    TNotifyEvent OnClick;
    TKeyPressEvent OnKeyPress;

    void Loaded() override {
        Log().push_back("Loaded " + Name());
        TComponent::Loaded();
    }

private:
    int left_ = 0;
    double ratio_ = 0;
    AnsiString caption_;
    bool visible_ = true;
    TTestKind kind_ = tkdNone;
    TTestOptions options_;
    char accel_ = 0;
    int color_ = 0;
    std::unique_ptr<TTestFont> font_ = std::make_unique<TTestFont>();
    std::unique_ptr<TStringList> items_ = std::make_unique<TStringList>();
    std::unique_ptr<TTestColumns> columns_ = std::make_unique<TTestColumns>();
    std::unique_ptr<TTestPicture> glyph_ = std::make_unique<TTestPicture>();
    TComponent* buddy_ = nullptr;
};

class TTestForm : public TTestWidget {
    QMX_CLASS(TTestForm, TTestWidget)

public:
    using TTestWidget::TTestWidget;
    void FormClick(TObject*) { ++clicks; }
    void FormKeyPress(TObject*, char&) {}
    int clicks = 0;
};

class TTestChildForm : public TTestForm {
    QMX_CLASS(TTestChildForm, TTestForm)

public:
    using TTestForm::TTestForm;
};

const TClassInfo& TTestFont::StaticClassInfo() {
    static const TClassInfo info = TClassInfoBuilder<TTestFont>("TTestFont", &inherited::StaticClassInfo())
        .Property("Charset", &TTestFont::Charset, &TTestFont::SetCharset).Type("TFontCharset")
        .Property("Color", &TTestFont::Color, &TTestFont::SetColor).Type("TColor")
        .Build();
    return info;
}

const TClassInfo& TTestColumn::StaticClassInfo() {
    static const TClassInfo info = TClassInfoBuilder<TTestColumn>("TTestColumn", &inherited::StaticClassInfo())
        .Property("Caption", &TTestColumn::Caption, &TTestColumn::SetCaption)
        .Property("Width", &TTestColumn::Width, &TTestColumn::SetWidth)
        .Build();
    return info;
}

const TClassInfo& TTestColumns::StaticClassInfo() {
    static const TClassInfo info = TClassInfoBuilder<TTestColumns>("TTestColumns", &inherited::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TTestPicture::StaticClassInfo() {
    static const TClassInfo info = TClassInfoBuilder<TTestPicture>("TTestPicture", &inherited::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TTestWidget::StaticClassInfo() {
    static const TClassInfo info = TClassInfoBuilder<TTestWidget>("TTestWidget", &inherited::StaticClassInfo())
        .Property("Left", &TTestWidget::Left, &TTestWidget::SetLeft)
        .Property("Ratio", &TTestWidget::Ratio, &TTestWidget::SetRatio)
        .Property("Caption", &TTestWidget::Caption, &TTestWidget::SetCaption)
        .Property("Visible", &TTestWidget::Visible, &TTestWidget::SetVisible)
        .Property("Kind", &TTestWidget::Kind, &TTestWidget::SetKind)
        .Property("Options", &TTestWidget::Options, &TTestWidget::SetOptions)
        .Property("Accel", &TTestWidget::Accel, &TTestWidget::SetAccel)
        .Property("Color", &TTestWidget::Color, &TTestWidget::SetColor).Type("TTestColor")
        .Property("Font", &TTestWidget::Font, &TTestWidget::SetFont)
        .Property("Items", &TTestWidget::Items, &TTestWidget::SetItems)
        .Property("Columns", &TTestWidget::Columns, &TTestWidget::SetColumns)
        .Property("Glyph", &TTestWidget::Glyph, &TTestWidget::SetGlyph)
        .Property("NoFont", &TTestWidget::NoFont, &TTestWidget::SetNoFont)
        .Property("Buddy", &TTestWidget::Buddy, &TTestWidget::SetBuddy)
        .ReadOnly("Computed", &TTestWidget::Computed)
        .Property("OnClick", &TTestWidget::OnClick)
        .Property("OnKeyPress", &TTestWidget::OnKeyPress)
        .Build();
    return info;
}

const TClassInfo& TTestForm::StaticClassInfo() {
    static const TClassInfo info = TClassInfoBuilder<TTestForm>("TTestForm", &inherited::StaticClassInfo())
        .Method("FormClick", &TTestForm::FormClick)
        .Method("FormKeyPress", &TTestForm::FormKeyPress)
        .Build();
    return info;
}

const TClassInfo& TTestChildForm::StaticClassInfo() {
    static const TClassInfo info =
        TClassInfoBuilder<TTestChildForm>("TTestChildForm", &inherited::StaticClassInfo()).Build();
    return info;
}

namespace {

class FormResourceReader : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterClasses({&TTestWidget::StaticClassInfo(), &TTestForm::StaticClassInfo()});
        RegisterIntegerConsts("TTestColor", [](std::string_view ident, std::int64_t& value) {
            if (ident != "tcRed" && ident != "tcSystem") return false;
            value = ident == "tcRed" ? 0xFF : 0x8000000F;
            return true;
        });
    }
    void SetUp() override { Log().clear(); }

    // Reads one resource text into a new form owned by `owner_`.
    template <class Form = TTestForm>
    Form* ReadForm(const std::string& text) {
        auto* form = New<Form>(&owner_);
        TFormResourceReader reader(form);
        reader.Read(ParseFormResource(text, "frmTest.qfm"));
        reader.Finish();
        return form;
    }
    TTestWidget* Child(TComponent* form, const char* name) {
        return dynamic_cast<TTestWidget*>(form->FindComponent(name));
    }
    // The error of reading `text`.
    std::string ErrorOf(const std::string& text) {
        try {
            ReadForm(text);
        } catch (const EFormResourceError& error) {
            return error.Message();
        }
        return "no error";
    }

    TComponent owner_{nullptr};
};

TEST_F(FormResourceReader, EveryKindOfValue) {
    TTestForm* form = ReadForm(
        "object frmTest: TTestForm\n"
        "  Left = -$10\n"
        "  Ratio = 2.5\n"
        "  Caption = '条件' + #13#10'选项'\n"
        "  Visible = False\n"
        "  Kind = tkdSecond\n"
        "  Options = [toLeft, toRight]\n"
        "  Accel = 'K'\n"
        "  Color = tcSystem\n"
        "  Font.Charset = GB2312_CHARSET\n"
        "  Font.Color = $00FF00\n"
        "  Items.Strings = (\n    'one'\n    '二')\n"
        "  Columns = <\n    item\n      Caption = 'No'\n      Width = 60\n    end\n"
        "    item\n      Caption = 'Name'\n    end>\n"
        "  Glyph.Data = {0A0B0C}\n"
        "  OnClick = FormClick\n"
        "  object edName: TTestWidget\n"
        "    Ratio = 3\n"
        "    Glyph.Data = {'BTN_OK'}\n"
        "  end\n"
        "end\n");
    EXPECT_EQ(form->Name(), "frmTest");
    EXPECT_EQ(form->Left(), -16);
    EXPECT_DOUBLE_EQ(form->Ratio(), 2.5);
    EXPECT_EQ(form->Caption(), "\xCC\xF5\xBC\xFE\r\n\xD1\xA1\xCF\xEE");
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(form->Kind(), tkdSecond);
    EXPECT_EQ(form->Options(), (TTestOptions{toLeft, toRight}));
    EXPECT_EQ(form->Accel(), 'K');
    EXPECT_EQ(form->Color(), static_cast<int>(0x8000000F)); // a system colour wraps as TColor does
    EXPECT_EQ(form->Font()->Charset(), 134);
    EXPECT_EQ(form->Font()->Color(), 0x00FF00);
    ASSERT_EQ(form->Items()->Count(), 2);
    EXPECT_EQ(form->Items()->Get(1), "\xB6\xFE");
    ASSERT_EQ(form->Columns()->items.size(), 2u);
    EXPECT_EQ(form->Columns()->items[0]->Caption(), "No");
    EXPECT_EQ(form->Columns()->items[0]->Width(), 60);
    EXPECT_EQ(form->Columns()->items[1]->Width(), 64);
    EXPECT_EQ(form->Glyph()->bytes, "\x0A\x0B\x0C");
    form->OnClick(form);
    EXPECT_EQ(form->clicks, 1);

    TTestWidget* edit = Child(form, "EDNAME");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Owner(), form);
    EXPECT_DOUBLE_EQ(edit->Ratio(), 3.0);
    EXPECT_EQ(edit->Glyph()->resourceName, "BTN_OK");
}

TEST_F(FormResourceReader, ReferencesResolveAlsoForward) {
    TTestForm* form = ReadForm(
        "object frmTest: TTestForm\n"
        "  Buddy = edLater\n"
        "  object edFirst: TTestWidget\n"
        "    Buddy = frmTest\n"
        "    OnClick = FormClick\n"
        "  end\n"
        "  object edLater: TTestWidget\n"
        "    Buddy = edFirst\n"
        "  end\n"
        "end\n");
    EXPECT_EQ(form->Buddy(), form->FindComponent("edLater"));
    EXPECT_EQ(Child(form, "edFirst")->Buddy(), form);
    EXPECT_EQ(Child(form, "edLater")->Buddy(), form->FindComponent("edFirst"));
    Child(form, "edFirst")->OnClick(nullptr); // bound to the root form
    EXPECT_EQ(form->clicks, 1);
}

TEST_F(FormResourceReader, ComponentsLoadWhileReadAndGetLoadedOnceAfterwards) {
    TTestForm* form = ReadForm(
        "object frmTest: TTestForm\n"
        "  Caption = 'x'\n"
        "  object a: TTestWidget\n"
        "    Caption = 'a'\n"
        "    object b: TTestWidget\n"
        "      Caption = 'b'\n"
        "    end\n"
        "  end\n"
        "end\n");
    EXPECT_EQ(Log(), (std::vector<std::string>{"set frmTest.Caption loading", "set a.Caption loading",
                                               "set b.Caption loading", "Loaded frmTest", "Loaded a",
                                               "Loaded b"}));
    EXPECT_FALSE(form->ComponentState().Contains(csLoading));
    EXPECT_FALSE(form->FindComponent("b")->ComponentState().Contains(csLoading));
    EXPECT_EQ(form->FindComponent("b")->Owner(), form); // every component is owned by the root
}

TEST_F(FormResourceReader, VisualInheritanceAppliesTheAncestorFirst) {
    RegisterFormResource("TTestForm",
                         "object frmBase: TTestForm\n"
                         "  Left = 1\n"
                         "  Caption = 'base'\n"
                         "  Items.Strings = ('a' 'b')\n"
                         "  object edName: TTestWidget\n"
                         "    Left = 5\n"
                         "    Caption = 'name'\n"
                         "  end\n"
                         "end\n",
                         "frmBase.qfm");
    RegisterFormResource("TTestChildForm",
                         "inherited frmChild: TTestChildForm\n"
                         "  Caption = 'child'\n"
                         "  Items.Strings = ('c')\n"
                         "  inherited edName: TTestWidget\n"
                         "    Left = 7\n"
                         "  end\n"
                         "  object edNew: TTestWidget\n"
                         "    Buddy = edName\n"
                         "  end\n"
                         "end\n",
                         "frmChild.qfm");
    auto* form = New<TTestChildForm>(&owner_);
    EXPECT_TRUE(ReadFormResources(form));
    EXPECT_EQ(form->Name(), "frmChild");
    EXPECT_EQ(form->Left(), 1);            // from the ancestor
    EXPECT_EQ(form->Caption(), "child");   // replaced
    EXPECT_EQ(form->Items()->Text(), "c\r\n");
    TTestWidget* edit = Child(form, "edName");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Left(), 7);
    EXPECT_EQ(edit->Caption(), "name");
    EXPECT_EQ(Child(form, "edNew")->Buddy(), edit);
    EXPECT_EQ(std::count(Log().begin(), Log().end(), "Loaded edName"), 1);

    // The base form alone reads only its own resource; a second instance gets a unique name.
    auto* base1 = New<TTestForm>(&owner_);
    auto* base2 = New<TTestForm>(&owner_);
    EXPECT_TRUE(ReadFormResources(base1));
    EXPECT_TRUE(ReadFormResources(base2));
    EXPECT_EQ(base1->Name(), "frmBase");
    EXPECT_EQ(base2->Name(), "frmBase_1");
    EXPECT_EQ(base2->Caption(), "base");

    // A class without any resource in its chain reads nothing.
    TTestWidget bare(nullptr);
    EXPECT_FALSE(ReadFormResources(&bare));

    UnregisterFormResource("TTestForm");
    try {
        ReadFormResources(New<TTestChildForm>(&owner_));
        FAIL();
    } catch (const EFormResourceError& error) {
        EXPECT_EQ(error.ResourceName(), "frmChild.qfm");
        EXPECT_EQ(error.Line(), 1);
    }
    UnregisterFormResource("TTestChildForm");
}

TEST_F(FormResourceReader, NestedComponentsGoToTheRegisteredParentProcedure) {
    std::vector<std::string> placed;
    RegisterParentComponentProc([&](TComponent* component, TComponent* container) {
        placed.push_back(component->Name() + " on " + container->Name());
    });
    ReadForm("object frmTest: TTestForm\n"
             "  object pnl: TTestWidget\n"
             "    object lbl: TTestWidget\n"
             "    end\n"
             "  end\n"
             "  object btn: TTestWidget\n"
             "  end\n"
             "end\n");
    RegisterParentComponentProc(nullptr);
    EXPECT_EQ(placed, (std::vector<std::string>{"pnl on frmTest", "lbl on pnl", "btn on frmTest"}));
}

struct ReaderErrorCase {
    const char* body; // the root object's contents, from line 2
    const char* message;
};

void PrintTo(const ReaderErrorCase& c, std::ostream* out) { *out << c.message; }

class FormResourceReaderErrors : public FormResourceReader,
                                 public ::testing::WithParamInterface<ReaderErrorCase> {};

TEST_P(FormResourceReaderErrors, NameResourceLineAndProperty) {
    EXPECT_EQ(ErrorOf(std::string("object frmTest: TTestForm\n") + GetParam().body + "end\n"),
              GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Cases, FormResourceReaderErrors, ::testing::Values(
    ReaderErrorCase{"  Left = 1\n  Widht = 2\n",
                    "frmTest.qfm(3): frmTest.Widht: no such property in TTestForm"},
    ReaderErrorCase{"  Font.Charzet = 1\n",
                    "frmTest.qfm(2): frmTest.Font.Charzet: no such property in TTestFont"},
    ReaderErrorCase{"  NoFont.Charset = 1\n", "frmTest.qfm(2): frmTest.NoFont.Charset: NoFont is nil"},
    ReaderErrorCase{"  Left = 'x'\n",
                    "frmTest.qfm(2): frmTest.Left: an integer expected for Integer, not a text"},
    ReaderErrorCase{"  Color = clNoSuch\n",
                    "frmTest.qfm(2): frmTest.Color: unknown value clNoSuch for TTestColor"},
    ReaderErrorCase{"  Kind = tkdThird\n",
                    "frmTest.qfm(2): frmTest.Kind: unknown value tkdThird for TTestKind"},
    ReaderErrorCase{"  Kind = 1\n",
                    "frmTest.qfm(2): frmTest.Kind: an identifier expected for TTestKind, not an integer"},
    ReaderErrorCase{"  Options = [toLeft, toBottom]\n",
                    "frmTest.qfm(2): frmTest.Options: unknown value toBottom for set of TTestOption"},
    ReaderErrorCase{"  Caption = 5\n",
                    "frmTest.qfm(2): frmTest.Caption: a text expected for String, not an integer"},
    ReaderErrorCase{"  Accel = 'ab'\n",
                    "frmTest.qfm(2): frmTest.Accel: a single-byte character expected for Char, not a text"},
    ReaderErrorCase{"  Computed = 1\n",
                    "frmTest.qfm(2): frmTest.Computed: property TTestForm.Computed is read-only"},
    ReaderErrorCase{"  Font = < >\n",
                    "frmTest.qfm(2): frmTest.Font: a TTestFont is not a collection"},
    ReaderErrorCase{"  Items.Strings = ('a' 1)\n",
                    "frmTest.qfm(2): frmTest.Items.Strings: a list of texts expected, not an integer in the list"},
    ReaderErrorCase{"  Columns = <\n    item\n      Size = 1\n    end>\n",
                    "frmTest.qfm(4): frmTest.Columns[0].Size: no such property in TTestColumn"},
    ReaderErrorCase{"  OnClick = NoSuchHandler\n",
                    "frmTest.qfm(2): frmTest.OnClick: TTestForm has no published method NoSuchHandler"},
    ReaderErrorCase{"  OnClick = FormKeyPress\n",
                    "frmTest.qfm(2): frmTest.OnClick: an event of another type cannot be assigned to a TNotifyEvent"},
    ReaderErrorCase{"  Buddy = edNowhere\n", "frmTest.qfm(2): frmTest.Buddy: component edNowhere not found"},
    ReaderErrorCase{"  Glyph.Data = 'x'\n", "frmTest.qfm(2): frmTest.Glyph.Data: binary data expected"},
    ReaderErrorCase{"  object ed: TNoSuchClass\n  end\n", "frmTest.qfm(2): class TNoSuchClass not found"},
    ReaderErrorCase{"  object ed: TTestWidget\n  end\n  object ED: TTestWidget\n  end\n",
                    "frmTest.qfm(4): a component named ED already exists"},
    ReaderErrorCase{"  inherited edGone: TTestWidget\n  end\n",
                    "frmTest.qfm(2): inherited component edGone not found"},
    ReaderErrorCase{"  object ed: TTestWidget\n    object x1: TTestForm\n      Left = 'a'\n    end\n  end\n",
                    "frmTest.qfm(4): x1.Left: an integer expected for Integer, not a text"}));

TEST_F(FormResourceReader, TheRootMustBeOfTheResourceClass) {
    try {
        ReadForm<TTestForm>("object frmX: TTestChildForm\nend\n");
        FAIL();
    } catch (const EFormResourceError& error) {
        EXPECT_EQ(error.Reason(), "the resource describes a TTestChildForm, not a TTestForm");
    }
}

TEST(FormResourceIdents, KnownTypesAndRegisteredOnes) {
    EXPECT_EQ(IdentToInteger("TFontCharset", "chinesebig5_charset"), 136);
    EXPECT_EQ(IdentToInteger("TCursor", "crHandPoint"), -21);
    EXPECT_EQ(IdentToInteger("TCursor", "crNoSuch"), std::nullopt);
    EXPECT_EQ(IdentToInteger("Integer", "crHandPoint"), std::nullopt);
    RegisterIntegerConsts("TModalResult", [](std::string_view ident, std::int64_t& value) {
        if (ident != "mrOk") return false;
        value = 1;
        return true;
    });
    EXPECT_EQ(IdentToInteger("tmodalresult", "mrOk"), 1);
}

} // namespace
} // namespace qmx::test
