// Unit tests of the assertion handler, the singleton, the label map, the B-tree and the bit
// vector.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <map>
#include <random>
#include <thread>
#include <vector>

#include "omi_Assert.h"
#include "omi_BlkBitVect.h"
#include "omi_Btree.h"
#include "omi_Singleton.h"
#include "uti_LabelMap.h"

// ---------------------------------------------------------------------------------------------
// uti_LabelMap table of the test enumeration (defined where the instantiation is used).

namespace label_map_test {
enum class Shade { kNone = 0, kLight = 1, kDark = 3, kNamed = 5 };
}
using label_map_test::Shade;

template <>
inline const uti_LabelMap<Shade, 1>::Row uti_LabelMap<Shade, 1>::table[] = {
    {"Light", "ShadeLight", Shade::kLight},
    {"Dark", "ShadeDark", Shade::kDark},
    {"Unnamed", nullptr, Shade::kNamed},
    {nullptr, nullptr, Shade(0)},
};

namespace {

// ---------------------------------------------------------------------------------------------
// omi_Assert

TEST(OmiAssert, ReportsExpressionFileAndLine) {
  EXPECT_DEATH(omi_AssertFail("x > 1", "f.cpp", 42),
               "^Assertion failed: x > 1, file f.cpp, line 42");
  EXPECT_DEATH(OMI_ASSERT(std::strlen("ab") == 3), "Assertion failed: std::strlen.*== 3, file .*");
  OMI_ASSERT(std::strlen("ab") == 2);  // a true condition continues
}

// ---------------------------------------------------------------------------------------------
// omi_Singleton

struct Tracked {
  static inline std::atomic<int> constructed{0}, destroyed{0};
  Tracked() { ++constructed; }
  ~Tracked() { ++destroyed; }
  int value = 0;
};

class Hidden {
 public:
  int Id() const { return 7; }

 private:
  friend class omi_SingletonBase<Hidden>;
  Hidden() = default;
};

struct SelfReferring {
  SelfReferring() { omi_Singleton<SelfReferring>::Instance(); }
};

TEST(OmiSingleton, LifecycleFinalizeAndSelfReference) {
  omi_Singleton<Tracked>::Finalize();
  const int c0 = Tracked::constructed, d0 = Tracked::destroyed;
  EXPECT_FALSE(omi_Singleton<Tracked>::Exists());
  Tracked& a = omi_Singleton<Tracked>::Instance();
  a.value = 5;
  EXPECT_EQ(&omi_Singleton<Tracked>::Instance(), &a);
  EXPECT_TRUE(omi_SingletonBase<Tracked>::Exists());
  EXPECT_EQ(Tracked::constructed - c0, 1);
  omi_SingletonBase<Tracked>::Finalize();
  EXPECT_EQ(Tracked::destroyed - d0, 1);
  EXPECT_FALSE(omi_Singleton<Tracked>::Exists());
  EXPECT_EQ(omi_Singleton<Tracked>::Instance().value, 0);  // a fresh object
  omi_Singleton<Tracked>::Finalize();
  omi_Singleton<Tracked>::Finalize();  // nothing left to destroy
  EXPECT_EQ(Tracked::destroyed - d0, 2);
  EXPECT_EQ(omi_Singleton<Hidden>::Instance().Id(), 7);
  // A constructor asking for its own singleton asserts.
  EXPECT_DEATH(omi_Singleton<SelfReferring>::Instance(), "Assertion failed");
}

TEST(OmiSingleton, ConcurrentFirstUseCreatesOne) {
  omi_Singleton<Tracked>::Finalize();
  const int c0 = Tracked::constructed;
  std::vector<Tracked*> seen(8);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < seen.size(); ++i)
    threads.emplace_back([&seen, i] { seen[i] = &omi_Singleton<Tracked>::Instance(); });
  for (auto& t : threads) t.join();
  EXPECT_EQ(Tracked::constructed - c0, 1);
  for (Tracked* p : seen) EXPECT_EQ(p, seen[0]);
  omi_Singleton<Tracked>::Finalize();
}

// ---------------------------------------------------------------------------------------------
// uti_LabelMap

using ShadeLabels = uti_LabelMap<Shade, 1>;

// Translates the dark shade only; everything else keeps its default text.
const char* TestLookup(const char* resource, const char*) {
  return std::strcmp(resource, "ShadeDark") == 0 ? "Sombre" : nullptr;
}

class UtiLabelMap : public ::testing::Test {
 protected:
  void TearDown() override { uti_LabelMapResourceLookup() = nullptr; }
};

