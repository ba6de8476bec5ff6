#include "QmlanguageLibrary.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "qmx/CodePage.h"

namespace qmx::test {

const QmlanguageLibrary& QmlanguageLibrary::Get() {
    static const QmlanguageLibrary library;
    return library;
}

QmlanguageLibrary::QmlanguageLibrary() : module_(platform::LoadLibrary("Qmlanguage.dll")) {
    if (!module_) throw std::runtime_error("Qmlanguage not loaded: " + platform::LastLibraryError());
    auto bind = [this](const char* name) {
        void* address = platform::GetProcAddress(module_, name);
        if (!address) throw std::runtime_error(std::string("Qmlanguage lacks ") + name);
        return address;
    };
    gbToBig5 = reinterpret_cast<QmlanguageConvertProc>(bind("GBtoBIG5"));
    big5ToGb = reinterpret_cast<QmlanguageConvertProc>(bind("BIG5toGB"));
    getBig5Data = reinterpret_cast<QmlanguageConvertProc>(bind("GetBIG5Data"));
    getGbData = reinterpret_cast<QmlanguageConvertProc>(bind("GetGBData"));
    saveOrder = reinterpret_cast<QmlanguageSaveOrderProc>(bind("SaveOrder"));
}

namespace {

QmlAnswer CallWithPlace(QmlanguageConvertProc entry, std::string_view source, std::size_t placeSize) {
    std::vector<char> place(placeSize, '\x7F');
    size_t length = 0;
    QmlAnswer answer;
    answer.status = entry(source.data(), source.size(), place.data(), place.size(), &length);
    if (answer.status == QML_OK) {
        EXPECT_EQ(place[length], '\0') << "the result ends with a NUL";
        answer.text.assign(place.data(), length);
    }
    return answer;
}

} // namespace

QmlAnswer Call(QmlanguageConvertProc entry, std::string_view source) {
    return CallWithPlace(entry, source, 2 * source.size() + 1);
}

QmlAnswer CallAnySize(QmlanguageConvertProc entry, std::string_view source) {
    size_t length = 0;
    const int status = entry(source.data(), source.size(), nullptr, 0, &length);
    if (status != QML_BUFFER_TOO_SMALL) return QmlAnswer{status, {}};
    return CallWithPlace(entry, source, length + 1);
}

std::string Gb(std::string_view utf8) { return Utf8ToAnsi(utf8, CP_GB2312); }
std::string Big5(std::string_view utf8) { return Utf8ToAnsi(utf8, CP_BIG5); }

} // namespace qmx::test
