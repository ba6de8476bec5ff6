#include "TestControls.h"

namespace qmx::test {

const TClassInfo& TTestEdit::StaticClassInfo() {
    static const TClassInfo info =
        TClassInfoBuilder<TTestEdit>("TTestEdit", &inherited::StaticClassInfo())
            .Publish("Color")
            .Publish("Font")
            .Publish("ImeName")
            .Publish("TabOrder")
            .Publish("TabStop").Default(true)
            .Publish("Text")
            .Publish("OnEnter")
            .Publish("OnExit")
            .Publish("OnKeyDown")
            .Publish("OnKeyPress")
            .Publish("OnKeyUp")
            .Build();
    return info;
}

} // namespace qmx::test
