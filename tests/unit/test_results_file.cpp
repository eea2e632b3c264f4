// Results files: what the writer stores is what opening reads; every damage that opening must
// refuse is refused with the object at fault named; writer refusals change nothing.
#include <gtest/gtest.h>
#include <hdf5.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "ddr_Root.h"
#include "odb_Odb.h"
#include "odb_OdbException.h"
#include "odb_Writer.h"
#include "omu_ValueErrorException.h"
#include "thr_ThreadSingleton.h"
#include "xypK_Module.h"
#include "xypK_XYToolset.h"
#include "xypK_XYToolsetClient.h"

// History points are written as aggregates, their trailing fields left at their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {
namespace fs = std::filesystem;

class ResultsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("xyp-results-" + std::to_string(getpid()));
    fs::create_directories(folder_);
    path_ = (folder_ / "plate.h5").string();
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Two quads on six nodes, a node set, a time step with a nodal, an integration point and a
  // whole-model output sharing x values, and one frame with a nodal field.
  void WriteValid(odb_Writer& w) {
    w.AddInstance("PLATE", {1, 2, 3, 4, 5, 6},
                  {0, 0, 0, 1, 0, 0, 2, 0, 0, 0, 1, 0, 1, 1, 0, 2, 1, 0});
    w.AddElements("PLATE", "Q4", {10, 11}, {1, 2, 5, 4, 2, 3, 6, 5}, 4, -1, {"1, bottom", "2, top"});
    w.AddSet("TIP", 0, "PLATE", {3, 6}, false);
    const int step = w.AddStep("Impact", 0, 0.5);
    odb_Writer::HistoryPoint node{"U2", "Spatial displacement", res_NODAL, "", 6};
    w.AddHistory(step, node, {0, 0.1, 0.2}, {0, -1.5, -2.25}, false, false);
    odb_Writer::HistoryPoint point{"S11", "Stress", res_INTEGRATION_POINT, "PLATE", 0, 11, 2, 1};
    w.AddHistory(step, point, {0, 0.1, 0.2}, {1, 2, 3}, false, true);
    odb_Writer::HistoryPoint model{"KE", "Kinetic energy", res_WHOLE_MODEL};
    w.AddHistory(step, model, {0, 0.1, 0.2}, {1, 0, 1, 0, 1, 0}, true, false);
    const int frame = w.AddFrame(step, 0.2);
    w.AddField(step, frame, "U2", "", res_NODAL, "PLATE", {1, 6}, {0.5f, 0.25f}, 1);
  }
  void WriteValidFile() {
    odb_Writer w(path_);
    WriteValid(w);
    w.Close();
  }

  fs::path folder_;
  std::string path_;
};

TEST_F(ResultsFile, WhatIsWrittenIsWhatOpens) {
  WriteValidFile();
  const auto odb = odb_Odb::Open(path_);
  const odiK_Model& model = odb->Model();
  ASSERT_EQ(model.NumInstances(), 1);
  const odiK_PartInstance& plate = model.instances[0];
  EXPECT_EQ(plate.name, "PLATE");
  EXPECT_EQ(plate.NodeIndex(6), 5);
  EXPECT_EQ(plate.coordinates[3 * 5], 2.0);
  ASSERT_EQ(plate.elementClasses.size(), 1u);
  EXPECT_EQ(plate.elementClasses[0].shape, res_QUAD);
  EXPECT_EQ(plate.elementClasses[0].SectionPointLabel(1), "2, top");
  ASSERT_EQ(odb->Steps().size(), 1u);
  const ddb_Step& step = odb->Steps()[0];
  EXPECT_EQ(step.name, "Impact");
  EXPECT_EQ(step.totalTime, 0.5);
  ASSERT_EQ(step.numHistory(), 3);
  const ddb_History& s11 = step.histories[1];
  EXPECT_EQ(s11.position, res_INTEGRATION_POINT);
  EXPECT_EQ(s11.elementNumber, 1);
  EXPECT_EQ(s11.sectionPoint, 1);
  EXPECT_TRUE(s11.isDouble);
  // Equal x values are stored once, whatever the values' precision... only within one precision.
  EXPECT_EQ(step.histories[0].x, step.histories[2].x);
  EXPECT_NE(step.histories[0].x, step.histories[1].x);
  std::vector<double> x, values;
  odb->ReadHistory(step.histories[0], x, values);
  EXPECT_EQ(x, (std::vector<double>{0, static_cast<float>(0.1), static_cast<float>(0.2)}));
  EXPECT_EQ(values, (std::vector<double>{0, -1.5, -2.25}));
  odb->ReadHistory(step.histories[2], x, values);
  EXPECT_EQ(values.size(), 6u);  // complex pairs
  std::vector<int> labels;
  std::vector<float> field;
  odb->ReadField(step.frames[0].fields[0], labels, field);
  EXPECT_EQ(labels, (std::vector<int>{1, 6}));
  EXPECT_EQ(field, (std::vector<float>{0.5f, 0.25f}));
}

