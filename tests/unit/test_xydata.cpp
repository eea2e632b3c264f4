// XY data through the module's scripting entry points: the module frame, the keyboard reader,
// the repository, the dictionary and the data objects.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "cmdC_WIP.h"
#include "omu_Arguments.h"
#include "omu_KeywordErrorException.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"
#include "omu_PrimTuple.h"
#include "omu_PrimType.h"
#include "omu_ScriptingGate.h"
#include "pyo_Module.h"
#include "sesK_SessionIntObj.h"
#include "uti_XypException.h"
#include "utl_Libraries.h"
#include "xypK_Module.h"
#include "xypK_XYDataCntr.h"
#include "xypK_XYDataDictIntObj.h"
#include "xypK_XYDataIntObj.h"
#include "xypK_XYDataSessionCntr.h"

namespace {

std::unique_ptr<omu_PrimTuple> Pairs(std::initializer_list<std::pair<double, double>> pairs) {
  auto t = std::make_unique<omu_PrimTuple>();
  for (auto [x, y] : pairs) {
    auto p = std::make_unique<omu_PrimTuple>(2);
    p->Put(0, std::make_unique<omu_PrimNumber>(x));
    p->Put(1, std::make_unique<omu_PrimNumber>(y));
    t->Append(std::move(p));
  }
  return t;
}

std::unique_ptr<omu_Primitive> Str(const char* s) {
  return std::make_unique<omu_PrimString>(s);
}

std::vector<std::string> warnings;
void Listen(const char* kind, const cow_String& text) {
  if (std::string(kind) == "Warning") warnings.push_back(text.Std());
}

class XYDataTest : public ::testing::Test {
 protected:
  void SetUp() override { xypK_initialize(modules_); }
  void TearDown() override { xypK_finalize(modules_); }

  xypK_XYDataSessionCntr& Repository() { return xypK_XYDataSessionCntr::Instance(); }

  // Calls a command of an object (the session by default) as a script would.
  omu_Result Call(omu_InterfaceObj& target, const char* command, omu_Arguments& args) {
    omu_InterfaceObj::Entry e = target.Lookup(command);
    EXPECT_EQ(e.kind, omu_InterfaceObj::EntryKind::Method) << command;
    return e.method(*e.target, args);
  }
  std::shared_ptr<oda_XYDataCommonIntObj> XYData(omu_Arguments& args,
                                                 const char* module = nullptr) {
    omu_Result r =
        module ? Call(*pyo_Module::Find(module), "XYData", args) : Call(session_, "XYData", args);
    return std::dynamic_pointer_cast<oda_XYDataCommonIntObj>(
        static_cast<omu_PrimType&>(*r).Object());
  }
  std::shared_ptr<oda_XYDataCommonIntObj> Typed(const char* name,
                                                std::initializer_list<std::pair<double, double>> p,
                                                const char* legend = nullptr) {
    omu_Arguments args("XYData");
    args.AddKeyword("name", Str(name));
    args.AddKeyword("data", Pairs(p));
    if (legend) args.AddKeyword("legendLabel", Str(legend));
    return XYData(args);
  }
  template <class F>
  int ErrorCode(F f) {
    try {
      f();
    } catch (const uti_XypException& e) {
      return e.Code();
    }
    return -1;
  }

  int modules_ = 0;
  sesK_SessionIntObj session_;
};

}  // namespace

