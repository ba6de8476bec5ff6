// Forms: showing, closing through the event queue, modal results, errors, rendering.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <memory>

#include "TestControls.h"
#include "qmx/toolkit/Button.h"
#include "qmx/toolkit/Dialogs.h"
#include "qmx/toolkit/Label.h"
#include "qmx/toolkit/Screen.h"

namespace qmx::test {
namespace {

using Events = std::vector<std::string>;

class FormTest : public ::testing::Test {
protected:
    void SetUp() override { Application->ClearLastException(); }
    void TearDown() override {
        Application->SetModalHandler(nullptr);
        Application->OnException = nullptr;
        Application->ProcessMessages();
    }
};

// Tells whether a form still exists.
class TFormWatch : public TComponent {
public:
    explicit TFormWatch(TForm* form) : TComponent(nullptr) { form->FreeNotification(this); }
    bool Freed = false;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == opRemove) Freed = true;
    }
};

TEST_F(FormTest, CreateShowHideCloseEventsInOrder) {
    Events events;
    auto* form = new TForm(nullptr);
    auto note = [&](const char* what) { return TNotifyEvent(nullptr, [&events, what](TObject*) { events.push_back(what); }); };
    form->OnCreate = note("create");
    form->OnShow = note("show");
    form->OnHide = note("hide");
    form->OnCloseQuery = TCloseQueryEvent(nullptr, [&](TObject*, bool&) { events.push_back("closequery"); });
    form->OnClose = TCloseEvent(nullptr, [&](TObject*, TCloseAction& action) {
        events.push_back(action == caHide ? "close caHide" : "close ?");
    });
    form->AfterConstruction();
    form->Show();
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(form->Widget()->isVisible());
    form->Close();
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->Widget()->isVisible());
    EXPECT_EQ(events, (Events{"create", "show", "closequery", "close caHide", "hide"}));
    delete form;
}

TEST_F(FormTest, APostedCloseTakesEffectWhenEventsAreProcessed) {
    auto* form = New<TForm>(nullptr);
    int closes = 0;
    form->OnClose = TCloseEvent(nullptr, [&](TObject*, TCloseAction&) { ++closes; });
    form->Show();
    PostMessage(form, WM_CLOSE);
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(closes, 0);
    Application->ProcessMessages();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(form->Visible());
    // The same through the native handle.
    form->Show();
    EXPECT_TRUE(PostMessage(form->Handle(), WM_CLOSE));
    EXPECT_TRUE(form->Visible());
    Application->ProcessMessages();
    EXPECT_FALSE(form->Visible());
    delete form;
}

TEST_F(FormTest, CloseActionFreeReleasesTheFormThroughTheQueue) {
    auto* form = New<TForm>(nullptr);
    TFormWatch watch(form);
    form->OnClose = TCloseEvent(nullptr, [](TObject*, TCloseAction& action) { action = caFree; });
    form->Show();
    const int formsBefore = Screen->FormCount();
    form->Close();
    EXPECT_FALSE(watch.Freed);
    EXPECT_EQ(Screen->FormCount(), formsBefore);
    Application->ProcessMessages();
    EXPECT_TRUE(watch.Freed);
    EXPECT_EQ(Screen->FormCount(), formsBefore - 1);
}

TEST_F(FormTest, CloseQueryCanRefuseAndCaNoneKeepsTheForm) {
    auto* form = New<TForm>(nullptr);
    bool allow = false;
    form->OnCloseQuery = TCloseQueryEvent(nullptr, [&](TObject*, bool& canClose) { canClose = allow; });
    form->Show();
    form->Close();
    EXPECT_TRUE(form->Visible());
    allow = true;
    form->OnClose = TCloseEvent(nullptr, [](TObject*, TCloseAction& action) { action = caNone; });
    form->Close();
    EXPECT_TRUE(form->Visible());
    form->OnClose = nullptr;
    form->Close();
    EXPECT_FALSE(form->Visible());
    delete form;
}

TEST_F(FormTest, ShowModalIsAnsweredByTheModalHandler) {
    auto* form = New<TForm>(nullptr);
    auto* ok = Make<TButton>(form, form, "btnOk");
    ok->SetModalResult(mrOk);
    Events events;
    form->OnShow = TNotifyEvent(nullptr, [&](TObject*) { events.push_back("show"); });
    form->OnHide = TNotifyEvent(nullptr, [&](TObject*) { events.push_back("hide"); });
    ScopedModalHandler handler([&](TCustomForm& shown) {
        events.push_back(shown.Modal() && shown.Visible() ? "handler" : "handler?");
        static_cast<TButton*>(shown.FindComponent("btnOk"))->Click();
        return mrNone;
    });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->Modal());
    EXPECT_EQ(events, (Events{"show", "handler", "hide"}));

    // A handler that answers nothing closed the window: mrCancel.
    Application->SetModalHandler([](TCustomForm&) { return mrNone; });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    // The answer goes through OnCloseQuery: a refused close asks the handler again.
    int asked = 0;
    form->OnCloseQuery = TCloseQueryEvent(nullptr, [&](TObject*, bool& canClose) { canClose = asked > 1; });
    Application->SetModalHandler([&](TCustomForm&) {
        ++asked;
        return mrRetry;
    });
    EXPECT_EQ(form->ShowModal(), mrRetry);
    EXPECT_EQ(asked, 2);
    // A handler that never gets the form closed ends in an error, not a hang.
    form->OnCloseQuery = TCloseQueryEvent(nullptr, [](TObject*, bool& canClose) { canClose = false; });
    EXPECT_THROW(form->ShowModal(), EInvalidOperation);
    EXPECT_FALSE(form->Visible());
    delete form;
}

