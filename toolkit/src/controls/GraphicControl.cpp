#include "qmx/toolkit/GraphicControl.h"

#include <QWidget>

#include "qmx/toolkit/ClassBuilder.h"

namespace qmx {

const TClassInfo& TGraphicControl::StaticClassInfo() {
    static const TClassInfo info =
        TClassInfoBuilder<TGraphicControl>("TGraphicControl", &inherited::StaticClassInfo()).Abstract().Build();
    return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TGraphicControl(owner, new QWidget) {}

TGraphicControl::TGraphicControl(TComponent* owner, QWidget* widget) : TControl(owner, widget) {
    widget->setFocusPolicy(Qt::NoFocus);
}

} // namespace qmx
