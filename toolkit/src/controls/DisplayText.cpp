#include "qmx/toolkit/DisplayText.h"

namespace qmx {

CodePage CharsetToCodePage(TFontCharset charset) {
    switch (charset) {
    case GB2312_CHARSET: return CP_GB2312;
    case CHINESEBIG5_CHARSET: return CP_BIG5;
    default: return SystemAnsiCodePage();
    }
}

QString AnsiToQString(std::string_view text, CodePage codePage) {
    const WideString wide = AnsiToWide(text, codePage);
    return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

AnsiString QStringToAnsi(const QString& text, CodePage codePage) {
    const std::u16string_view wide(reinterpret_cast<const char16_t*>(text.utf16()),
                                   static_cast<std::size_t>(text.size()));
    return WideToAnsi(wide, codePage);
}

AnsiString UiText(std::string_view utf8) { return Utf8ToAnsi(utf8, CP_GB2312); }

} // namespace qmx
