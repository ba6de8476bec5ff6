// Feeds arbitrary bytes to the INI reader and reads back everything it found.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "qmx/platform/IniFile.h"

using namespace qmx;
using namespace qmx::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (CodePage codePage : {CP_GB2312, CP_BIG5, CP_WESTERN}) {
        const TIniFile ini = TIniFile::FromText(bytes, "fuzz.ini", codePage);
        for (const auto& section : ini.ReadSections()) {
            // Every listed section and key must be found again by its name.
            if (!ini.SectionExists(section)) __builtin_trap();
            for (const auto& key : ini.ReadSection(section)) {
                if (!ini.ValueExists(section, key)) __builtin_trap();
                ini.ReadInteger(section, key, 0);
            }
            if (ini.ReadSectionValues(section).size() != ini.ReadSection(section).size()) __builtin_trap();
        }
    }
    return 0;
}
