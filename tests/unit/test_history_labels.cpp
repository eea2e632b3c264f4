// History labels and legends of every position, and the per-file lists built from a results file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "ddr_Root.h"
#include "odb_Writer.h"
#include "thr_ThreadSingleton.h"
#include "xypK_Module.h"
#include "xypK_XYToolset.h"

// History points are written as aggregates, their trailing fields left at their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

odiK_Model PlateModel() {
  odiK_Model model;
  odiK_PartInstance plate;
  plate.name = "PLATE";
  plate.nodeLabels = {12, 13, 14, 15};
  plate.coordinates.assign(12, 0.0);
  bme_ElementClass quads;
  quads.nodesPerElement = 4;
  quads.userElementLabels = {7};
  quads.connectivity = {12, 13, 14, 15};
  quads.sectionPointLabels = {"1, bottom", "2, top"};
  plate.elementClasses.push_back(quads);
  int repeated = 0;
  bool node = false;
  plate.Index(repeated, node);
  model.instances.push_back(plate);
  model.sets.push_back({"TIP", res_NODE_SET, 0, false, {12}});
  model.sets.push_back({"EDGE", res_ELEMENT_SET, 0, false, {7}});
  model.sets.push_back({"HIDDEN", res_NODE_SET, 0, true, {12}});
  return model;
}

