// The form-resource parser on arbitrary bytes: it must parse or raise EFormResourceError,
// nothing else, never crash or hang.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "qmx/toolkit/FormResourceParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        qmx::TFormResource resource = qmx::ParseFormResource(text, "fuzz.qfm");
        (void)resource;
    } catch (const qmx::EFormResourceError&) {
    }
    return 0;
}
