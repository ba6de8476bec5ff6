#include "qmx/CodePage.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <map>
#include <memory>
#include <string>

namespace qmx {
namespace {

const char* IconvName(CodePage codePage) {
    switch (codePage) {
    case CP_GB2312: return "CP936";
    case CP_BIG5: return "CP950";
    case CP_WESTERN: return "CP1252";
    case CP_OEM_US: return "CP437";
    case CP_UTF8: return "UTF-8";
    default: return nullptr;
    }
}

// One converter per direction and code page per thread: iconv_open costs microseconds, and a
// descriptor must not be shared between threads.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr); // reset shift state
        return cd_;
    }

private:
    iconv_t cd_;
};

enum class Direction { ToWide, FromWide };

iconv_t ConverterFor(CodePage codePage, Direction direction) {
    thread_local std::map<std::pair<CodePage, Direction>, std::unique_ptr<Converter>> cache;
    auto key = std::make_pair(codePage, direction);
    auto found = cache.find(key);
    if (found == cache.end()) {
        const char* name = IconvName(codePage);
        std::string generic;
        if (!name) {
            generic = "CP" + std::to_string(codePage);
            name = generic.c_str();
        }
        auto converter = direction == Direction::ToWide ? std::make_unique<Converter>("UTF-16LE", name)
                                                        : std::make_unique<Converter>(name, "UTF-16LE");
        if (!converter->valid())
            throw Exception("Unsupported code page " + std::to_string(codePage));
        found = cache.emplace(key, std::move(converter)).first;
    }
    return found->second->get();
}

bool IsSingleByte(CodePage codePage) { return !IsDoubleByteCodePage(codePage) && codePage != CP_UTF8; }

char FoldUpper(unsigned char c, CodePage codePage) {
    if (c >= 'a' && c <= 'z') return static_cast<char>(c - 32);
    // Latin-1 letters of page 1252 (except the division sign and y-diaeresis).
    if (codePage == CP_WESTERN && c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char>(c - 32);
    return static_cast<char>(c);
}

char FoldLower(unsigned char c, CodePage codePage) {
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c + 32);
    if (codePage == CP_WESTERN && c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char>(c + 32);
    return static_cast<char>(c);
}

template <class Fold>
AnsiString FoldCase(std::string_view text, CodePage codePage, Fold fold) {
    AnsiString result(text);
    const bool dbcs = IsDoubleByteCodePage(codePage);
    for (std::size_t i = 0; i < result.size(); ++i) {
        auto c = static_cast<unsigned char>(result[i]);
        if (dbcs && IsLeadByte(c, codePage)) {
            ++i; // leave the trail byte alone
            continue;
        }
        result[i] = fold(c, codePage);
    }
    return result;
}

} // namespace

CodePage SystemAnsiCodePage() {
    if (const char* acp = std::getenv("QMX_ACP"); acp && *acp) {
        char* end = nullptr;
        unsigned long value = std::strtoul(acp, &end, 10);
        if (end && *end == '\0' && value > 0 && value < 100000) return static_cast<CodePage>(value);
    }
    std::string codeset = nl_langinfo(CODESET);
    for (auto& c : codeset) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (codeset == "GB2312" || codeset == "GBK" || codeset == "GB18030" || codeset == "EUC-CN")
        return CP_GB2312;
    if (codeset == "BIG5" || codeset == "BIG5-HKSCS" || codeset == "CP950") return CP_BIG5;
    return CP_WESTERN;
}

bool IsDoubleByteCodePage(CodePage codePage) { return codePage == CP_GB2312 || codePage == CP_BIG5; }

bool IsLeadByte(unsigned char byte, CodePage codePage) {
    return IsDoubleByteCodePage(codePage) && byte >= 0x81 && byte <= 0xFE;
}

std::size_t CharLengthAt(std::string_view text, std::size_t pos, CodePage codePage) {
    if (pos + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[pos]), codePage)) return 2;
    return 1;
}

WideString AnsiToWide(std::string_view text, CodePage codePage) {
    if (text.empty()) return {};
    iconv_t cd = ConverterFor(codePage, Direction::ToWide);
    // Every byte of the code pages in use yields at most one UTF-16 unit (UTF-8: at most 2 per 1).
    WideString out(text.size() * (codePage == CP_UTF8 ? 2 : 1) + 1, u'\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* outPtr = reinterpret_cast<char*>(out.data());
    std::size_t outLeft = out.size() * sizeof(char16_t);
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) { // cannot happen with the sizing above; grow to be safe
            std::size_t used = out.size() - outLeft / sizeof(char16_t);
            out.resize(out.size() * 2);
            outPtr = reinterpret_cast<char*>(out.data() + used);
            outLeft = (out.size() - used) * sizeof(char16_t);
            continue;
        }
        // EILSEQ or EINVAL (a lead byte at the end): replace one byte and go on. Undefined bytes of
        // a single-byte page map to the control range, as the system converter does.
        auto bad = static_cast<unsigned char>(*in);
        char16_t replacement = IsSingleByte(codePage) ? char16_t(bad) : kReplacementChar;
        if (outLeft < sizeof(char16_t)) {
            std::size_t used = out.size();
            out.resize(out.size() + text.size() + 1);
            outPtr = reinterpret_cast<char*>(out.data() + used);
            outLeft = (out.size() - used) * sizeof(char16_t);
        }
        std::memcpy(outPtr, &replacement, sizeof replacement);
        outPtr += sizeof replacement;
        outLeft -= sizeof replacement;
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(out.size() - outLeft / sizeof(char16_t));
    return out;
}

