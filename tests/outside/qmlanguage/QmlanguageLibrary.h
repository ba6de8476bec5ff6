#pragma once
// The built Qmlanguage library, loaded by name and bound by entry name as the module binds it.
#include <string>
#include <string_view>

#include "Qmlanguage.h"
#include "qmx/platform/Library.h"

namespace qmx::test {

// What an entry answered: its status and, on QML_OK, the text it wrote.
struct QmlAnswer {
    int status = -1;
    std::string text;
};

class QmlanguageLibrary {
public:
    // Loaded on first use, not before (a death test that changes the environment first gets a
    // fresh library in its child process), and kept for the process. Throws when the library or
    // an entry is missing, which fails the calling test.
    static const QmlanguageLibrary& Get();

    QmlanguageConvertProc gbToBig5 = nullptr;
    QmlanguageConvertProc big5ToGb = nullptr;
    QmlanguageConvertProc getBig5Data = nullptr;
    QmlanguageConvertProc getGbData = nullptr;
    QmlanguageSaveOrderProc saveOrder = nullptr;

private:
    QmlanguageLibrary();
    platform::HMODULE module_ = nullptr;
};

// Calls a conversion entry with a result place of 2 * source length + 1 bytes, the size the
// header promises to be enough for a conversion.
QmlAnswer Call(QmlanguageConvertProc entry, std::string_view source);
// Calls an entry whose result has no bound: asks for the length first, then converts.
QmlAnswer CallAnySize(QmlanguageConvertProc entry, std::string_view source);

// Test texts are written in UTF-8; these give their GB and BIG5 bytes.
std::string Gb(std::string_view utf8);
std::string Big5(std::string_view utf8);

} // namespace qmx::test
