// The exported entries: argument checks, the result protocol and the barrier that keeps every
// exception inside the library (callers are C, or C++ built against other runtimes).
#include "Qmlanguage.h"

#include <opencc/Exception.hpp>

#include <algorithm>
#include <fstream>
#include <new>
#include <string>
#include <string_view>

#include "CharacterTable.h"
#include "ChineseConverter.h"
#include "qmx/Export.h"

using qmx::qmlanguage::CharacterTable;
using qmx::qmlanguage::ChineseConverter;
using qmx::qmlanguage::UnavailableError;

namespace {

template <class Body>
int Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (const UnavailableError&) {
        return QML_NOT_AVAILABLE;
    } catch (const std::bad_alloc&) {
        return QML_INTERNAL_ERROR;
    } catch (const opencc::Exception&) { // not derived from std::exception
        return QML_INTERNAL_ERROR;
    } catch (...) {
        return QML_INTERNAL_ERROR;
    }
}

bool ValidArguments(const char* source, size_t sourceLength, const char* result, size_t resultSize,
                    const size_t* resultLength) {
    return (source || sourceLength == 0) && (result || resultSize == 0) && resultLength;
}

int WriteResult(std::string_view text, char* result, size_t resultSize, size_t* resultLength) {
    *resultLength = text.size();
    if (resultSize < text.size() + 1) return QML_BUFFER_TOO_SMALL;
    std::copy(text.begin(), text.end(), result);
    result[text.size()] = '\0';
    return QML_OK;
}

int ConvertText(ChineseConverter::Direction direction, const char* source, size_t sourceLength, char* result,
                size_t resultSize, size_t* resultLength) {
    if (!ValidArguments(source, sourceLength, result, resultSize, resultLength)) return QML_INVALID_ARGUMENT;
    return Guarded([&] {
        const std::string_view text(source ? source : "", sourceLength);
        // ASCII is the same in both code pages and in both scripts: no tables needed.
        if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            return WriteResult(text, result, resultSize, resultLength);
        return WriteResult(ChineseConverter::Get(direction).Convert(text), result, resultSize, resultLength);
    });
}

int CharacterData(ChineseConverter::Direction direction, const char* character, size_t length, char* result,
                  size_t resultSize, size_t* resultLength) {
    if (!character || !ValidArguments(character, length, result, resultSize, resultLength))
        return QML_INVALID_ARGUMENT;
    return Guarded([&] {
        const auto forms = ChineseConverter::Get(direction).Candidates(std::string_view(character, length));
        if (!forms) return static_cast<int>(QML_INVALID_ARGUMENT);
        return WriteResult(*forms, result, resultSize, resultLength);
    });
}

} // namespace

extern "C" {

QMX_EXPORT int GBtoBIG5(const char* source, size_t sourceLength, char* result, size_t resultSize,
                        size_t* resultLength) {
    return ConvertText(ChineseConverter::Direction::GbToBig5, source, sourceLength, result, resultSize, resultLength);
}

QMX_EXPORT int BIG5toGB(const char* source, size_t sourceLength, char* result, size_t resultSize,
                        size_t* resultLength) {
    return ConvertText(ChineseConverter::Direction::Big5ToGb, source, sourceLength, result, resultSize, resultLength);
}

QMX_EXPORT int GetBIG5Data(const char* character, size_t length, char* result, size_t resultSize,
                           size_t* resultLength) {
    return CharacterData(ChineseConverter::Direction::GbToBig5, character, length, result, resultSize, resultLength);
}

QMX_EXPORT int GetGBData(const char* character, size_t length, char* result, size_t resultSize,
                         size_t* resultLength) {
    return CharacterData(ChineseConverter::Direction::Big5ToGb, character, length, result, resultSize, resultLength);
}

QMX_EXPORT int SaveOrder(const char* path, int direction) {
    if (!path || (direction != QML_GB_TO_BIG5 && direction != QML_BIG5_TO_GB)) return QML_INVALID_ARGUMENT;
    return Guarded([&] {
        const auto& converter = ChineseConverter::Get(static_cast<ChineseConverter::Direction>(direction));
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        if (!file) return static_cast<int>(QML_IO_ERROR);
        CharacterTable(converter).Write(file);
        file.close();
        return static_cast<int>(file ? QML_OK : QML_IO_ERROR);
    });
}

} // extern "C"
