// TStringList: sorting and duplicates, Find, change notifications, index errors, objects.
#include "qmx/toolkit/StringList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace qmx;

namespace {

using Lines = std::vector<std::string>;

Lines LinesOf(const TStrings& list) {
    Lines lines;
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Get(i));
    return lines;
}

template <class F>
void ExpectListError(F&& action, const std::string& message) {
    try {
        action();
        ADD_FAILURE() << "no error, expected: " << message;
    } catch (const EStringListError& error) {
        EXPECT_EQ(error.Message(), message);
    }
}

TEST(StringList, SortedAddInsertsAtTheSortedPosition) {
    TStringList list;
    list.SetSorted(true);
    EXPECT_EQ(list.Add("m"), 0);
    EXPECT_EQ(list.Add("c"), 0);
    EXPECT_EQ(list.Add("x"), 2);
    EXPECT_EQ(list.Add("D"), 1); // without regard to case
    EXPECT_EQ(LinesOf(list), (Lines{"c", "D", "m", "x"}));
    list.SetText("q\r\nb\r\n");
    EXPECT_EQ(LinesOf(list), (Lines{"b", "q"}));
}

struct DuplicatesCase {
    TDuplicates duplicates;
    int addResult;      // index answered by Add("B") on {"a", "b", "c"}; -1: raises
    Lines lines;
};

void PrintTo(const DuplicatesCase& c, std::ostream* out) { *out << GetEnumName(EnumTypeInfo(c.duplicates), c.duplicates); }

class StringListDuplicates : public ::testing::TestWithParam<DuplicatesCase> {};

