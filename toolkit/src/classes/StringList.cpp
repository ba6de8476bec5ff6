#include "qmx/toolkit/StringList.h"

#include <algorithm>

#include "qmx/CodePage.h"
#include "qmx/toolkit/ClassBuilder.h"

namespace qmx {

const TClassInfo& TStringList::StaticClassInfo() {
    static const TClassInfo info =
        TClassInfoBuilder<TStringList>("TStringList", &inherited::StaticClassInfo()).Build();
    return info;
}

TStringList::~TStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
    if (ownsObjects_)
        for (TStringItem& item : items_) FreeAndNil(item.Object);
}

void TStringList::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) IndexError(index);
}

void TStringList::CheckNotSorted() const {
    if (sorted_) Error("Operation not allowed on sorted list");
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool updating) {
    if (updating) Changing();
    else Changed();
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const {
    if (caseSensitive_) {
        const int c = a.compare(b);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    return AnsiCompareText(a, b, SystemAnsiCodePage());
}

AnsiString TStringList::Get(int index) const {
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].String;
}

void TStringList::Put(int index, const AnsiString& s) {
    CheckNotSorted();
    CheckIndex(index);
    Changing();
    items_[static_cast<std::size_t>(index)].String = s;
    Changed();
}

TObject* TStringList::GetObject(int index) const {
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].Object;
}

void TStringList::PutObject(int index, TObject* object) {
    CheckIndex(index);
    Changing();
    items_[static_cast<std::size_t>(index)].Object = object;
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    std::vector<TStringItem> old;
    old.swap(items_);
    if (ownsObjects_)
        for (TStringItem& item : old) FreeAndNil(item.Object);
    Changed();
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    Changing();
    TObject* object = items_[static_cast<std::size_t>(index)].Object;
    items_.erase(items_.begin() + index);
    if (ownsObjects_) FreeAndNil(object);
    Changed();
}

void TStringList::InsertItem(int index, const AnsiString& s, TObject* object) {
    Changing();
    items_.insert(items_.begin() + index, TStringItem{s, object});
    Changed();
}

void TStringList::Insert(int index, const AnsiString& s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const AnsiString& s, TObject* object) {
    CheckNotSorted();
    if (index < 0 || index > Count()) IndexError(index);
    InsertItem(index, s, object);
}

int TStringList::Add(const AnsiString& s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const AnsiString& s, TObject* object) {
    int index = Count();
    if (sorted_ && Find(s, index)) {
        if (duplicates_ == dupIgnore) return index;
        if (duplicates_ == dupError) Error("List does not allow duplicates");
    }
    InsertItem(index, s, object);
    return index;
}

void TStringList::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
    Changed();
}

void TStringList::Move(int currentIndex, int newIndex) {
    if (currentIndex == newIndex) return;
    // Refused before the line is taken out, so that it is not lost.
    CheckNotSorted();
    TStrings::Move(currentIndex, newIndex);
}

int TStringList::IndexOf(const AnsiString& s) const {
    if (!sorted_) return TStrings::IndexOf(s);
    int index;
    return Find(s, index) ? index : -1;
}

bool TStringList::Find(const AnsiString& s, int& index) const {
    bool found = false;
    int low = 0;
    int high = Count() - 1;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        const int c = CompareStrings(items_[static_cast<std::size_t>(middle)].String, s);
        if (c < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
            if (c == 0) {
                found = true;
                if (duplicates_ != dupAccept) low = middle;
            }
        }
    }
    index = low;
    return found;
}

void TStringList::SortWith(const std::function<int(int, int)>& compare) {
    // A merge sort of the positions, then one rearrangement: the compare function always sees
    // the list as it was, and a compare that is inconsistent or raises cannot damage it.
    const std::size_t count = items_.size();
    std::vector<int> order(count);
    for (std::size_t i = 0; i < count; ++i) order[i] = static_cast<int>(i);
    std::vector<int> buffer(count);
    for (std::size_t width = 1; width < count; width *= 2) {
        for (std::size_t left = 0; left < count; left += 2 * width) {
            const std::size_t middle = std::min(left + width, count);
            const std::size_t right = std::min(left + 2 * width, count);
            std::size_t a = left, b = middle, out = left;
            while (a < middle && b < right) buffer[out++] = compare(order[b], order[a]) < 0 ? order[b++] : order[a++];
            while (a < middle) buffer[out++] = order[a++];
            while (b < right) buffer[out++] = order[b++];
        }
        order.swap(buffer);
    }
    std::vector<TStringItem> sorted;
    sorted.reserve(count);
    for (int position : order) sorted.push_back(std::move(items_[static_cast<std::size_t>(position)]));
    items_.swap(sorted);
}

void TStringList::Sort() {
    CustomSort([](TStringList* list, int index1, int index2) {
        return list->CompareStrings(list->items_[static_cast<std::size_t>(index1)].String,
                                    list->items_[static_cast<std::size_t>(index2)].String);
    });
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
    if (sorted_ || Count() < 2 || !compare) return;
    Changing();
    SortWith([this, &compare](int index1, int index2) { return compare(this, index1, index2); });
    Changed();
}

void TStringList::SetSorted(bool sorted) {
    if (sorted == sorted_) return;
    if (sorted) Sort();
    sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
    if (caseSensitive == caseSensitive_) return;
    caseSensitive_ = caseSensitive;
    if (sorted_ && Count() > 1) {
        Changing();
        SortWith([this](int index1, int index2) {
            return CompareStrings(items_[static_cast<std::size_t>(index1)].String,
                                  items_[static_cast<std::size_t>(index2)].String);
        });
        Changed();
    }
}

} // namespace qmx
