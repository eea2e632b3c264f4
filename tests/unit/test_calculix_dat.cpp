// Printed CalculiX output (.dat) as history output: the numbers of the solver's tables arrive
// at the right points, labels and steps; faults name the file and line, and change nothing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "cmdC_WIP.h"
#include "odb_DatReader.h"
#include "odb_Odb.h"
#include "odb_OdbException.h"
#include "odb_Writer.h"
#include "res_Enumerations.h"

namespace {
namespace fs = std::filesystem;

std::vector<std::string>& Warnings() {
  static std::vector<std::string> lines;
  return lines;
}
void Record(const char* kind, const cow_String& text) {
  if (std::string(kind).find("arn") != std::string::npos) Warnings().push_back(text.Std());
}

// A two-element C3D8 bar (nodes 1 to 12, elements 1 and 2), as the importer adds it.
class CalculixDat : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("xyp-dat-" + std::to_string(getpid()));
    fs::create_directories(folder_);
    odb_ = (folder_ / "bar.h5").string();
    writer_ = std::make_unique<odb_Writer>(odb_);
    std::vector<int> nodes;
    std::vector<double> xyz;
    for (int i = 1; i <= 12; ++i) {
      nodes.push_back(i);
      xyz.insert(xyz.end(), {double(i % 2), double(i % 4 / 2), double((i - 1) / 4)});
    }
    writer_->AddInstance("PART-1", nodes, xyz);
    writer_->AddElements("PART-1", "C3D8", {1, 2},
                         {1, 2, 4, 3, 5, 6, 8, 7, 5, 6, 8, 7, 9, 10, 12, 11}, 8, -1, {});
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string Write(const std::string& text) {
    const std::string path = (folder_ / "job.dat").string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  // Reads `text` into the writer, closes it and opens the file.
  std::unique_ptr<odb_Odb> Import(const std::string& text) {
    Warnings().clear();
    cmdC_WIP::SetListener(&Record);
    odb_DatReader(Write(text), "PART-1", *writer_, steps_).Read();
    cmdC_WIP::SetListener(nullptr);
    writer_->Close();
    return odb_Odb::Open(odb_);
  }
  std::string Failure(const std::string& path) {
    try {
      odb_DatReader(path, "PART-1", *writer_, steps_).Read();
    } catch (const odb_OdbException& e) {
      return e.what();
    }
    return "no failure";
  }

  fs::path folder_;
  std::string odb_;
  std::unique_ptr<odb_Writer> writer_;
  std::vector<odb_FrdReader::Step> steps_;
};

const ddb_History* Find(const ddb_Step& step, const char* label, int node, int element = 0,
                        int point = 0) {
  for (const ddb_History& h : step.histories)
    if (h.variableLabel == label && h.node == node && h.element == element &&
        h.integrationPoint == point)
      return &h;
  return nullptr;
}
std::pair<std::vector<double>, std::vector<double>> Values(const odb_Odb& odb,
                                                           const ddb_History* h) {
  std::vector<double> x, v;
  if (h) odb.ReadHistory(*h, x, v);
  return {x, v};
}
std::vector<double> Floats(std::vector<double> numbers) {
  for (double& d : numbers) d = static_cast<float>(d);
  return numbers;
}

// From the modal dynamic cantilever's output, node 513 renamed 3.
const char* kDynamic =
    "\n"
    " displacements (vx,vy,vz) for set NTIP and time  0.8000000E-04\n"
    "\n"
    "         3  2.760578E-04 -5.815354E-02  1.322700E-17\n"
    "\n"
    " total internal energy for set EALL and time  0.8000000E-04\n"
    "\n"
    "        5.097278E+00\n"
    "\n"
    " displacements (vx,vy,vz) for set NTIP and time  0.1600000E-03\n"
    "\n"
    "         3  4.528182E-07 -1.510490E-01 -6.178714E-17\n"
    "\n"
    " total internal energy for set EALL and time  0.1600000E-03\n"
    "\n"
    "        9.026164E+00\n";

TEST_F(CalculixDat, NodeTablesAndTotalsOverTime) {
  const auto odb = Import(kDynamic);
  ASSERT_EQ(odb->Steps().size(), 1u);
  const ddb_Step& step = odb->Steps()[0];
  EXPECT_EQ(step.name, "Step-1");
  ASSERT_EQ(steps_.size(), 1u);
  EXPECT_EQ(steps_[0].index, 0);
  EXPECT_EQ(step.numHistory(), 4);

  const ddb_History* u2 = Find(step, "U2", 3);
  ASSERT_NE(u2, nullptr);
  EXPECT_EQ(u2->position, res_NODAL);
  EXPECT_EQ(u2->variableDescription, "Spatial displacement");
  EXPECT_EQ(u2->count, 2);
  EXPECT_EQ(Values(*odb, u2).first, Floats({0.8e-4, 0.16e-3}));
  EXPECT_EQ(Values(*odb, u2).second, Floats({-5.815354E-02, -1.510490E-01}));

  const ddb_History* allie = Find(step, "ALLIE", 0);
  ASSERT_NE(allie, nullptr);
  EXPECT_EQ(allie->position, res_WHOLE_REGION);
  ASSERT_GE(allie->set, 0);
  const odiK_Set& eall = odb->Model().sets[static_cast<std::size_t>(allie->set)];
  EXPECT_EQ(eall.name, "EALL");
  EXPECT_EQ(eall.kind, res_ELEMENT_SET);
  EXPECT_EQ(Values(*odb, allie).second, Floats({5.097278, 9.026164}));

  const int ntip = odb->Model().SetIndex("NTIP");
  ASSERT_GE(ntip, 0);
  EXPECT_EQ(odb->Model().sets[static_cast<std::size_t>(ntip)].kind, res_NODE_SET);
  EXPECT_EQ(odb->Model().sets[static_cast<std::size_t>(ntip)].labels, std::vector<int>{3});
}

TEST_F(CalculixDat, ElementTableByIntegrationPoint) {
  const auto odb = Import(
      " stresses (elem, integ.pnt.,sxx,syy,szz,sxy,sxz,syz) for set EALL and time  0.1000000E+01\n"
      "\n"
      "         1   1  1.115621E+01  3.733303E+00  3.733303E+00  3.854040E-01  3.854040E-01  "
      "2.779327E-16\n"
      "         2   8  1.020404E+01  1.044602E-01  1.044602E-01  6.801247E-02  6.801247E-02 "
      "-9.406952E-16\n");
  const ddb_Step& step = odb->Steps()[0];
  EXPECT_EQ(step.numHistory(), 12);
  const ddb_History* s23 = Find(step, "S23", 0, 2, 8);
  ASSERT_NE(s23, nullptr);
  EXPECT_EQ(s23->position, res_INTEGRATION_POINT);
  EXPECT_EQ(s23->sectionPoint, -1);
  EXPECT_EQ(s23->variableDescription, "Stress components");
  EXPECT_EQ(Values(*odb, s23).second, Floats({-9.406952E-16}));
  ASSERT_NE(Find(step, "S11", 0, 1, 1), nullptr);
  const odiK_Set& eall = odb->Model().sets[static_cast<std::size_t>(odb->Model().SetIndex("EALL"))];
  EXPECT_EQ(eall.labels, (std::vector<int>{1, 2}));
}

TEST_F(CalculixDat, LabelsOfQuantities) {
  struct Case {
    const char* quantity;
    const char* component;
    const char* label;
    const char* description;
  };
  const Case cases[] = {
      {"displacements", "vz", "U3", "Spatial displacement"},
      {"velocities", "vx", "V1", "Spatial velocity"},
      {"forces", "fy", "RF2", "Reaction force"},
      {"temperatures", "", "NT11", "Nodal temperature"},
      {"stresses", "sxz", "S13", "Stress components"},
      {"strains", "eyz", "E23", "Strain components"},
      {"equivalent plastic strain", "pe", "PEEQ", "Equivalent plastic strain"},
      {"internal energy density", "ene", "SENER", "Strain energy density"},
      {"heat flux", "qy", "HFL2", "Heat flux"},
      {"total internal energy", "", "ALLIE", "Internal energy"},
      {"total kinetic energy", "", "ALLKE", "Kinetic energy"},
      {"total volume", "", "EVOL", "Volume"},
      {"contact stress", "press", "PRESS", "contact stress"},
      {"total contact spring energy", "", "TOTAL_CONTACT_SPRING_ENERGY",
       "total contact spring energy"},
  };
  for (const Case& c : cases) {
    const odb_DatReader::Label l = odb_DatReader::LabelOf(c.quantity, c.component);
    EXPECT_EQ(l.label, c.label) << c.quantity << " " << c.component;
    EXPECT_EQ(l.description, c.description) << c.quantity << " " << c.component;
  }
}

TEST_F(CalculixDat, NewStepWhenTimeGoesBack) {
  std::string text;
  for (const char* t : {"0.5000000E+00", "0.1000000E+01", "0.5000000E+00"})
    text += std::string(" temperatures for set N1 and time  ") + t + "\n\n         7  2.5E+01\n\n";
  const auto odb = Import(text);
  ASSERT_EQ(odb->Steps().size(), 2u);
  EXPECT_EQ(odb->Steps()[1].name, "Step-2");
  // Step time in the file: a step starts at 0, or at its first table when time went back.
  EXPECT_EQ(odb->Steps()[0].totalTime, 0.0);
  EXPECT_EQ(odb->Steps()[1].totalTime, 0.5);
  ASSERT_EQ(steps_.size(), 2u);
  EXPECT_EQ(steps_[1].number, 2);
  EXPECT_EQ(Values(*odb, Find(odb->Steps()[0], "NT11", 7)).first, Floats({0.5, 1.0}));
  EXPECT_EQ(Values(*odb, Find(odb->Steps()[1], "NT11", 7)).first, Floats({0.0}));
}

TEST_F(CalculixDat, TablesGoToTheFrdSteps) {
  // A frequency step, then two time steps whose frames end at 1 (printed 0.99999) and 2.
  steps_ = {
      {1, writer_->AddStep("Step-1", res_FREQUENCY, 0), res_FREQUENCY, 0.0, {1000.46}, {}, {}},
      {2, writer_->AddStep("Step-2", res_TIME, 0), res_TIME, 0.0, {0.5, 0.99999}, {}, {}},
      {3, writer_->AddStep("Step-3", res_TIME, 1), res_TIME, 1.0, {2.0}, {}, {}}};
  std::string text;
  for (const char* t : {"0.5000000E+00", "0.1000000E+01", "0.1500000E+01", "0.3000000E+01"})
    text += std::string(" temperatures for set N1 and time  ") + t + "\n\n         7  2.5E+01\n\n";
  const auto odb = Import(text);
  ASSERT_EQ(odb->Steps().size(), 3u);
  EXPECT_EQ(steps_.size(), 3u);
  EXPECT_FALSE(odb->Steps()[0].hasHistory());
  EXPECT_EQ(Values(*odb, Find(odb->Steps()[1], "NT11", 7)).first, Floats({0.5, 1.0}));
  EXPECT_EQ(Values(*odb, Find(odb->Steps()[2], "NT11", 7)).first, Floats({0.5, 2.0}));
}

TEST_F(CalculixDat, FaultsNameTheLine) {
  EXPECT_NE(Failure(std::string(XYP_TEST_DATA_DIR) + "/calculix/broken/dat_malformed_number.dat")
                .find("dat_malformed_number.dat: line 5: malformed number \"9.07S044E-04\""),
            std::string::npos);
  const std::string table = " displacements (vx,vy,vz) for set N and time  0.1000000E+01\n\n";
  const std::pair<std::string, std::string> cases[] = {
      {table + "         3  1.0E+00  2.0E+00\n", "line 3: row has 2 numbers, the table has 3"},
      {table + "         3  1.0E+00  2.0E+00  3.0E+00  4.0E+00\n", "line 3: row has 4 numbers"},
      {table + "         3  1.0E+00  2.0", "line 3: truncated"},
      {" displacements (vx,vy,vz) for set N and time  0.1000000E+01\n", "line 1: truncated"},
  };
  for (const auto& [text, expected] : cases)
    EXPECT_NE(Failure(Write(text)).find("job.dat: " + expected), std::string::npos) << expected;
  // Nothing reached the writer.
  EXPECT_TRUE(writer_->Model().sets.empty());
}

// The solver prints rows at labels its .frd model lacks (labels of generated node sets that are
// no node; the original nodes and elements of beams and shells it expanded): skipped, warned.
TEST_F(CalculixDat, RowsTheModelLacksAreSkippedWithWarnings) {
  const auto odb = Import(
      " displacements (vx,vy,vz) for set N and time  0.1000000E+01\n\n"
      "         3  1.0E+00  2.0E+00  3.0E+00\n        99  1.0E+00  2.0E+00  3.0E+00\n"
      "        98  1.0E+00  2.0E+00  3.0E+00\n\n"
      " stresses (elem, integ.pnt.,sxx) for set E and time  0.1E+01\n\n         5   1  1.0\n");
  const ddb_Step& step = odb->Steps()[0];
  EXPECT_EQ(Values(*odb, Find(step, "U3", 3)).second, Floats({3.0}));
  EXPECT_EQ(Find(step, "U3", 99), nullptr);
  EXPECT_EQ(step.histories.size(), 3u);
  ASSERT_EQ(Warnings().size(), 3u);
  EXPECT_NE(Warnings()[0].find("job.dat: line 4: node 99 is not in the .frd's model"),
            std::string::npos);
  EXPECT_NE(Warnings()[1].find("line 9: element 5 is not in the .frd's model"), std::string::npos);
  EXPECT_NE(Warnings()[2].find("skipped 2 rows at 2 nodes"), std::string::npos);
}

TEST_F(CalculixDat, EigenvalueOutputSkippedWithWarnings) {
  const auto odb = Import(
      "\n"
      "     E I G E N V A L U E   O U T P U T\n"
      "\n"
      " MODE NO    EIGENVALUE                       FREQUENCY   \n"
      "                                     REAL PART            IMAGINARY PART\n"
      "                           (RAD/TIME)      (CYCLES/TIME     (RAD/TIME)\n"
      "\n"
      "      1   0.3951470E+08   0.6286072E+04   0.1000459E+04   0.0000000E+00\n"
      "\n"
      "                    E I G E N V A L U E    N U M B E R     1\n"
      "\n"
      "\n"
      " temperatures for set N1 and time  0.1000000E+01\n"
      "\n"
      "         1  0.000000E+00\n"
      "\n"
      "P A R T I C I P A T I O N   F A C T O R S   F O R   F R E Q U E N C Y    "
      "0.5000000000000E+01 (CYCLES/TIME)\n"
      "\n"
      " temperatures for set N1 and time  0.5000000E+01\n"
      "\n"
      "         1  1.000000E+00\n"
      "\n"
      " temperatures for set N1 and time  0.5000000E+01\n"
      "\n"
      "         1  2.000000E+00\n"
      "\n" +
      std::string(kDynamic));
  // The real and imaginary parts of a steady-state response share one header: skipped too.
  ASSERT_EQ(Warnings().size(), 3u);
  EXPECT_NE(Warnings()[2].find("line 17: skipped PARTICIPATION FACTORS FOR FREQUENCY"),
            std::string::npos);
  EXPECT_NE(Warnings()[0].find("job.dat: line 2: skipped EIGENVALUE OUTPUT"), std::string::npos);
  EXPECT_NE(Warnings()[1].find("line 10: skipped EIGENVALUE NUMBER 1"), std::string::npos);
  // The mode shape is no history; the tables after it are.
  EXPECT_EQ(Find(odb->Steps()[0], "NT11", 1), nullptr);
  EXPECT_EQ(odb->Steps()[0].numHistory(), 4);
}

TEST_F(CalculixDat, SkippedSectionsWarnAtMostTwentyTimes) {
  std::string text;
  for (int i = 0; i < 25; ++i)
    text += "     P A R T I C I P A T I O N   F A C T O R S\n\n      1   0.8936746E-03\n\n";
  Import(text + kDynamic);
  ASSERT_EQ(Warnings().size(), 21u);
  EXPECT_NE(Warnings()[20].find("further skipped sections not reported"), std::string::npos);
}

// Headers as the solver's test suite shows them, with their rows.
TEST_F(CalculixDat, HeaderQuirks) {
  struct Case {
    std::string text;
    const char* label;
    int node, element, point;
    res_OutputPositionEnm position;
    double value;
  };
  const Case cases[] = {
      {" strains (elem, integ.pnt.,exx,eyy,ezz,exy,exz,eyz) forset EALL and time  0.1000000E+01"
       "\n\n         1   2  3.264438E-08 -7.530124E-08  9.197925E-08 -3.807939E-16  8.721907E-10 "
       " 5.146755E-18\n",
       "E22", 0, 1, 2, res_INTEGRATION_POINT, -7.530124E-08},
      {" internal energy density (elem, integ.pnt.,eneset EALL and time  0.1000000E+01\n\n"
       "         1   1  2.033804E+01\n",
       "SENER", 0, 1, 1, res_INTEGRATION_POINT, 2.033804E+01},
      {" equivalent plastic strain (elem, integ.pnt.,pe)for set EALL and time  0.5000000E-06\n\n"
       "         2   1  1.5E-03\n",
       "PEEQ", 0, 2, 1, res_INTEGRATION_POINT, 1.5E-03},
      {" relative contact displacement (slave node,normal,tang1,tang2) for all contact elements"
       " and time 0.1000000E-05\n\n        10 -1.835359E-03  0.000000E+00  0.000000E+00\n",
       "NORMAL", 10, 0, 0, res_NODAL, -1.835359E-03},
      {" total contact spring energy for time  0.1000000E+01\n\n        2.000010E-05\n",
       "TOTAL_CONTACT_SPRING_ENERGY", 0, 0, 0, res_WHOLE_MODEL, 2.000010E-05},
      {" velocities (vx,vy,vz) for setN1 and time  0.2000000E+01\n\n"
       "         4  1.0E+00 -2.5E+00  0.0E+00\n",
       "V2", 4, 0, 0, res_NODAL, -2.5},
      // A set listing node 11 twice prints its row twice.
      {" displacements (vx,vy,vz) for set N1 and time  0.1000000E-05\n\n"
       "        11 -1.547932E-18 -1.039480E-03 -3.936979E-19\n"
       "        11 -1.547932E-18 -1.039480E-03 -3.936979E-19\n",
       "U2", 11, 0, 0, res_NODAL, -1.039480E-03},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TearDown();
    SetUp();
    steps_.clear();
    const auto odb = Import(c.text);
    ASSERT_EQ(odb->Steps().size(), 1u);
    const ddb_History* h = Find(odb->Steps()[0], c.label, c.node, c.element, c.point);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->position, c.position);
    EXPECT_EQ(h->set, -1);
    EXPECT_EQ(Values(*odb, h).second, Floats({c.value}));
    EXPECT_TRUE(Warnings().empty());
  }
}

}  // namespace
