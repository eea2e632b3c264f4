// Unit tests of the copy-on-write containers: cow_String, cow_List, cow_Map and the arrays.
#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "cow_1DArray.h"
#include "cow_1DArrayList.h"
#include "cow_2DArray.h"
#include "cow_List.h"
#include "cow_Map.h"
#include "cow_String.h"

namespace {

// Runs body on a thread with a 64 KiB stack. A walk that recursed once per node (a return
// address alone is 8 bytes a frame) would overflow it on the 10000-deep structures below, a
// depth the tests can afford to build; the default 8 MiB stack would hide such a regression.
void RunOnSmallStack(const std::function<void()>& body) {
  pthread_attr_t attr;
  ASSERT_EQ(0, pthread_attr_init(&attr));
  ASSERT_EQ(0, pthread_attr_setstacksize(&attr, 64 * 1024));
  pthread_t thread;
  auto trampoline = [](void* fn) -> void* {
    (*static_cast<const std::function<void()>*>(fn))();
    return nullptr;
  };
  ASSERT_EQ(0,
            pthread_create(&thread, &attr, trampoline, const_cast<std::function<void()>*>(&body)));
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
}

// Applies each write to a copy and then to the original: the other one must keep what it had.
template <class C, class Contents>
void ExpectWritesStayInTheirCopy(const std::function<C()>& make,
                                 const std::vector<std::function<void(C&)>>& writes,
                                 const Contents& contents) {
  const auto expected = contents(make());
  for (size_t w = 0; w < writes.size(); ++w) {
    SCOPED_TRACE(w);
    C original = make();
    C copy = original;
    EXPECT_TRUE(original.IsShared());
    writes[w](copy);
    EXPECT_EQ(contents(original), expected);
    const C copy2 = original;
    writes[w](original);
    EXPECT_EQ(contents(copy2), expected);
  }
}

template <class C>
auto Elements(const C& c) {
  return std::vector<std::decay_t<decltype(*c.begin())>>(c.begin(), c.end());
}

// ---------------------------------------------------------------------------------------------
// cow_String

TEST(CowString, NullIsDistinctFromEmptyAndConstructorsKeepEveryByte) {
  const cow_String empty, null = cow_String::Null(), fromNullptr(static_cast<const char*>(nullptr));
  EXPECT_FALSE(empty.IsNull());
  EXPECT_TRUE(null.IsNull());
  EXPECT_TRUE(fromNullptr.IsNull());
  EXPECT_EQ(null.Length(), 0u);
  EXPECT_STREQ(null.CStr(), "");
  EXPECT_TRUE(null == fromNullptr);
  EXPECT_TRUE(null != empty);
  EXPECT_TRUE(null != "");
  EXPECT_TRUE(null < empty);
  EXPECT_FALSE(cow_String("").IsNull());
  // Appending, even nothing, gives a real string.
  cow_String s = cow_String::Null();
  s.Append("", 0);
  EXPECT_FALSE(s.IsNull());
  EXPECT_TRUE(cow_String::Null().Trim().IsNull());
  // Constructors keep every byte.
  const std::string withNul("a\0b", 3);
  EXPECT_EQ(cow_String(withNul.data(), 3).Length(), 3u);
  EXPECT_EQ(cow_String(withNul).View(), withNul);
  EXPECT_EQ(cow_String(std::string_view(withNul)).Std(), withNul);
  EXPECT_EQ(cow_String("abc").Length(), 3u);
  EXPECT_EQ(cow_String("abc")[3], '\0');
  EXPECT_EQ(cow_String("abc").At(1), 'b');
}

TEST(CowString, WritesNeverShowThroughCopies) {
  cow_String a("hello");
  cow_String b = a;
  EXPECT_TRUE(a.IsShared());
  EXPECT_EQ(a.UseCount(), 2);
  b.Append('!');
  EXPECT_EQ(a, "hello");
  EXPECT_EQ(b, "hello!");
  EXPECT_FALSE(a.IsShared());
  cow_String c = a;
  a += " world";
  EXPECT_EQ(c, "hello");
  EXPECT_EQ(a, "hello world");
}

TEST(CowString, ComparesAsUnsignedBytes) {
  EXPECT_LT(cow_String("a"), cow_String("\xff"));
  EXPECT_LT(cow_String("ab"), cow_String("abc"));
  EXPECT_GT(cow_String("b"), "abc");
  EXPECT_TRUE("abc" < cow_String("abd"));
  EXPECT_TRUE("abc" == cow_String("abc"));
  EXPECT_LE(cow_String("x"), "x");
  EXPECT_GE(cow_String("y"), "x");
  EXPECT_NE(cow_String(std::string("a\0b", 3)), cow_String("a"));
}

TEST(CowString, ConcatenatesAndAppendsToItself) {
  const cow_String ab("ab");
  EXPECT_EQ(ab + cow_String("cd"), "abcd");
  EXPECT_EQ(ab + "cd", "abcd");
  EXPECT_EQ("cd" + ab, "cdab");
  EXPECT_EQ(cow_String::Null() + "x", "x");
  const std::string text(40, 'q');  // beyond any inline buffer: appending reallocates
  cow_String s(text);
  s.Append(s);  // unshared, so the source is our own buffer
  EXPECT_EQ(s, text + text);
  const cow_String keep = s;
  s.Append(s);
  EXPECT_EQ(s, text + text + text + text);
  EXPECT_EQ(keep, text + text);
  // Appending reuses the buffer.
  cow_String grown;
  int reallocations = 0;
  for (int i = 0; i < 100000; ++i) {
    const size_t cap = grown.Capacity();
    grown.Append(static_cast<char>('a' + i % 26));
    reallocations += grown.Capacity() != cap;
  }
  EXPECT_EQ(grown.Length(), 100000u);
  EXPECT_LT(reallocations, 40);
}

TEST(CowString, FindSubstrAndTrim) {
  const cow_String abc("abcabc");  // Find gives the length when absent
  EXPECT_EQ(abc.Find("bc"), 1u);
  EXPECT_EQ(abc.Find("bc", 2), 4u);
  EXPECT_EQ(abc.Find("x"), 6u);
  EXPECT_EQ(abc.Find("", 3), 3u);
  EXPECT_EQ(abc.Find("a", 99), 6u);
  const cow_String s("  ab c  ");
  EXPECT_EQ(s.Trim(), "ab c");
  EXPECT_EQ(s.TrimLeft(), "ab c  ");
  EXPECT_EQ(s.TrimRight(), "  ab c");
  EXPECT_EQ(cow_String("xxaxx").Trim('x'), "a");
  EXPECT_EQ(cow_String("xxx").Trim('x'), "");
  EXPECT_FALSE(cow_String("xxx").Trim('x').IsNull());
  EXPECT_EQ(s.Substr(2, 2), "ab");
  EXPECT_EQ(s.Substr(5), "c  ");
  EXPECT_EQ(s.Substr(8), "");
  EXPECT_DEATH(s.Substr(9), "Assertion failed");
  EXPECT_DEATH(s.At(8), "Assertion failed");
}

TEST(CowString, SubstituteMakesOnePass) {
  EXPECT_EQ(cow_String("%s and %s").Substitute("%s", "x"), "x and x");
  // A value containing the placeholder is inserted as it is, never expanded again.
  EXPECT_EQ(cow_String("<%s>").Substitute("%s", "%s%s"), "<%s%s>");
  EXPECT_EQ(cow_String("%s%s").Substitute("%s", ""), "");
  EXPECT_EQ(cow_String("aaa").Substitute("aa", "b"), "ba");
  EXPECT_EQ(cow_String("abc").Substitute("", "x"), "abc");
  EXPECT_EQ(cow_String("abc").Substitute("z", "x"), "abc");
  EXPECT_TRUE(cow_String::Null().Substitute("a", "b").IsNull());
}

TEST(CowString, NumbersRoundTripHashesAndStreams) {
  EXPECT_EQ(cow_String::FromInt(0), "0");
  EXPECT_EQ(cow_String::FromInt(-42), "-42");
  EXPECT_EQ(cow_String::FromInt(LLONG_MIN), "-9223372036854775808");
  EXPECT_EQ(cow_String::FromDouble(0.1), "0.1");
  EXPECT_EQ(cow_String::FromDouble(-2.5), "-2.5");
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> dist(-1e6, 1e6);
  for (double v : {DBL_MAX, DBL_MIN, 1e300, 1.0 / 3.0, dist(rng), dist(rng), dist(rng)})
    EXPECT_EQ(std::strtod(cow_String::FromDouble(v).CStr(), nullptr), v);
  // Hashes and streams.
  std::unordered_set<cow_String> set{"a", "b", cow_String("a")};
  EXPECT_EQ(set.size(), 2u);
  EXPECT_EQ(set.count(cow_String(std::string("b"))), 1u);
  std::ostringstream os;
  os << cow_String("x") << cow_String::Null() << cow_String("y");
  EXPECT_EQ(os.str(), "xy");
}

// ---------------------------------------------------------------------------------------------
// cow_List

std::vector<int> Items(const cow_List<int>& l) {
  return std::vector<int>(l.begin(), l.end());
}

TEST(CowList, PositionalEditsKeepHeadAndTail) {
  cow_List<int> l;
  l.Append(2);
  l.Prepend(1);
  l.Append(4);
  l.InsertAfter(1, 3);
  l.InsertAfter(3, 5);  // after the last: the tail must move
  l.Append(6);
  EXPECT_EQ(Items(l), (std::vector<int>{1, 2, 3, 4, 5, 6}));
  l.RemoveAt(5);  // the tail again
  l.Append(7);
  l.RemoveAt(0);
  EXPECT_EQ(Items(l), (std::vector<int>{2, 3, 4, 5, 7}));
  EXPECT_EQ(l.First(), 2);
  EXPECT_EQ(l.Last(), 7);
  EXPECT_EQ(l[2], 4);
  while (!l.IsEmpty()) l.RemoveAt(0);
  l.Append(9);  // an emptied list must not keep a stale tail
  EXPECT_EQ(Items(l), std::vector<int>{9});
  EXPECT_DEATH(l.Get(1), "Assertion failed");
  EXPECT_DEATH(cow_List<int>().First(), "Assertion failed");
}

TEST(CowList, MembershipAndDifference) {
  cow_List<int> l{5, 3, 5, 7};
  EXPECT_EQ(l.Position(5), 0);
  EXPECT_EQ(l.Position(7), 3);
  EXPECT_EQ(l.Position(1), -1);
  EXPECT_TRUE(l.Remove(5));  // the first one only
  EXPECT_EQ(Items(l), (std::vector<int>{3, 5, 7}));
  EXPECT_FALSE(l.Remove(1));
  EXPECT_FALSE(l.AppendUnlessMember(3));
  EXPECT_TRUE(l.AppendUnlessMember(8));
  EXPECT_EQ(Items(cow_List<int>{1, 2, 3, 2, 4} - cow_List<int>{2, 9}), (std::vector<int>{1, 3, 4}));
  EXPECT_TRUE((cow_List<int>{1, 2} == cow_List<int>{1, 2}));
  EXPECT_FALSE((cow_List<int>{1, 2} == cow_List<int>{1, 2, 3}));
  EXPECT_FALSE((cow_List<int>{1, 2}.IsEqual(cow_List<int>{2, 1})));
}

TEST(CowList, SortIsStable) {
  struct Item {
    int key, seq;
    bool operator<(const Item& o) const { return key < o.key; }
  };
  std::mt19937 rng(3);
  cow_List<Item> l;
  std::vector<Item> ref;
  for (int i = 0; i < 500; ++i) {
    const Item it{static_cast<int>(rng() % 20), i};
    l.Append(it);
    ref.push_back(it);
  }
  l.Sort();
  std::stable_sort(ref.begin(), ref.end());
  ASSERT_EQ(l.Size(), ref.size());
  size_t i = 0;
  for (const Item& it : l) {
    EXPECT_EQ(it.seq, ref[i].seq);
    ++i;
  }
  l.Append(Item{-1, -1});  // the tail must be the new last node
  EXPECT_EQ(l.Last().seq, -1);
}

TEST(CowList, WritesNeverShowThroughCopies) {
  ExpectWritesStayInTheirCopy<cow_List<int>>(
      [] {
        return cow_List<int>{3, 2, 1};
      },
      {
          [](cow_List<int>& l) { l.Append(9); },
          [](cow_List<int>& l) { l.Prepend(9); },
          [](cow_List<int>& l) { l.InsertAfter(0, 9); },
          [](cow_List<int>& l) { l.Remove(2); },
          [](cow_List<int>& l) { l.RemoveAt(2); },
          [](cow_List<int>& l) { l.Sort(); },
          [](cow_List<int>& l) { l.Get(1) = 9; },
          [](cow_List<int>& l) { l.Clear(); },
      },
      Items);
  cow_List<int> l{1, 2};
  const cow_List<int> keep = l;
  l.Append(l.First());  // the argument lives in the nodes being detached from
  EXPECT_EQ(Items(l), (std::vector<int>{1, 2, 1}));
  EXPECT_EQ(Items(keep), (std::vector<int>{1, 2}));
}

TEST(CowList, MillionNodesCopyAndDestroyWithoutRecursion) {
  RunOnSmallStack([] {
    cow_List<int> l;
    for (int i = 0; i < 1000000; ++i) l.Append(i);
    cow_List<int> copy = l;
    copy.Append(-1);  // detaches: copies every node
    EXPECT_EQ(copy.Size(), 1000001u);
    EXPECT_EQ(l.Size(), 1000000u);
    EXPECT_EQ(l.Last(), 999999);
    EXPECT_EQ(copy.Last(), -1);
  });
}

// ---------------------------------------------------------------------------------------------
// cow_Map

template <class K>
std::vector<K> PlainOrder(const cow_Map<K, int>& m) {
  std::vector<K> keys;
  for (const auto& [k, v] : m) keys.push_back(k);
  return keys;
}

// 'a' = 0x61 and 'c' = 0x63 have the low bit set, 'b' = 0x62 has not. Inserting
// "b", "a", "c", "ab", "ba", "cab" in that order:
//   "b"   : root.
//   "a"   : d0 char 0 'a' -> 1: root.1
//   "c"   : d0 'c' -> 1 (meets "a"), d1 char len-1 'c' -> 1: "a".1
//   "ab"  : d0 'a' -> 1 (meets "a"), d1 char len-1 'b' -> 0: "a".0
//   "ba"  : d0 'b' -> 0: root.0
//   "cab" : d0 'c' -> 1, d1 char 2 'b' -> 0 (meets "ab"), d2 char 1 'a' -> 1: "ab".1
//
//            b
//          0/ \1
//        ba     a
//             0/ \1
//            ab    c
//              \1
//              cab
// Pre-order: b, ba, a, ab, cab, c.
// Removing "a" moves up the leaf reached by 0-branches where possible: ab, then cab. The node
// keeps its place, so the order becomes b, ba, cab, ab, c.
TEST(CowMap, PlainIterationIsPreorder) {
  cow_Map<cow_String, int> m;
  const std::vector<cow_String> inserted = {"b", "a", "c", "ab", "ba", "cab"};
  for (size_t i = 0; i < inserted.size(); ++i) m.Insert(inserted[i], static_cast<int>(i));
  const std::vector<cow_String> pre = {"b", "ba", "a", "ab", "cab", "c"};
  EXPECT_EQ(PlainOrder(m), pre);
  std::vector<cow_String> viaIterator;
  for (cow_Map<cow_String, int>::ConstIterator it(m); !it.IsDone(); it.Next()) {
    viaIterator.push_back(it.Key());
    EXPECT_EQ(it.Value(), m.ConstGet(it.Key()));
  }
  EXPECT_EQ(viaIterator, pre);

  const cow_Map<cow_String, int> before = m;
  ASSERT_TRUE(m.Remove("a"));
  EXPECT_EQ(PlainOrder(m), (std::vector<cow_String>{"b", "ba", "cab", "ab", "c"}));
  for (const char* k : {"b", "ba", "cab", "ab", "c"}) EXPECT_TRUE(m.IsMember(k)) << k;
  EXPECT_EQ(PlainOrder(before), pre);
}

TEST(CowMap, SortedIteration) {
  cow_Map<cow_String, int> m;
  for (const char* k : {"b", "a", "c", "ab"}) m.Insert(k, 0);
  std::vector<cow_String> asc, desc;
  for (cow_Map<cow_String, int>::SortedConstIterator it(m); !it.IsDone(); it.Next())
    asc.push_back(it.Key());
  cow_Map<cow_String, int>::SortedConstIterator down(m, false);
  for (down.First(); !down.IsDone(); down.Next()) desc.push_back(down.Key());
  EXPECT_EQ(asc, (std::vector<cow_String>{"a", "ab", "b", "c"}));
  EXPECT_EQ(desc, (std::vector<cow_String>{"c", "b", "ab", "a"}));
  EXPECT_EQ(m.SortedKeys(false), desc);
}

TEST(CowMap, AccessAndAbsentKeys) {
  cow_Map<int, cow_String> m;
  m.Insert(1, "one");
  m.Insert(1, "uno");  // replaces
  EXPECT_EQ(m.Size(), 1u);
  EXPECT_EQ(m.ConstGet(1), "uno");
  m.Get(1).Append('!');
  EXPECT_EQ(*m.Find(1), "uno!");
  EXPECT_EQ(m.Find(2), nullptr);
  EXPECT_FALSE(m.Remove(2));
  EXPECT_DEATH(m.Get(2), "Assertion failed");
  EXPECT_DEATH(m.ConstGet(2), "Assertion failed");
  m.Clear();
  EXPECT_TRUE(m.IsEmpty());
  EXPECT_TRUE(PlainOrder(cow_Map<int, int>()).empty());
}

TEST(CowMap, WritesNeverShowThroughCopies) {
  ExpectWritesStayInTheirCopy<cow_Map<int, int>>(
      [] {
        cow_Map<int, int> m;
        for (int k : {1, 2, 3}) m.Insert(k, 10 * k);
        return m;
      },
      {
          [](cow_Map<int, int>& m) { m.Insert(9, 9); },
          [](cow_Map<int, int>& m) { m.Insert(1, 9); },
          [](cow_Map<int, int>& m) { m.Remove(1); },
          [](cow_Map<int, int>& m) { m.Get(2) = 9; },
          [](cow_Map<int, int>& m) { m.Clear(); },
      },
      [](const cow_Map<int, int>& m) { return std::map<int, int>(m.begin(), m.end()); });
  cow_Map<int, int> m;
  m.Insert(1, 1);
  const cow_Map<int, int> keep = m;
  EXPECT_FALSE(m.Remove(5));
  EXPECT_TRUE(m.IsShared());  // a remove that removes nothing copies nothing
  // Iterators keep their snapshot.
  for (int i = 0; i < 50; ++i) m.Insert(i, i);
  int visited = 0;
  for (cow_Map<int, int>::ConstIterator it(m); !it.IsDone(); it.Next()) {
    m.Remove(it.Key());  // the map detaches; the iteration goes on over the old contents
    ++visited;
  }
  EXPECT_EQ(visited, 50);
  EXPECT_TRUE(m.IsEmpty());
}

// Reference for the tree shape: each key is stored under its branch path ("0"/"1" per level),
// and the pre-order of the tree is the lexicographic order of these paths.
template <class K>
class PathModel {
 public:
  void Insert(const K& k) {
    std::string path;
    for (size_t d = 0;; ++d) {
      auto it = byPath_.find(path);
      if (it == byPath_.end()) {
        byPath_.emplace(path, k);
        return;
      }
      if (it->second == k) return;
      path += BitChar(k, d);
    }
  }
  void Remove(const K& k) {
    auto it = std::find_if(byPath_.begin(), byPath_.end(), [&](auto& e) { return e.second == k; });
    if (it == byPath_.end()) return;
    std::string leaf = it->first;
    while (byPath_.count(leaf + '0') || byPath_.count(leaf + '1'))
      leaf += byPath_.count(leaf + '0') ? '0' : '1';
    it->second = byPath_.at(leaf);
    byPath_.erase(leaf);
  }
  std::vector<K> Preorder() const {
    std::vector<K> out;
    for (const auto& e : byPath_) out.push_back(e.second);
    return out;
  }

