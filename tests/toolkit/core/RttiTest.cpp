// Published properties and methods through the toolkit's RTTI.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TestControls.h"
#include "qmx/toolkit/Button.h"
#include "qmx/toolkit/Label.h"
#include "qmx/toolkit/Panel.h"
#include "qmx/toolkit/TypInfo.h"

namespace qmx {
namespace {

// A form class that publishes its handler methods, as designed forms do for their resources.
class TfrmRttiProbe : public TForm {
    QMX_CLASS(TfrmRttiProbe, TForm)

public:
    explicit TfrmRttiProbe(TComponent* owner) : TForm(owner) {}
    void btnOkClick(TObject* sender) { Clicks.push_back(sender); }
    void edKeyPress(TObject*, char& key) { key = 0; }
    std::vector<TObject*> Clicks;
};

const TClassInfo& TfrmRttiProbe::StaticClassInfo() {
    static const TClassInfo info = TClassInfoBuilder<TfrmRttiProbe>("TfrmRttiProbe", &inherited::StaticClassInfo())
                                       .Method("btnOkClick", &TfrmRttiProbe::btnOkClick)
                                       .Method("edKeyPress", &TfrmRttiProbe::edKeyPress)
                                       .Build();
    return info;
}

struct Owned {
    std::unique_ptr<TForm, void (*)(TForm*)> Form{new TfrmRttiProbe(nullptr), [](TForm* f) { delete f; }};
    TfrmRttiProbe* Probe() { return static_cast<TfrmRttiProbe*>(Form.get()); }
};

TEST(RttiTest, LooksPropertiesUpWithoutRegardToCaseAlongTheClassChain) {
    Owned o;
    auto* button = test::Make<TButton>(o.Form.get(), o.Form.get(), "btnOk");
    const TPropInfo* info = GetPropInfo(button, "caption");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info, GetPropInfo(button, "CAPTION"));
    EXPECT_EQ(info->Name, "Caption");
    // Inherited from TComponent and TControl.
    EXPECT_NE(GetPropInfo(button, "name"), nullptr);
    EXPECT_NE(GetPropInfo(button, "LEFT"), nullptr);
    SetStrProp(button, "cAPTION", "Go");
    EXPECT_EQ(button->Caption(), "Go");
}

TEST(RttiTest, KindsAndTypeNames) {
    Owned o;
    auto* button = test::Make<TButton>(o.Form.get(), o.Form.get(), "btnOk");
    auto* label = test::Make<TLabel>(o.Form.get(), o.Form.get(), "lblA");
    struct Case {
        TObject* Object;
        const char* Name;
        TTypeKind Kind;
        const char* TypeName;
    };
    const Case cases[] = {
        {button, "Caption", tkString, "TCaption"},
        {button, "Default", tkEnumeration, "Boolean"},
        {button, "ModalResult", tkInteger, "TModalResult"},
        {button, "Font", tkClass, "TFont"},
        {button, "OnClick", tkMethod, "TNotifyEvent"},
        {button, "OnKeyDown", tkMethod, "TKeyEvent"},
        {button, "OnKeyPress", tkMethod, "TKeyPressEvent"},
        {button, "Anchors", tkSet, "TAnchors"},
        {label, "Align", tkEnumeration, "TAlign"},
        {label, "Color", tkInteger, "TColor"},
        {label, "Font.Charset", tkInteger, "TFontCharset"},
        {label, "Font.Style", tkSet, "TFontStyles"},
        {o.Form.get(), "ActiveControl", tkClass, "TWinControl"},
        {o.Form.get(), "OnCloseQuery", tkMethod, "TCloseQueryEvent"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const TPropInfo* info = GetPropInfo(c.Object, c.Name);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->Kind, c.Kind);
        EXPECT_EQ(info->TypeName, c.TypeName);
    }
}

TEST(RttiTest, EachClassPublishesItsOwnSet) {
    // The framework treats a control by the names it publishes: labels take no focus events,
    // buttons have no colour.
    Owned o;
    auto* button = test::Make<TButton>(o.Form.get(), o.Form.get(), "btnOk");
    auto* label = test::Make<TLabel>(o.Form.get(), o.Form.get(), "lblA");
    auto* panel = test::Make<TPanel>(o.Form.get(), o.Form.get(), "pnlA");
    struct Case {
        TObject* Object;
        const char* Name;
        bool Published;
    };
    const Case cases[] = {
        {label, "OnEnter", false}, {label, "TabStop", false}, {label, "ImeName", false},
        {label, "Color", true},    {label, "OnClick", true},  {button, "Color", false},
        {button, "OnExit", true},  {button, "TabOrder", true}, {panel, "Color", true},
        {panel, "OnExit", true},   {panel, "Caption", true},  {panel, "Text", false},
        {button, "Hint", true},    {label, "Hint", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Object->ClassName()) + "." + c.Name);
        EXPECT_EQ(IsPublishedProp(c.Object, c.Name), c.Published);
    }
}

