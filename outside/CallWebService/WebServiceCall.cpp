#include "WebServiceCall.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "CallError.h"
#include "HttpPost.h"
#include "SoapEnvelope.h"
#include "TextEncoding.h"

namespace qmx::callws {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

void CheckArguments(std::string_view address, std::string_view method) {
    if (!StartsWithNoCase(address, "http://") && !StartsWithNoCase(address, "https://"))
        throw CallError(CWS_BAD_ARGUMENT, "Only http and https addresses can be called, not '" + std::string(address) + "'.");
    for (char c : address)
        if (static_cast<unsigned char>(c) <= ' ')
            throw CallError(CWS_BAD_ARGUMENT, "The address holds a blank or control character.");
    // The method travels in a header too.
    for (char c : method)
        if (static_cast<unsigned char>(c) < ' ' || c == '"' || c == 0x7F)
            throw CallError(CWS_BAD_ARGUMENT, "The method name holds a quote or control character.");
}

bool IsSuccess(long status) { return status >= 200 && status <= 299; }

} // namespace

std::string CallWebService(std::string_view address, std::string_view method, std::string_view request,
                           const CallSettings& settings) {
    CheckArguments(address, method);
    const std::vector<std::string> headers = {
        "Content-Type: text/xml; charset=utf-8",
        "Accept: text/xml, application/soap+xml, application/xml",
        "SOAPAction: \"" + std::string(method) + "\"",
        "Expect:", // no wait for a 100 Continue before larger envelopes
    };
    const HttpAnswer answer = HttpPost(std::string(address), BuildSoapRequest(method, request), headers, settings);
    const std::string status = std::to_string(answer.Status);
    std::string body;
    try {
        body = DecodeToUtf8(answer.Body, BodyCharset(answer.ContentType, answer.Body));
    } catch (const CallError&) {
        // An error page in some other charset: the status says enough.
        if (!IsSuccess(answer.Status)) throw CallError(CWS_HTTP_ERROR, "The web service answered HTTP status " + status + ".");
        throw;
    }
    const SoapAnswer soap = ReadSoapAnswer(body);

    if (soap.What == SoapAnswer::Kind::Fault)
        throw CallError(CWS_SOAP_FAULT, "The web service answered a fault (HTTP " + status + "): " + soap.Text);
    if (!IsSuccess(answer.Status))
        throw CallError(CWS_HTTP_ERROR, "The web service answered HTTP status " + status + ".");
    switch (soap.What) {
    case SoapAnswer::Kind::Result: return soap.Text;
    case SoapAnswer::Kind::NoResult:
        throw CallError(CWS_BAD_RESPONSE, "The answer of the web service holds no result: " + soap.Text + ".");
    default: return body; // a plain answer, not enveloped
    }
}

AnsiString ResponseFileText(std::string_view responseUtf8, CodePage codePage) {
    if (!LooksLikeXml(responseUtf8)) return Utf8ToCodePage(responseUtf8, codePage, false);
    return Utf8ToCodePage(WithDeclaredEncoding(responseUtf8, EncodingNameOf(codePage)), codePage, true);
}

void WriteResponseFile(const std::string& fileName, std::string_view bytes) {
    const auto fail = [&](const char* what) {
        throw CallError(CWS_FILE_ERROR, std::string("Cannot ") + what + " the response file '" + fileName + "': " +
                                            std::strerror(errno));
    };
    const int fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) fail("open");
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            errno = error;
            fail("write");
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    if (::close(fd) != 0) fail("close");
}

} // namespace qmx::callws
