#pragma once
// Private: the widget of TPanel, painting its bevels, border and caption.
#include <QWidget>

namespace qmx::detail {

class PanelWidget : public QWidget {
public:
    int BevelOuter = 2; // TPanelBevel values
    int BevelInner = 0;
    int BevelWidth = 1;
    int BorderWidth = 0;
    bool SingleBorder = false;
    Qt::Alignment CaptionAlignment = Qt::AlignCenter;
    QString Caption;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace qmx::detail
