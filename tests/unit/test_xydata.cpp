// XY data through the module's scripting entry points: the module frame, the keyboard reader,
// the repository, the dictionary and the data objects.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "omu_Arguments.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"
#include "omu_PrimTuple.h"
#include "omu_PrimType.h"
#include "omu_ScriptingGate.h"
#include "pyo_Module.h"
#include "sesK_SessionIntObj.h"
#include "utl_Libraries.h"
#include "xypK_Module.h"
#include "xypK_XYDataCntr.h"
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
  int modules_ = 0;
  sesK_SessionIntObj session_;
};

}  // namespace

TEST(ModuleFrame, StartUpNestsAndLibrariesComeUpOnceInOrder) {
  utl_LibraryLog::Events().clear();
  int count = 0;
  xypK_initialize(count);
  xypK_initialize(count);
  EXPECT_EQ(count, 2);  // the module and its probe side, once
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
  EXPECT_EQ(count, 2);
  xypK_finalize(count);
  EXPECT_FALSE(xypK_IsUp());
}

// Names, legends and float pairs of typed data are checked end to end in
// tests/python/test_xydata_keyboard.py; the type code is not seen from Python.
TEST_F(XYDataTest, KeyboardReaderStoresTypedDataAndReturnsACopyTheModuleStoresNothing) {
  auto xy = Typed("  a b ", {{0.1, 1e-50}, {1e39, -1e39}});
  ASSERT_TRUE(Repository().IsMember("a b"));
  EXPECT_EQ(Repository().ConstGet("a b").TypeCode(), 2);
  Repository().Remove("a b");
  EXPECT_EQ(xy->Record().Size(), 2u);  // the returned object holds a copy

  // The module's command makes temporary data only.
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

TEST_F(XYDataTest, NarrowingRoundsLikeTheCConversion) {
  EXPECT_EQ(udd_PairEntry::Narrow(static_cast<double>(FLT_MAX) * (1 + 1e-9)), FLT_MAX);
  EXPECT_TRUE(std::isinf(udd_PairEntry::Narrow(static_cast<double>(FLT_MAX) + 0x1p103)));
  EXPECT_EQ(udd_PairEntry::Narrow(-static_cast<double>(FLT_MAX) - 0x1p102), -FLT_MAX);
  EXPECT_TRUE(std::isnan(udd_PairEntry::Narrow(NAN)));
  EXPECT_EQ(udd_PairEntry::Narrow(1e-45), 1e-45f);  // subnormal
}

// Renames through the dictionary, summaries and the other keyboard paths are covered end to end
// by tests/python/test_xydata_*.py; what the scripting surface cannot reach is tested here.
TEST_F(XYDataTest, RepositoryAndModelContainerRenameAndCopy) {
  Typed("b", {{0, 1}}, "keep");
  Typed("a", {{0, 2}});
  EXPECT_EQ(Repository().Keys(), (cow_List<cow_String>{"a", "b"}));
  EXPECT_TRUE(Repository().Rename("b", "b"));
  EXPECT_TRUE(Repository().IsMember("b"));
  EXPECT_TRUE(Repository().Copy("b", "c"));
  EXPECT_EQ(Repository().ConstGet("c").Name(), "b");  // an exact copy, name field included
  EXPECT_EQ(Repository().ConstGet("c").LegendLabel(), "keep");
  EXPECT_FALSE(Repository().Copy("nope", "d"));
  EXPECT_EQ(Repository().Size(), 3);

  // A model container's rename never loses an unrelated record.
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
