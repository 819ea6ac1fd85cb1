#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/system/list.h"

namespace {

struct Item {
  int key;
  std::string name;
};
using ItemPtr = std::shared_ptr<Item>;

// A list of items named "a", "b", ... with the given keys (default: 0, 1, 2, ...).
struct Fixture {
  TList<Item> list;
  std::vector<ItemPtr> items;
  explicit Fixture(int count, std::vector<int> keys = {}) {
    for (int i = 0; i < count; ++i) {
      int key = keys.empty() ? i : keys[static_cast<size_t>(i)];
      items.push_back(std::make_shared<Item>(Item{key, std::string(1, static_cast<char>('a' + i))}));
      list.AddLast(items.back());
    }
  }
};

std::string Names(const TList<Item>& list) {
  std::string out;
  for (const auto& item : list) out += item->name;
  return out;
}

}  // namespace

// Each case walks a list of a..e and, on reaching `at`, changes the list; `visited` is
// what the walk returned and `after` what the list holds afterwards.
TEST(PlatformList, WalksSurviveChangesMadeDuringThem) {
  struct Case {
    const char* name;
    char at;
    void (*change)(Fixture&);
    const char* visited;
    const char* after;
  } cases[] = {
      {"element in hand removed", 'b', [](Fixture& f) { f.list.Remove(f.items[1]); }, "abcde", "acde"},
      {"element ahead removed", 'b', [](Fixture& f) { f.list.Remove(f.items[2]); }, "abde", "abde"},
      {"in hand and next removed", 'b',
       [](Fixture& f) { f.list.Remove(f.items[1]); f.list.Remove(f.items[2]); }, "abde", "ade"},
      {"element behind removed", 'c', [](Fixture& f) { f.list.Remove(f.items[0]); }, "abcde", "bcde"},
      {"append during walk", 'b',
       [](Fixture& f) { f.list.AddLast(std::make_shared<Item>(Item{9, "x"})); }, "abcdex", "abcdex"},
      {"append after the last was returned", 'e',
       [](Fixture& f) { f.list.AddLast(std::make_shared<Item>(Item{9, "x"})); }, "abcde", "abcdex"},
      {"clear during walk", 'b', [](Fixture& f) { f.list.Clear(); }, "ab", ""},
      {"clear then append", 'b',
       [](Fixture& f) { f.list.Clear(); f.list.AddLast(std::make_shared<Item>(Item{9, "x"})); }, "ab", "x"},
      {"prepend during walk", 'c',
       [](Fixture& f) { f.list.AddFirst(std::make_shared<Item>(Item{9, "x"})); }, "abcde", "xabcde"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f(5);
    std::string visited;
    for (const auto& item : f.list) {
      visited += item->name;
      if (item->name[0] == c.at) {
        c.change(f);
        EXPECT_EQ(item->name[0], c.at);  // the element in hand stays valid
      }
    }
    EXPECT_EQ(visited, c.visited);
    EXPECT_EQ(Names(f.list), c.after);
    EXPECT_EQ(f.list.Count(), std::string(c.after).size());
  }
}

TEST(PlatformList, NestedWalksRemovingEachOther) {
  Fixture f(4);
  std::string outer, inner;
  for (const auto& a : f.list) {
    outer += a->name;
    for (const auto& b : f.list) {
      inner += b->name;
      if (a->name == "a" && b->name == "b") f.list.Remove(b);  // in hand of the inner walk,
      if (a->name == "a" && b->name == "c") f.list.Remove(a);  // in hand of the outer one
    }
    inner += '|';
  }
  EXPECT_EQ(outer, "acd");
  EXPECT_EQ(inner, "abcd|cd|cd|");
  EXPECT_EQ(Names(f.list), "cd");
}

TEST(PlatformList, RemoveContainsFirstLast) {
  Fixture f(3);
  auto stranger = std::make_shared<Item>(Item{7, "z"});
  EXPECT_FALSE(ListRemove(f.list, stranger));
  EXPECT_FALSE(f.list.Contains(stranger.get()));
  EXPECT_TRUE(ListRemove(f.list, f.items[2]));
  EXPECT_FALSE(ListRemove(f.list, f.items[2]));
  EXPECT_EQ(f.list.Last(), f.items[1]);
  EXPECT_EQ(f.list.First(), f.items[0]);
  ListAddLast(f.list, stranger);
  EXPECT_EQ(f.list.Last(), stranger);
  EXPECT_EQ(CountList(f.list), 3);
  ClearList(f.list);
  EXPECT_TRUE(ListIsEmpty(f.list));
  EXPECT_EQ(f.list.First(), nullptr);
  EXPECT_EQ(f.list.Last(), nullptr);
  ListAddLast(f.list, stranger);
  EXPECT_EQ(Names(f.list), "z");
}

TEST(PlatformList, SortIsStableInBothDirections) {
  auto byKey = [](const Item& a, const Item& b) { return a.key - b.key; };
  struct Case {
    bool ascending;
    std::vector<int> keys;
    const char* order;
  } cases[] = {
      {true, {3, 1, 2, 1, 3, 0}, "fbdcae"},
      {false, {3, 1, 2, 1, 3, 0}, "aecbdf"},
      {true, {5}, "a"},
      {true, {2, 2, 2, 2}, "abcd"},
      {false, {2, 2, 2, 2}, "abcd"},
  };
  for (const auto& c : cases) {
    Fixture f(static_cast<int>(c.keys.size()), c.keys);
    SortList<Item>(f.list, c.ascending, byKey);
    EXPECT_EQ(Names(f.list), c.order) << (c.ascending ? "ascending" : "descending");
    EXPECT_EQ(f.list.Last(), f.items[static_cast<size_t>(c.order[std::string(c.order).size() - 1] - 'a')]);
  }
}

TEST(PlatformList, SortEndsWithAComparatorThatAlwaysSaysLess) {
  for (bool ascending : {true, false}) {
    Fixture f(9);
    SortList<Item>(f.list, ascending, [](const Item&, const Item&) { return -1; });
    EXPECT_EQ(f.list.Count(), 9u);
    std::string names = Names(f.list);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, "abcdefghi");  // every element once, none lost or doubled
  }
}

TEST(PlatformList, SortDuringAWalkKeepsTheWalkFinite) {
  Fixture f(5, {4, 3, 2, 1, 0});
  std::string visited;
  for (const auto& item : f.list) {
    visited += item->name;
    if (item->name == "b")
      SortList<Item>(f.list, true, [](const Item& a, const Item& b) { return a.key - b.key; });
  }
  EXPECT_EQ(Names(f.list), "edcba");
  // The walk held c as its next link; it goes on from c's new place: c, b, a.
  EXPECT_EQ(visited, "abcba");
}