TEST_F(FormTest, ModalLoopEndsWithCancelWhenTheWindowIsClosed) {
    auto* form = New<TForm>(nullptr);
    // No handler: the real modal loop runs and handles the posted close request.
    PostMessage(form, WM_CLOSE);
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_FALSE(form->Visible());
    form->Show();
    EXPECT_THROW(form->ShowModal(), EInvalidOperation);
    delete form;
}

TEST_F(FormTest, AnErrorInAClickHandlerReachesHandleException) {
    auto* form = New<TForm>(nullptr);
    auto* button = Make<TButton>(form, form, "btnGo");
    button->OnClick = TNotifyEvent(nullptr, [](TObject*) { throw EConvertError("'abc' is not a valid date"); });
    form->Show();
    // Default handling: an error dialog, answered here.
    AnsiString shownText;
    AnsiString shownCaption;
    ScopedModalHandler handler([&](TCustomForm& dialog) {
        shownCaption = dialog.Caption();
        if (auto* message = dynamic_cast<TLabel*>(dialog.FindComponent("Message"))) shownText = message->Caption();
        return dialog.FindComponent("OK") ? mrOk : mrNone;
    });
    Application->SetTitle("KLNB07");
    QTest::mouseClick(button->Widget(), Qt::LeftButton);
    EXPECT_EQ(Application->LastExceptionMessage(), "'abc' is not a valid date");
    EXPECT_EQ(Application->LastExceptionClass(), "EConvertError");
    EXPECT_EQ(shownText, "'abc' is not a valid date.");
    EXPECT_EQ(shownCaption, "KLNB07");

    // With OnException the application's handler decides; EAbort stays silent.
    std::vector<std::string> seen;
    Application->OnException = TExceptionEvent(nullptr, [&](TObject* sender, const Exception& e) {
        seen.push_back((sender == button ? "button: " : "?: ") + e.Message());
    });
    shownText.clear();
    QTest::mouseClick(button->Widget(), Qt::LeftButton);
    button->OnClick = TNotifyEvent(nullptr, [](TObject*) { Abort(); });
    QTest::mouseClick(button->Widget(), Qt::LeftButton);
    EXPECT_EQ(seen, (std::vector<std::string>{"button: 'abc' is not a valid date"}));
    EXPECT_TRUE(shownText.empty());
    Application->SetTitle("");
    delete form;
}

TEST_F(FormTest, ErrorsInOnCreateGoToHandleException) {
    Application->OnException = TExceptionEvent(nullptr, [](TObject*, const Exception&) {});
    auto* form = new TForm(nullptr);
    form->OnCreate = TNotifyEvent(nullptr, [](TObject*) { throw Exception("no database"); });
    EXPECT_NO_THROW(form->AfterConstruction());
    EXPECT_EQ(Application->LastExceptionMessage(), "no database");
    delete form;
}

TEST_F(FormTest, ScreenCenteredOnShow) {
    auto* form = New<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 200);
    form->SetPosition(poScreenCenter);
    form->Show();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(form->Left(), area.x() + (area.width() - 300) / 2);
    EXPECT_EQ(form->Top(), area.y() + (area.height() - 200) / 2);
    delete form;
}

TEST_F(FormTest, AFormRendersToPng) {
    auto* form = New<TForm>(nullptr);
    form->SetBounds(0, 0, 240, 140);
    form->SetColor(clWhite);
    auto* label = Make<TLabel>(form, form, "lblTitle");
    label->Font()->SetHeight(-16);
    label->SetCaption("Export");
    label->SetBounds(10, 10, 100, 20);
    auto* button = Make<TButton>(form, form, "btnOk");
    button->SetCaption("OK");
    button->SetBounds(20, 60, 75, 25);
    form->Show();
    Application->ProcessMessages();

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath("form.png").toStdString();
    ASSERT_TRUE(form->SaveToPng(path));
    QImage image(QString::fromStdString(path));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), form->ClientWidth());
    EXPECT_EQ(image.height(), form->ClientHeight());
    // The background is the form's colour; the label's text and the button are drawn on it.
    EXPECT_EQ(image.pixelColor(200, 100), QColor(Qt::white));
    int dark = 0;
    for (int y = 10; y < 30; ++y)
        for (int x = 10; x < 110; ++x)
            if (image.pixelColor(x, y).lightness() < 128) ++dark;
    EXPECT_GT(dark, 10);
    EXPECT_NE(image.pixelColor(57, 72), QColor(Qt::white));
    delete form;
}

} // namespace
} // namespace qmx::test
