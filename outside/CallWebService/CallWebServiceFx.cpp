// The library's one entry point (declared in CallWebService/CallWebServiceApi.h). Texts cross
// the boundary in the system's ANSI code page; nothing raised inside ever crosses it.
#include <algorithm>
#include <cstring>
#include <exception>
#include <new>
#include <string>

#include "CallError.h"
#include "CallSettings.h"
#include "CallWebService/CallWebServiceApi.h"
#include "TextEncoding.h"
#include "WebServiceCall.h"
#include "qmx/CodePage.h"
#include "qmx/Export.h"

namespace {

using namespace qmx::callws;

// The description, in the caller's code page, cut to the buffer between two characters.
void ReportError(const std::string& utf8, qmx::CodePage codePage, char* errorText, size_t errorTextSize) noexcept {
    if (!errorText || errorTextSize == 0) return;
    errorText[0] = '\0';
    try {
        const qmx::AnsiString text = Utf8ToCodePage(utf8, codePage, false);
        std::size_t length = 0;
        while (length < text.size()) {
            const std::size_t next = length + qmx::CharLengthAt(text, length, codePage);
            if (next > errorTextSize - 1) break;
            length = next;
        }
        std::memcpy(errorText, text.data(), length);
        errorText[length] = '\0';
    } catch (...) {
        static const char kFallback[] = "The web-service call failed.";
        const std::size_t length = std::min(errorTextSize - 1, sizeof kFallback - 1);
        std::memcpy(errorText, kFallback, length);
        errorText[length] = '\0';
    }
}

} // namespace

extern "C" QMX_EXPORT int CallWebServiceFx(const char* address, const char* method, const char* request,
                                           const char* responseFile, char* errorText, size_t errorTextSize) {
    qmx::CodePage codePage = qmx::CP_WESTERN;
    try {
        codePage = qmx::SystemAnsiCodePage();
        if (!address || !method || !request || !responseFile || !*responseFile)
            throw CallError(CWS_BAD_ARGUMENT, "The web-service call lacks its address, method, request or response file.");
        const std::string response =
            CallWebService(qmx::AnsiToUtf8(address, codePage), qmx::AnsiToUtf8(method, codePage),
                           qmx::AnsiToUtf8(request, codePage), CallSettingsFromEnvironment());
        WriteResponseFile(responseFile, ResponseFileText(response, codePage));
        if (errorText && errorTextSize > 0) errorText[0] = '\0';
        return CWS_OK;
    } catch (const CallError& error) {
        ReportError(error.what(), codePage, errorText, errorTextSize);
        return error.Status();
    } catch (const std::bad_alloc&) {
        ReportError("Out of memory during the web-service call.", codePage, errorText, errorTextSize);
        return CWS_INTERNAL_ERROR;
    } catch (const std::exception& error) {
        ReportError(std::string("The web-service call failed: ") + error.what(), codePage, errorText, errorTextSize);
        return CWS_INTERNAL_ERROR;
    } catch (...) {
        ReportError("The web-service call failed.", codePage, errorText, errorTextSize);
        return CWS_INTERNAL_ERROR;
    }
}
