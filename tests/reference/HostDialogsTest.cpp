// The real Qt dialogs behind the services, driven as a person would drive them.
#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>

#include "CalendarDialog.h"
#include "LookupDialog.h"
#include "PhraseDialog.h"
#include "RecordingAnswerer.h"

namespace qmx::reference {
namespace {

QList<QStringList> Customers() {
    return {{"C0001", QStringLiteral("华东电子")}, {"C0002", QStringLiteral("北辰五金")},
            {"C0003", QStringLiteral("南粤贸易")}, {"X0004", QStringLiteral("华南电子")}};
}

TEST(LookupDialog, FilterNarrowsRowsAndChoicesMapBackToTheList) {
    LookupDialog dialog("t", {"code", "name"}, Customers(), true, -1);
    EXPECT_EQ(dialog.VisibleRowCount(), 4);
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    dialog.FilterEdit()->setText(QStringLiteral("电子")); // typed into the filter line
    EXPECT_EQ(dialog.VisibleRowCount(), 2);
    dialog.SelectVisibleRow(1);
    dialog.SelectVisibleRow(0, true);
    EXPECT_EQ(dialog.SelectedRows(), (QList<int>{0, 3}));
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    dialog.SetFilterText("c000");
    EXPECT_EQ(dialog.VisibleRowCount(), 3); // without regard to case
    EXPECT_EQ(dialog.FilterEdit()->text(), "c000");
}

TEST(LookupDialog, OneRowOnlyUnlessSeveralAreAllowedAndStartsOnTheControlsRow) {
    LookupDialog dialog("t", {"code", "name"}, Customers(), false, 2);
    EXPECT_EQ(dialog.SelectedRows(), QList<int>{2});
    EXPECT_EQ(dialog.Table()->selectionMode(), QAbstractItemView::SingleSelection);
    dialog.SelectVisibleRow(0, true);
    EXPECT_EQ(dialog.SelectedRows(), QList<int>{0});
}

TEST(CalendarDialog, TitleCountsRepublicOfChinaYearsWhenAsked) {
    struct Case {
        int year;
        int month;
        bool roc;
        const char* title;
    };
    const Case cases[] = {{2024, 1, false, "2024年01月"}, {2024, 1, true, "民国113年01月"},
                          {1912, 12, true, "民国1年12月"},  {1911, 5, true, "民国前1年05月"},
                          {1900, 5, true, "民国前12年05月"}};
    for (const Case& c : cases)
        EXPECT_EQ(CalendarDialog::MonthTitle(c.year, c.month, c.roc), QString::fromUtf8(c.title)) << c.title;
}

TEST(CalendarDialog, StartsOnTheDateAndStepsThroughMonths) {
    CalendarDialog dialog(true, QDate(2024, 1, 5));
    EXPECT_EQ(dialog.SelectedDate(), QDate(2024, 1, 5));
    EXPECT_EQ(dialog.TitleText(), QStringLiteral("民国113年01月"));
    dialog.StepMonths(-1);
    EXPECT_EQ(dialog.TitleText(), QStringLiteral("民国112年12月"));
    dialog.StepMonths(13);
    EXPECT_EQ(dialog.TitleText(), QStringLiteral("民国114年01月"));
    dialog.Calendar()->setSelectedDate(QDate(2025, 1, 20)); // clicked
    EXPECT_EQ(dialog.SelectedDate(), QDate(2025, 1, 20));
    CalendarDialog noStart(false, QDate());
    EXPECT_EQ(noStart.SelectedDate(), QDate::currentDate());
}

TEST(PhraseDialog, AnswersTheChosenPhrase) {
    PhraseDialog dialog({QStringLiteral("请尽快处理"), QStringLiteral("月底结账前完成")});
    EXPECT_EQ(dialog.SelectedPhrase(), QStringLiteral("请尽快处理"));
    dialog.List()->setCurrentRow(1);
    EXPECT_EQ(dialog.SelectedPhrase(), QStringLiteral("月底结账前完成"));
}

TEST(HostDialogs, TheInstalledAnswererAnswersEveryKind) {
    test::ScopedAnswerer answerer;
    answerer->answers.push_back(Variant("20240105"));
    const Variant answer = RunHostDialog({HostDialogKind::Calendar, VarArrayOf({Variant(false), Variant("20240101")})});
    EXPECT_EQ(VarToStr(answer), "20240105");
    EXPECT_EQ(std::string(HostDialogKindName(answerer->requests[0].Kind)), "Calendar");
    EXPECT_EQ(InstalledHostDialogAnswerer().get(), static_cast<HostDialogAnswerer*>(&*answerer.operator->()));
}

} // namespace
} // namespace qmx::reference
