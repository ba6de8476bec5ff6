#include "qmx/toolkit/Label.h"

#include <QFontMetrics>
#include <QLabel>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

#include "qmx/toolkit/ClassBuilder.h"
#include "qmx/toolkit/WinControl.h"

namespace qmx {

const TClassInfo& TLabel::StaticClassInfo() {
    static const TClassInfo info =
        TClassInfoBuilder<TLabel>("TLabel", &inherited::StaticClassInfo())
            .Publish("Align")
            .Property("Alignment", &TLabel::Alignment, &TLabel::SetAlignment).Default(taLeftJustify)
            .Publish("Anchors")
            .Property("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize).Default(true)
            .Publish("Caption")
            .Publish("Color")
            .Publish("Enabled")
            .Property("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl)
            .Publish("Font")
            .Property("Layout", &TLabel::Layout, &TLabel::SetLayout).Default(tlTop)
            .Publish("ParentColor")
            .Publish("ParentFont")
            .Publish("ParentShowHint")
            .Publish("PopupMenu")
            .Property("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar).Default(true)
            .Publish("ShowHint")
            .Property("Transparent", &TLabel::Transparent, &TLabel::SetTransparent).Default(false)
            .Publish("Visible")
            .Property("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap).Default(false)
            .Publish("OnClick")
            .Publish("OnDblClick")
            .Publish("OnMouseDown")
            .Publish("OnMouseMove")
            .Publish("OnMouseUp")
            .Build();
    return info;
}

QMX_REGISTER_CLASS(TLabel);

namespace {

// "&&" is an ampersand, "&x" marks the accelerator x.
QString WithoutAccelMarks(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) ++i;
        else if (text[i] == u'&') continue;
        result += text[i];
    }
    return result;
}

} // namespace

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner, new QLabel) {
    QLabel* label = LabelWidget();
    label->setTextFormat(Qt::PlainText);
    SetBounds(0, 0, 65, 17);
    UpdateAlignment();
    AdjustBounds();
}

QLabel* TLabel::LabelWidget() const { return static_cast<QLabel*>(Widget()); }

void TLabel::SetAlignment(TAlignment alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    UpdateAlignment();
}

void TLabel::SetLayout(TTextLayout layout) {
    if (layout == layout_) return;
    layout_ = layout;
    UpdateAlignment();
}

void TLabel::UpdateAlignment() {
    QLabel* label = LabelWidget();
    if (!label) return;
    Qt::Alignment a = alignment_ == taRightJustify ? Qt::AlignRight
                      : alignment_ == taCenter ? Qt::AlignHCenter : Qt::AlignLeft;
    a |= layout_ == tlCenter ? Qt::AlignVCenter : layout_ == tlBottom ? Qt::AlignBottom : Qt::AlignTop;
    label->setAlignment(a);
}

void TLabel::SetAutoSize(bool autoSize) {
    if (autoSize == autoSize_) return;
    autoSize_ = autoSize;
    AdjustBounds();
}

void TLabel::SetWordWrap(bool wordWrap) {
    if (wordWrap == wordWrap_) return;
    wordWrap_ = wordWrap;
    if (LabelWidget()) LabelWidget()->setWordWrap(wordWrap);
    AdjustBounds();
}

void TLabel::SetShowAccelChar(bool show) {
    if (show == showAccelChar_) return;
    showAccelChar_ = show;
    UpdateWidgetText();
}

void TLabel::SetTransparent(bool transparent) {
    if (transparent == transparent_) return;
    transparent_ = transparent;
    ApplyColor();
}

void TLabel::SetFocusControl(TWinControl* control) {
    if (control == focusControl_) return;
    if (focusControl_) focusControl_->RemoveFreeNotification(this);
    focusControl_ = control;
    if (focusControl_) focusControl_->FreeNotification(this);
    UpdateWidgetText();
}

void TLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == focusControl_) {
        focusControl_ = nullptr;
        UpdateWidgetText();
    }
}

void TLabel::UpdateWidgetText() {
    QLabel* label = LabelWidget();
    if (!label) return;
    const QString text = ToDisplay(text_);
    // With a focus control Qt underlines the accelerator and focuses its buddy.
    if (showAccelChar_ && focusControl_ && focusControl_->Widget()) {
        label->setBuddy(focusControl_->Widget());
        label->setText(text);
    } else {
        label->setBuddy(nullptr);
        label->setText(showAccelChar_ ? WithoutAccelMarks(text) : text);
    }
    AdjustBounds();
}

void TLabel::ApplyFont() {
    TGraphicControl::ApplyFont();
    AdjustBounds();
}

void TLabel::ApplyColor() {
    TGraphicControl::ApplyColor();
    if (Widget()) Widget()->setAutoFillBackground(!transparent_ && Color() != clNone);
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TLabel::AdjustBounds() {
    if (!autoSize_ || !LabelWidget() || ComponentState().Contains(csLoading)) return;
    QString text = ToDisplay(text_);
    if (showAccelChar_) text = WithoutAccelMarks(text);
    if (text.isEmpty()) text = QStringLiteral(" ");
    const QFontMetrics metrics(Font()->ToQFont());
    // The original measured text cells: for the Chinese character sets the character height is
    // the cell height.
    const bool cjk = Font()->Charset() == GB2312_CHARSET || Font()->Charset() == CHINESEBIG5_CHARSET;
    const int lineHeight = cjk && Font()->Height() < 0 ? -Font()->Height() : metrics.height();
    int width = 0;
    int height = 0;
    if (wordWrap_) {
        const QRect r = metrics.boundingRect(QRect(0, 0, std::max(1, Width()), 100000),
                                             Qt::TextWordWrap, text);
        width = Width();
        height = std::max(lineHeight, r.height() / std::max(1, metrics.height()) * lineHeight);
    } else {
        const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
        for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
        height = static_cast<int>(lines.size()) * lineHeight;
    }
    int left = Left();
    if (alignment_ == taRightJustify) left += Width() - width;
    SetBounds(left, Top(), width, height);
}

} // namespace qmx