// Each damage, made with HDF5 on a valid file, and the text its refusal must hold.
struct Damage {
  const char* name;
  std::function<void(hid_t)> apply;
  const char* expected;
};

void SetInt(hid_t file, const char* object, const char* attribute, int value) {
  const hid_t o = H5Oopen(file, object, H5P_DEFAULT);
  H5Adelete(o, attribute);
  const hid_t space = H5Screate(H5S_SCALAR);
  const hid_t a = H5Acreate2(o, attribute, H5T_STD_I32LE, space, H5P_DEFAULT, H5P_DEFAULT);
  H5Awrite(a, H5T_NATIVE_INT, &value);
  H5Aclose(a);
  H5Sclose(space);
  H5Oclose(o);
}

// Rewrites one int32 field of a row of the history table.
void SetRowField(hid_t file, int row, const char* field, int value) {
  const hid_t d = H5Dopen2(file, "/steps/0/history", H5P_DEFAULT);
  const hid_t type = H5Tcreate(H5T_COMPOUND, sizeof(int));
  H5Tinsert(type, field, 0, H5T_NATIVE_INT);
  const hid_t space = H5Dget_space(d);
  const hsize_t start = static_cast<hsize_t>(row), count = 1;
  H5Sselect_hyperslab(space, H5S_SELECT_SET, &start, nullptr, &count, nullptr);
  const hid_t memory = H5Screate_simple(1, &count, nullptr);
  H5Dwrite(d, type, memory, space, H5P_DEFAULT, &value);
  H5Sclose(memory);
  H5Sclose(space);
  H5Tclose(type);
  H5Dclose(d);
}

void Replace(hid_t file, const char* path, hid_t type, std::vector<hsize_t> dims) {
  H5Ldelete(file, path, H5P_DEFAULT);
  const hid_t space = H5Screate_simple(static_cast<int>(dims.size()), dims.data(), nullptr);
  const hid_t d = H5Dcreate2(file, path, type, space, H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT);
  H5Dclose(d);
  H5Sclose(space);
}

