#pragma once
// One direction of the conversion: source code-page bytes -> UTF-8 -> OpenCC's phrase and
// character tables -> target code-page bytes, with the fallbacks for characters the target
// cannot hold (see Qmlanguage.h).
#include <cstddef>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "ByteCodec.h"

namespace opencc {
class Converter;
}

namespace qmx::qmlanguage {

// The tables or the code-page converters of a direction could not be loaded.
class UnavailableError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ChineseConverter {
public:
    enum class Direction { Big5ToGb = 1, GbToBig5 = 2 };

    // How many characters took each fallback.
    struct Tally {
        std::size_t kept = 0;
        std::size_t alike = 0;
        std::size_t substituted = 0;
    };

    // The converter of a direction: loaded by the first call, kept for the process, shared by all
    // threads (a loaded converter is never changed). Throws UnavailableError when loading failed,
    // now or at an earlier call.
    static const ChineseConverter& Get(Direction direction);

    // Loads the tables from dataFolder. Throws UnavailableError.
    ChineseConverter(Direction direction, const std::string& dataFolder);
    ~ChineseConverter();
    ChineseConverter(const ChineseConverter&) = delete;
    ChineseConverter& operator=(const ChineseConverter&) = delete;

    std::string Convert(std::string_view source, Tally* tally = nullptr) const;
    // Every target form the tables give one source character, each as Convert writes it,
    // duplicates removed; nullopt when source is not exactly one valid character.
    std::optional<std::string> Candidates(std::string_view source) const;

    Direction GetDirection() const { return direction_; }
    const ByteCodec& SourceCodec() const { return source_; }
    const ByteCodec& TargetCodec() const { return target_; }

private:
    std::string Translate(const std::string& utf8) const;
    std::string Encode(std::string_view converted, std::string_view original, Tally* tally) const;

    Direction direction_;
    ByteCodec source_;
    ByteCodec target_;
    std::string substitute_;
    std::shared_ptr<opencc::Converter> tables_;
};

} // namespace qmx::qmlanguage
