#include "qmx/toolkit/Font.h"

#include <QFont>

#include <cmath>

#include "qmx/toolkit/ClassBuilder.h"
#include "qmx/toolkit/DisplayText.h"

namespace qmx {

const TClassInfo& TFont::StaticClassInfo() {
    static const TClassInfo info =
        TClassInfoBuilder<TFont>("TFont", &inherited::StaticClassInfo())
            .Property("Charset", &TFont::Charset, &TFont::SetCharset).Type("TFontCharset").Default(DEFAULT_CHARSET)
            .Property("Color", &TFont::Color, &TFont::SetColor).Type("TColor").Default(clWindowText)
            .Property("Height", &TFont::Height, &TFont::SetHeight).NoDefault()
            .Property("Name", &TFont::Name, &TFont::SetName).Type("TFontName")
            .Property("Pitch", &TFont::Pitch, &TFont::SetPitch).Default(fpDefault)
            .Property("Size", &TFont::Size, &TFont::SetSize).Stored(false)
            .Property("Style", &TFont::Style, &TFont::SetStyle).Type("TFontStyles").Default(0)
            .Build();
    return info;
}

TFont::TFont() : name_("MS Sans Serif"), color_(clWindowText) {}

void TFont::Changed() {
    if (updating_ == 0 && OnChange) OnChange(this);
}

void TFont::SetName(const AnsiString& name) {
    if (name.empty() || name == name_) return;
    name_ = name;
    Changed();
}

void TFont::SetHeight(int height) {
    if (height == height_) return;
    height_ = height;
    Changed();
}

int TFont::Size() const {
    return -static_cast<int>(std::lround(height_ * 72.0 / PixelsPerInch));
}

void TFont::SetSize(int points) {
    SetHeight(-static_cast<int>(std::lround(points * static_cast<double>(PixelsPerInch) / 72.0)));
}

void TFont::SetCharset(TFontCharset charset) {
    if (charset == charset_) return;
    charset_ = charset;
    Changed();
}

void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed();
}

void TFont::SetStyle(TFontStyles style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
    if (pitch == pitch_) return;
    pitch_ = pitch;
    Changed();
}

bool TFont::Equals(const TFont& other) const {
    return name_ == other.name_ && height_ == other.height_ && charset_ == other.charset_ &&
           color_ == other.color_ && style_ == other.style_ && pitch_ == other.pitch_;
}

void TFont::Assign(const TPersistent* source) {
    if (source && source->InheritsFrom(TFont::StaticClassInfo())) {
        const auto* font = static_cast<const TFont*>(source);
        if (Equals(*font)) return;
        ++updating_;
        name_ = font->name_;
        height_ = font->height_;
        charset_ = font->charset_;
        color_ = font->color_;
        style_ = font->style_;
        pitch_ = font->pitch_;
        --updating_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

QFont TFont::ToQFont() const {
    QFont font(AnsiToQString(name_, CharsetToCodePage(charset_)));
    // A negative height is the character height, a positive one the cell height.
    const int pixels = height_ < 0 ? -height_ : std::max(1, height_ * 4 / 5);
    font.setPixelSize(std::max(1, pixels));
    font.setBold(style_.Contains(fsBold));
    font.setItalic(style_.Contains(fsItalic));
    font.setUnderline(style_.Contains(fsUnderline));
    font.setStrikeOut(style_.Contains(fsStrikeOut));
    if (pitch_ == fpFixed) font.setFixedPitch(true);
    return font;
}

} // namespace qmx