AnsiString WideToAnsi(std::u16string_view text, CodePage codePage) {
    if (text.empty()) return {};
    iconv_t cd = ConverterFor(codePage, Direction::FromWide);
    const std::size_t perUnit = codePage == CP_UTF8 ? 3 : 2;
    AnsiString out(text.size() * perUnit + 4, '\0');
    char* in = reinterpret_cast<char*>(const_cast<char16_t*>(text.data()));
    std::size_t inLeft = text.size() * sizeof(char16_t);
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG || outLeft == 0) {
            std::size_t used = out.size() - outLeft;
            out.resize(out.size() * 2);
            outPtr = out.data() + used;
            outLeft = out.size() - used;
            continue;
        }
        // A character the page cannot hold, or a lone surrogate: the default character.
        *outPtr++ = kDefaultAnsiChar;
        --outLeft;
        std::size_t skip = sizeof(char16_t);
        char16_t unit;
        std::memcpy(&unit, in, sizeof unit);
        if (unit >= 0xD800 && unit <= 0xDBFF && inLeft >= 4) {
            char16_t next;
            std::memcpy(&next, in + 2, sizeof next);
            if (next >= 0xDC00 && next <= 0xDFFF) skip = 2 * sizeof(char16_t); // whole pair
        }
        in += std::min(skip, inLeft);
        inLeft -= std::min(skip, inLeft);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(out.size() - outLeft);
    return out;
}

AnsiString Utf8ToAnsi(std::string_view utf8, CodePage codePage) {
    if (codePage == CP_UTF8) return AnsiString(utf8);
    return WideToAnsi(AnsiToWide(utf8, CP_UTF8), codePage);
}

std::string AnsiToUtf8(std::string_view text, CodePage codePage) {
    if (codePage == CP_UTF8) return std::string(text);
    return WideToAnsi(AnsiToWide(text, codePage), CP_UTF8);
}

std::string WideToUtf8(std::u16string_view text) { return WideToAnsi(text, CP_UTF8); }
WideString Utf8ToWide(std::string_view utf8) { return AnsiToWide(utf8, CP_UTF8); }

AnsiString AnsiUpperCase(std::string_view text, CodePage codePage) { return FoldCase(text, codePage, FoldUpper); }
AnsiString AnsiLowerCase(std::string_view text, CodePage codePage) { return FoldCase(text, codePage, FoldLower); }

int AnsiCompareText(std::string_view a, std::string_view b, CodePage codePage) {
    const bool dbcs = IsDoubleByteCodePage(codePage);
    std::size_t i = 0;
    for (; i < a.size() && i < b.size(); ++i) {
        auto ca = static_cast<unsigned char>(a[i]);
        auto cb = static_cast<unsigned char>(b[i]);
        if (dbcs && IsLeadByte(ca, codePage) && ca == cb) {
            // Compare the double-byte character as it stands.
            ++i;
            if (i >= a.size() || i >= b.size()) break;
            if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]) ? -1 : 1;
            continue;
        }
        auto fa = static_cast<unsigned char>(dbcs && IsLeadByte(ca, codePage) ? ca : FoldUpper(ca, codePage));
        auto fb = static_cast<unsigned char>(dbcs && IsLeadByte(cb, codePage) ? cb : FoldUpper(cb, codePage));
        if (fa != fb) return fa < fb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool AnsiSameText(std::string_view a, std::string_view b, CodePage codePage) {
    return a.size() == b.size() && AnsiCompareText(a, b, codePage) == 0;
}

std::size_t AnsiFindChar(std::string_view text, char ch, std::size_t from, CodePage codePage) {
    for (std::size_t i = from; i < text.size(); i += CharLengthAt(text, i, codePage))
        if (text[i] == ch) return i;
    return std::string_view::npos;
}

std::size_t AnsiFindLastChar(std::string_view text, char ch, CodePage codePage) {
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); i += CharLengthAt(text, i, codePage))
        if (text[i] == ch) found = i;
    return found;
}

} // namespace qmx
