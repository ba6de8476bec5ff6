#include "TextEncoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <regex>

#include "CallError.h"

namespace qmx::callws {
namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::string_view TrimBlanks(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

struct IconvCloser {
    void operator()(iconv_t cd) const { iconv_close(cd); }
};
using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

IconvHandle OpenIconv(const std::string& to, const std::string& from) {
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return IconvHandle(nullptr);
    return IconvHandle(cd);
}

std::string IconvNameOf(CodePage codePage) {
    switch (codePage) {
    case CP_UTF8: return "UTF-8";
    default: return "CP" + std::to_string(codePage);
    }
}

// Length of the UTF-8 sequence that starts with lead; 1 for a byte that starts none.
std::size_t Utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

// The character of a complete UTF-8 sequence; 0 when the bytes are no valid one (a wrong
// continuation byte, an overlong form, a surrogate, beyond U+10FFFF).
char32_t DecodeSequence(std::string_view sequence) {
    const auto lead = static_cast<unsigned char>(sequence[0]);
    if (sequence.size() == 1) return lead < 0x80 ? lead : 0;
    char32_t value = lead & (0xFF >> (sequence.size() + 1));
    for (std::size_t i = 1; i < sequence.size(); ++i) {
        const auto next = static_cast<unsigned char>(sequence[i]);
        if ((next & 0xC0) != 0x80) return 0;
        value = (value << 6) | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[sequence.size()] || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) return 0;
    return value;
}

// A declaration is short; a "?>" further away belongs to something else.
constexpr std::size_t kMaxDeclarationLength = 512;

// The declaration at the start of text without its "?>"; "" when there is none.
std::string_view LeadingDeclaration(std::string_view text) {
    if (!text.starts_with("<?xml")) return {};
    const std::size_t end = text.substr(0, kMaxDeclarationLength).find("?>");
    if (end == std::string_view::npos) return {};
    return text.substr(0, end);
}

} // namespace

std::string CharsetOfContentType(std::string_view contentType) {
    static const std::regex charset(R"re(;\s*charset\s*=\s*"?([A-Za-z0-9._:-]+)"?)re", std::regex::icase);
    std::match_results<std::string_view::const_iterator> match;
    if (std::regex_search(contentType.begin(), contentType.end(), match, charset)) return match[1].str();
    return {};
}

std::string DeclaredXmlEncoding(std::string_view text) {
    const std::string declaration(LeadingDeclaration(text));
    if (declaration.empty()) return {};
    static const std::regex encoding(R"(\sencoding\s*=\s*(["'])([A-Za-z0-9._:-]*)\1)");
    std::smatch match;
    if (std::regex_search(declaration, match, encoding)) return match[2].str();
    return {};
}

std::string BodyCharset(std::string_view contentType, std::string_view body) {
    std::string charset = CharsetOfContentType(contentType);
    if (!charset.empty()) return charset;
    if (body.starts_with("\xEF\xBB\xBF")) return "UTF-8";
    if (body.starts_with("\xFF\xFE")) return "UTF-16LE";
    if (body.starts_with("\xFE\xFF")) return "UTF-16BE";
    charset = DeclaredXmlEncoding(body);
    return charset.empty() ? "UTF-8" : charset;
}

std::string DecodeToUtf8(std::string_view body, const std::string& charset) {
    const std::string lower = Lower(charset);
    // A byte order mark of the charset is no part of the text.
    if ((lower == "utf-8" || lower == "utf8") && body.starts_with("\xEF\xBB\xBF")) body.remove_prefix(3);
    if (lower.starts_with("utf-16") && (body.starts_with("\xFF\xFE") || body.starts_with("\xFE\xFF"))) {
        const bool little = body.starts_with("\xFF\xFE");
        body.remove_prefix(2);
        return DecodeToUtf8(body, little ? "UTF-16LE" : "UTF-16BE");
    }
    // GB2312 answers often hold GBK characters; GBK is the superset that reads both.
    std::string from = charset;
    if (lower == "gb2312" || lower == "gbk" || lower == "x-gbk") from = "GBK";
    IconvHandle cd = OpenIconv("UTF-8", from);
    if (!cd) throw CallError(CWS_BAD_RESPONSE, "The answer is in the unknown charset '" + charset + "'.");
    std::string utf8(body.size() * 3 + 16, '\0');
    char* in = const_cast<char*>(body.data());
    std::size_t inLeft = body.size();
    std::size_t written = 0;
    while (inLeft > 0) {
        char* out = utf8.data() + written;
        std::size_t outLeft = utf8.size() - written;
        const std::size_t result = iconv(cd.get(), &in, &inLeft, &out, &outLeft);
        written = utf8.size() - outLeft;
        if (result != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) {
            utf8.resize(utf8.size() * 2);
            continue;
        }
        throw CallError(CWS_BAD_RESPONSE, "The answer holds bytes that are no " + charset + " text (at byte " +
                                              std::to_string(body.size() - inLeft) + ").");
    }
    utf8.resize(written);
    return utf8;
}

AnsiString Utf8ToCodePage(std::string_view utf8, CodePage codePage, bool asXml) {
    if (codePage == CP_UTF8) return AnsiString(utf8);
    IconvHandle cd = OpenIconv(IconvNameOf(codePage), "UTF-8");
    if (!cd) return qmx::Utf8ToAnsi(utf8, codePage); // the sdk's converter knows more names
    AnsiString result;
    result.reserve(utf8.size());
    char buffer[4096];
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        char* in = const_cast<char*>(utf8.data() + pos);
        std::size_t inLeft = utf8.size() - pos;
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t converted = iconv(cd.get(), &in, &inLeft, &out, &outLeft);
        result.append(buffer, sizeof buffer - outLeft);
        pos = utf8.size() - inLeft;
        if (converted != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        // A character the code page cannot hold, or bytes that are no UTF-8.
        const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(utf8[pos]));
        const char32_t character =
            errno == EILSEQ && length > 1 && pos + length <= utf8.size() ? DecodeSequence(utf8.substr(pos, length)) : 0;
        const bool validSequence = character != 0;
        if (asXml && validSequence)
            result += "&#" + std::to_string(static_cast<std::uint32_t>(character)) + ";";
        else
            result += kDefaultAnsiChar;
        pos += validSequence ? length : 1;
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr); // back to the initial state
    }
    return result;
}

std::string EncodingNameOf(CodePage codePage) {
    switch (codePage) {
    case CP_GB2312: return "GB2312";
    case CP_BIG5: return "BIG5";
    case CP_UTF8: return "UTF-8";
    case CP_OEM_US: return "IBM437";
    default: return "windows-" + std::to_string(codePage);
    }
}

std::string WithDeclaredEncoding(std::string_view text, std::string_view name) {
    const std::string declaration(LeadingDeclaration(text));
    if (declaration.empty()) return std::string(text);
    static const std::regex encoding(R"((\sencoding\s*=\s*)(["'])[^"']*\2)");
    std::smatch match;
    if (!std::regex_search(declaration, match, encoding)) return std::string(text);
    std::string result(text.substr(0, static_cast<std::size_t>(match.position(0))));
    result += match[1].str() + match[2].str() + std::string(name) + match[2].str();
    result += text.substr(static_cast<std::size_t>(match.position(0) + match.length(0)));
    return result;
}

bool LooksLikeXml(std::string_view text) {
    text = TrimBlanks(text);
    return !text.empty() && text.front() == '<';
}

} // namespace qmx::callws
