// The argument reading protocol of scripting calls, and the values that cross the boundary.
#include <gtest/gtest.h>

#include <cstring>

#include "oda_XYDataCommonIntObj.h"
#include "omu_Arguments.h"
#include "omu_KeywordErrorException.h"
#include "omu_PrimBool.h"
#include "omu_PrimList.h"
#include "omu_PrimNone.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"
#include "omu_PrimTuple.h"
#include "omu_TypeErrorException.h"
#include "xypC_Enumerations.h"

namespace {

std::unique_ptr<omu_Primitive> Str(const char* s) {
  return std::make_unique<omu_PrimString>(s);
}
std::unique_ptr<omu_Primitive> Num(double v) {
  return std::make_unique<omu_PrimNumber>(v);
}
std::unique_ptr<omu_Primitive> Int(long long v) {
  return std::make_unique<omu_PrimNumber>(v);
}
std::unique_ptr<omu_PrimTuple> Pair(double x, double y) {
  auto t = std::make_unique<omu_PrimTuple>(2);
  t->Put(0, Num(x));
  t->Put(1, Num(y));
  return t;
}

std::vector<cow_String> deprecations;
void Capture(const cow_String& text) {
  deprecations.push_back(text);
}

template <class F>
std::string TypeErrorText(F f) {
  try {
    f();
  } catch (const nex_Exception& e) {
    EXPECT_TRUE(dynamic_cast<const omu_TypeErrorException*>(&e) ||
                dynamic_cast<const omu_KeywordErrorException*>(&e));
    return e.Message().Std();
  }
  ADD_FAILURE() << "no error raised";
  return "";
}

}  // namespace

TEST(Arguments, KeywordsPositionalsDefaultsAndNumbers) {
  omu_Arguments args("cmd");
  args.AddPositional(Str("first"));
  args.AddKeyword("count", Int(3));
  args.AddKeyword("scale", Num(2.5));
  cow_String name;
  int count = 0;
  double scale = 0, absent = 7.0;
  bool flag = true;
  args.Begin();
  EXPECT_TRUE(args.Get(name, "name"));  // no keyword: taken from the positionals
  EXPECT_TRUE(args.Get(count, "count"));
  args.Optional();
  EXPECT_TRUE(args.Get(scale, "scale"));
  EXPECT_FALSE(args.Get(absent, "absent"));
  EXPECT_FALSE(args.Get(flag, "flag"));
  args.End();
  EXPECT_EQ(name, "first");
  EXPECT_EQ(count, 3);
  EXPECT_EQ(scale, 2.5);
  EXPECT_EQ(absent, 7.0);  // preset kept
  EXPECT_TRUE(flag);

  // Integers read as floats, but not the other way.
  omu_Arguments numbers("cmd");
  numbers.AddKeyword("a", Int(4));
  numbers.AddKeyword("b", Num(4.5));
  float a = 0;
  numbers.Begin();
  numbers.Optional();
  EXPECT_TRUE(numbers.Get(a, "a"));
  EXPECT_EQ(a, 4.0f);
  EXPECT_EQ(TypeErrorText([&] { numbers.Get(count, "b"); }),
            "cmd(): 'b' expects an int from -2147483648 to 2147483647, got float");
}

TEST(Arguments, MissingWrongAndUnconsumedArgumentsAreErrors) {
  omu_Arguments missing("XYData");
  cow_String name;
  missing.Begin();
  EXPECT_FALSE(missing.Get(name, "name"));
  EXPECT_EQ(TypeErrorText([&] { missing.End(); }),
            "XYData(): missing required argument 'name' (str)");

  omu_Arguments wrong("XYData");
  wrong.AddKeyword("name", Int(1));
  wrong.Begin();
  EXPECT_FALSE(wrong.Get(name, "name"));
  EXPECT_EQ(TypeErrorText([&] { wrong.Optional(); }), "XYData(): 'name' expects str, got int");

  // Unconsumed keywords and positionals are errors.
  omu_Arguments args("cmd");
  args.AddKeyword("nmae", Str("x"));
  args.Begin();
  args.Optional();
  args.Get(name, "name");
  try {
    args.End();
    FAIL() << "unknown keyword accepted";
  } catch (const omu_KeywordErrorException& e) {
    EXPECT_EQ(e.Keyword(), "nmae");
    EXPECT_EQ(e.Message(), "cmd(): got an unexpected keyword argument 'nmae'");
  }

  omu_Arguments extra("cmd");
  extra.AddPositional(Str("a"));
  extra.AddPositional(Str("b"));
  extra.Begin();
  extra.Get(name, "name");
  EXPECT_EQ(TypeErrorText([&] { extra.End(); }),
            "cmd(): takes 1 positional arguments but 2 were given");
}

