#include "config/PasswordField.h"

#include <cstdint>

#include "config/ExceptionLog.h"
#include "qmx/CodePage.h"
#include "qmx/toolkit/Exceptions.h"

namespace qmx {
namespace {

std::uint8_t RotateRight(std::uint8_t value, unsigned count) {
    count %= 8;
    return count == 0 ? value : static_cast<std::uint8_t>((value >> count) | (value << (8 - count)));
}

std::uint8_t RotateLeft(std::uint8_t value, unsigned count) {
    count %= 8;
    return count == 0 ? value : static_cast<std::uint8_t>((value << count) | (value >> (8 - count)));
}

int HexDigitValue(char digit) {
    if (digit >= '0' && digit <= '9') return digit - '0';
    if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
    if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
    return -1;
}

// Raises EConvertError for a pair that is not two hexadecimal digits.
std::uint8_t HexPairValue(std::string_view pair) {
    const int high = HexDigitValue(pair[0]);
    const int low = HexDigitValue(pair[1]);
    if (high < 0 || low < 0) throw EConvertError("'$" + AnsiString(pair) + "' is not a valid integer value");
    return static_cast<std::uint8_t>(high * 16 + low);
}

} // namespace

AnsiString EncodeSQLSa(std::string_view plain) {
    if (plain.empty()) plain = EmptyPasswordMarker;
    static constexpr char kDigits[] = "0123456789ABCDEF";
    AnsiString stored;
    stored.reserve(plain.size() * 2);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const std::uint8_t rotated = RotateRight(static_cast<std::uint8_t>(plain[i]), static_cast<unsigned>((i + 1) % 8));
        stored += kDigits[rotated >> 4];
        stored += kDigits[rotated & 0x0F];
    }
    return stored;
}

AnsiString DecodeSQLSa(std::string_view stored) {
    AnsiString plain;
    try {
        plain.reserve(stored.size() / 2);
        for (std::size_t a = 1; 2 * a <= stored.size(); ++a) {
            const std::uint8_t value = HexPairValue(stored.substr(2 * a - 2, 2));
            plain += static_cast<char>(RotateLeft(value, static_cast<unsigned>(a % 8)));
        }
    } catch (const std::exception& error) {
        // Background routine: the failure goes to the log, the caller gets the marker.
        static const AnsiString kWhere = EncodeSQLSa("DecodeSQLSa");
        static const AnsiString kProgrammerMessage = Utf8ToAnsi("解析 Sa 时发生错误!", CP_GB2312);
        LogException(&error, kWhere, kProgrammerMessage);
        return AnsiString(PasswordErrorMarker);
    }
    if (plain == EmptyPasswordMarker) return {};
    return plain;
}

} // namespace qmx
