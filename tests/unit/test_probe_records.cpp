// The probe option records and the probe message catalogue: column titles for each probed
// object, the records' defaults, the catalogue's errors (text, code, detail, type, a registered
// translation), the report file that could not be opened and the sort warning, as lines of the
// work-in-progress reporter.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "cmdC_PrbException.h"
#include "cmdC_PrbMessageTable.h"
#include "cmdC_WIP.h"
#include "omi_Singleton.h"
#include "prbC_ProbeOptionsCTX.h"
#include "prbC_ProbeReportCTX.h"
#include "prbK_MessageTypes.h"
#include "prbK_Module.h"
#include "thr_ThreadSingleton.h"
#include "uti_ResourceManager.h"

namespace {
std::vector<std::string> Titles(const cow_List<cow_String>& list) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < list.Size(); ++i) out.push_back(list[i].Std());
  return out;
}

using Line = std::pair<std::string, std::string>;
std::vector<Line>& Lines() {
  static std::vector<Line> lines;
  return lines;
}
void Record(const char* kind, const cow_String& text) {
  Lines().emplace_back(kind, text.Std());
}
template <class F>
std::vector<Line> Reported(F call) {
  Lines().clear();
  cmdC_WIP::SetListener(&Record);
  call();
  cmdC_WIP::SetListener(nullptr);
  return Lines();
}

template <class F>
cmdC_PrbException Raised(F call) {
  try {
    call();
  } catch (const cmdC_PrbException& e) {
    return e;
  }
  ADD_FAILURE() << "nothing raised";
  return cmdC_PrbException("");
}
}  // namespace

TEST(ProbeRecords, ColumnTitlesFollowTheProbedObjectAndEntity) {
  using Titles_ = std::vector<std::string>;
  struct Case {
    const char* object;
    prbC_ProbeEntityEnm entity;
    Titles_ header, sortable;
  };
  const Case cases[] = {
      {"XYPlot",
       prbC_NODES,
       {"Legend", "Sequence ID", "X", "Y"},
       {"Legend", "Sequence ID", "X", "Y"}},
      {"ODB",
       prbC_ELEMENTS,
       {"Part Instance", "Element ID", "Type", "Connectivity", "Field Output"},
       {"Part Instance", "Element ID", "Type", "Field Output"}},
      {"ODB",
       prbC_NODES,
       {"Part Instance", "Node ID", "Original Coordinates", "Deformed Coordinates",
        "Attached Elements", "Field Output"},
       {"Part Instance", "Node ID", "Attached Elements", "Field Output"}},
      {"", prbC_ELEMENTS, {""}, {""}},  // no client: one empty title
  };
  for (const Case& c : cases) {
    prbC_ProbeOptionsCTX options;
    options.probeEntity = c.entity;
    cow_List<cow_String> header{"left over"}, sortable{"left over"};
    options.BuildHeader(header, c.object);
    options.BuildSortHeader(sortable, c.object);
    EXPECT_EQ(Titles(header), c.header) << c.object << " " << c.entity;
    EXPECT_EQ(Titles(sortable), c.sortable) << c.object << " " << c.entity;
  }
}

TEST(ProbeRecords, Defaults) {
  const prbC_ProbeOptionsCTX options;
  EXPECT_FALSE(options.initialized);
  EXPECT_EQ(options.probeEntity, prbC_NODES);
  EXPECT_EQ(options.probeOutputPosition, res_NODAL);
  for (bool column :
       {options.partInstance, options.elementId, options.elementType, options.elementConnectivity,
        options.elementFieldResults, options.nodeId, options.baseCoordinates,
        options.deformedCoordinates, options.attachedElements, options.nodeFieldResults,
        options.legend, options.xValue, options.yValue, options.sequenceID})
    EXPECT_TRUE(column);
  EXPECT_FALSE(options.isFieldOutputAvailable);
  EXPECT_FALSE(options.interpolateXy);
  const prbC_ProbeReportCTX report;
  EXPECT_EQ(report.sortOrder, prbC_ASCENDING);
  EXPECT_EQ(report.numColumns, 80);
  EXPECT_EQ(report.numDigits, 6);
  EXPECT_EQ(report.pageWidth, prbC_NO_LIMIT);
  EXPECT_EQ(report.numFormat, prbC_AUTOMATIC);
  EXPECT_FALSE(report.printTotal || report.printMinMax || report.initialized);
}

TEST(ProbeMessages, ErrorsCarryTheirTextCodeAndColumn) {
  const cmdC_PrbException none = Raised([] { prbK_MessageTypes::ErrorNoObjectToProbe(); });
  EXPECT_EQ(none.Message(), "Current display object cannot be probed");
  EXPECT_EQ(none.Code(), 0);
  const cmdC_PrbException sort = Raised([] { prbK_MessageTypes::ErrorInvalidSortItem("Name"); });
  EXPECT_EQ(sort.Message(), "Sorting cannot be performed for the values in column Name");
  EXPECT_EQ(sort.Code(), 1);
  EXPECT_EQ(sort.Detail1(), "Name");

  // A text registered under the row's resource name replaces the default one.
  uti_ResourceManager::InstallLabelLookup();
  uti_ResourceManager& resources = thr_ThreadSingleton<uti_ResourceManager>::Instance();
  resources.SetStringResource("prbK_MessageTypes_MSGID_01", "Cannot sort by ");
  const cmdC_PrbException translated = Raised([] { prbK_MessageTypes::ErrorInvalidSortItem("X"); });
  resources.RemoveStringResource("prbK_MessageTypes_MSGID_01");
  EXPECT_EQ(translated.Message(), "Cannot sort by X");
}

TEST(ProbeMessages, ReportLinesGoToTheWorkInProgressReporter) {
  // The path is put in once, as given, even when it holds the placeholder itself.
  EXPECT_EQ(Reported([] { prbK_MessageTypes::ErrorCouldNotOpenReportFile("/tmp/a %s.txt"); }),
            (std::vector<Line>{{"Error",
                                "/tmp/a %s.txt: could not be opened (may be locked by another "
                                "application)."}}));
  const std::string warning =
      cmdC_PrbMessageTable::Instance().WarningInvalidSortItem("Type")->Text().Std();
  EXPECT_NE(warning.find("Type"), std::string::npos);
  EXPECT_EQ(Reported([] { prbK_MessageTypes::WarningInvalidSortItem("Type"); }),
            (std::vector<Line>{{"Warning", warning}}));
  cmdC_WIP& wip = omi_Singleton<cmdC_WIP>::Instance();
  EXPECT_EQ(Reported([&] {
              wip.Landmark("");
              wip.Landmark("Probe report written");
            }),
            (std::vector<Line>{{"", "Probe report written"}}));
}

TEST(ProbeStartUp, NestedCallsCountAndOnlyTheLastShutDownEndsIt) {
  int count = 0;
  prbK_initialize(count);
  prbK_initialize(count);
  EXPECT_EQ(count, 1);
  cmdC_PrbMessageTable::Instance();
  prbK_finalize(count);
  EXPECT_EQ(count, 1);
  EXPECT_TRUE(omi_Singleton<cmdC_PrbMessageTable>::Exists());
  prbK_finalize(count);
  EXPECT_EQ(count, 0);
  EXPECT_FALSE(omi_Singleton<cmdC_PrbMessageTable>::Exists());
  prbK_finalize(count);  // one too many: nothing
  EXPECT_EQ(count, 0);
}