TEST_F(ResultsFile, EveryDamageIsRefusedNamingWhatIsWrong) {
  const Damage damages[] = {
      {"version", [](hid_t f) { SetInt(f, "/", "version", 2); }, "unknown version 2"},
      {"position 0", [](hid_t f) { SetRowField(f, 0, "position", 0); }, "position: 0"},
      {"position 11", [](hid_t f) { SetRowField(f, 0, "position", 11); }, "position: 11"},
      {"node", [](hid_t f) { SetRowField(f, 0, "node", 99); }, "node: no node 99"},
      {"element", [](hid_t f) { SetRowField(f, 1, "element", 12); }, "element: no element 12"},
      {"section point", [](hid_t f) { SetRowField(f, 1, "sectionPoint", 2); },
       "sectionPoint: no section point 2"},
      {"integration point", [](hid_t f) { SetRowField(f, 1, "integrationPoint", 0); },
       "integrationPoint: 0"},
      {"instance", [](hid_t f) { SetRowField(f, 0, "instance", 1); }, "instance: no instance 1"},
      {"set", [](hid_t f) { SetRowField(f, 0, "set", 1); }, "set: no set 1"},
      {"components", [](hid_t f) { SetRowField(f, 0, "components", 2); }, "1 dimensions, 2 expected"},
      {"double flag", [](hid_t f) { SetRowField(f, 0, "double", 1); }, "values must be float64"},
      {"complex flag", [](hid_t f) { SetRowField(f, 2, "complex", 0); }, "2 dimensions, 1 expected"},
      {"x missing", [](hid_t f) { H5Ldelete(f, "/steps/0/x/0", H5P_DEFAULT); }, "x values"},
      {"x 2-D", [](hid_t f) { Replace(f, "/steps/0/x/0", H5T_IEEE_F32LE, {3, 2}); },
       "2 dimensions"},
      {"values missing", [](hid_t f) { H5Ldelete(f, "/steps/0/historyValues/1", H5P_DEFAULT); },
       "historyValues/1: missing"},
      {"domain", [](hid_t f) { SetInt(f, "/steps/0", "domain", 4); }, "'domain' is 4"},
      {"set kind", [](hid_t f) { SetInt(f, "/model/sets/0", "kind", 3); }, "'kind' is 3"},
      {"set label", [](hid_t f) { Replace(f, "/model/sets/0/labels", H5T_STD_I32LE, {0});
                                  H5Ldelete(f, "/model/sets/0/labels", H5P_DEFAULT); },
       "labels: missing"},
      {"coordinates",
       [](hid_t f) { Replace(f, "/model/instances/0/nodeCoordinates", H5T_IEEE_F64LE, {5, 3}); },
       "(6, 3) expected"},
      {"connectivity node",
       [](hid_t f) {
         const hid_t d = H5Dopen2(f, "/model/instances/0/elementClasses/0/connectivity", H5P_DEFAULT);
         const int nodes[8] = {1, 2, 5, 4, 2, 3, 6, 77};
         H5Dwrite(d, H5T_NATIVE_INT, H5S_ALL, H5S_ALL, H5P_DEFAULT, nodes);
         H5Dclose(d);
       },
       "uses node 77"},
      {"step gap",
       [](hid_t f) { H5Lmove(f, "/steps/0", f, "/steps/1", H5P_DEFAULT, H5P_DEFAULT); },
       "'0' is missing"},
      {"huge unallocated labels",
       [](hid_t f) {
         H5Ldelete(f, "/model/instances/0/nodeLabels", H5P_DEFAULT);
         const hsize_t dims = hsize_t{1} << 34, chunk = 1024;
         const hid_t space = H5Screate_simple(1, &dims, nullptr);
         const hid_t plist = H5Pcreate(H5P_DATASET_CREATE);
         H5Pset_chunk(plist, 1, &chunk);
         H5Dclose(H5Dcreate2(f, "/model/instances/0/nodeLabels", H5T_STD_I32LE, space,
                             H5P_DEFAULT, plist, H5P_DEFAULT));
         H5Pclose(plist);
         H5Sclose(space);
       },
       "larger than the file can hold"},
      {"huge deflated labels, no chunk written",
       [](hid_t f) {
         H5Ldelete(f, "/model/instances/0/nodeLabels", H5P_DEFAULT);
         const hsize_t dims = hsize_t{1} << 21, chunk = 1024;  // 8 MB: within 1024 files
         const hid_t space = H5Screate_simple(1, &dims, nullptr);
         const hid_t plist = H5Pcreate(H5P_DATASET_CREATE);
         H5Pset_chunk(plist, 1, &chunk);
         H5Pset_deflate(plist, 6);
         H5Dclose(H5Dcreate2(f, "/model/instances/0/nodeLabels", H5T_STD_I32LE, space,
                             H5P_DEFAULT, plist, H5P_DEFAULT));
         H5Pclose(plist);
         H5Sclose(space);
       },
       "larger than the file can hold"},
      {"link into another file",
       [](hid_t f) {
         H5Ldelete(f, "/steps/0/x/0", H5P_DEFAULT);
         H5Lcreate_external("/dev/null", "/x", f, "/steps/0/x/0", H5P_DEFAULT, H5P_DEFAULT);
       },
       "a link to another file"},
      {"field rows",
       [](hid_t f) {
         Replace(f, "/steps/0/frames/0/fields/0/values", H5T_IEEE_F32LE, {3});
       },
       "3 rows for 2 labels"},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.name);
    WriteValidFile();
    const hid_t file = H5Fopen(path_.c_str(), H5F_ACC_RDWR, H5P_DEFAULT);
    ASSERT_GE(file, 0);
    damage.apply(file);
    H5Fclose(file);
    try {
      odb_Odb::Open(path_);
      ADD_FAILURE() << "opened";
    } catch (const odb_OdbException& e) {
      EXPECT_NE(e.Message().View().find(path_), std::string_view::npos) << e.Message();
      EXPECT_NE(e.Message().View().find(damage.expected), std::string_view::npos) << e.Message();
    }
  }
}

