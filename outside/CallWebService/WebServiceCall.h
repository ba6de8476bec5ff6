#pragma once
// One call of a web-service method: the request enveloped and posted, the answer read, decoded
// and written into the response file. Texts in and out in UTF-8 except the file, which holds
// text in the given code page (the caller's).
#include <string>
#include <string_view>

#include "CallSettings.h"
#include "qmx/CodePage.h"

namespace qmx::callws {

// The response text to store (UTF-8). Raises CallError.
std::string CallWebService(std::string_view address, std::string_view method, std::string_view request,
                           const CallSettings& settings);

// The response as it goes into the file: in the code page; an XML text keeps every character
// (as a character reference where needed) and its declaration names the code page.
AnsiString ResponseFileText(std::string_view responseUtf8, CodePage codePage);

// Replaces the file's content. Raises CallError (CWS_FILE_ERROR).
void WriteResponseFile(const std::string& fileName, std::string_view bytes);

} // namespace qmx::callws
