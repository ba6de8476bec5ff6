#include "qmx/toolkit/Color.h"

#include <QApplication>
#include <QColor>
#include <QPalette>

#include <array>
#include <charconv>
#include <string>

#include "qmx/CodePage.h"
#include "qmx/toolkit/Exceptions.h"

namespace qmx {

namespace {

struct NamedColor {
    TColor Value;
    const char* Name;
};

constexpr std::array<NamedColor, 43> kNamedColors{{
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"}, {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"}, {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"}, {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"}, {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"}, {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"}, {clNone, "clNone"}, {clDefault, "clDefault"},
}};

// System colours without a palette role: the classic desktop scheme.
TColor ClassicSystemColor(int index) {
    switch (index) {
    case 0: return 0xC8C8C8;   // scroll bar
    case 1: return 0x808000;   // desktop
    case 2: return 0x6A240A;   // active caption
    case 3: return 0x808080;   // inactive caption
    case 6: return 0x000000;   // window frame
    case 9: return 0xFFFFFF;   // caption text
    case 10: return 0xC0C0C0;  // active border
    case 11: return 0xC0C0C0;  // inactive border
    case 12: return 0x808080;  // application workspace
    case 19: return 0xC0C0C0;  // inactive caption text
    default: return 0xC0C0C0;
    }
}

} // namespace

QColor ColorToQColor(TColor color) {
    if (color == clNone || color == clDefault) return QColor(Qt::transparent);
    if (color < 0) {
        const int index = color & 0xFF;
        if (qApp) {
            const QPalette palette = QApplication::palette();
            switch (index) {
            case 4: return palette.color(QPalette::Window);
            case 5: return palette.color(QPalette::Base);
            case 7:
            case 8: return palette.color(QPalette::Text);
            case 13: return palette.color(QPalette::Highlight);
            case 14: return palette.color(QPalette::HighlightedText);
            case 15: return palette.color(QPalette::Button);
            case 16: return palette.color(QPalette::Dark);
            case 17: return palette.color(QPalette::Disabled, QPalette::Text);
            case 18: return palette.color(QPalette::ButtonText);
            case 20: return palette.color(QPalette::Light);
            case 21: return palette.color(QPalette::Shadow);
            case 22: return palette.color(QPalette::Midlight);
            case 23: return palette.color(QPalette::ToolTipText);
            case 24: return palette.color(QPalette::ToolTipBase);
            default: break;
            }
        }
        const TColor rgb = ClassicSystemColor(index);
        return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
    }
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

TColor QColorToColor(const QColor& color) { return RGB(color.red(), color.green(), color.blue()); }

TColor ColorToRGB(TColor color) {
    if (color >= 0 || color == clNone || color == clDefault) return color;
    return QColorToColor(ColorToQColor(color));
}

bool ColorToIdent(TColor color, std::string& ident) {
    for (const NamedColor& c : kNamedColors)
        if (c.Value == color) {
            ident = c.Name;
            return true;
        }
    return false;
}

bool IdentToColor(std::string_view ident, TColor& color) {
    for (const NamedColor& c : kNamedColors)
        if (AnsiSameText(c.Name, ident, CP_WESTERN)) {
            color = c.Value;
            return true;
        }
    return false;
}

TColor StringToColor(std::string_view text) {
    TColor color = 0;
    if (IdentToColor(text, color)) return color;
    std::string_view digits = text;
    int base = 10;
    if (!digits.empty() && digits.front() == '$') {
        digits.remove_prefix(1);
        base = 16;
    } else if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits.remove_prefix(2);
        base = 16;
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        value < INT32_MIN || value > UINT32_MAX)
        throw EConvertError("'" + std::string(text) + "' is not a valid colour");
    return static_cast<TColor>(static_cast<std::uint32_t>(value));
}

std::string ColorToString(TColor color) {
    std::string ident;
    if (ColorToIdent(color, ident)) return ident;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "$%08X", static_cast<unsigned>(color));
    return buffer;
}

} // namespace qmx