TEST_F(ResultsFile, ShorterXValuesOpen) {
  WriteValidFile();
  const hid_t file = H5Fopen(path_.c_str(), H5F_ACC_RDWR, H5P_DEFAULT);
  Replace(file, "/steps/0/x/0", H5T_IEEE_F32LE, {2});
  H5Fclose(file);
  const auto odb = odb_Odb::Open(path_);
  std::vector<double> x, values;
  odb->ReadHistory(odb->Steps()[0].histories[0], x, values);
  EXPECT_EQ(x.size(), 2u);
  EXPECT_EQ(values.size(), 3u);
}

TEST_F(ResultsFile, ForeignAndBrokenFilesAreRefused) {
  const std::pair<std::string, std::string> files[] = {
      {"", "empty"}, {"1 2\n3 4\n", "not an HDF5 file"}};
  for (const auto& [content, expected] : files) {
    SCOPED_TRACE(expected);
    std::FILE* f = std::fopen(path_.c_str(), "w");
    std::fputs(content.c_str(), f);
    std::fclose(f);
    try {
      odb_Odb::Open(path_);
      ADD_FAILURE() << "opened";
    } catch (const odb_OdbException& e) {
      EXPECT_NE(e.Message().View().find(expected), std::string_view::npos) << e.Message();
    }
  }
  WriteValidFile();
  fs::resize_file(path_, fs::file_size(path_) / 2);
  EXPECT_THROW(odb_Odb::Open(path_), odb_OdbException);
}