 private:
  static char BitChar(const K& k, size_t d) {
    using T = cow_MapKeyTraits<K>;
    const size_t len = T::Length(k), half = d / 2;
    if (half >= len) return '0';
    return (T::Char(k, d % 2 == 0 ? half : len - 1 - half) & 1) ? '1' : '0';
  }
  std::map<std::string, K> byPath_;
};

template <class K>
void ExpectSameAs(const cow_Map<K, int>& m, const std::map<K, int>& ref,
                  const PathModel<K>& model) {
  ASSERT_EQ(m.Size(), ref.size());
  std::vector<K> asc, desc;
  for (typename cow_Map<K, int>::SortedConstIterator it(m); !it.IsDone(); it.Next()) {
    asc.push_back(it.Key());
    EXPECT_EQ(it.Value(), ref.at(it.Key()));
  }
  for (typename cow_Map<K, int>::SortedConstIterator it(m, false); !it.IsDone(); it.Next())
    desc.push_back(it.Key());
  std::vector<K> refKeys;
  for (const auto& e : ref) refKeys.push_back(e.first);
  EXPECT_EQ(asc, refKeys);
  EXPECT_EQ(m.SortedKeys(), refKeys);
  std::reverse(refKeys.begin(), refKeys.end());
  EXPECT_EQ(desc, refKeys);
  EXPECT_EQ(PlainOrder(m), model.Preorder());
}

template <class K, class MakeKey>
void RandomizedAgainstStdMap(MakeKey makeKey) {
  std::mt19937 rng(2024);
  cow_Map<K, int> m;
  std::map<K, int> ref;
  PathModel<K> model;
  cow_Map<K, int> snapshot;
  std::map<K, int> snapshotRef;
  for (int step = 0; step < 3000; ++step) {
    const K k = makeKey(rng);
    if (rng() % 3 != 0) {
      m.Insert(k, step);
      ref[k] = step;
      model.Insert(k);
    } else {
      EXPECT_EQ(m.Remove(k), ref.erase(k) == 1);
      model.Remove(k);
    }
    if (step % 700 == 0) {
      snapshot = m;
      snapshotRef = ref;
    }
    if (step % 300 == 299) ExpectSameAs(m, ref, model);
  }
  std::map<K, int> snapshotContents;
  for (const auto& e : snapshot) snapshotContents.insert(e);
  EXPECT_EQ(snapshotContents, snapshotRef);
  for (const auto& [k, v] : ref) ASSERT_TRUE(m.Remove(k));
  EXPECT_TRUE(m.IsEmpty());
}

TEST(CowMapRandom, StringAndIntKeysMatchStdMapAndTreeShape) {
  RandomizedAgainstStdMap<cow_String>([](std::mt19937& rng) {
    std::string s(rng() % 6, ' ');
    for (char& c : s) c = static_cast<char>("abcdef"[rng() % 6]);
    return cow_String(s);
  });
  RandomizedAgainstStdMap<int>([](std::mt19937& rng) {
    return static_cast<int>(rng() % 2000) - 1000;  // negatives have odd high bytes
  });
}

// Keys whose bytes all have a clear low bit (they differ only in higher bits) branch to 0 at
// every level, so each lies below the one inserted before it: the tree is a single chain as
// deep as the number of keys.
uint64_t ChainKey(uint64_t i) {
  uint64_t key = 0;
  for (int byte = 0; byte < 8; ++byte, i >>= 7) key |= ((i & 0x7f) << 1) << (8 * byte);
  return key;
}

TEST(CowMapDeep, LongChainNeedsNoRecursion) {
  RunOnSmallStack([] {
    constexpr int kDepth = 10000;
    cow_Map<uint64_t, int> m;
    for (int i = 0; i < kDepth; ++i) m.Insert(ChainKey(i), i);
    ASSERT_EQ(m.Size(), static_cast<size_t>(kDepth));
    int next = 0;
    for (const auto& e : m) EXPECT_EQ(e.second, next++);  // down the chain: insertion order
    EXPECT_EQ(next, kDepth);
    EXPECT_EQ(m.ConstGet(ChainKey(kDepth - 1)), kDepth - 1);
    EXPECT_EQ(m.SortedKeys().size(), static_cast<size_t>(kDepth));

    cow_Map<uint64_t, int> copy = m;
    ASSERT_TRUE(copy.Remove(ChainKey(0)));  // the root takes the deepest entry
    EXPECT_EQ(copy.begin()->second, kDepth - 1);
    ASSERT_TRUE(copy.Remove(ChainKey(kDepth / 2)));
    EXPECT_EQ(copy.Size(), static_cast<size_t>(kDepth - 2));
    EXPECT_EQ(m.Size(), static_cast<size_t>(kDepth));
    EXPECT_TRUE(m.IsMember(ChainKey(0)));
    EXPECT_FALSE(copy.IsMember(ChainKey(kDepth / 2)));
    EXPECT_EQ(*copy.Find(ChainKey(kDepth - 1)), kDepth - 1);
    int count = 0;
    for (cow_Map<uint64_t, int>::ConstIterator it(copy); !it.IsDone(); it.Next()) ++count;
    EXPECT_EQ(count, kDepth - 2);
  });
}

// ---------------------------------------------------------------------------------------------
// Arrays

TEST(CowArray, FixedSizeAccessAndCopies) {
  cow_1DArray<int> a(4, 7);
  EXPECT_EQ(a.Size(), 4u);
  a.Set(1, 3);
  a[2] = 5;
  EXPECT_EQ(std::vector<int>(a.begin(), a.end()), (std::vector<int>{7, 3, 5, 7}));
  EXPECT_EQ(a.Data()[1], 3);
  EXPECT_EQ(a.BlockSize(), 1);
  a.SetBlockSize(2);
  EXPECT_EQ(cow_1DArray<int>(a).BlockSize(), 2);
  a.Resize(2);
  EXPECT_EQ(std::vector<int>(a.begin(), a.end()), (std::vector<int>{7, 3}));
  a.Resize(3, 1);
  EXPECT_EQ(a.Get(2), 1);
  cow_1DArray<int> emptied = a;
  emptied.Resize(0);
  EXPECT_EQ(emptied.Size(), 0u);
  EXPECT_EQ(a.Size(), 3u);
  EXPECT_DEATH(a.Get(3), "Assertion failed");
  EXPECT_DEATH(a.Set(3, 0), "Assertion failed");
  EXPECT_EQ(cow_1DArray<int>().begin(), cow_1DArray<int>().end());
  ExpectWritesStayInTheirCopy<cow_1DArray<int>>([] { return cow_1DArray<int>(3, 1); },
                                                {
                                                    [](cow_1DArray<int>& a) { a.Set(0, 9); },
                                                    [](cow_1DArray<int>& a) { a[1] = 9; },
                                                    [](cow_1DArray<int>& a) { a.Resize(1); },
                                                    [](cow_1DArray<int>& a) { a.Resize(5, 9); },
                                                },
                                                Elements<cow_1DArray<int>>);
}

TEST(CowArrayList, GrowsShrinksAndCopies) {
  cow_1DArrayList<int> l;
  for (int i = 0; i < 5; ++i) l.Append(i);
  l.Insert(0, -1);
  l.Insert(6, 9);  // at the end
  l.Insert(3, 7);
  l.RemoveAt(1);
  l.RemoveLast();
  EXPECT_EQ(std::vector<int>(l.begin(), l.end()), (std::vector<int>{-1, 1, 7, 2, 3, 4}));
  l.Reserve(100);
  EXPECT_GE(l.Capacity(), 100u);
  l.Clear();
  EXPECT_TRUE(l.IsEmpty());
  EXPECT_GE(l.Capacity(), 100u);  // unshared: storage kept
  EXPECT_DEATH(l.RemoveLast(), "Assertion failed");
  EXPECT_DEATH(l.Insert(1, 0), "Assertion failed");
  int reallocations = 0;
  for (int i = 0; i < 100000; ++i) {
    const size_t cap = l.Capacity();
    l.Append(i);
    reallocations += l.Capacity() != cap;
  }
  EXPECT_LT(reallocations, 40);
  using L = cow_1DArrayList<int>;
  ExpectWritesStayInTheirCopy<L>(
      [] {
        L l;
        for (int v : {1, 2, 3}) l.Append(v);
        return l;
      },
      {
          [](L& l) { l.Append(9); }, [](L& l) { l.Insert(1, 9); }, [](L& l) { l.RemoveAt(0); },
          [](L& l) { l.RemoveLast(); }, [](L& l) { l.Clear(); }, [](L& l) { l.Set(2, 9); },
          [](L& l) { l.Append(l[0]); },  // the argument lives in the buffer being detached from
      },
      Elements<L>);
}

TEST(Cow2DArray, CellsResizeAndCopies) {
  cow_2DArray<int> a(2, 3, 0);
  for (size_t r = 0; r < 2; ++r)
    for (size_t c = 0; c < 3; ++c) a.Set(r, c, static_cast<int>(10 * r + c));
  EXPECT_EQ(a(1, 2), 12);
  a(0, 1) = 42;
  EXPECT_EQ(a.Get(0, 1), 42);
  EXPECT_DEATH(a.Get(2, 0), "Assertion failed");
  EXPECT_DEATH(a.Get(0, 3), "Assertion failed");

  cow_2DArray<int> wide = a;
  wide.Resize(3, 4, -1);  // shared: the overlap is copied
  EXPECT_EQ(wide.Get(1, 2), 12);
  EXPECT_EQ(wide.Get(1, 3), -1);
  EXPECT_EQ(wide.Get(2, 0), -1);
  EXPECT_EQ(a.Rows(), 2u);
  EXPECT_EQ(a.Cols(), 3u);
  a.Resize(1, 2);  // fewer columns: rows move
  EXPECT_EQ(a.Get(0, 1), 42);
  a.Resize(3, 2, 5);  // same width, unshared: grows in place
  EXPECT_EQ(a.Get(0, 0), 0);
  EXPECT_EQ(a.Get(0, 1), 42);
  EXPECT_EQ(a.Get(2, 1), 5);
  using A = cow_2DArray<int>;
  ExpectWritesStayInTheirCopy<A>([] { return A(2, 2, 1); },
                                 {
                                     [](A& a) { a.Set(0, 0, 9); },
                                     [](A& a) { a(1, 1) = 9; },
                                     [](A& a) { a.Resize(3, 2); },
                                     [](A& a) { a.Resize(1, 2); },
                                 },
                                 [](const A& a) { return a; });
}

}  // namespace
