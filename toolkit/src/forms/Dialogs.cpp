#include "qmx/toolkit/Dialogs.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QStyle>

#include <algorithm>
#include <array>
#include <vector>

#include "qmx/toolkit/Application.h"
#include "qmx/toolkit/Button.h"
#include "qmx/toolkit/ClassBuilder.h"
#include "qmx/toolkit/DisplayText.h"
#include "qmx/toolkit/GraphicControl.h"
#include "qmx/toolkit/Label.h"
#include "qmx/toolkit/Screen.h"

namespace qmx {

namespace {

struct ButtonKind {
    const char* Name;
    const char* Caption;
    TModalResult Result;
};

constexpr std::array<ButtonKind, 11> kButtons{{
    {"Yes", "&Yes", mrYes},
    {"No", "&No", mrNo},
    {"OK", "OK", mrOk},
    {"Cancel", "Cancel", mrCancel},
    {"Abort", "&Abort", mrAbort},
    {"Retry", "&Retry", mrRetry},
    {"Ignore", "&Ignore", mrIgnore},
    {"All", "&All", mrAll},
    {"NoToAll", "N&o to All", mrNoToAll},
    {"YesToAll", "Yes to &All", mrYesToAll},
    {"Help", "&Help", mrNone},
}};

constexpr int kHorzMargin = 12;
constexpr int kVertMargin = 12;
constexpr int kHorzSpacing = 12;
constexpr int kVertSpacing = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonSpacing = 6;
constexpr int kIconSize = 32;

// The dialog's picture: a standard message icon.
class TMessageIcon : public TGraphicControl {
    QMX_CLASS(TMessageIcon, TGraphicControl)

public:
    TMessageIcon(TComponent* owner, QStyle::StandardPixmap pixmap) : TGraphicControl(owner, new QLabel) {
        auto* label = static_cast<QLabel*>(Widget());
        label->setPixmap(QApplication::style()->standardIcon(pixmap).pixmap(kIconSize, kIconSize));
        SetBounds(0, 0, kIconSize, kIconSize);
    }
};

const TClassInfo& TMessageIcon::StaticClassInfo() {
    static const TClassInfo info =
        TClassInfoBuilder<TMessageIcon>("TMessageIcon", &inherited::StaticClassInfo()).Abstract().Build();
    return info;
}

const char* TypeCaption(TMsgDlgType type) {
    switch (type) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirm";
    default: return nullptr;
    }
}

bool TypeIcon(TMsgDlgType type, QStyle::StandardPixmap& pixmap) {
    switch (type) {
    case mtWarning: pixmap = QStyle::SP_MessageBoxWarning; return true;
    case mtError: pixmap = QStyle::SP_MessageBoxCritical; return true;
    case mtInformation: pixmap = QStyle::SP_MessageBoxInformation; return true;
    case mtConfirmation: pixmap = QStyle::SP_MessageBoxQuestion; return true;
    default: return false;
    }
}

} // namespace

const char* MessageButtonName(TMsgDlgBtn button) { return kButtons[static_cast<std::size_t>(button)].Name; }

TForm* CreateMessageDialog(const AnsiString& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    auto* form = new TForm(Application);
    try {
        form->SetBorderStyle(bsDialog);
        form->SetBorderIcons({biSystemMenu});
        form->SetPosition(poScreenCenter);
        if (const char* caption = TypeCaption(type)) form->SetCaption(caption);
        else form->SetCaption(Application->Title());

        const QFontMetrics metrics(form->Font()->ToQFont());
        const QString shown = AnsiToQString(text, CharsetToCodePage(form->Font()->Charset()));
        const QRect textRect = metrics.boundingRect(
            QRect(0, 0, std::max(200, Screen->Width() / 2), 100000), Qt::TextWordWrap, shown);

        QStyle::StandardPixmap pixmap{};
        const bool hasIcon = TypeIcon(type, pixmap);
        int textLeft = kHorzMargin;
        if (hasIcon) {
            auto* icon = new TMessageIcon(form, pixmap);
            icon->SetName("Image");
            icon->SetBounds(kHorzMargin, kVertMargin, kIconSize, kIconSize);
            icon->SetParent(form);
            textLeft += kIconSize + kHorzSpacing;
        }
        auto* message = new TLabel(form);
        message->SetName("Message");
        message->SetParent(form);
        message->SetAutoSize(false);
        message->SetWordWrap(true);
        message->SetShowAccelChar(false);
        message->SetCaption(text);
        message->SetBounds(textLeft, kVertMargin, textRect.width() + 4, textRect.height());

        std::vector<TMsgDlgBtn> kinds;
        for (std::size_t i = 0; i < kButtons.size(); ++i)
            if (buttons.Contains(static_cast<TMsgDlgBtn>(i))) kinds.push_back(static_cast<TMsgDlgBtn>(i));
        const TMsgDlgBtn defaultButton = buttons.Contains(mbOK) ? mbOK
                                         : buttons.Contains(mbYes) ? mbYes : mbRetry;
        const TMsgDlgBtn cancelButton = buttons.Contains(mbCancel) ? mbCancel
                                        : buttons.Contains(mbNo) ? mbNo : mbOK;
        int buttonWidth = kButtonWidth;
        for (TMsgDlgBtn kind : kinds)
            buttonWidth = std::max(buttonWidth, metrics.horizontalAdvance(
                                                    QString::fromLatin1(kButtons[kind].Caption).remove(u'&')) + 16);
        const int buttonsWidth = kinds.empty() ? 0
            : static_cast<int>(kinds.size()) * buttonWidth + (static_cast<int>(kinds.size()) - 1) * kButtonSpacing;
        const int contentHeight = std::max(hasIcon ? kIconSize : 0, textRect.height());
        const int contentWidth = (textLeft - kHorzMargin) + textRect.width() + 4;
        form->SetClientWidth(std::max(contentWidth, buttonsWidth) + 2 * kHorzMargin);
        form->SetClientHeight(kVertMargin + contentHeight + kVertSpacing + kButtonHeight + kVertMargin);

        int left = (form->ClientWidth() - buttonsWidth) / 2;
        const int top = kVertMargin + contentHeight + kVertSpacing;
        for (TMsgDlgBtn kind : kinds) {
            auto* button = new TButton(form);
            button->SetName(kButtons[kind].Name);
            button->SetCaption(kButtons[kind].Caption);
            button->SetModalResult(kButtons[kind].Result);
            button->SetBounds(left, top, buttonWidth, kButtonHeight);
            button->SetParent(form);
            if (kind == defaultButton) button->SetDefault(true);
            if (kind == cancelButton) button->SetCancel(true);
            left += buttonWidth + kButtonSpacing;
        }
        return form;
    } catch (...) {
        delete form;
        throw;
    }
}

TModalResult MessageDlg(const AnsiString& text, TMsgDlgType type, TMsgDlgButtons buttons, int) {
    TForm* dialog = CreateMessageDialog(text, type, buttons);
    try {
        const TModalResult result = dialog->ShowModal();
        delete dialog;
        return result;
    } catch (...) {
        delete dialog;
        throw;
    }
}

void ShowMessage(const AnsiString& text) {
    TForm* dialog = CreateMessageDialog(text, mtCustom, {mbOK});
    try {
        dialog->SetCaption(Application->Title());
        dialog->ShowModal();
        delete dialog;
    } catch (...) {
        delete dialog;
        throw;
    }
}

} // namespace qmx
