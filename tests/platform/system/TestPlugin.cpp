// A test plug-in: tells its name and the file it was loaded from, and makes objects that answer
// the same plus the ProgID they were made for.
#include "qmx/Dispatch.h"
#include "qmx/Export.h"
#include "qmx/platform/Library.h"

namespace {

const char* PluginFile() {
    static const qmx::AnsiString file =
        qmx::platform::GetModuleFileName(reinterpret_cast<const void*>(&PluginFile));
    return file.c_str();
}

class TestObject : public qmx::DispatchObject {
public:
    explicit TestObject(qmx::AnsiString progId) {
        DefineProperty("Plugin", [](qmx::DispatchArgs&) { return qmx::Variant(QMX_TEST_PLUGIN_NAME); });
        DefineProperty("Module", [](qmx::DispatchArgs&) { return qmx::Variant(PluginFile()); });
        DefineProperty("ProgId", [progId](qmx::DispatchArgs&) { return qmx::Variant(progId); });
    }
};

} // namespace

extern "C" QMX_EXPORT const char* QmxTestPluginName() {
    return QMX_TEST_PLUGIN_NAME;
}

extern "C" QMX_EXPORT const char* QmxTestPluginFile() {
    return PluginFile();
}

// Loads a library as code of this plug-in does, so that "beside the caller" means beside this file.
extern "C" QMX_EXPORT qmx::platform::HMODULE QmxTestLoadLibrary(const char* name) {
    return qmx::platform::LoadLibrary(name);
}

// Refuses the ProgID "QmxTest.Refuses", to show what a factory that makes nothing gives.
extern "C" QMX_EXPORT qmx::Dispatch* QMX_TEST_FACTORY(const char* progId) {
    qmx::AnsiString name(progId != nullptr ? progId : "");
    if (name == "QmxTest.Refuses") return nullptr;
    return new TestObject(name);
}