TEST(RttiTest, PropertyListPutsAncestorsFirst) {
    Owned o;
    auto* button = test::Make<TButton>(o.Form.get(), o.Form.get(), "btnOk");
    const auto list = GetPropList(button);
    ASSERT_GE(list.size(), 6u);
    const char* first[] = {"Name", "Tag", "Left", "Top", "Width", "Height"};
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(list[i]->Name, first[i]);
}

TEST(RttiTest, EnumerationNamesAndBooleans) {
    Owned o;
    auto* label = test::Make<TLabel>(o.Form.get(), o.Form.get(), "lblA");
    SetEnumProp(label, "Align", "ALCLIENT");
    EXPECT_EQ(label->Align(), alClient);
    EXPECT_EQ(GetEnumProp(label, "Align"), "alClient");
    SetEnumProp(label, "AutoSize", "false");
    EXPECT_FALSE(label->AutoSize());
    EXPECT_EQ(GetEnumProp(label, "AutoSize"), "False");
    EXPECT_EQ(GetOrdProp(label, "WordWrap"), 0);
    SetOrdProp(label, "WordWrap", 1);
    EXPECT_EQ(GetEnumProp(label, "WordWrap"), "True");

    const TPropInfo* align = GetPropInfo(label, "Align");
    EXPECT_EQ(GetEnumName(*align, alRight), "alRight");
    EXPECT_EQ(GetEnumValue(*align, "alBottom"), alBottom);
    EXPECT_EQ(GetEnumValue(*align, "alMiddle"), -1);
    EXPECT_THROW(SetEnumProp(label, "Align", "alMiddle"), EPropertyError);
    EXPECT_EQ(label->Align(), alClient);
    EXPECT_THROW(SetOrdProp(label, "Align", 17), EPropertyError);
}

TEST(RttiTest, SetsReadAndWriteAsText) {
    Owned o;
    auto* button = test::Make<TButton>(o.Form.get(), o.Form.get(), "btnOk");
    EXPECT_EQ(GetSetProp(button, "Anchors"), "[akLeft,akTop]");
    SetSetProp(button, "anchors", "[akRight, akBottom]");
    EXPECT_EQ(button->Anchors(), (TAnchors{akRight, akBottom}));
    SetSetProp(button, "Font.Style", "fsBold");
    EXPECT_TRUE(button->Font()->Style().Contains(fsBold));
    EXPECT_THROW(SetSetProp(button, "Anchors", "[akLeft,akMiddle]"), EPropertyError);
}

TEST(RttiTest, PropertyPaths) {
    Owned o;
    auto* button = test::Make<TButton>(o.Form.get(), o.Form.get(), "btnOk");
    SetOrdProp(button, "Font.Charset", 136);
    EXPECT_EQ(button->Font()->Charset(), 136);
    SetStrProp(button, "font.name", "Tahoma");
    EXPECT_EQ(button->Font()->Name(), "Tahoma");
    EXPECT_EQ(GetObjectProp(button, "Font"), button->Font());

    o.Form->Show();
    SetObjectProp(o.Form.get(), "ActiveControl", button);
    EXPECT_EQ(GetStrProp(o.Form.get(), "ActiveControl.Name"), "btnOk");
    SetObjectProp(o.Form.get(), "ActiveControl", nullptr);
    // A path through a nil object, and through a value that is no object.
    EXPECT_THROW(GetStrProp(o.Form.get(), "ActiveControl.Name"), EPropertyError);
    EXPECT_THROW(GetOrdProp(button, "Caption.Length"), EPropertyError);
    EXPECT_EQ(GetPropInfo(o.Form.get(), "ActiveControl.Name"), nullptr);
}