TEST(ModuleFrame, StartUpNestsAndLibrariesComeUpOnceInOrder) {
  utl_LibraryLog::Events().clear();
  int count = 0;
  xypK_initialize(count);
  xypK_initialize(count);
  EXPECT_EQ(count, 1);
  EXPECT_TRUE(xypK_IsUp());
  const std::vector<std::string> up = utl_LibraryLog::Events();
  ASSERT_EQ(up.size(), 18u);
  EXPECT_EQ(up.front(), "utl_initialize");
  EXPECT_EQ(up[7], "xypC_initialize");
  EXPECT_EQ(up.back(), "gtkK_initialize");
  ASSERT_NE(typ_ArchCompTable::Instance().FindEntry(645), nullptr);
  EXPECT_EQ(typ_ArchCompTable::Instance().FindEntry(645)->rowCount, 1);
  ASSERT_NE(pyo_Module::Find("xyPlot"), nullptr);

  xypK_finalize(count);  // matched by the first start-up: nothing goes down
  EXPECT_TRUE(xypK_IsUp());
  EXPECT_EQ(utl_LibraryLog::Events().size(), 18u);
  EXPECT_TRUE(omu_ScriptingGate::IsOpen());

  xypK_finalize(count);
  EXPECT_FALSE(xypK_IsUp());
  EXPECT_FALSE(omu_ScriptingGate::IsOpen());
  EXPECT_EQ(count, 0);
  EXPECT_EQ(pyo_Module::Find("xyPlot"), nullptr);
  const std::vector<std::string>& all = utl_LibraryLog::Events();
  ASSERT_EQ(all.size(), 36u);
  for (std::size_t i = 0; i < 18; ++i) {  // down in exactly the reverse order
    std::string name = up[17 - i];
    EXPECT_EQ(all[18 + i], name.replace(name.find("_initialize"), 11, "_finalize"));
  }

  xypK_finalize(count);  // an extra shut-down changes nothing and never counts below zero
  EXPECT_EQ(count, 0);
  xypK_initialize(count);
  EXPECT_TRUE(xypK_IsUp());
  EXPECT_EQ(count, 1);
  xypK_finalize(count);
  EXPECT_FALSE(xypK_IsUp());
}

TEST_F(XYDataTest, KeyboardReaderStoresTrimmedNameDefaultLegendAndFloatPairs) {
  auto xy = Typed("  a b ", {{0.1, 1e-50}, {1e39, -1e39}});
  EXPECT_EQ(xy->Name(), "a b");
  ASSERT_TRUE(Repository().IsMember("a b"));
  const udd_UserXYData& stored = Repository().ConstGet("a b");
  EXPECT_EQ(stored.Name(), "a b");
  EXPECT_EQ(stored.LegendLabel(), "a b");
  EXPECT_EQ(stored.TypeCode(), 2);
  ASSERT_EQ(stored.Size(), 2u);
  EXPECT_EQ(stored.Pair(0).x, 0.1f);
  EXPECT_EQ(stored.Pair(0).y, 0.0f);
  EXPECT_TRUE(std::isinf(stored.Pair(1).x) && stored.Pair(1).x > 0);
  EXPECT_TRUE(std::isinf(stored.Pair(1).y) && stored.Pair(1).y < 0);
  EXPECT_EQ(xy->Record().Size(), 2u);  // the returned object holds a copy
}

TEST_F(XYDataTest, NarrowingRoundsLikeTheCConversion) {
  EXPECT_EQ(udd_PairEntry::Narrow(static_cast<double>(FLT_MAX) * (1 + 1e-9)), FLT_MAX);
  EXPECT_TRUE(std::isinf(udd_PairEntry::Narrow(static_cast<double>(FLT_MAX) + 0x1p103)));
  EXPECT_EQ(udd_PairEntry::Narrow(-static_cast<double>(FLT_MAX) - 0x1p102), -FLT_MAX);
  EXPECT_TRUE(std::isnan(udd_PairEntry::Narrow(NAN)));
  EXPECT_EQ(udd_PairEntry::Narrow(1e-45), 1e-45f);  // subnormal
}

