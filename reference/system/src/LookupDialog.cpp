#include "LookupDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace qmx::reference {

LookupDialog::LookupDialog(const QString& title, const QStringList& captions, const QList<QStringList>& rows,
                           bool multiple, int currentRow, QWidget* parent)
    : QDialog(parent),
      model_(new QStandardItemModel(static_cast<int>(rows.size()), static_cast<int>(captions.size()), this)),
      proxy_(new QSortFilterProxyModel(this)),
      filter_(new QLineEdit(this)),
      table_(new QTableView(this)) {
    setWindowTitle(title);
    model_->setHorizontalHeaderLabels(captions);
    for (int row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < captions.size() && column < rows[row].size(); ++column) {
            auto* item = new QStandardItem(rows[row][column]);
            item->setEditable(false);
            model_->setItem(row, column, item);
        }
    }
    proxy_->setSourceModel(model_);
    proxy_->setFilterKeyColumn(-1);
    proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);

    table_->setModel(proxy_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(multiple ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->resizeColumnsToContents();

    filter_->setPlaceholderText(QStringLiteral("输入文字过滤"));
    filter_->setClearButtonEnabled(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    okButton_ = buttons->button(QDialogButtonBox::Ok);
    okButton_->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));

    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(multiple ? QStringLiteral("可按 Ctrl 或 Shift 选择多笔") : QStringLiteral("选择一笔"), this);
    layout->addWidget(filter_);
    layout->addWidget(table_);
    layout->addWidget(hint);
    layout->addWidget(buttons);
    resize(560, 380);

    connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) { SetFilterText(text); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(table_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) accept();
    });
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { UpdateOkButton(); });

    if (currentRow >= 0 && currentRow < rows.size()) {
        const QModelIndex index = proxy_->mapFromSource(model_->index(currentRow, 0));
        table_->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        table_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        table_->scrollTo(index);
    }
    UpdateOkButton();
    filter_->setFocus();
}

void LookupDialog::SetFilterText(const QString& text) {
    if (filter_->text() != text) filter_->setText(text); // comes back here through textChanged
    proxy_->setFilterFixedString(text);
    UpdateOkButton();
}

QString LookupDialog::FilterText() const { return filter_->text(); }

int LookupDialog::VisibleRowCount() const { return proxy_->rowCount(); }

void LookupDialog::SelectVisibleRow(int visibleRow, bool add) {
    if (visibleRow < 0 || visibleRow >= proxy_->rowCount()) return;
    const bool several = table_->selectionMode() == QAbstractItemView::ExtendedSelection;
    const auto flags = (add && several ? QItemSelectionModel::Select : QItemSelectionModel::ClearAndSelect) |
                       QItemSelectionModel::Rows;
    const QModelIndex index = proxy_->index(visibleRow, 0);
    table_->selectionModel()->select(index, flags);
    // The view's own setCurrentIndex would select by the selection mode's rule and drop the rows
    // chosen before.
    table_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

QList<int> LookupDialog::SelectedRows() const {
    QList<int> visible;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        visible.append(index.row());
    std::sort(visible.begin(), visible.end());
    QList<int> rows;
    for (int row : visible)
        rows.append(proxy_->mapToSource(proxy_->index(row, 0)).row());
    return rows;
}

void LookupDialog::UpdateOkButton() {
    if (okButton_) okButton_->setEnabled(table_->selectionModel()->hasSelection());
}

} // namespace qmx::reference