TEST_F(UtiLabelMap, DefaultTextsWithoutHookAndMissesAssert) {
  EXPECT_EQ(ShadeLabels::LabelString(Shade::kDark), "Dark");
  EXPECT_EQ(ShadeLabels::LabelString(cow_String("ShadeLight")), "Light");
  EXPECT_TRUE(ShadeLabels::LabelString(Shade::kNone).IsNull());
  EXPECT_TRUE(ShadeLabels::LabelString(cow_String("Nope")).IsNull());
  EXPECT_STREQ(ShadeLabels::DefaultLabelString(Shade::kLight), "Light");
  EXPECT_EQ(ShadeLabels::DefaultLabelString(Shade::kNone), nullptr);
  EXPECT_STREQ(ShadeLabels::ResourceName(Shade::kDark), "ShadeDark");
  EXPECT_EQ(ShadeLabels::ResourceName(Shade::kNamed), nullptr);
  EXPECT_EQ(ShadeLabels::LabelKey("Dark"), Shade::kDark);
  EXPECT_EQ(ShadeLabels::DefaultLabelKey("Unnamed"), Shade::kNamed);
  EXPECT_EQ(ShadeLabels::ResourceKey("ShadeLight"), Shade::kLight);
  EXPECT_EQ(ShadeLabels::ResourceNames(),
            (std::vector<cow_String>{"ShadeLight", "ShadeDark", cow_String::Null()}));
  EXPECT_DEATH(ShadeLabels::LabelKey("Grey"), "Unable to find key given label string");
  EXPECT_DEATH(ShadeLabels::DefaultLabelKey("Grey"), "Unable to find key given label string");
  EXPECT_DEATH(ShadeLabels::ResourceKey("ShadeGrey"), "Unable to find key given resource string");
}

TEST_F(UtiLabelMap, HookReplacesTexts) {
  uti_LabelMapResourceLookup() = &TestLookup;
  EXPECT_EQ(ShadeLabels::LabelString(Shade::kDark), "Sombre");
  EXPECT_EQ(ShadeLabels::LabelString(Shade::kLight), "Light");  // hook returned nullptr
  EXPECT_EQ(ShadeLabels::LabelString(cow_String("ShadeDark")), "Sombre");
  EXPECT_EQ(ShadeLabels::LabelKey("Sombre"), Shade::kDark);
  EXPECT_EQ(ShadeLabels::DefaultLabelKey("Dark"), Shade::kDark);
  EXPECT_STREQ(ShadeLabels::DefaultLabelString(Shade::kDark), "Dark");
  EXPECT_EQ(ShadeLabels::LabelStrings(), (std::vector<cow_String>{"Light", "Sombre", "Unnamed"}));
  EXPECT_EQ(ShadeLabels::DefaultLabelStrings(),
            (std::vector<cow_String>{"Light", "Dark", "Unnamed"}));
  EXPECT_DEATH(ShadeLabels::LabelKey("Dark"), "Unable to find key given label string");
}

// ---------------------------------------------------------------------------------------------
// omi_Btree

template <class Tree>
void ExpectSameAs(const Tree& t, const std::map<int, int>& ref) {
  ASSERT_EQ(t.Size(), ref.size());
  auto r = ref.begin();
  for (typename Tree::ConstIterator it(t); !it.IsDone(); it.Next(), ++r) {
    ASSERT_NE(r, ref.end());
    EXPECT_EQ(it.Key(), r->first);
    EXPECT_EQ(it.Value(), r->second);
  }
  EXPECT_EQ(r, ref.end());
}

// A small minimum degree makes nodes fill and empty quickly, so the random operations below
// split, borrow from both sides and merge many times over.
template <class Tree>
void RandomizedAgainstStdMap(int keyRange, int steps) {
  std::mt19937 rng(99);
  Tree t;
  std::map<int, int> ref;
  for (int step = 0; step < steps; ++step) {
    const int k = static_cast<int>(rng() % static_cast<unsigned>(keyRange));
    // Phases of mostly inserting and mostly removing let the tree grow and shrink in height.
    const bool growing = (step / (steps / 8)) % 2 == 0;
    if (rng() % 4 < (growing ? 3u : 1u)) {
      t.Insert(k, step);
      ref[k] = step;
    } else {
      ASSERT_EQ(t.Remove(k), ref.erase(k) == 1) << "step " << step;
    }
    if (step % 997 == 0) ExpectSameAs(t, ref);
  }
  ExpectSameAs(t, ref);
  for (const auto& [k, v] : ref) {
    const int* found = t.Find(k);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(*found, v);
  }
  std::vector<int> keys;
  for (const auto& e : ref) keys.push_back(e.first);
  std::shuffle(keys.begin(), keys.end(), rng);
  for (int k : keys) ASSERT_TRUE(t.Remove(k));
  EXPECT_TRUE(t.IsEmpty());
  EXPECT_EQ(t.Height(), 0u);
}

