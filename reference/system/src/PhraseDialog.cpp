#include "PhraseDialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qmx::reference {

PhraseDialog::PhraseDialog(const QStringList& phrases, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("常用词组"));
    list_->addItems(phrases);
    if (!phrases.isEmpty()) list_->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) { accept(); });
}

QString PhraseDialog::SelectedPhrase() const {
    const QListWidgetItem* item = list_->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

} // namespace qmx::reference