TEST_F(XYDataTest, KeyboardErrorsStoreNothingAndKeepTheExistingRecord) {
  Typed("a", {{1, 2}}, "old legend");
  auto item = std::make_unique<omu_PrimTuple>(3);
  for (int i = 0; i < 3; ++i) item->Put(i, std::make_unique<omu_PrimNumber>(1.0));
  auto data = Pairs({{0, 1}});
  data->Append(std::move(item));
  omu_Arguments threeValues("XYData");
  threeValues.AddKeyword("name", Str("a"));
  threeValues.AddKeyword("data", std::move(data));
  EXPECT_EQ(ErrorCode([&] { XYData(threeValues); }), 15);

  omu_Arguments empty("XYData");
  empty.AddKeyword("name", Str("a"));
  empty.AddKeyword("data", std::make_unique<omu_PrimTuple>());
  EXPECT_EQ(ErrorCode([&] { XYData(empty); }), 27);

  omu_Arguments blank("XYData");
  blank.AddKeyword("name", Str("   "));
  blank.AddKeyword("data", Pairs({{0, 1}}));
  EXPECT_EQ(ErrorCode([&] { XYData(blank); }), 201);

  omu_Arguments noData("XYData");
  noData.AddKeyword("name", Str("a"));
  try {
    XYData(noData);
    FAIL() << "a call without pairs was accepted";
  } catch (const omu_KeywordErrorException& e) {
    EXPECT_NE(e.Message().Find("'data'"), e.Message().Length()) << e.Message();
  }

  omu_Arguments noneToCopy("XYData");
  noneToCopy.AddKeyword("name", Str("a"));
  noneToCopy.AddKeyword("objectToCopy", std::make_unique<omu_PrimType>(nullptr));
  EXPECT_THROW(XYData(noneToCopy), omu_KeywordErrorException);

  ASSERT_EQ(Repository().Size(), 1);
  EXPECT_EQ(Repository().ConstGet("a").LegendLabel(), "old legend");
  EXPECT_EQ(Repository().ConstGet("a").Size(), 1u);
}

TEST_F(XYDataTest, CopyFormPresetsTextsAndLegendFollowsTheTrimmedName) {
  omu_Arguments first("XYData");
  first.AddKeyword("name", Str("a"));
  first.AddKeyword("data", Pairs({{0, 1}, {2, 3}}));
  first.AddKeyword("sourceDescription", Str("src"));
  first.AddKeyword("xValuesLabel", Str("X"));
  auto a = XYData(first);

  omu_Arguments copy("XYData");
  copy.AddKeyword("name", Str(" b "));
  copy.AddKeyword("objectToCopy", std::make_unique<omu_PrimType>(a));
  auto b = XYData(copy);
  const udd_UserXYData& stored = Repository().ConstGet("b");
  EXPECT_EQ(stored.LegendLabel(), "b");
  EXPECT_EQ(stored.SourceDescription(), "src");
  EXPECT_EQ(stored.XAxisLabel(), "X");
  EXPECT_EQ(stored.Size(), 2u);

  Typed("c", {{0, 1}}, "Fixed legend");
  omu_Arguments copyC("XYData");
  copyC.AddKeyword("name", Str("d"));
  copyC.AddKeyword("objectToCopy",
                   std::make_unique<omu_PrimType>(std::make_shared<xypK_XYDataIntObj>("c")));
  copyC.AddKeyword("yValuesLabel", Str("Y"));
  XYData(copyC);
  EXPECT_EQ(Repository().ConstGet("d").LegendLabel(), "Fixed legend");
  EXPECT_EQ(Repository().ConstGet("d").YAxisLabel(), "Y");
}

