// Ownership, names, free notifications and the order things are freed in.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestControls.h"
#include "qmx/toolkit/Button.h"
#include "qmx/toolkit/Component.h"
#include "qmx/toolkit/Font.h"
#include "qmx/toolkit/Panel.h"

namespace qmx {
namespace {

// Writes its name into a log when freed and when told another component went away.
class TLogged : public TComponent {
public:
    TLogged(TComponent* owner, std::vector<std::string>& log, const char* name) : TComponent(owner), log_(log) {
        SetName(name);
    }
    ~TLogged() override { log_.push_back("free " + Name()); }

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == opRemove && component != this && component->Owner() != this) log_.push_back(Name() + " saw " + component->Name() + " go");
    }

private:
    std::vector<std::string>& log_;
};

TEST(ComponentTest, OwnerFreesItsComponentsLastCreatedFirst) {
    std::vector<std::string> log;
    auto* owner = new TLogged(nullptr, log, "owner");
    new TLogged(owner, log, "a");
    new TLogged(owner, log, "b");
    new TLogged(owner, log, "c");
    ASSERT_EQ(owner->ComponentCount(), 3);
    EXPECT_EQ(owner->Components(1)->Name(), "b");
    EXPECT_EQ(owner->Components(2)->ComponentIndex(), 2);
    EXPECT_THROW(owner->Components(3), EListError);
    delete owner;
    EXPECT_EQ(log, (std::vector<std::string>{"free c", "free b", "free a", "free owner"}));
}

TEST(ComponentTest, FreeingAComponentLeavesItsOwner) {
    std::vector<std::string> log;
    TLogged owner(nullptr, log, "owner");
    auto* a = new TLogged(&owner, log, "a");
    new TLogged(&owner, log, "b");
    delete a;
    ASSERT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0)->Name(), "b");
}

TEST(ComponentTest, NamesAreIdentifiersUniqueWithinTheOwner) {
    std::vector<std::string> log;
    TLogged owner(nullptr, log, "owner");
    auto* a = new TLogged(&owner, log, "btnOk");
    EXPECT_EQ(owner.FindComponent("BTNOK"), a);
    EXPECT_EQ(owner.FindComponent("btnCancel"), nullptr);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
    auto* b = new TLogged(&owner, log, "other");
    EXPECT_THROW(b->SetName("BtnOK"), EComponentError);
    EXPECT_EQ(b->Name(), "other");
    EXPECT_THROW(b->SetName("9lives"), EComponentError);
    EXPECT_THROW(b->SetName("a b"), EComponentError);
    EXPECT_NO_THROW(b->SetName(""));
    EXPECT_NO_THROW(a->SetName("BTNOK")); // its own name in another case
}

TEST(ComponentTest, FreeNotificationTellsAboutComponentsOfOtherOwners) {
    std::vector<std::string> log;
    TLogged ownerA(nullptr, log, "ownerA");
    TLogged ownerB(nullptr, log, "ownerB");
    auto* watcher = new TLogged(&ownerA, log, "watcher");
    auto* watched = new TLogged(&ownerB, log, "watched");
    watched->FreeNotification(watcher);
    delete watched;
    EXPECT_EQ(log, (std::vector<std::string>{"watcher saw watched go", "free watched"}));
    // The link is gone both ways: freeing the watcher later tells nobody about a dead object.
    log.clear();
    delete watcher;
    EXPECT_EQ(log, (std::vector<std::string>{"free watcher"}));
}

TEST(ComponentTest, AssignWithoutACommonTypeRaisesConvertError) {
    TFont font;
    TComponent component(nullptr);
    try {
        font.Assign(&component);
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TComponent to a TFont");
    }
    EXPECT_THROW(font.Assign(nullptr), EConvertError);
    TFont other;
    other.SetHeight(-20);
    other.SetCharset(134);
    font.Assign(&other);
    EXPECT_TRUE(font.Equals(other));
}

TEST(ComponentTest, FormRunsOnDestroyBeforeItsComponentsAreFreed) {
    std::vector<std::string> log;
    auto* form = New<TForm>(nullptr);
    auto* panel = test::Make<TPanel>(form, form, "pnlA");
    auto* button = test::Make<TButton>(form, panel, "btnOk");
    (void)button;
    form->OnDestroy = TNotifyEvent(nullptr, [&](TObject* sender) {
        auto* f = static_cast<TForm*>(sender);
        log.push_back(f->FindComponent("btnOk") ? "destroy with button" : "destroy without button");
        log.push_back(f->ComponentState().Contains(csDestroying) ? "destroying" : "not destroying");
    });
    delete form;
    EXPECT_EQ(log, (std::vector<std::string>{"destroy with button", "destroying"}));
}

TEST(ComponentTest, ParentFreesChildrenItDoesNotOwn) {
    auto* form = New<TForm>(nullptr);
    auto* panel = test::Make<TPanel>(form, form, "pnlA");
    std::vector<std::string> log;
    auto* button = test::Make<TButton>(nullptr, panel, "btnFree");
    auto* watcher = new TLogged(nullptr, log, "watcher");
    button->FreeNotification(watcher);
    delete panel;
    EXPECT_EQ(log, (std::vector<std::string>{"watcher saw btnFree go"}));
    EXPECT_EQ(form->ControlCount(), 0);
    delete watcher;
    delete form;
}

} // namespace
} // namespace qmx
