#include "controls/PanelWidget.h"

#include <QPainter>
#include <qdrawutil.h>

namespace qmx::detail {

namespace {

// bvLowered = 1, bvRaised = 2, bvSpace = 3.
void DrawBevel(QPainter& painter, QRect& rect, int bevel, int width, const QPalette& palette) {
    if (bevel == 0) return;
    if (bevel != 3) qDrawShadePanel(&painter, rect, palette, bevel == 1, width);
    rect.adjust(width, width, -width, -width);
}

} // namespace

void PanelWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRect rect = this->rect();
    if (autoFillBackground()) painter.fillRect(rect, palette().color(QPalette::Window));
    if (SingleBorder) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        rect.adjust(1, 1, -1, -1);
    }
    DrawBevel(painter, rect, BevelOuter, BevelWidth, palette());
    rect.adjust(BorderWidth, BorderWidth, -BorderWidth, -BorderWidth);
    DrawBevel(painter, rect, BevelInner, BevelWidth, palette());
    if (!Caption.isEmpty()) {
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        painter.setFont(font());
        painter.drawText(rect, static_cast<int>(CaptionAlignment | Qt::TextShowMnemonic), Caption);
    }
}

} // namespace qmx::detail
