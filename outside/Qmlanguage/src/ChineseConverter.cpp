#include "ChineseConverter.h"

#include <opencc/Conversion.hpp>
#include <opencc/ConversionChain.hpp>
#include <opencc/Converter.hpp>
#include <opencc/Dict.hpp>
#include <opencc/DictEntry.hpp>
#include <opencc/DictGroup.hpp>
#include <opencc/Exception.hpp>
#include <opencc/MarisaDict.hpp>
#include <opencc/MaxMatchSegmentation.hpp>
#include <opencc/SerializableDict.hpp>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <list>
#include <map>
#include <vector>

#include "LookAlikes.h"
#include "Qmlanguage.h"
#include "Utf8.h"

namespace qmx::qmlanguage {
namespace {

// The tables of OpenCC's Taiwan configurations (s2tw, tw2s), assembled here from the dictionary
// files rather than from the configuration files: OpenCC looks for a configuration's dictionaries
// in the current folder first, which would let any file there change the conversion.
struct Recipe {
    const char* segmentation;
    std::vector<std::vector<const char*>> chain; // each step a group of dictionaries, first match wins
};

const Recipe kGbToBig5{"STPhrases", {{"STPhrases", "STCharacters"}, {"TWVariants"}}};
const Recipe kBig5ToGb{"TSPhrases", {{"TWVariantsRevPhrases", "TWVariantsRev"}, {"TSPhrases", "TSCharacters"}}};

std::shared_ptr<opencc::Converter> LoadTables(const Recipe& recipe, const std::string& folder) {
    std::map<std::string, opencc::DictPtr> loaded; // a dictionary used twice is loaded once
    auto dict = [&](const char* name) {
        auto& slot = loaded[name];
        if (!slot) slot = opencc::SerializableDict::NewFromFile<opencc::MarisaDict>(folder + "/" + name + ".ocd2");
        return slot;
    };
    std::list<opencc::ConversionPtr> conversions;
    for (const auto& step : recipe.chain) {
        std::list<opencc::DictPtr> group;
        for (const char* name : step) group.push_back(dict(name));
        opencc::DictPtr stepDict = group.size() == 1 ? group.front() : std::make_shared<opencc::DictGroup>(group);
        conversions.push_back(std::make_shared<opencc::Conversion>(stepDict));
    }
    return std::make_shared<opencc::Converter>(
        recipe.segmentation, std::make_shared<opencc::MaxMatchSegmentation>(dict(recipe.segmentation)),
        std::make_shared<opencc::ConversionChain>(conversions));
}

std::string DataFolder() {
    if (const char* folder = std::getenv("QMLANGUAGE_DATA_DIR"); folder && *folder) return folder;
    return QMLANGUAGE_OPENCC_DATA_DIR;
}

// The result of loading a direction once: the converter, or why there is none.
struct Loaded {
    std::unique_ptr<ChineseConverter> converter;
    std::string error;
};

Loaded Load(ChineseConverter::Direction direction) {
    // Out of memory is not kept: it propagates, the static stays unset and a later call tries
    // again.
    Loaded loaded;
    try {
        loaded.converter = std::make_unique<ChineseConverter>(direction, DataFolder());
    } catch (const UnavailableError& e) {
        loaded.error = e.what();
    }
    return loaded;
}

// Function-local statics: the first caller loads, concurrent first callers wait for it.
const Loaded& LoadedGbToBig5() {
    static const Loaded loaded = Load(ChineseConverter::Direction::GbToBig5);
    return loaded;
}

const Loaded& LoadedBig5ToGb() {
    static const Loaded loaded = Load(ChineseConverter::Direction::Big5ToGb);
    return loaded;
}

} // namespace

const ChineseConverter& ChineseConverter::Get(Direction direction) {
    const Loaded& loaded = direction == Direction::GbToBig5 ? LoadedGbToBig5() : LoadedBig5ToGb();
    if (!loaded.converter) throw UnavailableError(loaded.error);
    return *loaded.converter;
}

ChineseConverter::ChineseConverter(Direction direction, const std::string& dataFolder) try
    : direction_(direction),
      source_(direction == Direction::GbToBig5 ? "CP936" : "CP950"),
      target_(direction == Direction::GbToBig5 ? "CP950" : "CP936"),
      substitute_(target_.EncodeCharacter(QMLANGUAGE_SUBSTITUTE)),
      tables_(LoadTables(direction == Direction::GbToBig5 ? kGbToBig5 : kBig5ToGb, dataFolder)) {
    if (substitute_.empty()) throw UnavailableError(target_.IconvName() + " cannot hold the substitute");
} catch (const opencc::Exception& e) {
    throw UnavailableError(std::string("OpenCC: ") + e.what());
} catch (const std::runtime_error& e) {
    throw UnavailableError(e.what());
}

ChineseConverter::~ChineseConverter() = default;

std::string ChineseConverter::Convert(std::string_view source, Tally* tally) const {
    const std::string utf8 = source_.Decode(source);
    return Encode(Translate(utf8), utf8, tally);
}

std::string ChineseConverter::Translate(const std::string& utf8) const {
    // OpenCC's segmentation stops at a NUL: convert the pieces between NULs one by one.
    if (utf8.find('\0') == std::string::npos) return utf8.empty() ? utf8 : tables_->Convert(utf8);
    std::string out;
    out.reserve(utf8.size());
    std::size_t start = 0;
    for (;;) {
        const std::size_t nul = utf8.find('\0', start);
        const std::string piece = utf8.substr(start, nul == std::string::npos ? std::string::npos : nul - start);
        if (!piece.empty()) out += tables_->Convert(piece);
        if (nul == std::string::npos) break;
        out += '\0';
        start = nul + 1;
    }
    return out;
}

std::string ChineseConverter::Encode(std::string_view converted, std::string_view original, Tally* tally) const {
    // The tables keep the number of characters, so the i-th converted character stands for the
    // i-th original one; checked once, at the first character the target cannot hold.
    std::optional<bool> aligned;
    std::size_t originalPos = 0;
    std::size_t originalIndex = 0;
    auto fallback = [&](std::string_view character, std::size_t charIndex) -> std::string {
        if (!aligned) aligned = Utf8CharCount(converted) == Utf8CharCount(original);
        if (*aligned) {
            originalPos = Utf8Advance(original, originalPos, charIndex - originalIndex);
            originalIndex = charIndex;
            const std::string_view before = Utf8CharAt(original, originalPos);
            if (before != character) {
                if (std::string bytes = target_.EncodeCharacter(before); !bytes.empty()) {
                    if (tally) ++tally->kept;
                    return bytes;
                }
            }
        }
        if (const std::string_view alike = LookAlikeOf(character); !alike.empty()) {
            if (std::string bytes = target_.EncodeCharacter(alike); !bytes.empty()) {
                if (tally) ++tally->alike;
                return bytes;
            }
        }
        if (tally) ++tally->substituted;
        return substitute_;
    };
    return target_.Encode(converted, fallback);
}

std::optional<std::string> ChineseConverter::Candidates(std::string_view source) const {
    const std::string character = source_.DecodeCharacter(source);
    if (character.empty()) return std::nullopt;
    // Every value of every step, in table order: the first is what the conversion itself takes.
    std::vector<std::string> forms{character};
    for (const auto& conversion : tables_->GetConversionChain()->GetConversions()) {
        std::vector<std::string> next;
        for (const auto& form : forms) {
            const auto match = conversion->GetDict()->Match(form);
            const std::vector<std::string> values = match.IsNull() ? std::vector<std::string>{form} : match.Get()->Values();
            for (const auto& value : values)
                if (std::find(next.begin(), next.end(), value) == next.end()) next.push_back(value);
        }
        forms = std::move(next);
    }
    std::vector<std::string> written;
    for (const auto& form : forms) {
        std::string bytes = Encode(form, character, nullptr);
        if (std::find(written.begin(), written.end(), bytes) == written.end()) written.push_back(std::move(bytes));
    }
    std::string out;
    for (const auto& bytes : written) out += bytes;
    return out;
}

} // namespace qmx::qmlanguage
