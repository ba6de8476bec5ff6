#pragma once
// TFont: Name, Height (negative: character height in pixels), Size (points at 96 pixels per
// inch), Charset, Color, Style, Pitch. A change fires OnChange, which tells the owning control;
// the character set also chooses the code page the control's texts are shown in (DisplayText.h).
#include <cstdint>

#include "qmx/toolkit/Color.h"
#include "qmx/toolkit/Events.h"
#include "qmx/toolkit/Persistent.h"

class QFont;

namespace qmx {

using TFontCharset = Byte;
inline constexpr TFontCharset ANSI_CHARSET = 0;
inline constexpr TFontCharset DEFAULT_CHARSET = 1;
inline constexpr TFontCharset GB2312_CHARSET = 134;
inline constexpr TFontCharset CHINESEBIG5_CHARSET = 136;

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
QMX_ENUM(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
using TFontStyles = TSet<TFontStyle>;

enum TFontPitch { fpDefault, fpVariable, fpFixed };
QMX_ENUM(TFontPitch, "fpDefault", "fpVariable", "fpFixed")

class TFont : public TPersistent {
    QMX_CLASS(TFont, TPersistent)

public:
    static constexpr int PixelsPerInch = 96;

    TFont();

    const AnsiString& Name() const { return name_; }
    void SetName(const AnsiString& name);
    int Height() const { return height_; }
    void SetHeight(int height);
    int Size() const;
    void SetSize(int points);
    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset charset);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);

    void Assign(const TPersistent* source) override;
    bool Equals(const TFont& other) const;

    // The Qt font: family decoded with the font's own character set, pixel size from Height.
    QFont ToQFont() const;

    // Fired after every change (once per Assign).
    TNotifyEvent OnChange;
    // The control or other object the font belongs to, for GetNamePath.
    void SetOwnerObject(TPersistent* owner) { owner_ = owner; }

protected:
    TPersistent* GetOwner() const override { return owner_; }
    void Changed();

private:
    AnsiString name_;
    int height_ = -11;
    TFontCharset charset_ = DEFAULT_CHARSET;
    TColor color_;
    TFontStyles style_;
    TFontPitch pitch_ = fpDefault;
    int updating_ = 0;
    TPersistent* owner_ = nullptr;
};

} // namespace qmx
