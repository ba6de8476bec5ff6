#pragma once
// TStrings: the abstract list of texts (code-page bytes), each with an optional associated
// object, as the original toolkit's. Descendants store the lines (TStringList, a list box's or a
// combo box's items); everything else (Text, CommaText, Names and Values, Assign, files) is
// written here once over Get/Put/Insert/Delete.
//
// Searches and name lookups ignore case and are aware of double-byte characters of the system
// ANSI code page: a trail byte is never taken for '=', a quote or a delimiter.
#include <string>
#include <string_view>

#include "qmx/toolkit/Exceptions.h"
#include "qmx/toolkit/Persistent.h"

namespace qmx {

// "List index out of bounds (5)", "List does not allow duplicates", ...
class EStringListError : public EListError {
public:
    using EListError::EListError;
};
// A file that cannot be opened for reading / created for writing.
class EFOpenError : public Exception {
public:
    using Exception::Exception;
};
class EFCreateError : public Exception {
public:
    using Exception::Exception;
};

class TStrings : public TPersistent {
    QMX_CLASS(TStrings, TPersistent)

public:
    TStrings() = default;

    // --- what a descendant provides -------------------------------------------------------
    virtual int Count() const = 0;
    // Raises EStringListError for an index out of range.
    virtual AnsiString Get(int index) const = 0;
    // The default replaces the line through Delete and InsertObject, keeping its object.
    virtual void Put(int index, const AnsiString& s);
    // The defaults keep no objects.
    virtual TObject* GetObject(int index) const;
    virtual void PutObject(int index, TObject* object);
    virtual void Clear() = 0;
    virtual void Delete(int index) = 0;
    // index may be Count (append).
    virtual void Insert(int index, const AnsiString& s) = 0;
    virtual void InsertObject(int index, const AnsiString& s, TObject* object);

    // --- lines ------------------------------------------------------------------------------
    AnsiString Strings(int index) const { return Get(index); }
    void SetStrings(int index, const AnsiString& s) { Put(index, s); }
    AnsiString operator[](int index) const { return Get(index); }
    TObject* Objects(int index) const { return GetObject(index); }
    void SetObjects(int index, TObject* object) { PutObject(index, object); }

    // The index of the new line.
    virtual int Add(const AnsiString& s);
    virtual int AddObject(const AnsiString& s, TObject* object);
    void Append(const AnsiString& s) { Add(s); }
    virtual void AddStrings(const TStrings* strings);
    virtual void Exchange(int index1, int index2);
    // Moves a line (and its object) to newIndex; both indexes must be in range.
    virtual void Move(int currentIndex, int newIndex);

    // Without regard to case (see CompareStrings); -1 when absent.
    virtual int IndexOf(const AnsiString& s) const;
    // The first "name=value" line whose name matches, without regard to case; -1 when absent.
    int IndexOfName(std::string_view name) const;
    int IndexOfObject(const TObject* object) const;

    // --- name=value lines -------------------------------------------------------------------
    // The part before the first separator; empty for a line without one.
    AnsiString Names(int index) const;
    // The value of the first line named `name`; empty when there is none.
    AnsiString Values(std::string_view name) const;
    // Replaces the named line, or adds one; an empty value deletes the line.
    void SetValues(std::string_view name, const AnsiString& value);
    // The part after the first separator; empty for a line without one.
    AnsiString ValueFromIndex(int index) const;
    // An empty value deletes the line; index -1 adds a line "=value".
    void SetValueFromIndex(int index, const AnsiString& value);
    char NameValueSeparator() const { return nameValueSeparator_; }
    void SetNameValueSeparator(char separator) { nameValueSeparator_ = separator; }

    // --- whole texts ------------------------------------------------------------------------
    // Every line followed by CRLF.
    virtual AnsiString Text() const;
    // Splits on CR, LF or CRLF; a final line break adds no empty line.
    virtual void SetText(std::string_view text);
    // Lines separated by commas, quoted with '"' where needed; Delimiter and QuoteChar are not
    // changed by reading or writing CommaText.
    AnsiString CommaText() const;
    void SetCommaText(std::string_view text);
    // The same with Delimiter and QuoteChar. A line is quoted when it is empty (and the only
    // line), or holds a blank, a control character, the quote or the delimiter. Reading splits
    // at the delimiter and at blanks outside quotes; doubled quotes inside quotes stand for one.
    AnsiString DelimitedText() const;
    void SetDelimitedText(std::string_view text);
    char Delimiter() const { return delimiter_; }
    void SetDelimiter(char delimiter) { delimiter_ = delimiter; }
    char QuoteChar() const { return quoteChar_; }
    void SetQuoteChar(char quoteChar) { quoteChar_ = quoteChar; }

    // --- updates ----------------------------------------------------------------------------
    // Nested; change notifications are held back while the count is above zero.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // From another TStrings: lines, objects, delimiter, quote and separator; otherwise as
    // TPersistent::Assign.
    void Assign(const TPersistent* source) override;
    // Same lines in the same order (exact bytes; objects are not compared).
    bool Equals(const TStrings* strings) const;

    // The file's bytes as they are, split as SetText does; SaveToFile writes Text.
    virtual void LoadFromFile(const std::string& fileName);
    virtual void SaveToFile(const std::string& fileName) const;

protected:
    // Called with true when the first BeginUpdate starts and with false when the last EndUpdate
    // ends.
    virtual void SetUpdateState(bool updating);
    // <0, 0, >0; the default ignores case.
    virtual int CompareStrings(std::string_view a, std::string_view b) const;
    [[noreturn]] static void Error(const std::string& message);
    [[noreturn]] static void IndexError(int index);

    // BeginUpdate ... EndUpdate, also when what is between raises.
    class TUpdateScope {
    public:
        explicit TUpdateScope(TStrings& strings) : strings_(strings) { strings_.BeginUpdate(); }
        ~TUpdateScope() { strings_.EndUpdate(); }
        TUpdateScope(const TUpdateScope&) = delete;
        TUpdateScope& operator=(const TUpdateScope&) = delete;

    private:
        TStrings& strings_;
    };

private:
    AnsiString DelimitedTextWith(char delimiter, char quoteChar) const;
    void SetDelimitedTextWith(std::string_view text, char delimiter, char quoteChar);

    int updateCount_ = 0;
    char delimiter_ = ',';
    char quoteChar_ = '"';
    char nameValueSeparator_ = '=';
};

} // namespace qmx