TEST_P(StringListDuplicates, OnASortedList) {
    const DuplicatesCase& c = GetParam();
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(c.duplicates);
    for (const char* s : {"c", "a", "b"}) list.Add(s);
    int changes = 0;
    list.OnChange = TNotifyEvent(nullptr, [&](TObject*) { ++changes; });
    if (c.addResult < 0) {
        ExpectListError([&] { list.Add("B"); }, "List does not allow duplicates");
    } else {
        EXPECT_EQ(list.Add("B"), c.addResult);
    }
    EXPECT_EQ(LinesOf(list), c.lines);
    EXPECT_EQ(changes, c.duplicates == dupAccept ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, StringListDuplicates, ::testing::Values(
    DuplicatesCase{dupIgnore, 1, {"a", "b", "c"}},
    DuplicatesCase{dupAccept, 1, {"a", "B", "b", "c"}},
    DuplicatesCase{dupError, -1, {"a", "b", "c"}}));

TEST(StringList, DuplicatesMatterOnlyWhenSorted) {
    TStringList list;
    list.SetDuplicates(dupError);
    list.Add("a");
    EXPECT_EQ(list.Add("a"), 1);
    EXPECT_EQ(list.Count(), 2);
}

struct FindCase {
    const char* s;
    bool found;
    int index;
};

void PrintTo(const FindCase& c, std::ostream* out) { *out << c.s; }

class StringListFind : public ::testing::TestWithParam<FindCase> {};

TEST_P(StringListFind, BinarySearch) {
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(dupAccept);
    for (const char* s : {"e", "c", "a", "c", "c"}) list.Add(s);
    ASSERT_EQ(LinesOf(list), (Lines{"a", "c", "c", "c", "e"}));
    int index = -1;
    EXPECT_EQ(list.Find(GetParam().s, index), GetParam().found);
    EXPECT_EQ(index, GetParam().index);
    EXPECT_EQ(list.IndexOf(GetParam().s), GetParam().found ? GetParam().index : -1);
}

INSTANTIATE_TEST_SUITE_P(Cases, StringListFind, ::testing::Values(
    FindCase{"a", true, 0}, FindCase{"A", true, 0}, FindCase{"c", true, 1}, FindCase{"C", true, 1},
    FindCase{"e", true, 4}, FindCase{"0", false, 0}, FindCase{"b", false, 1}, FindCase{"d", false, 4},
    FindCase{"z", false, 5}));

TEST(StringList, CaseSensitiveSortsAgainAndFindsExactly) {
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(dupAccept);
    for (const char* s : {"b", "a", "B", "A"}) list.Add(s);
    EXPECT_EQ(list.IndexOf("b"), list.IndexOf("B"));
    list.SetCaseSensitive(true);
    EXPECT_EQ(LinesOf(list), (Lines{"A", "B", "a", "b"}));
    EXPECT_EQ(list.IndexOf("b"), 3);
    EXPECT_EQ(list.IndexOf("B"), 1);
}

TEST(StringList, SortCustomSortAndSortedTurnedOn) {
    TStringList list;
    for (const char* s : {"pear", "Fig", "apple", "kiwi", "fig"}) list.Add(s);
    TStringList byLength;
    byLength.Assign(&list);
    byLength.CustomSort([](TStringList* l, int i, int j) {
        return static_cast<int>(l->Get(j).size()) - static_cast<int>(l->Get(i).size());
    });
    EXPECT_EQ(LinesOf(byLength), (Lines{"apple", "pear", "kiwi", "Fig", "fig"})); // stable
    list.Sort();
    EXPECT_EQ(LinesOf(list), (Lines{"apple", "Fig", "fig", "kiwi", "pear"}));
    TStringList unsorted;
    for (const char* s : {"c", "a", "b"}) unsorted.Add(s);
    unsorted.SetSorted(true);
    EXPECT_EQ(LinesOf(unsorted), (Lines{"a", "b", "c"}));
    unsorted.CustomSort([](TStringList*, int i, int j) { return j - i; }); // sorted: keeps its order
    EXPECT_EQ(LinesOf(unsorted), (Lines{"a", "b", "c"}));
}

TEST(StringList, BadCompareFunctionsCannotDamageTheList) {
    TStringList list;
    TObject objects[40];
    for (int i = 0; i < 40; ++i) list.AddObject(std::to_string(i), &objects[i]);
    std::mt19937 random(3);
    list.CustomSort([&](TStringList*, int, int) { return static_cast<int>(random() % 3) - 1; });
    ASSERT_EQ(list.Count(), 40);
    for (int i = 0; i < 40; ++i) {
        const int at = list.IndexOf(std::to_string(i));
        ASSERT_GE(at, 0);
        EXPECT_EQ(list.Objects(at), &objects[i]); // lines keep their objects
    }
    const Lines before = LinesOf(list);
    EXPECT_THROW(list.CustomSort([](TStringList*, int, int) -> int { throw Exception("no"); }), Exception);
    EXPECT_EQ(LinesOf(list), before);
}

TEST(StringList, OperationsRefusedOnASortedListLoseNothing) {
    TStringList list;
    for (const char* s : {"b", "a", "c"}) list.Add(s);
    list.SetSorted(true);
    const std::string message = "Operation not allowed on sorted list";
    ExpectListError([&] { list.Insert(0, "z"); }, message);
    ExpectListError([&] { list.Put(0, "z"); }, message);
    ExpectListError([&] { list.Move(0, 2); }, message);
    EXPECT_EQ(LinesOf(list), (Lines{"a", "b", "c"}));
}

TEST(StringList, IndexErrors) {
    TStringList list;
    list.Add("a");
    list.Add("b");
    ExpectListError([&] { list.Get(5); }, "List index out of bounds (5)");
    ExpectListError([&] { list.Get(-1); }, "List index out of bounds (-1)");
    ExpectListError([&] { list.Put(2, "x"); }, "List index out of bounds (2)");
    ExpectListError([&] { list.Objects(2); }, "List index out of bounds (2)");
    ExpectListError([&] { list.SetObjects(7, nullptr); }, "List index out of bounds (7)");
    ExpectListError([&] { list.Delete(2); }, "List index out of bounds (2)");
    ExpectListError([&] { list.Insert(3, "x"); }, "List index out of bounds (3)");
    ExpectListError([&] { list.Exchange(0, 7); }, "List index out of bounds (7)");
    ExpectListError([&] { list.Move(0, 2); }, "List index out of bounds (2)");
    ExpectListError([&] { list.Move(-1, 0); }, "List index out of bounds (-1)");
    EXPECT_EQ(LinesOf(list), (Lines{"a", "b"}));
    list.Insert(2, "c"); // Count itself appends
    EXPECT_EQ(LinesOf(list), (Lines{"a", "b", "c"}));
    EXPECT_THROW(list.Get(3), EListError); // also an EListError
}

TEST(StringList, ExchangeMoveInsertKeepObjects) {
    TStringList list;
    TObject a, b, c;
    list.AddObject("a", &a);
    list.AddObject("b", &b);
    list.AddObject("c", &c);
    list.Exchange(0, 2);
    EXPECT_EQ(LinesOf(list), (Lines{"c", "b", "a"}));
    EXPECT_EQ(list.Objects(0), &c);
    list.Move(0, 2);
    EXPECT_EQ(LinesOf(list), (Lines{"b", "a", "c"}));
    EXPECT_EQ(list.Objects(2), &c);
    list.SetStrings(1, "A");
    EXPECT_EQ(list.Objects(1), &a);
    list.InsertObject(0, "z", &c);
    EXPECT_EQ(list.Objects(0), &c);
    list.Delete(0);
    EXPECT_EQ(list.Objects(0), &b);
}

// Counts OnChanging and OnChange, and what the list held when each ran.
struct ChangeLog {
    explicit ChangeLog(TStringList& list) {
        list.OnChanging = TNotifyEvent(nullptr, [this, &list](TObject* sender) {
            ++changing;
            EXPECT_EQ(sender, &list);
            countAtChanging = list.Count();
        });
        list.OnChange = TNotifyEvent(nullptr, [this, &list](TObject*) {
            ++changed;
            countAtChange = list.Count();
        });
    }
    int changing = 0;
    int changed = 0;
    int countAtChanging = -1;
    int countAtChange = -1;
};

TEST(StringList, ChangeNotifications) {
    TStringList list;
    ChangeLog log(list);
    list.Add("a");
    EXPECT_EQ(log.changing, 1);
    EXPECT_EQ(log.changed, 1);
    EXPECT_EQ(log.countAtChanging, 0); // before
    EXPECT_EQ(log.countAtChange, 1);   // after

    list.BeginUpdate();
    list.BeginUpdate();
    EXPECT_EQ(list.UpdateCount(), 2);
    list.Add("b");
    list.Add("c");
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(log.changed, 1);
    list.EndUpdate();
    EXPECT_EQ(log.changing, 2); // once when the update began
    EXPECT_EQ(log.changed, 2);  // once when it ended
    EXPECT_EQ(list.UpdateCount(), 0);
    list.EndUpdate(); // unbalanced: ignored
    EXPECT_EQ(list.UpdateCount(), 0);
    EXPECT_EQ(log.changed, 2);

    list.SetText("x\r\ny\r\nz\r\n");
    EXPECT_EQ(log.changed, 3);
    list.SetCommaText("p,q");
    EXPECT_EQ(log.changed, 4);
    TStringList other;
    other.SetText("1\r\n2\r\n3\r\n");
    list.AddStrings(&other);
    EXPECT_EQ(log.changed, 5);
    list.Sort();
    EXPECT_EQ(log.changed, 6);
    list.Clear();
    EXPECT_EQ(log.changed, 7);
    list.Clear(); // already empty: no change
    EXPECT_EQ(log.changed, 7);
    list.Move(0, 0);
    EXPECT_EQ(log.changed, 7);
    EXPECT_EQ(log.changing, log.changed);
    // A refused change tells nothing.
    list.SetSorted(true);
    list.SetDuplicates(dupError);
    list.Add("a");
    const int before = log.changing;
    EXPECT_THROW(list.Add("A"), EStringListError);
    EXPECT_EQ(log.changing, before);
}

// Counts how many were freed.
class TCounted : public TObject {
public:
    explicit TCounted(int& freed) : freed_(freed) {}
    ~TCounted() override { ++freed_; }

private:
    int& freed_;
};

TEST(StringList, OwnsObjectsFreesThemOtherwiseNot) {
    int freed = 0;
    {
        TStringList list(true);
        list.AddObject("a", new TCounted(freed));
        list.AddObject("b", new TCounted(freed));
        list.AddObject("c", new TCounted(freed));
        list.Add("no object");
        list.Delete(0);
        EXPECT_EQ(freed, 1);
        list.Clear();
        EXPECT_EQ(freed, 3);
        list.AddObject("d", new TCounted(freed));
    }
    EXPECT_EQ(freed, 4);

    TCounted kept(freed);
    {
        TStringList list;
        list.AddObject("k", &kept);
        list.Delete(0);
        list.AddObject("k", &kept);
    }
    EXPECT_EQ(freed, 4);
}

TEST(StringList, ClassInformation) {
    TStringList list;
    EXPECT_EQ(list.ClassName(), "TStringList");
    EXPECT_TRUE(list.InheritsFrom("TStrings"));
    EXPECT_TRUE(list.InheritsFrom("TPersistent"));
}

} // namespace