TEST(HistoryLabels, EveryPositionWithAndWithoutTheInstance) {
  const odiK_Model model = PlateModel();
  struct Row {
    ddb_History h;
    bool withInstance;
    const char* label;
    const char* legend;
  };
  auto H = [](const char* var, const char* desc, res_OutputPositionEnm p) {
    ddb_History h;
    h.variableLabel = var;
    h.variableDescription = desc;
    h.position = p;
    h.instance = 0;
    return h;
  };
  ddb_History node = H("T", "Temperature", res_NODAL);
  node.node = 12;
  ddb_History ip = H("S11", "Stress", res_INTEGRATION_POINT);
  ip.element = 7, ip.integrationPoint = 3, ip.sectionPoint = 1, ip.elementClass = 0;
  ddb_History face = H("P", "Pressure", res_ELEMENT_FACE);
  face.element = 7, face.face = 1;
  ddb_History elementNode = H("E", "Strain", res_ELEMENT_NODAL);
  elementNode.element = 7, elementNode.node = 13;
  ddb_History centroid = H("EVOL", "Volume", res_CENTROID);
  centroid.element = 7;
  ddb_History part = H("ALLSE", "Strain energy", res_WHOLE_PART_INSTANCE);
  ddb_History whole = H("KE", "Kinetic energy", res_WHOLE_MODEL);
  ddb_History region = H("RF", "Reaction", res_WHOLE_REGION);
  region.set = 1;
  ddb_History particle = H("X", "Particle", res_GENERAL_PARTICLE);
  ddb_History inSet = node;
  inSet.set = 0;
  ddb_History hiddenSet = node;
  hiddenSet.set = 2;
  ddb_History dotted = H("A.B", "Dotted.name", res_WHOLE_MODEL);
  ddb_History noSection = ip;
  noSection.sectionPoint = -1;

  const Row rows[] = {
      {node, false, "Temperature: T at Node 12", "T N: 12"},
      {node, true, "Temperature: T at Part instance PLATE Node 12", "T PI: PLATE N: 12"},
      {ip, false, "Stress: S11 at Element 7 Int Point 3 Sec Pt 2, top", "S11 E: 7 IP: 3 SP: 2"},
      {ip, true, "Stress: S11 at Part instance PLATE Element 7 Int Point 3 Sec Pt 2, top",
       "S11 PI: PLATE E: 7 IP: 3 SP: 2"},
      {noSection, false, "Stress: S11 at Element 7 Int Point 3", "S11 E: 7 IP: 3"},
      {face, true, "Pressure: P at Part instance PLATE at Element 7 Face 1", "P PI: PLATE E: 7 F: 1"},
      {elementNode, false, "Strain: E at Element 7 Node 13", "E E: 7 N: 13"},
      {elementNode, true, "Strain: E at Part instance PLATE Element 7 Node 13",
       "E PI: PLATE E: 7 N: 13"},
      {centroid, true, "Volume: EVOL at Part instance PLATE Element 7", "EVOL PI: PLATE E: 7"},
      {part, true, "Strain energy: ALLSE for Part PLATE", "ALLSE P: PLATE"},
      {whole, true, "Kinetic energy: KE for Whole Model", "KE Whole Model"},
      {region, true, "Reaction: RF in ELSET EDGE", "RF ELSET EDGE"},
      {particle, true, "X at Particle", "X at Particle"},
      {inSet, false, "Temperature: T at Node 12 in NSET TIP", "T N: 12 NSET TIP"},
      {hiddenSet, false, "Temperature: T at Node 12", "T N: 12"},
      {dotted, false, "Dotted:name: A:B for Whole Model", "A.B Whole Model"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    cow_String label, legend;
    xypK_XYToolset::GenerateHistoryLabels(model, row.h, label, legend, row.withInstance);
    EXPECT_EQ(label, row.label);
    EXPECT_EQ(legend, row.legend);
  }
}

TEST(HistoryLabels, ListsOfAFileRepeatsKeysAndCleanup) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / ("xyp-labels-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const std::string path = (folder / "r.h5").string();
  {
    odb_Writer w(path);
    w.AddInstance("PLATE", {12, 13}, {0, 0, 0, 1, 0, 0});
    const int load = w.AddStep("Load", res_TIME, 0);
    const int hold = w.AddStep("Hold", res_TIME, 1);
    const odb_Writer::HistoryPoint u{"U2", "Displacement", res_NODAL, "", 12};
    const odb_Writer::HistoryPoint other{"U2", "Displacement", res_NODAL, "", 13};
    for (int i = 0; i < 14; ++i) w.AddHistory(load, other, {0}, {0}, false, false);
    w.AddHistory(load, u, {0}, {0}, false, false);  // index 14
    w.AddHistory(load, u, {0}, {0}, false, false);  // 15: the same label again
    w.AddHistory(hold, u, {1}, {1, 0}, true, false);
    w.Close();
  }
  int modules = 0;
  xypK_initialize(modules);
  ddr_Root& root = thr_ThreadSingleton<ddr_Root>::Instance();
  const odiK_Model& model = root.Open(cow_String(path)).Model();
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  const cow_String file = model.FileName();
  const cow_List<cow_String> labels = toolset.HistoryVariableLabelList(model);
  ASSERT_EQ(labels.Size(), 16u);  // node 13 and its 13 repeats; node 12 and its repeat
  const cow_String u2 = "Displacement: U2 at Node 12";
  EXPECT_EQ(toolset.StepHistoryLabelListKey(u2, file, 0), 14);
  EXPECT_EQ(toolset.StepHistoryLabelListKey(u2, file, 1), 0);
  EXPECT_EQ(toolset.StepHistoryLabelListKey("Displacement: U2 at Node 13", file, 1), -1);
  EXPECT_FALSE(toolset.StepHistoryLabelListIsMember("Displacement: U2 at Node 13", file, 1));
  EXPECT_FALSE(toolset.StepHistoryLabelListIsMember("no such label", file, 0));
  EXPECT_FALSE(toolset.StepHistoryLabelListIsMember(u2, file, 2));  // no such step
  // Repeats of node 13 in "Load" (indices 1 ... 13) each get their own label.
  EXPECT_EQ(toolset.StepHistoryLabelListKey(
                "Displacement: U2 at Node 13 (Repeated: key = Load, 1)", file, 0), 1);
  EXPECT_EQ(toolset.StepHistoryLabelListKey(u2 + " (Repeated: key = Load, 15)", file, 0), 15);
  EXPECT_EQ(toolset.HistoryVariableLegend(file, u2), "U2 N: 12");
  EXPECT_TRUE(toolset.IsComplex(model));
  // Built once while the stamp holds.
  const xypK_HistoryFile* lists = toolset.HistoryFile(file);
  const xypK_HistoryItem* item = lists->Find(u2);
  toolset.UpdateHistoryLists(model);
  EXPECT_EQ(toolset.HistoryFile(file)->Find(u2), item);
  // Closing drops the lists.
  root.Close(file);
  EXPECT_EQ(toolset.HistoryFile(file), nullptr);
  xypK_finalize(modules);
  fs::remove_all(folder);
}

}  // namespace
