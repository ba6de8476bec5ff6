#include "qmx/toolkit/Strings.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "qmx/CodePage.h"
#include "qmx/toolkit/ClassBuilder.h"

namespace qmx {

const TClassInfo& TStrings::StaticClassInfo() {
    static const TClassInfo info = TClassInfoBuilder<TStrings>("TStrings", &inherited::StaticClassInfo()).Build();
    return info;
}

void TStrings::Error(const std::string& message) { throw EStringListError(message); }

void TStrings::IndexError(int index) { Error("List index out of bounds (" + std::to_string(index) + ")"); }

void TStrings::Put(int index, const AnsiString& s) {
    TObject* object = GetObject(index);
    Delete(index);
    InsertObject(index, s, object);
}

TObject* TStrings::GetObject(int index) const {
    (void)index;
    return nullptr;
}

void TStrings::PutObject(int index, TObject* object) {
    (void)index;
    (void)object;
}

void TStrings::InsertObject(int index, const AnsiString& s, TObject* object) {
    Insert(index, s);
    PutObject(index, object);
}

int TStrings::Add(const AnsiString& s) {
    const int index = Count();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(const AnsiString& s, TObject* object) {
    const int index = Add(s);
    PutObject(index, object);
    return index;
}

void TStrings::AddStrings(const TStrings* strings) {
    if (!strings) return;
    TUpdateScope update(*this);
    // Counted once: adding a list to itself doubles it instead of running forever.
    const int count = strings->Count();
    for (int i = 0; i < count; ++i) AddObject(strings->Get(i), strings->GetObject(i));
}

void TStrings::Exchange(int index1, int index2) {
    TUpdateScope update(*this);
    TObject* object = GetObject(index1);
    AnsiString s = Get(index1);
    Put(index1, Get(index2));
    PutObject(index1, GetObject(index2));
    Put(index2, s);
    PutObject(index2, object);
}

void TStrings::Move(int currentIndex, int newIndex) {
    if (currentIndex == newIndex) return;
    // Checked before anything is deleted, so that a bad index loses no line.
    if (currentIndex < 0 || currentIndex >= Count()) IndexError(currentIndex);
    if (newIndex < 0 || newIndex >= Count()) IndexError(newIndex);
    TUpdateScope update(*this);
    TObject* object = GetObject(currentIndex);
    AnsiString s = Get(currentIndex);
    Delete(currentIndex);
    InsertObject(newIndex, s, object);
}

int TStrings::CompareStrings(std::string_view a, std::string_view b) const {
    return AnsiCompareText(a, b, SystemAnsiCodePage());
}

int TStrings::IndexOf(const AnsiString& s) const {
    const int count = Count();
    for (int i = 0; i < count; ++i)
        if (CompareStrings(Get(i), s) == 0) return i;
    return -1;
}

int TStrings::IndexOfName(std::string_view name) const {
    const CodePage codePage = SystemAnsiCodePage();
    const int count = Count();
    for (int i = 0; i < count; ++i) {
        const AnsiString s = Get(i);
        const std::size_t separator = AnsiFindChar(s, nameValueSeparator_, 0, codePage);
        if (separator != std::string::npos &&
            AnsiCompareText(std::string_view(s).substr(0, separator), name, codePage) == 0)
            return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
    const int count = Count();
    for (int i = 0; i < count; ++i)
        if (GetObject(i) == object) return i;
    return -1;
}

AnsiString TStrings::Names(int index) const {
    const AnsiString s = Get(index);
    const std::size_t separator = AnsiFindChar(s, nameValueSeparator_, 0, SystemAnsiCodePage());
    return separator == std::string::npos ? AnsiString() : s.substr(0, separator);
}

AnsiString TStrings::ValueFromIndex(int index) const {
    if (index < 0) return {};
    const AnsiString s = Get(index);
    const std::size_t separator = AnsiFindChar(s, nameValueSeparator_, 0, SystemAnsiCodePage());
    return separator == std::string::npos ? AnsiString() : s.substr(separator + 1);
}

AnsiString TStrings::Values(std::string_view name) const {
    const int index = IndexOfName(name);
    return index < 0 ? AnsiString() : ValueFromIndex(index);
}

void TStrings::SetValues(std::string_view name, const AnsiString& value) {
    int index = IndexOfName(name);
    if (!value.empty()) {
        if (index < 0) index = Add(AnsiString());
        Put(index, AnsiString(name) + nameValueSeparator_ + value);
    } else if (index >= 0) {
        Delete(index);
    }
}

void TStrings::SetValueFromIndex(int index, const AnsiString& value) {
    if (!value.empty()) {
        if (index < 0) index = Add(AnsiString());
        Put(index, Names(index) + nameValueSeparator_ + value);
    } else if (index >= 0) {
        Delete(index);
    }
}

AnsiString TStrings::Text() const {
    AnsiString text;
    const int count = Count();
    for (int i = 0; i < count; ++i) {
        text += Get(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetText(std::string_view text) {
    TUpdateScope update(*this);
    Clear();
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        while (pos < text.size() && text[pos] != '\r' && text[pos] != '\n') ++pos;
        Add(AnsiString(text.substr(start, pos - start)));
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
    }
}

AnsiString TStrings::CommaText() const { return DelimitedTextWith(',', '"'); }

void TStrings::SetCommaText(std::string_view text) { SetDelimitedTextWith(text, ',', '"'); }

AnsiString TStrings::DelimitedText() const { return DelimitedTextWith(delimiter_, quoteChar_); }

void TStrings::SetDelimitedText(std::string_view text) { SetDelimitedTextWith(text, delimiter_, quoteChar_); }

namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }
// Separates items when reading; a NUL byte is data (the original stopped at it and lost the rest).
bool IsSeparatingBlank(char c) { return c != '\0' && IsBlankOrControl(c); }

// Surrounds with the quote and doubles the quotes inside (never a trail byte).
AnsiString QuotedStr(std::string_view s, char quote, CodePage codePage) {
    AnsiString result(1, quote);
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t length = CharLengthAt(s, i, codePage);
        if (length == 1 && s[i] == quote) result += quote;
        result.append(s.substr(i, length));
        i += length;
    }
    result += quote;
    return result;
}

// At text[pos] == quote: the quoted text with doubled quotes made single; pos ends after the
// closing quote, or at the end of an unterminated text (which then runs to the end).
AnsiString ExtractQuotedStr(std::string_view text, std::size_t& pos, char quote, CodePage codePage) {
    AnsiString result;
    ++pos;
    while (pos < text.size()) {
        const std::size_t length = CharLengthAt(text, pos, codePage);
        if (length == 1 && text[pos] == quote) {
            if (pos + 1 < text.size() && text[pos + 1] == quote) {
                result += quote;
                pos += 2;
                continue;
            }
            ++pos;
            return result;
        }
        result.append(text.substr(pos, length));
        pos += length;
    }
    return result;
}

} // namespace

AnsiString TStrings::DelimitedTextWith(char delimiter, char quoteChar) const {
    const int count = Count();
    if (count == 1 && Get(0).empty()) return AnsiString(2, quoteChar);
    const CodePage codePage = SystemAnsiCodePage();
    AnsiString result;
    for (int i = 0; i < count; ++i) {
        const AnsiString s = Get(i);
        bool quote = false;
        for (std::size_t pos = 0; pos < s.size(); pos += CharLengthAt(s, pos, codePage)) {
            const char c = s[pos];
            if (CharLengthAt(s, pos, codePage) == 1 &&
                (IsBlankOrControl(c) || c == quoteChar || c == delimiter)) {
                quote = true;
                break;
            }
        }
        if (i > 0) result += delimiter;
        result += quote ? QuotedStr(s, quoteChar, codePage) : s;
    }
    return result;
}

void TStrings::SetDelimitedTextWith(std::string_view text, char delimiter, char quoteChar) {
    const CodePage codePage = SystemAnsiCodePage();
    auto skipBlanks = [&](std::size_t& pos) {
        while (pos < text.size() && IsSeparatingBlank(text[pos])) ++pos;
    };
    TUpdateScope update(*this);
    Clear();
    std::size_t pos = 0;
    skipBlanks(pos);
    while (pos < text.size()) {
        if (text[pos] == quoteChar) {
            Add(ExtractQuotedStr(text, pos, quoteChar, codePage));
        } else {
            const std::size_t start = pos;
            while (pos < text.size()) {
                const std::size_t length = CharLengthAt(text, pos, codePage);
                if (length == 1 && (IsSeparatingBlank(text[pos]) || text[pos] == delimiter)) break;
                pos += length;
            }
            Add(AnsiString(text.substr(start, pos - start)));
        }
        skipBlanks(pos);
        if (pos < text.size() && text[pos] == delimiter) {
            // A delimiter at the very end stands for a last empty item.
            if (pos + 1 == text.size()) Add(AnsiString());
            ++pos;
            skipBlanks(pos);
        }
    }
}

void TStrings::BeginUpdate() {
    if (updateCount_ == 0) SetUpdateState(true);
    ++updateCount_;
}

void TStrings::EndUpdate() {
    if (updateCount_ == 0) return; // unbalanced: nothing to end
    --updateCount_;
    if (updateCount_ == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool updating) { (void)updating; }

void TStrings::Assign(const TPersistent* source) {
    if (const auto* strings = dynamic_cast<const TStrings*>(source)) {
        if (strings == this) return;
        TUpdateScope update(*this);
        Clear();
        delimiter_ = strings->delimiter_;
        quoteChar_ = strings->quoteChar_;
        nameValueSeparator_ = strings->nameValueSeparator_;
        AddStrings(strings);
        return;
    }
    inherited::Assign(source);
}

bool TStrings::Equals(const TStrings* strings) const {
    if (!strings) return false;
    const int count = Count();
    if (count != strings->Count()) return false;
    for (int i = 0; i < count; ++i)
        if (Get(i) != strings->Get(i)) return false;
    return true;
}

void TStrings::LoadFromFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw EFOpenError("Cannot read file \"" + fileName + "\"");
    SetText(bytes);
}

void TStrings::SaveToFile(const std::string& fileName) const {
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    if (!out) throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
    const AnsiString text = Text();
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out) throw EFCreateError("Cannot write file \"" + fileName + "\"");
}

} // namespace qmx
