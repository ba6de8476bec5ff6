// Mouse events, hints and replaceable window procedures.
#include <gtest/gtest.h>

#include <QHelpEvent>
#include <QToolTip>
#include <QtTest/QTest>

#include "FormFixture.h"
#include "qmx/toolkit/Button.h"
#include "qmx/toolkit/Label.h"

namespace qmx::test {
namespace {

using ControlEventsTest = FormFixture;

TEST_F(ControlEventsTest, MouseInputGoesToTheControlUnderTheMouseOnly) {
    auto* label = Make<TLabel>(form, pnl2, "lblA");
    label->SetAutoSize(false);
    label->SetBounds(120, 10, 60, 20);
    Events events;
    label->OnMouseDown = TMouseEvent(nullptr, [&](TObject*, TMouseButton button, TShiftState shift, int x, int y) {
        events.push_back("label down " + std::to_string(button) + (shift.Contains(ssCtrl) ? " ctrl " : " ") +
                         std::to_string(x) + "," + std::to_string(y));
    });
    label->OnMouseUp = TMouseEvent(nullptr, [&](TObject*, TMouseButton, TShiftState, int, int) { events.push_back("label up"); });
    label->OnClick = TNotifyEvent(nullptr, [&](TObject*) { events.push_back("label click"); });
    label->OnDblClick = TNotifyEvent(nullptr, [&](TObject*) { events.push_back("label dblclick"); });
    pnl2->OnMouseDown = TMouseEvent(nullptr, [&](TObject*, TMouseButton, TShiftState, int, int) { events.push_back("panel down"); });
    pnl2->OnClick = TNotifyEvent(nullptr, [&](TObject*) { events.push_back("panel click"); });

    QTest::mouseClick(label->Widget(), Qt::LeftButton, Qt::ControlModifier, QPoint(5, 6));
    EXPECT_EQ(events, (Events{"label down 0 ctrl 5,6", "label up", "label click"}));
    events.clear();
    QTest::mouseDClick(label->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));
    EXPECT_NE(std::find(events.begin(), events.end(), "label dblclick"), events.end());
    EXPECT_EQ(std::find(events.begin(), events.end(), "panel down"), events.end());
    events.clear();
    QTest::mouseClick(pnl2->Widget(), Qt::RightButton, Qt::NoModifier, QPoint(190, 90));
    EXPECT_EQ(events, (Events{"panel down"})); // no click for the right button
}

TEST_F(ControlEventsTest, HintsFollowShowHintAndTheApplication) {
    auto* button = Make<TButton>(form, pnl2, "btnHint");
    button->SetHint("Save|Saves the scheme");
    form->SetShowHint(true);
    EXPECT_TRUE(pnl2->ShowHint());
    EXPECT_TRUE(button->ShowHint());
    button->SetShowHint(false);
    EXPECT_FALSE(button->ParentShowHint());
    button->SetParentShowHint(true);
    EXPECT_TRUE(button->ShowHint());

    QHelpEvent help(QEvent::ToolTip, QPoint(3, 3), button->Widget()->mapToGlobal(QPoint(3, 3)));
    QCoreApplication::sendEvent(button->Widget(), &help);
    EXPECT_EQ(QToolTip::text(), "Save");
    // With hints off application-wide nothing new is shown.
    Application->SetShowHint(false);
    button->SetHint("Open");
    QCoreApplication::sendEvent(button->Widget(), &help);
    EXPECT_NE(QToolTip::text(), "Open");
    Application->SetShowHint(true);
    QCoreApplication::sendEvent(button->Widget(), &help);
    EXPECT_EQ(QToolTip::text(), "Open");
    QToolTip::hideText();
}

TEST_F(ControlEventsTest, WindowProcCanBeReplacedPerInstance) {
    int keyDowns = 0;
    ed1->OnKeyDown = TKeyEvent(nullptr, [&](TObject*, Word&, TShiftState) { ++keyDowns; });
    // The framework's way: keep the old procedure, look at the message, hand the rest on.
    const TWndMethod saved = ed1->WindowProc;
    int seen = 0;
    ed1->WindowProc = [&, saved](TMessage& message) {
        if (message.Msg == WM_KEYDOWN && message.WParam == VK_F2) {
            ++seen;
            message.WParam = 0;
            return;
        }
        saved(message);
    };
    QTest::keyClick(ed1->Widget(), Qt::Key_F2);
    QTest::keyClick(ed1->Widget(), Qt::Key_F3);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(keyDowns, 1);
    ed1->WindowProc = saved;
}

// A form that answers a user message in its window procedure, as the lookup request is answered.
class TLookupForm : public TForm {
public:
    using TForm::TForm;
    static constexpr Cardinal WM_LOOKUP = WM_USER + 10;
    TControl* Asked = nullptr;
    void WndProc(TMessage& message) override {
        if (message.Msg == WM_LOOKUP) {
            Asked = reinterpret_cast<TControl*>(message.LParam);
            message.Result = 1;
            return;
        }
        TForm::WndProc(message);
    }
};

TEST(FormMessageTest, AUserMessageReachesTheFormsWindowProcedure) {
    auto* form = New<TLookupForm>(nullptr);
    auto* edit = Make<TTestEdit>(form, form, "edDate");
    EXPECT_EQ(form->Perform(TLookupForm::WM_LOOKUP, 0, reinterpret_cast<LPARAM>(edit)), 1);
    EXPECT_EQ(form->Asked, edit);
    EXPECT_EQ(SendMessage(form->Handle(), TLookupForm::WM_LOOKUP, 0, 0), 1);
    EXPECT_EQ(form->Asked, nullptr);
    EXPECT_EQ(form->Perform(WM_USER + 11), 0);
    delete form;
}

} // namespace
} // namespace qmx::test
