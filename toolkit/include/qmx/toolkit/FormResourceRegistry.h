#pragma once
// Form resources compiled into the libraries that own the forms (see qmx_embed_form_resources in
// cmake/QmxFormResources.cmake), found by the class name of the form they describe.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "qmx/toolkit/FormResource.h"

namespace qmx {

// Registers the UTF-8 text of the resource of `className` (names compare without regard to
// case). The text is copied; registering a class again replaces its resource, so a library that
// is unloaded and loaded again simply registers anew. `resourceName` names the resource in errors
// (default: the class name followed by ".qfm").
void RegisterFormResource(std::string_view className, std::string_view text,
                          std::string_view resourceName = {});
// Removes a registration; a library does this when it is unloaded.
void UnregisterFormResource(std::string_view className);

bool FormResourceExists(std::string_view className);
std::optional<std::string> FormResourceText(std::string_view className);

// The parsed resource of `className`, nullptr when none is registered. Parsed on first use, in the
// interface code page (936), and kept; a fault in the text raises EFormResourceError each time.
std::shared_ptr<const TFormResource> FindFormResource(std::string_view className);

} // namespace qmx
