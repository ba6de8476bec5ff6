#pragma once
// The phrase window: the user's common phrases, one to be chosen.
#include <QDialog>
#include <QStringList>

class QListWidget;

namespace qmx::reference {

class PhraseDialog : public QDialog {
public:
    explicit PhraseDialog(const QStringList& phrases, QWidget* parent = nullptr);

    // The chosen phrase; empty when none is chosen.
    QString SelectedPhrase() const;
    QListWidget* List() const { return list_; }

private:
    QListWidget* list_;
};

} // namespace qmx::reference
