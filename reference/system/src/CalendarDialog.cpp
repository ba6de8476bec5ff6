#include "CalendarDialog.h"

#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace qmx::reference {

namespace {

QToolButton* StepButton(const QString& text, const QString& tip, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setToolTip(tip);
    button->setAutoRaise(true);
    return button;
}

} // namespace

QString CalendarDialog::MonthTitle(int year, int month, bool rocYears) {
    const QString monthText = QStringLiteral("%1月").arg(month, 2, 10, QLatin1Char('0'));
    if (!rocYears) return QStringLiteral("%1年").arg(year) + monthText;
    const int rocYear = year - 1911;
    if (rocYear >= 1) return QStringLiteral("民国%1年").arg(rocYear) + monthText;
    return QStringLiteral("民国前%1年").arg(1 - rocYear) + monthText;
}

CalendarDialog::CalendarDialog(bool rocYears, const QDate& start, QWidget* parent)
    : QDialog(parent), rocYears_(rocYears), calendar_(new QCalendarWidget(this)), title_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("日期快手"));
    // The calendar's own title line counts Gregorian years only; ours counts either.
    calendar_->setNavigationBarVisible(false);
    calendar_->setGridVisible(true);
    calendar_->setMinimumDate(QDate(1753, 1, 1));
    calendar_->setMaximumDate(QDate(9999, 12, 31));

    auto* previousYear = StepButton(QStringLiteral("<<"), QStringLiteral("上一年"), this);
    auto* previousMonth = StepButton(QStringLiteral("<"), QStringLiteral("上个月"), this);
    auto* nextMonth = StepButton(QStringLiteral(">"), QStringLiteral("下个月"), this);
    auto* nextYear = StepButton(QStringLiteral(">>"), QStringLiteral("下一年"), this);
    title_->setAlignment(Qt::AlignCenter);
    auto* titleLine = new QHBoxLayout;
    titleLine->addWidget(previousYear);
    titleLine->addWidget(previousMonth);
    titleLine->addWidget(title_, 1);
    titleLine->addWidget(nextMonth);
    titleLine->addWidget(nextYear);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    auto* today = buttons->addButton(QStringLiteral("今天"), QDialogButtonBox::ResetRole);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(titleLine);
    layout->addWidget(calendar_);
    layout->addWidget(buttons);

    connect(previousYear, &QToolButton::clicked, this, [this] { StepMonths(-12); });
    connect(previousMonth, &QToolButton::clicked, this, [this] { StepMonths(-1); });
    connect(nextMonth, &QToolButton::clicked, this, [this] { StepMonths(1); });
    connect(nextYear, &QToolButton::clicked, this, [this] { StepMonths(12); });
    connect(today, &QPushButton::clicked, this, [this] { SetSelectedDate(QDate::currentDate()); });
    connect(calendar_, &QCalendarWidget::currentPageChanged, this, [this](int, int) { UpdateTitle(); });
    connect(calendar_, &QCalendarWidget::activated, this, [this](const QDate&) { accept(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    SetSelectedDate(start.isValid() ? start : QDate::currentDate());
}

QDate CalendarDialog::SelectedDate() const { return calendar_->selectedDate(); }

void CalendarDialog::SetSelectedDate(const QDate& date) {
    calendar_->setSelectedDate(date);
    calendar_->setCurrentPage(date.year(), date.month());
    UpdateTitle();
}

QString CalendarDialog::TitleText() const { return title_->text(); }

void CalendarDialog::ShowMonth(int year, int month) {
    calendar_->setCurrentPage(year, month);
    UpdateTitle();
}

void CalendarDialog::StepMonths(int months) {
    const QDate shown = QDate(calendar_->yearShown(), calendar_->monthShown(), 1).addMonths(months);
    if (shown.isValid() && shown >= QDate(1753, 1, 1) && shown <= QDate(9999, 12, 1))
        ShowMonth(shown.year(), shown.month());
}

void CalendarDialog::UpdateTitle() {
    title_->setText(MonthTitle(calendar_->yearShown(), calendar_->monthShown(), rocYears_));
}

} // namespace qmx::reference
