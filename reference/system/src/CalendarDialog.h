#pragma once
// The date picker: a month calendar with its own title line, which counts the years of the
// Republic of China (year - 1911) when asked to.
#include <QDate>
#include <QDialog>

class QCalendarWidget;
class QLabel;

namespace qmx::reference {

class CalendarDialog : public QDialog {
public:
    CalendarDialog(bool rocYears, const QDate& start, QWidget* parent = nullptr);

    QDate SelectedDate() const;
    void SetSelectedDate(const QDate& date);
    // The month shown, e.g. "2024年01月" or "民国113年01月".
    QString TitleText() const;
    void ShowMonth(int year, int month);
    void StepMonths(int months);

    QCalendarWidget* Calendar() const { return calendar_; }

    // "2024年01月", or with ROC years "民国113年01月" ("民国前1年" for 1911).
    static QString MonthTitle(int year, int month, bool rocYears);

private:
    void UpdateTitle();

    bool rocYears_;
    QCalendarWidget* calendar_;
    QLabel* title_;
};

} // namespace qmx::reference
