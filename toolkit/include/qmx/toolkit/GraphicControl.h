#pragma once
// TGraphicControl: a non-windowed control (labels, speed buttons). It lends a widget for painting
// but never takes the keyboard focus, is not in the tab order, and stands below its windowed
// siblings.
#include "qmx/toolkit/Control.h"

namespace qmx {

class TGraphicControl : public TControl {
    QMX_CLASS(TGraphicControl, TControl)

public:
    explicit TGraphicControl(TComponent* owner);

protected:
    TGraphicControl(TComponent* owner, QWidget* widget);
};

} // namespace qmx
