// Focus moves at form level: OnExit up to the common ancestor, OnEnter down to the new control.
#include <QApplication>
#include <QtTest/QTest>

#include "FormFixture.h"
#include "qmx/toolkit/Dialogs.h"

namespace qmx::test {
namespace {

using FocusTest = FormFixture;

TEST_F(FocusTest, ShowingTheFormFocusesTheFirstTabStop) {
    EXPECT_EQ(log.Events, (Events{"enter pnl1", "enter ed1"}));
    EXPECT_EQ(form->ActiveControl(), ed1);
    EXPECT_TRUE(ed1->Focused());
    EXPECT_EQ(Screen->ActiveForm(), form);
    EXPECT_EQ(Screen->ActiveControl(), ed1);
}

TEST_F(FocusTest, ExitRunsUpToTheCommonAncestorThenEnterDown) {
    log.Events.clear();
    ed3->SetFocus();
    EXPECT_EQ(log.Events, (Events{"exit ed1", "exit pnl1", "enter pnl2", "enter ed3"}));
    log.Events.clear();
    ed4->SetFocus();
    EXPECT_EQ(log.Events, (Events{"exit ed3", "exit pnl2", "enter ed4"}));
    log.Events.clear();
    ed2->SetFocus();
    EXPECT_EQ(log.Events, (Events{"exit ed4", "enter pnl1", "enter ed2"}));
    log.Events.clear();
    ed1->SetFocus();
    EXPECT_EQ(log.Events, (Events{"exit ed2", "enter ed1"}));
    EXPECT_TRUE(ed1->Focused());
    EXPECT_FALSE(ed2->Focused());
}

TEST_F(FocusTest, TheNewControlIsActiveDuringExit) {
    TWinControl* activeDuringExit = nullptr;
    ed1->OnExit = TNotifyEvent(nullptr, [&](TObject*) { activeDuringExit = form->ActiveControl(); });
    ed3->SetFocus();
    EXPECT_EQ(activeDuringExit, ed3);
}

TEST_F(FocusTest, AHandlerThatMovesTheFocusEndsTheWalk) {
    // The classic field check: refuse to leave by focusing the control again.
    ed1->OnExit = TNotifyEvent(nullptr, [&](TObject*) {
        log.Events.push_back("exit ed1");
        ed1->SetFocus();
    });
    log.Events.clear();
    ed3->SetFocus();
    EXPECT_EQ(log.Events, (Events{"exit ed1", "enter ed1"}));
    EXPECT_EQ(form->ActiveControl(), ed1);
    EXPECT_TRUE(ed1->Focused());
    EXPECT_FALSE(ed3->Focused());
}

TEST_F(FocusTest, AModalDialogIsNotAnExit) {
    TCustomForm* dialogSeen = nullptr;
    test::ScopedModalHandler handler([&](TCustomForm& dialog) {
        dialogSeen = Screen->ActiveForm();
        EXPECT_FALSE(ed1->Focused());
        return dialog.ModalResult() == mrNone ? mrOk : dialog.ModalResult();
    });
    log.Events.clear();
    EXPECT_EQ(MessageDlg("Saved", mtInformation, {mbOK}), mrOk);
    EXPECT_NE(dialogSeen, nullptr);
    EXPECT_NE(dialogSeen, form);
    Application->ProcessMessages();
    EXPECT_TRUE(log.Events.empty()) << log.Events.front();
    EXPECT_EQ(Screen->ActiveForm(), form);
    EXPECT_EQ(form->ActiveControl(), ed1);
    EXPECT_TRUE(ed1->Focused());
}

TEST_F(FocusTest, ADialogShownByAnExitHandlerDoesNotEndTheWalk) {
    test::ScopedModalHandler handler([](TCustomForm&) { return mrOk; });
    ed1->OnExit = TNotifyEvent(nullptr, [&](TObject*) {
        log.Events.push_back("exit ed1");
        MessageDlg("Check the date", mtWarning, {mbOK});
    });
    log.Events.clear();
    ed3->SetFocus();
    // The walk finishes at once, not when the focus comes back through the queue.
    EXPECT_EQ(log.Events, (Events{"exit ed1", "exit pnl1", "enter pnl2", "enter ed3"}));
    Application->ProcessMessages();
    EXPECT_EQ(log.Events.size(), 4u);
    EXPECT_TRUE(ed3->Focused());
}

TEST_F(FocusTest, TabOrderAndTheNextControlMessage) {
    QTest::keyClick(ed1->Widget(), Qt::Key_Tab);
    EXPECT_EQ(form->ActiveControl(), ed2);
    form->Perform(WM_NEXTDLGCTL, 0, 0);
    EXPECT_EQ(form->ActiveControl(), ed3);
    form->Perform(WM_NEXTDLGCTL, 1, 0);
    EXPECT_EQ(form->ActiveControl(), ed2);
    QTest::keyClick(ed2->Widget(), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(form->ActiveControl(), ed1);
    form->Perform(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ed4), 1);
    EXPECT_EQ(form->ActiveControl(), ed4);

    // ed4 first in the form's order; from the last control the order wraps around.
    ed4->SetTabOrder(0);
    EXPECT_EQ(ed4->TabOrder(), 0);
    EXPECT_EQ(pnl1->TabOrder(), 1);
    ed3->SetFocus();
    form->SelectNext(ed3, true, true);
    EXPECT_EQ(form->ActiveControl(), ed4);
    // Disabled, hidden and non-tab-stop controls are passed over.
    ed4->SetEnabled(false);
    ed1->SetVisible(false);
    ed2->SetTabStop(false);
    form->SelectNext(ed3, true, true);
    EXPECT_EQ(form->ActiveControl(), ed3);
    ed2->SetTabStop(true);
    form->SelectNext(ed3, true, true);
    EXPECT_EQ(form->ActiveControl(), ed2);
}

TEST_F(FocusTest, HidingTheFocusedControlMovesTheFocusToTheForm) {
    ed2->SetFocus();
    log.Events.clear();
    ed2->SetVisible(false);
    EXPECT_EQ(log.Events, (Events{"exit ed2", "exit pnl1"}));
    EXPECT_EQ(form->ActiveControl(), nullptr);
    EXPECT_EQ(form->FocusedControl(), form);
    QTest::keyClick(form->Widget(), Qt::Key_Tab);
    EXPECT_EQ(form->ActiveControl(), ed1);
}

TEST_F(FocusTest, ADisabledParentDisablesItsChildren) {
    ed3->SetFocus();
    pnl1->SetEnabled(false);
    EXPECT_TRUE(ed1->Enabled());
    EXPECT_FALSE(ed1->Widget()->isEnabled());
    EXPECT_FALSE(ed1->CanFocus());
    EXPECT_THROW(ed1->SetFocus(), EInvalidOperation);
    form->SelectNext(ed4, true, true);
    EXPECT_EQ(form->ActiveControl(), ed3);
    // Disabling the panel that holds the focus takes the focus away from it.
    pnl2->SetEnabled(false);
    EXPECT_EQ(form->ActiveControl(), nullptr);
    pnl1->SetEnabled(true);
    EXPECT_TRUE(ed1->Widget()->isEnabled());
    EXPECT_TRUE(ed1->CanFocus());
}

TEST_F(FocusTest, QtFocusChangesRunTheSameWalk) {
    form->Widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form->Widget()));
    Application->ProcessMessages();
    log.Events.clear();
    // As a mouse click does: Qt moves its focus, the form runs the walk.
    ed3->Widget()->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(log.Events, (Events{"exit ed1", "exit pnl1", "enter pnl2", "enter ed3"}));
    EXPECT_EQ(form->ActiveControl(), ed3);
    // Deactivating the window is not an exit.
    log.Events.clear();
    auto* other = New<TForm>(nullptr);
    other->Show();
    other->Widget()->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(other->Widget()));
    Application->ProcessMessages();
    delete other;
    Application->ProcessMessages();
    EXPECT_TRUE(log.Events.empty());
    EXPECT_EQ(form->ActiveControl(), ed3);
}

TEST_F(FocusTest, AnErrorInAnExitHandlerIsReportedAndTheWalkGoesOn) {
    test::ScopedModalHandler handler([](TCustomForm&) { return mrOk; });
    ed1->OnExit = TNotifyEvent(nullptr, [](TObject*) { throw Exception("The date is invalid"); });
    log.Events.clear();
    ed3->SetFocus();
    EXPECT_EQ(Application->LastExceptionMessage(), "The date is invalid");
    EXPECT_EQ(log.Events, (Events{"exit pnl1", "enter pnl2", "enter ed3"}));
}

} // namespace
} // namespace qmx::test
