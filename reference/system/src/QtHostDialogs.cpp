#include "QtHostDialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#include "CalendarDialog.h"
#include "LookupDialog.h"
#include "PhraseDialog.h"
#include "qmx/reference/ReferenceText.h"

namespace qmx::reference {

namespace {

QString ToQString(const Variant& value, CodePage codePage) {
    return QString::fromStdString(AnsiToUtf8(TextOf(value, codePage), codePage));
}

QStringList ToQStringList(const Variant& value, CodePage codePage) {
    QStringList list;
    if (const VariantArray* array = OneDimArray(value))
        for (const Variant& element : array->Elements())
            list.append(ToQString(element, codePage));
    return list;
}

const Variant& Element(const Variant& contents, std::int32_t index) {
    const VariantArray* array = OneDimArray(contents);
    if (!array || index < array->LowBound() || index > array->HighBound())
        throw EOleError("The dialog request lacks its element " + std::to_string(index));
    return (*array)[index];
}

QWidget* RequireUserInterface(HostDialogKind kind) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        throw EOleError(std::string("The ") + HostDialogKindName(kind) +
                        " dialog needs a user interface; this process has none and no dialog answerer");
    return QApplication::activeWindow();
}

Variant ShowLookup(const HostDialogRequest& request, QWidget* parent) {
    const CodePage codePage = request.TextCodePage;
    const QStringList captions = ToQStringList(Element(request.Contents, 4), codePage);
    QList<QStringList> rows;
    int current = -1;
    const QString currentText = ToQString(Element(request.Contents, 6), codePage).trimmed();
    if (const VariantArray* list = OneDimArray(Element(request.Contents, 5))) {
        for (const Variant& row : list->Elements()) {
            rows.append(ToQStringList(row, codePage));
            if (current < 0 && !currentText.isEmpty() && !rows.back().isEmpty() &&
                rows.back().front().compare(currentText, Qt::CaseInsensitive) == 0)
                current = static_cast<int>(rows.size()) - 1;
        }
    }
    LookupDialog dialog(ToQString(Element(request.Contents, 2), codePage), captions, rows,
                        Element(request.Contents, 3).AsBoolean(), current, parent);
    if (dialog.exec() != QDialog::Accepted) return {};
    std::vector<Variant> chosen;
    for (int row : dialog.SelectedRows())
        chosen.emplace_back(static_cast<std::int32_t>(row));
    return chosen.empty() ? Variant() : VarArrayOf(std::move(chosen));
}

Variant ShowCalendar(const HostDialogRequest& request, QWidget* parent) {
    const QDate start = QDate::fromString(
        QString::fromStdString(TextOf(Element(request.Contents, 1), request.TextCodePage)), QStringLiteral("yyyyMMdd"));
    CalendarDialog dialog(Element(request.Contents, 0).AsBoolean(), start, parent);
    if (dialog.exec() != QDialog::Accepted) return Variant(AnsiString());
    return Variant(dialog.SelectedDate().toString(QStringLiteral("yyyyMMdd")).toStdString());
}

Variant ShowPhrase(const HostDialogRequest& request, QWidget* parent) {
    PhraseDialog dialog(ToQStringList(Element(request.Contents, 1), request.TextCodePage), parent);
    if (dialog.exec() != QDialog::Accepted) return Variant(AnsiString());
    return Variant(Utf8ToAnsi(dialog.SelectedPhrase().toStdString(), request.TextCodePage));
}

Variant ShowHelp(const HostDialogRequest& request, QWidget* parent) {
    const CodePage codePage = request.TextCodePage;
    const QString file = ToQString(Element(request.Contents, 2), codePage);
    if (!file.isEmpty() && QFileInfo(file).isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(file))) return {};
    QMessageBox::information(parent, QStringLiteral("帮助"),
                             QStringLiteral("没有此主题的帮助: %1 %2")
                                 .arg(ToQString(Element(request.Contents, 0), codePage),
                                      ToQString(Element(request.Contents, 1), codePage)));
    return {};
}

} // namespace

Variant ShowQtHostDialog(const HostDialogRequest& request) {
    QWidget* parent = RequireUserInterface(request.Kind);
    switch (request.Kind) {
    case HostDialogKind::Lookup: return ShowLookup(request, parent);
    case HostDialogKind::Calendar: return ShowCalendar(request, parent);
    case HostDialogKind::Phrase: return ShowPhrase(request, parent);
    case HostDialogKind::Help: return ShowHelp(request, parent);
    }
    return {};
}

} // namespace qmx::reference