TEST(Arguments, AlternativeFormsTypedObjectsAndFallbacks) {
  // An alternative tries the next form and keeps the first form's error.
  omu_Arguments args("XYData");
  args.AddKeyword("name", Str("a"));
  args.AddKeyword("data", Int(5));
  cow_String name;
  const omu_PrimSequence* data = nullptr;
  std::shared_ptr<oda_XYDataCommonIntObj> object;
  args.Begin();
  EXPECT_TRUE(args.Get(name, "name"));
  EXPECT_FALSE(args.Get(data, "data"));
  ASSERT_TRUE(args.Alternative());
  EXPECT_FALSE(args.Get(object, "objectToCopy", std::shared_ptr<oda_XYDataCommonIntObj>()));
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(TypeErrorText([&] { args.RaiseFormError(); }),
            "XYData(): 'data' expects a sequence, got int");

  omu_Arguments good("XYData");
  auto tuple = std::make_unique<omu_PrimTuple>();
  tuple->Append(Pair(1, 2));
  good.AddKeyword("data", std::move(tuple));
  good.Begin();
  EXPECT_TRUE(good.Get(data, "data"));
  EXPECT_FALSE(good.Alternative());
  good.End();
  EXPECT_EQ(data->Size(), 1u);

  // Typed objects and fallbacks.
  auto xy = std::make_shared<oda_XYDataCommonIntObj>("a", true);
  omu_Arguments typed("cmd");
  typed.AddKeyword("objectToCopy", std::make_unique<omu_PrimType>(xy));
  std::shared_ptr<oda_XYDataCommonIntObj> fallback =
      std::make_shared<oda_XYDataCommonIntObj>("f", true);
  std::shared_ptr<oda_XYDataCommonIntObj> other;
  typed.Begin();
  typed.Optional();
  EXPECT_TRUE(typed.Get(object, "objectToCopy", std::shared_ptr<oda_XYDataCommonIntObj>()));
  EXPECT_EQ(object, xy);  // the same object, not a copy
  EXPECT_FALSE(typed.Get(other, "missing", fallback));
  EXPECT_EQ(other, fallback);
  typed.End();
}

TEST(Arguments, DeprecatedKeywordWorksAndWarnsNamingItsReplacement) {
  deprecations.clear();
  omu_Deprecation::SetSink(&Capture);
  omu_Arguments args("cmd");
  args.AddKeyword("xyData", Str("old"));
  cow_String value;
  args.Begin();
  EXPECT_TRUE(args.DeprecatedGet(value, "xyData", "objectToCopy"));
  args.End();
  omu_Deprecation::SetSink(nullptr);
  EXPECT_EQ(value, "old");
  ASSERT_EQ(deprecations.size(), 1u);
  EXPECT_EQ(deprecations[0],
            "'xyData' is deprecated since version 6.2; use 'objectToCopy' instead");
}

TEST(Arguments, SymbolicConstantsMatchByNameWithinTheEnumeration) {
  omu_Arguments args("cmd");
  args.AddKeyword("scale", std::make_unique<omu_PrimEnumBase>("LOG", 1));
  args.AddKeyword("format", std::make_unique<omu_PrimEnumBase>("LOG", 1));
  omu_PrimEnum<xypC_ScaleEnum> scale;
  omu_PrimEnum<xypC_FormatEnum> format(xypC_DECIMAL);
  args.Begin();
  args.Optional();
  EXPECT_TRUE(args.Get(scale, "scale"));
  EXPECT_EQ(scale.Get(), xypC_LOG);
  EXPECT_EQ(TypeErrorText([&] { args.Get(format, "format"); }),
            "cmd(): 'format' expects a SymbolicConstant of xypC_FormatEnum (AUTOMATIC, DECIMAL, "
            "POWER, ENGINEERING, SCIENTIFIC), got SymbolicConstant");
  EXPECT_EQ(format.Get(), xypC_DECIMAL);  // unchanged
}