TEST(RttiTest, UnknownPropertiesAndWrongKindsRaise) {
    Owned o;
    auto* button = test::Make<TButton>(o.Form.get(), o.Form.get(), "btnOk");
    EXPECT_EQ(GetPropInfo(button, "Colour"), nullptr);
    EXPECT_FALSE(IsPublishedProp(button, "Color"));
    try {
        SetOrdProp(button, "Color", clRed);
        FAIL() << "no error";
    } catch (const EPropertyError& e) {
        EXPECT_NE(std::string(e.what()).find("no such property"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("Color"), std::string::npos);
    }
    EXPECT_THROW(GetStrProp(button, "Font.Nope"), EPropertyError);
    EXPECT_THROW(GetStrProp(button, "ModalResult"), EPropertyError);
    EXPECT_THROW(SetOrdProp(button, "Caption", 1), EPropertyError);
    EXPECT_THROW(GetStrProp(nullptr, "Caption"), EPropertyError);
    EXPECT_THROW(SetObjectProp(o.Form.get(), "ActiveControl", button->Font()), EPropertyError);
}

TEST(RttiTest, StoredDefaults) {
    Owned o;
    auto* label = test::Make<TLabel>(o.Form.get(), o.Form.get(), "lblA");
    const TPropInfo& align = *GetPropInfo(label, "Align");
    const TPropInfo& caption = *GetPropInfo(label, "Caption");
    const TPropInfo& left = *GetPropInfo(label, "Left");
    EXPECT_FALSE(IsStoredProp(label, align));
    EXPECT_FALSE(IsStoredProp(label, caption));
    EXPECT_TRUE(IsStoredProp(label, left)); // no default: always stored
    label->SetAlign(alTop);
    label->SetCaption("x");
    EXPECT_TRUE(IsStoredProp(label, align));
    EXPECT_TRUE(IsStoredProp(label, caption));
    EXPECT_FALSE(IsStoredProp(o.Form.get(), *GetPropInfo(o.Form.get(), "Visible")));
    EXPECT_FALSE(IsStoredProp(label, *GetPropInfo(label, "Font.Size")));
}

TEST(RttiTest, ClassRegistryCreatesByName) {
    Owned o;
    const TClassInfo& cls = FindClass("tbutton");
    EXPECT_EQ(&cls, &TButton::StaticClassInfo());
    ASSERT_NE(cls.Factory, nullptr);
    TComponent* created = cls.Factory(o.Form.get());
    EXPECT_EQ(created->ClassName(), "TButton");
    EXPECT_EQ(created->Owner(), o.Form.get());
    EXPECT_TRUE(created->InheritsFrom("TWinControl"));
    EXPECT_FALSE(created->InheritsFrom("TGraphicControl"));
    EXPECT_EQ(GetClass("TNoSuchClass"), nullptr);
    EXPECT_THROW(FindClass("TNoSuchClass"), EClassNotFound);
    // Abstract classes have no factory.
    EXPECT_EQ(TWinControl::StaticClassInfo().Factory, nullptr);
}

TEST(RttiTest, PublishedMethodsBindToTheInstance) {
    Owned o;
    auto* button = test::Make<TButton>(o.Form.get(), o.Form.get(), "btnOk");
    const TMethod method = GetPublishedMethod(o.Form.get(), "BTNOKCLICK");
    ASSERT_TRUE(method.Assigned());
    EXPECT_EQ(method.Data(), o.Form.get());
    SetMethodProp(button, "OnClick", method);
    button->Click();
    ASSERT_EQ(o.Probe()->Clicks.size(), 1u);
    EXPECT_EQ(o.Probe()->Clicks[0], button);
    EXPECT_FALSE(GetPublishedMethod(o.Form.get(), "NoSuchHandler").Assigned());
    // A handler of another event type cannot be installed.
    EXPECT_THROW(SetMethodProp(button, "OnKeyPress", method), EPropertyError);
    EXPECT_NO_THROW(SetMethodProp(button, "OnKeyPress", GetPublishedMethod(o.Form.get(), "edKeyPress")));
    // Bound to an instance of another class: refused.
    EXPECT_THROW(TfrmRttiProbe::StaticClassInfo().FindMethod("btnOkClick")->Bind(button), EPropertyError);
}

TEST(RttiTest, SavedEventIsCalledFromTheInstalledOne) {
    Owned o;
    auto* edit = test::Make<test::TTestEdit>(o.Form.get(), o.Form.get(), "edA");
    std::vector<std::string> calls;
    edit->OnExit = TNotifyEvent(nullptr, [&](TObject* sender) {
        calls.push_back(sender == edit ? "own" : "own?");
    });
    // What the framework does: save the handler, install its own, call the saved one from it.
    const TMethod saved = GetMethodProp(edit, "OnExit");
    ASSERT_TRUE(saved.Assigned());
    SetMethodProp(edit, "OnExit", TNotifyEvent(nullptr, [&calls, saved](TObject* sender) {
                      calls.push_back("hook");
                      saved.As<TNotifyEvent>()(sender);
                  }));
    EXPECT_NE(GetMethodProp(edit, "OnExit"), saved);
    edit->Perform(CM_EXIT);
    EXPECT_EQ(calls, (std::vector<std::string>{"hook", "own"}));

    // An unassigned event reads as an empty method; calling it is an error, not a crash.
    const TMethod empty = GetMethodProp(edit, "OnEnter");
    EXPECT_FALSE(empty.Assigned());
    EXPECT_THROW(empty.As<TNotifyEvent>()(edit), EInvalidOperation);
    EXPECT_THROW(saved.As<TKeyPressEvent>(), EInvalidOperation);
}

} // namespace
} // namespace qmx
