#pragma once
// The lookup window: the rows of a table with a filter line above them; one row or, when allowed,
// several rows are chosen and confirmed.
#include <QDialog>
#include <QList>
#include <QStringList>

class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

namespace qmx::reference {

class LookupDialog : public QDialog {
public:
    // currentRow: the row selected at the start (-1 for none).
    LookupDialog(const QString& title, const QStringList& captions, const QList<QStringList>& rows, bool multiple,
                 int currentRow, QWidget* parent = nullptr);

    // Shows only the rows of which some cell contains the text (without regard to case).
    void SetFilterText(const QString& text);
    QString FilterText() const;
    int VisibleRowCount() const;
    // Selects the visible row; with add, in addition to the rows already selected (several rows
    // only where allowed).
    void SelectVisibleRow(int visibleRow, bool add = false);
    // The chosen rows as indexes of the rows given, in the order they are shown.
    QList<int> SelectedRows() const;

    QLineEdit* FilterEdit() const { return filter_; }
    QTableView* Table() const { return table_; }
    QPushButton* OkButton() const { return okButton_; }

private:
    void UpdateOkButton();

    QStandardItemModel* model_;
    QSortFilterProxyModel* proxy_;
    QLineEdit* filter_;
    QTableView* table_;
    QPushButton* okButton_ = nullptr;
};

} // namespace qmx::reference
