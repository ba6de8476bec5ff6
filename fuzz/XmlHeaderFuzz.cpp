// Feeds arbitrary bytes through the header repair and the XML helpers as the notification code
// uses them on web-service answers: repair, parse, select, read attributes, serialise.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "notify/LibXml.h"
#include "notify/XmlHeaderFix.h"

using namespace qmx;

namespace {

// The repair only inserts: the text comes back whole, lengthened by the pieces put in.
void CheckRepairOnlyInserts(std::string_view text, const AnsiString& fixed) {
    if (fixed.size() < text.size()) __builtin_trap();
    const std::size_t added = fixed.size() - text.size();
    const std::size_t pieces[] = {0,
                                  XmlStddEntityDeclaration.size(),
                                  XmlGbEncodingAttribute.size(),
                                  XmlStddEntityDeclaration.size() + XmlGbEncodingAttribute.size(),
                                  XmlGbDeclaration.size(),
                                  XmlGbDeclaration.size() + XmlStddEntityDeclaration.size()};
    bool known = false;
    for (std::size_t piece : pieces) known = known || piece == added;
    if (!known) __builtin_trap();
    if (added == XmlGbDeclaration.size() || added == XmlGbDeclaration.size() + XmlStddEntityDeclaration.size()) {
        if (std::string_view(fixed).substr(added) != text) __builtin_trap(); // prefixed
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // The first line doubles as an XPath, so that odd paths meet odd documents.
    const std::string_view path = text.substr(0, std::min<std::size_t>(text.find('\n'), 64));
    for (CodePage codePage : {CP_GB2312, CP_BIG5, CP_WESTERN}) {
        const AnsiString fixed = FixXmlHeader(text, codePage);
        CheckRepairOnlyInserts(text, fixed);

        platform::XmlDocument document = LoadXmlText(fixed, codePage);
        const platform::XmlNode root = document.DocumentElement();
        if (root.IsNull()) continue;
        for (std::string_view xpath : {std::string_view("//Record"), std::string_view("//Status[@code]"), path}) {
            for (const platform::XmlNode& node : root.SelectNodes(xpath, codePage)) {
                GetXmlAttr(node, "value", codePage);
                GetXmlAttr(FindXmlNode(node, "Field[@name='Id']", false, codePage), "value", codePage);
            }
        }
        FindXmlNode(root, path, true, codePage);
        // What the document writes, it reads again, for text the code page holds exactly (bytes
        // that are no character of it come back as '?', which may land inside a name).
        if (WideToAnsi(AnsiToWide(fixed, codePage), codePage) != fixed) continue;
        const AnsiString written = document.XML(codePage);
        if (LoadXmlText(written, codePage).DocumentElement().IsNull()) __builtin_trap();
    }
    return 0;
}