TEST(Arguments, ReprWritesTheCallAsAScriptWould) {
  omu_Arguments args("XYData");
  args.AddPositional(Str("it's"));
  auto data = std::make_unique<omu_PrimTuple>();
  data->Append(Pair(0.1, 1e-50));
  args.AddKeyword("data", std::move(data));
  args.AddKeyword("flag", std::make_unique<omu_PrimBool>(true));
  args.AddKeyword("none", std::make_unique<omu_PrimNone>());
  args.AddKeyword("big", Num(1e16));
  args.AddKeyword("whole", Num(3.0));
  EXPECT_EQ(args.AsRepr(),
            "(\"it's\", data=((0.1, 1e-50),), flag=True, none=None, big=1e+16, whole=3.0)");

  // Long sequences are written as their size, at any depth; short ones whole.
  omu_Arguments big("XYData");
  auto pairs = std::make_unique<omu_PrimTuple>();
  pairs->SetPairs(std::vector<double>(2000000, 0.5));
  big.AddKeyword("data", std::move(pairs));
  auto few = std::make_unique<omu_PrimList>();
  few->SetPairs({1, 2, 3, 4});
  big.AddKeyword("few", std::move(few));
  auto nested = std::make_unique<omu_PrimTuple>();
  auto numbers = std::make_unique<omu_PrimTuple>();
  for (int i = 0; i < 17; ++i) numbers->Append(Num(i));
  nested->Append(std::move(numbers));
  big.AddKeyword("nested", std::move(nested));
  EXPECT_EQ(big.AsRepr(),
            "(data=<1000000 pairs>, few=[(1.0, 2.0), (3.0, 4.0)], nested=(<17 items>,))");
}

TEST(Arguments, PackedPairsReadLikeTuplesOfTuples) {
  omu_PrimTuple packed;
  packed.SetPairs({1, 2, 3, 4});
  ASSERT_EQ(packed.Size(), 2u);
  const omu_PrimSequence* second = nullptr;
  ASSERT_TRUE(omu_ValueReader::Read(packed.Item(1), second));
  double x = 0, y = 0;
  ASSERT_TRUE(omu_ValueReader::Read(second->Item(0), x));
  ASSERT_TRUE(omu_ValueReader::Read(second->Item(1), y));
  EXPECT_EQ(x, 3);
  EXPECT_EQ(y, 4);
  EXPECT_EQ(packed.Repr(), "((1.0, 2.0), (3.0, 4.0))");
  std::vector<double> values;
  std::size_t bad = 0;
  EXPECT_TRUE(oda_XYDataCommonIntObj::getSeqSeqDoubleFromTuple(packed, values, bad));
  EXPECT_EQ(values, (std::vector<double>{1, 2, 3, 4}));
}

TEST(Arguments, BorrowedPairsAreCopiedByEveryReaderThatKeepsThem) {
  // A view of a caller's numbers: readers keep copies, and a copy of the sequence owns its own.
  std::vector<float> floats{0.5f, 1.0f, 1.0f / 3, 3.0e38f};
  std::vector<double> doubles{0.1, 1e300, -0.0, 2.5};
  auto keeper = std::make_shared<int>(0);
  for (bool areFloats : {true, false}) {
    SCOPED_TRACE(areFloats ? "float32" : "float64");
    const void* numbers = areFloats ? static_cast<const void*>(floats.data()) : doubles.data();
    omu_Arguments args("addHistory");
    auto view = std::make_unique<omu_PrimTuple>();
    view->SetBorrowedPairs(numbers, areFloats, 4, keeper);
    const std::unique_ptr<omu_Primitive> copy = view->Clone();
    args.AddKeyword("values", std::move(view));
    std::vector<float> narrow;
    ASSERT_TRUE(args.TakePairValuesAsFloats("values", narrow));
    std::vector<float> expected(4);
    for (int i = 0; i < 4; ++i)
      expected[i] = areFloats ? floats[i] : static_cast<float>(doubles[i]);
    EXPECT_EQ(0, std::memcmp(narrow.data(), expected.data(), 16));
    std::vector<double> wide(4);
    for (int i = 0; i < 4; ++i) wide[i] = areFloats ? floats[i] : doubles[i];
    auto& owned = static_cast<omu_PrimSequence&>(*copy);
    std::vector<float> saved = floats;
    std::vector<double> savedDoubles = doubles;
    std::fill(floats.begin(), floats.end(), 9.0f);
    std::fill(doubles.begin(), doubles.end(), 9.0);
    EXPECT_EQ(owned.TakePairValues(), wide);
    EXPECT_EQ(owned.Size(), 0u);
    floats = saved;
    doubles = savedDoubles;
  }
  EXPECT_EQ(keeper.use_count(), 1);  // no view outlives its arguments
}

TEST(Arguments, TupleReadingProtocol) {
  omu_PrimTuple t(3);
  t.Put(0, Str("a"));
  t.Put(1, Int(2));
  t.Put(2, Num(0.5));
  cow_String s;
  int i = 0;
  double d = 0, extra = -1;
  t.Begin();
  t.Get(s);
  t.Get(i);
  t.Optional();
  t.Get(d);
  EXPECT_FALSE(t.Get(extra));
  t.End();
  EXPECT_EQ(s, "a");
  EXPECT_EQ(i, 2);
  EXPECT_EQ(d, 0.5);
  EXPECT_EQ(extra, -1);
  t.Begin();
  t.Get(s);
  EXPECT_THROW(t.End(), omu_TypeErrorException);
}