TEST_F(ResultsFile, WriterRefusalsChangeNothing) {
  odb_Writer w(path_);
  WriteValid(w);
  using Call = std::function<void(odb_Writer&)>;
  const std::pair<Call, const char*> refusals[] = {
      {[](odb_Writer& w) { w.AddInstance("PLATE", {1}, {0, 0, 0}); }, "name: instance 'PLATE' given twice"},
      {[](odb_Writer& w) { w.AddInstance("B", {1, 1}, {0, 0, 0, 0, 0, 0}); }, "node label 1 given twice"},
      {[](odb_Writer& w) { w.AddElements("PLATE", "Q4", {12}, {1, 2, 5, 99}, 4, -1, {}); }, "uses node 99"},
      {[](odb_Writer& w) { w.AddElements("PLATE", "Q4", {10}, {1, 2, 5, 4}, 4, -1, {}); }, "element label 10 given twice"},
      {[](odb_Writer& w) { w.AddElements("PLATE", "X5", {12}, {1, 2, 3, 4, 5}, 5, -1, {}); }, "shape:"},
      {[](odb_Writer& w) { w.AddElements("NONE", "Q4", {12}, {1, 2, 5, 4}, 4, -1, {}); }, "instance: no instance 'NONE'"},
      {[](odb_Writer& w) { w.AddSet("TIP", 0, "PLATE", {3}, false); }, "set 'TIP' given twice"},
      {[](odb_Writer& w) { w.AddSet("S", 1, "PLATE", {3}, false); }, "labels: no element 3"},
      {[](odb_Writer& w) { w.AddStep("Impact", 0, 0); }, "step 'Impact' given twice"},
      {[](odb_Writer& w) { w.AddStep("Other", 4, 0); }, "domain: 4"},
      {[](odb_Writer& w) { w.AddHistory(0, {"U", "", res_UNKNOWN_POSITION}, {0}, {0}, false, false); }, "position: 0"},
      {[](odb_Writer& w) { w.AddHistory(0, {"U", "", res_NODAL, "", 42}, {0}, {0}, false, false); }, "node: no node 42"},
      {[](odb_Writer& w) { w.AddHistory(0, {"U", "", res_NODAL, "", 6}, {0, 1}, {0}, false, false); }, "values: 1 values for 2 x values"},
      {[](odb_Writer& w) { w.AddHistory(0, {"S", "", res_INTEGRATION_POINT, "", 0, 10, 1, 2}, {0}, {0}, false, false); }, "sectionPoint: no section point 2"},
      {[](odb_Writer& w) { w.AddHistory(0, {"S", "", res_ELEMENT_FACE, "", 0, 10, 0, -1, 5}, {0}, {0}, false, false); }, "face: 5"},
      {[](odb_Writer& w) { w.AddHistory(0, {"S", "", res_ELEMENT_NODAL, "", 3, 10}, {0}, {0}, false, false); }, "node 3 is not a node of element 10"},
      {[](odb_Writer& w) { w.AddHistory(0, {"U", "", res_NODAL, "", 6, 0, 0, -1, 0, "NOSET"}, {0}, {0}, false, false); }, "set: no set 'NOSET'"},
      {[](odb_Writer& w) { w.AddHistory(3, {"U", "", res_WHOLE_MODEL}, {0}, {0}, false, false); }, "step: no step 3"},
      {[](odb_Writer& w) { w.AddField(0, 0, "U2", "", res_NODAL, "PLATE", {2}, {1}, 1); }, "given twice for its instance"},
      {[](odb_Writer& w) { w.AddField(0, 0, "V", "", res_NODAL, "PLATE", {2, 2}, {1, 1}, 1); }, "label 2 given twice"},
      {[](odb_Writer& w) { w.AddField(0, 0, "V", "", res_CENTROID, "PLATE", {1}, {1}, 1); }, "no element 1"},
      {[](odb_Writer& w) { w.AddField(0, 1, "V", "", res_NODAL, "PLATE", {1}, {1}, 1); }, "frame: no frame 1"},
  };
  for (const auto& [call, expected] : refusals) {
    SCOPED_TRACE(expected);
    try {
      call(w);
      ADD_FAILURE() << "accepted";
    } catch (const omu_ValueErrorException& e) {
      EXPECT_NE(e.Message().View().find(expected), std::string_view::npos) << e.Message();
    }
  }
  EXPECT_FALSE(fs::exists(path_));  // nothing until close
  w.Close();
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
  const auto odb = odb_Odb::Open(path_);  // the refusals left the valid content alone
  EXPECT_EQ(odb->Model().instances.size(), 1u);
  EXPECT_EQ(odb->Model().instances[0].elementClasses.size(), 1u);
  EXPECT_EQ(odb->Model().sets.size(), 1u);
  EXPECT_EQ(odb->Steps().size(), 1u);
  EXPECT_EQ(odb->Steps()[0].histories.size(), 3u);
  EXPECT_EQ(odb->Steps()[0].frames[0].fields.size(), 1u);
  EXPECT_THROW(w.AddStep("Late", 0, 0), omu_ValueErrorException);  // closed
}

TEST_F(ResultsFile, AWriterDroppedUnclosedLeavesNothing) {
  {
    odb_Writer w(path_);
    WriteValid(w);
  }
  EXPECT_TRUE(fs::is_empty(folder_));
}

}  // namespace

// The XY toolset hears every database that closes, with its real path.
namespace {
class FileLog : public xypK_XYToolsetClient {
 public:
  explicit FileLog(std::vector<std::string>& log) : log_(log) {}
  void CleanupFromFile(const cow_String& fileName) override { log_.push_back(fileName.Std()); }

 private:
  std::vector<std::string>& log_;
};
}  // namespace

TEST_F(ResultsFile, ClosingADatabaseTellsTheXYToolset) {
  int modules = 0;
  xypK_initialize(modules);
  WriteValidFile();
  std::vector<std::string> log;
  xypK_XYToolset::Instance().AddClient(new FileLog(log));  // the toolset owns it
  ddr_Root& root = thr_ThreadSingleton<ddr_Root>::Instance();
  const std::string real = fs::canonical(path_).string();
  EXPECT_EQ(&root.Open(cow_String(path_)), &root.Open(cow_String(folder_.string() + "/./plate.h5")));
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(root.Close(cow_String(real)));
  EXPECT_EQ(log, std::vector<std::string>{real});
  EXPECT_FALSE(root.Close(cow_String(real)));
  root.Open(cow_String(path_));
  xypK_finalize(modules);  // closes what is open: after the toolset went, nobody is told
  EXPECT_EQ(log.size(), 1u);
  EXPECT_TRUE(thr_ThreadSingleton<ddr_Root>::Instance().Paths().empty());
}
