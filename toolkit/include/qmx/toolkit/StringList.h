#pragma once
// TStringList: the toolkit's list of texts with objects, optionally kept sorted, with change
// events. Objects are not freed by the list unless OwnsObjects is set.
#include <functional>
#include <vector>

#include "qmx/toolkit/Events.h"
#include "qmx/toolkit/Strings.h"

namespace qmx {

enum TDuplicates { dupIgnore, dupAccept, dupError };
QMX_ENUM(TDuplicates, "dupIgnore", "dupAccept", "dupError")

class TStringList;
// <0, 0, >0 comparing the lines at two indexes.
using TStringListSortCompare = std::function<int(TStringList* list, int index1, int index2)>;

class TStringList : public TStrings {
    QMX_CLASS(TStringList, TStrings)

public:
    TStringList() = default;
    explicit TStringList(bool ownsObjects) : ownsObjects_(ownsObjects) {}
    ~TStringList() override;

    int Count() const override { return static_cast<int>(items_.size()); }
    AnsiString Get(int index) const override;
    // On a sorted list Put raises EStringListError "Operation not allowed on sorted list".
    void Put(int index, const AnsiString& s) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    void Clear() override;
    void Delete(int index) override;
    // On a sorted list Insert raises; use Add.
    void Insert(int index, const AnsiString& s) override;
    void InsertObject(int index, const AnsiString& s, TObject* object) override;
    // On a sorted list: at the sorted position; an equal line is handled by Duplicates
    // (dupIgnore answers the existing line's index, dupError raises "List does not allow
    // duplicates").
    int Add(const AnsiString& s) override;
    int AddObject(const AnsiString& s, TObject* object) override;
    void Exchange(int index1, int index2) override;
    void Move(int currentIndex, int newIndex) override;
    int IndexOf(const AnsiString& s) const override;

    // Binary search of a sorted list: true when found, index = the first equal line or the
    // place where s would be inserted.
    virtual bool Find(const AnsiString& s, int& index) const;
    // Sorts an unsorted list (CompareStrings order); stable.
    virtual void Sort();
    // Sorts an unsorted list with the caller's order; the list is left unchanged when compare
    // raises. A sorted list keeps its own order.
    virtual void CustomSort(const TStringListSortCompare& compare);

    bool Sorted() const { return sorted_; }
    // Turning it on sorts the list.
    void SetSorted(bool sorted);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
    bool CaseSensitive() const { return caseSensitive_; }
    // A sorted list is sorted again in the new order.
    void SetCaseSensitive(bool caseSensitive);
    // Delete, Clear and the destructor free the objects of the lines.
    bool OwnsObjects() const { return ownsObjects_; }
    void SetOwnsObjects(bool ownsObjects) { ownsObjects_ = ownsObjects; }

    // Before and after every change, unless updating (BeginUpdate); a BeginUpdate/EndUpdate pair
    // gives one OnChanging and one OnChange.
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void Changed();
    virtual void Changing();
    void SetUpdateState(bool updating) override;
    // Case-sensitive (byte order) or not, as CaseSensitive says.
    int CompareStrings(std::string_view a, std::string_view b) const override;

private:
    struct TStringItem {
        AnsiString String;
        TObject* Object = nullptr;
    };

    void CheckIndex(int index) const;
    void CheckNotSorted() const;
    void InsertItem(int index, const AnsiString& s, TObject* object);
    void SortWith(const std::function<int(int, int)>& compare);

    std::vector<TStringItem> items_;
    bool sorted_ = false;
    TDuplicates duplicates_ = dupIgnore;
    bool caseSensitive_ = false;
    bool ownsObjects_ = false;
};

} // namespace qmx
