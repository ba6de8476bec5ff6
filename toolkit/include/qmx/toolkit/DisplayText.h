#pragma once
// Interface texts are code-page bytes; Qt shows Unicode. A control's texts are decoded with the
// code page of its font's character set: 134 -> 936 (GB2312/GBK), 136 -> 950 (BIG5), anything else
// the system ANSI code page. Typed text is encoded back the same way.
#include <string>
#include <string_view>

#include <QString>

#include "qmx/CodePage.h"
#include "qmx/toolkit/Font.h"

namespace qmx {

CodePage CharsetToCodePage(TFontCharset charset);
QString AnsiToQString(std::string_view text, CodePage codePage);
AnsiString QStringToAnsi(const QString& text, CodePage codePage);

// UTF-8 source text -> the interface code page (936), for captions written in source files.
AnsiString UiText(std::string_view utf8);

} // namespace qmx