TEST(OmiBtree, RandomizedMinimalAndDefaultDegree) {
  RandomizedAgainstStdMap<omi_Btree<int, int, 2>>(500, 20000);
  RandomizedAgainstStdMap<omi_Btree<int, int>>(5000, 40000);
}

TEST(OmiBtree, StaysShallow) {
  omi_Btree<int, int, 2> t;
  for (int i = 0; i < 4096; ++i) t.Insert(i, i);  // ascending: the worst case for splits
  EXPECT_LE(t.Height(), 12u);                     // at most log2(4096) levels
  for (int i = 0; i < 4000; ++i) ASSERT_TRUE(t.Remove(i));
  EXPECT_LE(t.Height(), 6u);
  int expect = 4000;
  for (const auto& [k, v] : t) EXPECT_EQ(k, expect++);
  EXPECT_EQ(expect, 4096);
}

TEST(OmiBtree, FindReplaceAndAliasing) {
  omi_Btree<int, int, 2> t;
  EXPECT_EQ(t.Find(1), nullptr);
  EXPECT_FALSE(t.Remove(1));
  for (int i = 0; i < 100; ++i) t.Insert(i, i * 10);
  t.Insert(5, 0);
  EXPECT_EQ(*t.Find(5), 0);
  *t.Find(6) = 66;
  EXPECT_TRUE(t.IsMember(6));
  EXPECT_EQ(*t.Find(6), 66);
  // Arguments referring to entries of the tree itself, which removal and insertion move.
  for (int n = 0; n < 50; ++n) ASSERT_TRUE(t.Remove(t.begin()->first));
  EXPECT_EQ(t.begin()->first, 50);
  t.Insert(1000, t.begin()->second);
  EXPECT_EQ(*t.Find(1000), 500);
  omi_Btree<int, int, 2> copy = t;
  copy.Remove(1000);
  EXPECT_TRUE(t.IsMember(1000));
  t.Clear();
  EXPECT_TRUE(t.begin() == t.end());
}

// ---------------------------------------------------------------------------------------------
// omi_BlkBitVect

TEST(OmiBlkBitVect, SetTestClearAcrossBlocksAndShrink) {
  omi_BlkBitVect v(130);
  for (size_t i : {0u, 63u, 64u, 127u, 129u}) v.Set(i);
  EXPECT_EQ(v.Count(), 5u);
  EXPECT_TRUE(v.Test(63));
  EXPECT_FALSE(v.Test(62));
  v.Clear(63);
  v.Set(64, false);
  EXPECT_FALSE(v.Test(63));
  EXPECT_FALSE(v.Test(64));
  EXPECT_EQ(v.Size(), 130u);
  v.Clear(1000);  // beyond the end: nothing to clear, no growth
  EXPECT_FALSE(v.Test(1000));
  EXPECT_EQ(v.Size(), 130u);
  v.Set(200);  // beyond the end: grows
  EXPECT_EQ(v.Size(), 201u);
  EXPECT_TRUE(v.Test(200));
  v.ClearAll();
  EXPECT_EQ(v.Count(), 0u);
  EXPECT_EQ(v.FirstSet(), v.Size());
  // Shrinking forgets bits.
  omi_BlkBitVect s;
  s.Set(100);
  s.Set(40);
  s.Resize(50);
  s.Resize(200);
  EXPECT_FALSE(s.Test(100));
  EXPECT_EQ(s.Count(), 1u);
  EXPECT_EQ(s.NextSet(40), s.Size());
  omi_BlkBitVect w(200);
  w.Set(40);
  EXPECT_EQ(s, w);
}

TEST(OmiBlkBitVect, ScanMatchesVectorOfBool) {
  std::mt19937 rng(5);
  omi_BlkBitVect v(1000);
  std::vector<bool> ref(1000);
  for (int i = 0; i < 300; ++i) {
    const size_t b = rng() % 1000;
    const bool on = rng() % 4 != 0;
    v.Set(b, on);
    ref[b] = on;
  }
  std::vector<size_t> scanned, expected;
  for (size_t i = v.FirstSet(); i < v.Size(); i = v.NextSet(i)) scanned.push_back(i);
  for (size_t i = 0; i < ref.size(); ++i)
    if (ref[i]) expected.push_back(i);
  EXPECT_EQ(scanned, expected);
  EXPECT_EQ(v.Count(), expected.size());
}

}  // namespace
