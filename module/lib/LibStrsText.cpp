#include "lib/LibStrsText.h"

#include <array>
#include <utility>
#include <vector>

#include "FieldScan.h"
#include "qmx/CodePage.h"

namespace qmx {
namespace {

using fieldscan::FindDelimiter;
using fieldscan::TextCodePage;

// A rewriting may grow the text by this much (beyond four times its length), and take this many
// steps, before it is taken as feeding itself.
constexpr std::size_t kGrowthAllowance = 4096;
constexpr std::size_t kStepBudget = std::size_t(1) << 20;

std::string_view TrimBlanksAndControls(std::string_view text) {
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

AnsiString ReplaceEachOnce(std::string_view text, std::string_view search, std::string_view replacement) {
    AnsiString result;
    result.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t found = FindDelimiter(text, search); found != std::string_view::npos;
         found = FindDelimiter(text, search, start)) {
        result.append(text.substr(start, found - start)).append(replacement);
        start = found + search.size();
    }
    result.append(text.substr(start));
    return result;
}

// Leftmost replacement until no occurrence is left, as if the search started over from the
// beginning after each replacement. Only the last few positions before a replacement can begin a
// new occurrence, so the scan resumes at the last character boundary that can, which the walk
// remembers (the text before a replacement never changes). False when the rewriting keeps
// feeding itself: the text grows past the allowance or the steps past the budget.
bool RescanReplace(AnsiString& text, std::string_view search, std::string_view replacement) {
    const std::size_t sizeLimit = text.size() * 4 + kGrowthAllowance;
    std::vector<std::size_t> boundaries; // character starts visited, ascending
    std::size_t pos = 0;
    for (std::size_t steps = 0;;) {
        std::size_t found = std::string_view::npos;
        while (pos + search.size() <= text.size()) {
            boundaries.push_back(pos);
            if (text.compare(pos, search.size(), search) == 0) {
                found = pos;
                break;
            }
            pos += CharLengthAt(text, pos, TextCodePage);
        }
        if (found == std::string_view::npos) return true;
        text.replace(found, search.size(), replacement);
        if (text.size() > sizeLimit || ++steps > kStepBudget) return false;
        // Resume at the last boundary from which an occurrence could reach into the replacement.
        const std::size_t reach = found + 1 >= search.size() ? found + 1 - search.size() : 0;
        while (!boundaries.empty() && boundaries.back() > reach) boundaries.pop_back();
        pos = boundaries.empty() ? 0 : boundaries.back();
        if (!boundaries.empty()) boundaries.pop_back(); // pushed again by the walk
    }
}

} // namespace

AnsiString GetDelimitedField(std::string_view text, std::string_view delimiter, int index) {
    if (index < 1) return {};
    std::string_view result;
    bool found = false;
    int current = 0;
    fieldscan::ForEachField(text, delimiter, [&](std::string_view field) {
        if (++current == index) {
            result = field;
            found = true;
            return false;
        }
        return true;
    });
    return found ? AnsiString(result) : AnsiString();
}

int CountDelimitedFields(std::string_view text, std::string_view delimiter) {
    if (text.empty()) return 0;
    int count = 0;
    fieldscan::ForEachField(text, delimiter, [&](std::string_view) {
        ++count;
        return true;
    });
    return count;
}

AnsiString SplitHead(AnsiString& text, std::string_view delimiter) {
    const AnsiString delimiterCopy(delimiter); // delimiter may view into text
    const std::size_t found = FindDelimiter(text, delimiterCopy);
    if (found == std::string_view::npos) return std::exchange(text, AnsiString());
    AnsiString head = text.substr(0, found);
    text.erase(0, found + delimiterCopy.size());
    return head;
}

AnsiString ReplaceAllText(std::string_view text, std::string_view search, std::string_view replacement,
                          bool trim) {
    AnsiString result;
    if (search.empty() || AnsiSameText(search, replacement, TextCodePage)) {
        result = text;
    } else if (FindDelimiter(replacement, search) != std::string_view::npos) {
        result = ReplaceEachOnce(text, search, replacement);
    } else {
        result = text;
        if (!RescanReplace(result, search, replacement)) result = ReplaceEachOnce(text, search, replacement);
    }
    if (trim) result = AnsiString(TrimBlanksAndControls(result));
    return result;
}

WideString JoinCountedArray(const Variant& head, const Variant& values) {
    const WideString separator(1, char16_t(FieldSeparator));
    const std::int32_t count = values[0].AsInteger();
    WideString result = VarToWideStr(head) + separator + VarToWideStr(values[0]) + separator;
    for (std::int32_t i = 1; i <= count; ++i) result += VarToWideStr(values[i]) + separator;
    return result;
}

AnsiString LocalButtonCaption(std::string_view name) {
    static const std::array<std::pair<std::string_view, AnsiString>, 11> captions = {{
        {"Yes", Utf8ToAnsi("是(&Y)", CP_GB2312)},
        {"No", Utf8ToAnsi("否(&N)", CP_GB2312)},
        {"OK", Utf8ToAnsi("确定", CP_GB2312)},
        {"Cancel", Utf8ToAnsi("取消", CP_GB2312)},
        {"Abort", Utf8ToAnsi("中断(&A)", CP_GB2312)},
        {"Retry", Utf8ToAnsi("重试(&R)", CP_GB2312)},
        {"Ignore", Utf8ToAnsi("忽略(&I)", CP_GB2312)},
        {"All", Utf8ToAnsi("全部(&A)", CP_GB2312)},
        {"NoToAll", Utf8ToAnsi("全否(&o)", CP_GB2312)},
        {"YesToAll", Utf8ToAnsi("全是(&A)", CP_GB2312)},
        {"Help", Utf8ToAnsi("帮助(&H)", CP_GB2312)},
    }};
    for (const auto& [button, caption] : captions)
        if (button == name) return caption;
    return AnsiString(name);
}

double StrToFloatDefault(std::string_view text, double defaultValue) {
    try {
        return Variant(text).AsDouble();
    } catch (const EVariantError&) {
        return defaultValue;
    }
}

bool IsLoopbackAddress(std::string_view address) { return address == "127.0.0.1"; }

Variant VarIfThen(bool flag, const Variant& a, const Variant& b) { return flag ? a : b; }

bool VarIsBlank(const Variant& value) { return value.IsEmpty() || value.IsNull(); }

} // namespace qmx
