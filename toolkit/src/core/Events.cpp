#include "qmx/toolkit/Events.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace qmx {

namespace {

std::string Demangled(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    return status == 0 && name ? std::string(name.get()) : std::string(type.name());
}

} // namespace

void TMethod::ThrowTypeMismatch(const std::type_info& have, const std::type_info& want) {
    throw EInvalidOperation("a method of type " + Demangled(have) + " is not a " + Demangled(want));
}

} // namespace qmx
