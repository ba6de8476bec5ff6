#include "qmx/reference/VariantCodec.h"

#include <charconv>

#include "qmx/CodePage.h"

namespace qmx::reference {

namespace {

constexpr int kMaxDepth = 32;
constexpr char kHex[] = "0123456789ABCDEF";

void AppendEscaped(std::string& out, std::string_view bytes) {
    for (unsigned char ch : bytes) {
        if (ch >= 0x20 && ch <= 0x7E && ch != '%' && ch != ';') {
            out += static_cast<char>(ch);
        } else {
            out += '%';
            out += kHex[ch >> 4];
            out += kHex[ch & 0x0F];
        }
    }
}

template <class Number>
std::string NumberText(Number number) {
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, end);
}

std::string EscapedText(std::string_view bytes) {
    std::string out;
    AppendEscaped(out, bytes);
    return out;
}

// A value of one kind letter, its text and the closing ';'.
void AppendScalar(std::string& out, char kind, std::string_view text) {
    out += kind;
    out += text;
    out += ';';
}

void Encode(std::string& out, const Variant& value) {
    switch (value.Type()) {
    case VarType::Empty: out += 'E'; return;
    case VarType::Null: out += 'N'; return;
    case VarType::Boolean: out += value.AsBoolean() ? 'T' : 'F'; return;
    case VarType::Integer: AppendScalar(out, 'I', NumberText(value.AsInteger())); return;
    case VarType::Int64: AppendScalar(out, 'L', NumberText(value.AsInt64())); return;
    case VarType::Double: AppendScalar(out, 'D', NumberText(value.AsDouble())); return;
    case VarType::Date: AppendScalar(out, 'd', NumberText(value.AsDate())); return;
    case VarType::String: AppendScalar(out, 'S', EscapedText(value.AsString())); return;
    case VarType::OleStr: AppendScalar(out, 'W', EscapedText(WideToUtf8(value.AsWideString()))); return;
    case VarType::Array: {
        const VariantArray& array = value.AsArray();
        out += 'A' + NumberText(array.DimCount()) + ':';
        for (const ArrayBound& bound : array.Bounds())
            out += NumberText(bound.Low) + ',' + NumberText(bound.High) + ':';
        out += '[';
        for (const Variant& element : array.Elements())
            Encode(out, element);
        out += ']';
        return;
    }
    case VarType::Dispatch: throw EOleError("An automation object cannot be kept in the job queue");
    }
}

class Decoder {
public:
    explicit Decoder(std::string_view text) : text_(text) {}

    Variant Whole() {
        Variant value = Value(0);
        if (pos_ != text_.size()) Fail("text after the value");
        return value;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw Exception("Bad job parameter encoding at position " + std::to_string(pos_) + ": " + what);
    }

    char Take() {
        if (pos_ >= text_.size()) Fail("the text ends early");
        return text_[pos_++];
    }

    void Expect(char wanted) {
        if (Take() != wanted) {
            --pos_;
            Fail(std::string("'") + wanted + "' expected");
        }
    }

    std::string_view UpTo(char end) {
        const std::size_t found = text_.find(end, pos_);
        if (found == std::string_view::npos) Fail(std::string("no closing '") + end + "'");
        const std::string_view part = text_.substr(pos_, found - pos_);
        pos_ = found + 1;
        return part;
    }

    template <class Number>
    Number NumberUpTo(char end) {
        const std::string_view digits = UpTo(end);
        Number number{};
        auto [last, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (digits.empty() || error != std::errc() || last != digits.data() + digits.size()) Fail("bad number");
        return number;
    }

    int HexDigit(char ch) const {
        if (ch >= '0' && ch <= '9') return ch - '0';
        if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
        if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
        Fail("bad %-escape");
    }

    std::string Unescaped(std::string_view escaped) const {
        std::string bytes;
        bytes.reserve(escaped.size());
        for (std::size_t i = 0; i < escaped.size(); ++i) {
            if (escaped[i] != '%') {
                bytes += escaped[i];
                continue;
            }
            if (escaped.size() - i < 3) Fail("cut %-escape");
            bytes += static_cast<char>(HexDigit(escaped[i + 1]) * 16 + HexDigit(escaped[i + 2]));
            i += 2;
        }
        return bytes;
    }

    Variant Value(int depth) {
        const char kind = Take();
        switch (kind) {
        case 'E': return {};
        case 'N': return Variant::Null();
        case 'T': return Variant(true);
        case 'F': return Variant(false);
        case 'I': return Variant(NumberUpTo<std::int32_t>(';'));
        case 'L': return Variant(NumberUpTo<std::int64_t>(';'));
        case 'D': return Variant(NumberUpTo<double>(';'));
        case 'd': return Variant::FromDate(NumberUpTo<double>(';'));
        case 'S': return Variant(AnsiString(Unescaped(UpTo(';'))));
        case 'W': return Variant(Utf8ToWide(Unescaped(UpTo(';'))));
        case 'A': return Array(depth);
        default: --pos_; Fail(std::string("unknown kind '") + kind + "'");
        }
    }

    Variant Array(int depth) {
        if (depth >= kMaxDepth) Fail("arrays nested too deep");
        const int dims = NumberUpTo<int>(':');
        if (dims < 1 || dims > 64) Fail("bad dimension count");
        std::vector<ArrayBound> bounds;
        std::int64_t count = 1;
        for (int i = 0; i < dims; ++i) {
            ArrayBound bound;
            bound.Low = NumberUpTo<std::int32_t>(',');
            bound.High = NumberUpTo<std::int32_t>(':');
            if (bound.Count() < 0) Fail("high bound below low bound minus one");
            count *= bound.Count();
            // Every element takes at least one character, so a count beyond the rest of the text
            // cannot be honest; checked before anything is allocated.
            if (count > static_cast<std::int64_t>(text_.size() - pos_)) Fail("more elements than the text holds");
            bounds.push_back(bound);
        }
        Expect('[');
        VariantArray array(std::move(bounds));
        for (Variant& element : array.Elements())
            element = Value(depth + 1);
        Expect(']');
        return Variant(std::move(array));
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

std::string EncodeVariant(const Variant& value) {
    std::string out;
    Encode(out, value);
    return out;
}

Variant DecodeVariant(std::string_view text) { return Decoder(text).Whole(); }

} // namespace qmx::reference