TEST_F(XYDataTest, DataModifiedInEditorReplacesPairsButKeepsTexts) {
  omu_Arguments first("XYData");
  first.AddKeyword("name", Str("a"));
  first.AddKeyword("data", Pairs({{0, 1}}));
  first.AddKeyword("xValuesLabel", Str("Time"));
  first.AddKeyword("legendLabel", Str("Legend"));
  XYData(first);
  omu_Arguments edited("XYData");
  edited.AddKeyword("name", Str("a"));
  edited.AddKeyword("data", Pairs({{5, 6}, {7, 8}}));
  edited.AddKeyword("sourceDescription", Str("Data modified in editor"));
  XYData(edited);
  const udd_UserXYData& stored = Repository().ConstGet("a");
  EXPECT_EQ(stored.Size(), 2u);
  EXPECT_EQ(stored.XAxisLabel(), "Time");
  EXPECT_EQ(stored.LegendLabel(), "Legend");
  EXPECT_EQ(stored.SourceDescription(), "Data modified in editor");

  omu_Arguments other("XYData");
  other.AddKeyword("name", Str("a"));
  other.AddKeyword("data", Pairs({{1, 1}}));
  XYData(other);  // any other source replaces the record whole
  EXPECT_EQ(Repository().ConstGet("a").XAxisLabel(), "");
  EXPECT_EQ(Repository().ConstGet("a").LegendLabel(), "a");
}

TEST_F(XYDataTest, ModuleCommandMakesTemporaryDataOnly) {
  omu_Arguments args("XYData");
  args.AddKeyword("name", Str("t"));
  args.AddKeyword("data", Pairs({{1, 2}}));
  auto temp = XYData(args, "xyPlot");
  EXPECT_EQ(temp->Name(), "Temp");
  EXPECT_FALSE(temp->IsRepositoryBacked());
  EXPECT_EQ(temp->CommandText(), "XYData(name='t', data=((1.0, 2.0),))");
  EXPECT_TRUE(Repository().IsEmpty());
  omu_Arguments set("setValues");
  set.AddKeyword("legendLabel", Str("changed"));
  temp->SetXYDataAttributes(set);
  EXPECT_EQ(temp->LegendLabel(), "changed");
  EXPECT_TRUE(Repository().IsEmpty());
}

TEST_F(XYDataTest, RepositoryRenameCopyKeysAndSummary) {
  EXPECT_EQ(static_cast<omu_PrimString&>(*Repository().Summary()).Value(), "EMPTY SUMMARY");
  Typed("b", {{0, 1}}, "keep");
  Typed("a", {{0, 2}});
  EXPECT_EQ(Repository().Keys(), (cow_List<cow_String>{"a", "b"}));
  auto summary = Repository().Summary();
  auto& rows = static_cast<omu_PrimTuple&>(*summary);
  ASSERT_EQ(rows.Size(), 2u);
  EXPECT_EQ(rows.Item(0).Repr(), "('a', '')");

  EXPECT_FALSE(Repository().Rename("zzz", "a"));
  EXPECT_EQ(Repository().Size(), 2);
  EXPECT_TRUE(Repository().Rename("a", "b"));  // replaces b; a legend equal to "a" follows
  EXPECT_EQ(Repository().Keys(), (cow_List<cow_String>{"b"}));
  EXPECT_EQ(Repository().ConstGet("b").LegendLabel(), "b");
  EXPECT_EQ(Repository().ConstGet("b").Pair(0).y, 2.0f);
  EXPECT_TRUE(Repository().Rename("b", "b"));
  EXPECT_TRUE(Repository().IsMember("b"));

  EXPECT_TRUE(Repository().Copy("b", "c"));
  EXPECT_EQ(Repository().ConstGet("c").Name(), "b");  // an exact copy, name field included
  EXPECT_FALSE(Repository().Copy("nope", "d"));
}

TEST_F(XYDataTest, ModelContainerRenameNeverLosesAnUnrelatedRecord) {
  xypK_XYDataCntr container;
  udd_UserXYData record;
  record.SetName("x");
  record.SetLegendLabel("x");
  container.Insert("x", record);
  record.SetName("y");
  container.Insert("y", record);
  EXPECT_FALSE(container.Rename("absent", "y"));
  EXPECT_TRUE(container.IsMember("y"));
  EXPECT_TRUE(container.Rename("x", "x"));
  EXPECT_TRUE(container.IsMember("x"));
  EXPECT_TRUE(container.Rename("x", "y"));
  EXPECT_EQ(container.Size(), 1);
  EXPECT_EQ(container.ConstGet("y").LegendLabel(), "x");  // the legend stays here
  auto copy = container.Copy();
  container.Remove("y");
  EXPECT_TRUE(static_cast<xypK_XYDataCntr&>(*copy).IsMember("y"));  // copies do not share writes
}

