#pragma once
// Encodings of XML texts and files: pugixml works on UTF-8 and ignores declared encodings, so
// the DOM transcodes itself.
#include <optional>
#include <string>
#include <string_view>

#include "qmx/CodePage.h"

namespace qmx::platform::detail {

// For markup: characters the code page cannot hold become character references (&#NNNN;).
AnsiString XmlMarkupFromUtf8(std::string_view utf8, CodePage codePage);

// The value of encoding="..." in a declaration at the start of bytes (after a byte order mark);
// "" when there is no declaration or it names no encoding.
std::string DeclaredEncoding(std::string_view bytes);

// The file's bytes as UTF-8 after its byte order mark or declared encoding; on failure none,
// with the reason in error.
std::optional<std::string> FileBytesToUtf8(std::string_view bytes, std::string& error);

} // namespace qmx::platform::detail
