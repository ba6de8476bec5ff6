#include "ByteCodec.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <map>
#include <memory>
#include <stdexcept>
#include <utility>

#include "Utf8.h"

namespace qmx::qmlanguage {
namespace {

const iconv_t kInvalid = reinterpret_cast<iconv_t>(-1);

class Descriptor {
public:
    Descriptor(const std::string& to, const std::string& from) : cd_(iconv_open(to.c_str(), from.c_str())) {}
    ~Descriptor() {
        if (cd_ != kInvalid) iconv_close(cd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    iconv_t Get() const { return cd_; }

private:
    iconv_t cd_;
};

// A descriptor carries conversion state and must not be shared between threads: each thread
// keeps its own, opened on first use (iconv_open costs microseconds, a conversion call less).
iconv_t DescriptorFor(const std::string& to, const std::string& from) {
    thread_local std::map<std::pair<std::string, std::string>, std::unique_ptr<Descriptor>> cache;
    auto& slot = cache[{to, from}];
    if (!slot) slot = std::make_unique<Descriptor>(to, from);
    if (slot->Get() == kInvalid) throw std::runtime_error("iconv cannot convert " + from + " to " + to);
    iconv(slot->Get(), nullptr, nullptr, nullptr, nullptr); // back to the initial state
    return slot->Get();
}

// Converts as much of in as iconv can; stops at the first byte sequence it refuses. Answers
// errno of the stop (0 when everything was converted). out grows as needed.
int Run(iconv_t cd, const char*& in, std::size_t& inLeft, std::string& out, std::size_t& used) {
    while (inLeft > 0) {
        if (out.size() - used < 8) out.resize(out.size() * 2 + 16);
        char* inPtr = const_cast<char*>(in);
        char* outPtr = out.data() + used;
        std::size_t outLeft = out.size() - used;
        const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        const int error = rc == static_cast<std::size_t>(-1) ? errno : 0;
        in = inPtr;
        used = out.size() - outLeft;
        if (error == E2BIG) {
            out.resize(out.size() * 2 + 16);
            continue;
        }
        if (error != 0) return error;
    }
    return 0;
}

} // namespace

ByteCodec::ByteCodec(std::string iconvName) : iconvName_(std::move(iconvName)) {
    DescriptorFor("UTF-8", iconvName_);
    DescriptorFor(iconvName_, "UTF-8");
}

std::string ByteCodec::Decode(std::string_view bytes) const {
    std::string out;
    if (bytes.empty()) return out;
    iconv_t cd = DescriptorFor("UTF-8", iconvName_);
    // A double-byte character takes at most 3 bytes of UTF-8 (€ for the single byte 0x80 too).
    out.resize(bytes.size() * 3 / 2 + 16);
    std::size_t used = 0;
    const char* in = bytes.data();
    std::size_t inLeft = bytes.size();
    while (Run(cd, in, inLeft, out, used) != 0) {
        // EILSEQ (no character starts here) or EINVAL (a lead byte at the end): one '?' for the
        // byte, then go on with the next one.
        if (out.size() == used) out.resize(out.size() * 2 + 16);
        out[used++] = '?';
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(used);
    return out;
}

std::string ByteCodec::DecodeCharacter(std::string_view bytes) const {
    if (bytes.empty()) return {};
    iconv_t cd = DescriptorFor("UTF-8", iconvName_);
    std::string out(16, '\0');
    std::size_t used = 0;
    const char* in = bytes.data();
    std::size_t inLeft = bytes.size();
    if (Run(cd, in, inLeft, out, used) != 0) return {};
    out.resize(used);
    if (Utf8CharCount(out) != 1) return {};
    return out;
}

std::string ByteCodec::Encode(std::string_view utf8, const Fallback& fallback) const {
    std::string out;
    if (utf8.empty()) return out;
    iconv_t cd = DescriptorFor(iconvName_, "UTF-8");
    // Chinese takes 3 bytes in UTF-8 and 2 in the code page; ASCII 1 in both.
    out.resize(utf8.size() + 16);
    std::size_t used = 0;
    const char* in = utf8.data();
    std::size_t inLeft = utf8.size();
    // Characters before the refused one, counted from the last refusal onwards.
    std::size_t charIndex = 0;
    const char* counted = utf8.data();
    while (Run(cd, in, inLeft, out, used) != 0) {
        charIndex += Utf8CharCount(std::string_view(counted, static_cast<std::size_t>(in - counted)));
        const std::string_view character = Utf8CharAt(std::string_view(in, inLeft), 0);
        const std::string replacement = fallback(character, charIndex);
        if (out.size() - used < replacement.size()) out.resize(used + replacement.size() + out.size());
        std::copy(replacement.begin(), replacement.end(), out.begin() + static_cast<std::ptrdiff_t>(used));
        used += replacement.size();
        in += character.size();
        inLeft -= character.size();
        counted = in;
        ++charIndex;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(used);
    return out;
}

std::string ByteCodec::EncodeCharacter(std::string_view character) const {
    if (character.empty()) return {};
    iconv_t cd = DescriptorFor(iconvName_, "UTF-8");
    std::string out(16, '\0');
    std::size_t used = 0;
    const char* in = character.data();
    std::size_t inLeft = character.size();
    if (Run(cd, in, inLeft, out, used) != 0) return {};
    out.resize(used);
    return out;
}

} // namespace qmx::qmlanguage