TEST_F(XYDataTest, WriteBackTakesOnlyWhatTheCallChanged) {
  Typed("a", {{0, 1}});
  xypK_XYDataIntObj older("a");
  xypK_XYDataIntObj newer("a");
  omu_Arguments newPairs("setData");
  newPairs.AddKeyword("data", Pairs({{9, 9}, {8, 8}}));
  newer.AddXYData(newPairs);
  omu_Arguments legend("setValues");
  legend.AddKeyword("legendLabel", Str("L"));
  older.SetXYDataAttributes(legend);
  const udd_UserXYData& stored = Repository().ConstGet("a");
  EXPECT_EQ(stored.Size(), 2u);  // the older handle did not bring back its pairs
  EXPECT_EQ(stored.LegendLabel(), "L");
  EXPECT_EQ(older.Record().Size(), 1u);  // reads keep the handle's snapshot

  omu_Arguments empty("setData");
  empty.AddKeyword("data", std::make_unique<omu_PrimTuple>());
  EXPECT_EQ(ErrorCode([&] { newer.AddXYData(empty); }), 27);
  EXPECT_EQ(Repository().ConstGet("a").Size(), 2u);
  omu_Arguments name("setValues");
  name.AddKeyword("name", Str("b"));
  EXPECT_THROW(newer.SetXYDataAttributes(name), omu_KeywordErrorException);
}

TEST_F(XYDataTest, DictionaryRenamesRemovesAndRefusesAssignment) {
  xypK_XYDataDictIntObj dict;
  EXPECT_EQ(dict.Length(), 0);
  EXPECT_TRUE(dict.Keys().IsEmpty());
  Typed("a", {{0, 1}});
  EXPECT_EQ(ErrorCode([&] { dict.ChangeKey("a", " a "); }), 202);
  EXPECT_EQ(ErrorCode([&] { dict.ChangeKey("missing", "missing"); }), 202);
  EXPECT_EQ(ErrorCode([&] { dict.ChangeKey("a", "  "); }), 201);
  dict.ChangeKey("a", " b ");
  EXPECT_EQ(dict.Keys(), (cow_List<cow_String>{"b"}));
  EXPECT_EQ(Repository().ConstGet("b").LegendLabel(), "b");
  dict.ChangeKey("absent", "c");
  EXPECT_EQ(dict.Length(), 1);
  EXPECT_EQ(dict.Subscript("absent"), nullptr);

  warnings.clear();
  cmdC_WIP::SetListener(&Listen);
  EXPECT_EQ(dict.Assign("b", omu_PrimString("x")), 0);
  cmdC_WIP::SetListener(nullptr);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0], "Assignment on XYData Dictionary Not implemented.");

  EXPECT_EQ(dict.Remove("nope"), 0);
  EXPECT_EQ(dict.Remove("b"), 1);
  EXPECT_EQ(dict.Length(), 0);
}

TEST_F(XYDataTest, CommandPathsOfTheSessionCommands) {
  omu_InterfaceObj* fragment = nullptr;
  for (omu_InterfaceObj* f : session_.Extensions())
    if (f->Lookup("XYPlot").kind == omu_InterfaceObj::EntryKind::Method) fragment = f;
  ASSERT_NE(fragment, nullptr);
  omu_Arguments none;
  EXPECT_EQ(fragment->CommandPath("session", "XYPlot", none), "session.xyPlots");
  EXPECT_EQ(fragment->CommandPath("session", "XYDataFromFile", none), "session.xyDataObjects");
  EXPECT_EQ(fragment->CommandPath("session", "writeXYReport", none), "session");
}
