#pragma once
// A shown form with two panels of edits, for focus and key tests:
//   pnl1 (ed1, ed2), pnl2 (ed3), ed4 directly on the form.
#include <gtest/gtest.h>

#include "TestControls.h"
#include "qmx/toolkit/Panel.h"
#include "qmx/toolkit/Screen.h"

namespace qmx::test {

class FormFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Application->ClearLastException();
        form = New<TForm>(nullptr);
        form->SetName("frmFocus");
        form->SetBounds(10, 10, 400, 300);
        pnl1 = Make<TPanel>(form, form, "pnl1");
        pnl1->SetBounds(0, 0, 200, 100);
        ed1 = Make<TTestEdit>(form, pnl1, "ed1");
        ed2 = Make<TTestEdit>(form, pnl1, "ed2");
        ed2->SetTop(30);
        pnl2 = Make<TPanel>(form, form, "pnl2");
        pnl2->SetBounds(0, 120, 200, 100);
        ed3 = Make<TTestEdit>(form, pnl2, "ed3");
        ed4 = Make<TTestEdit>(form, form, "ed4");
        ed4->SetTop(240);
        for (TWinControl* c : {static_cast<TWinControl*>(pnl1), static_cast<TWinControl*>(pnl2),
                               static_cast<TWinControl*>(ed1), static_cast<TWinControl*>(ed2),
                               static_cast<TWinControl*>(ed3), static_cast<TWinControl*>(ed4)})
            log.Watch(c);
        form->Show();
    }

    void TearDown() override {
        Application->SetModalHandler(nullptr);
        delete form;
        Application->ProcessMessages();
    }

    TForm* form = nullptr;
    TPanel* pnl1 = nullptr;
    TPanel* pnl2 = nullptr;
    TTestEdit* ed1 = nullptr;
    TTestEdit* ed2 = nullptr;
    TTestEdit* ed3 = nullptr;
    TTestEdit* ed4 = nullptr;
    FocusLog log;
};

using Events = std::vector<std::string>;

} // namespace qmx::test
