#include "notify/XmlHeaderFix.h"

#include "lib/LibStrsText.h"
#include "notify/LibXml.h"

namespace qmx {
namespace {

constexpr std::size_t kHeadLength = 100;

} // namespace

AnsiString FixXmlHeader(std::string_view text, CodePage codePage) {
    const AnsiString head =
        ReplaceAllText(AnsiLowerCase(text.substr(0, kHeadLength), codePage), "\r\n", "", true);
    const bool hasDeclaration = head.starts_with("<?xml");
    const bool hasDoctype = head.find("<!doctype") != AnsiString::npos;
    const bool hasEncoding = head.find("encoding=") != AnsiString::npos;

    if (!hasDeclaration) {
        AnsiString fixed(XmlGbDeclaration);
        if (!hasDoctype) fixed += XmlStddEntityDeclaration;
        return fixed.append(text);
    }
    // Neither '?' nor '>' is ever the trail byte of a double-byte character.
    const std::size_t end = text.find("?>");
    if (end == std::string_view::npos) return AnsiString(text); // not XML: nothing sensible to repair
    AnsiString fixed(text);
    if (!hasDoctype) fixed.insert(end + 2, XmlStddEntityDeclaration);
    if (!hasEncoding) fixed.insert(end, XmlGbEncodingAttribute);
    return fixed;
}

platform::XmlDocument LoadXmlFixed(std::string_view text, CodePage codePage) {
    return LoadXmlText(FixXmlHeader(text, codePage), codePage);
}

} // namespace qmx
