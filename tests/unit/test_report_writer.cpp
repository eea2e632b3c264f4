// The XY report writer called directly: column order, page split with titles, headings of long
// names, totals precision, undefined X values, empty data, digits out of range, refused layouts
// and write failures. The scripting surface is covered by tests/python/test_xy_report.py.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "uti_FileException.h"
#include "uti_XypException.h"
#include "xypC_XYReportOptions.h"
#include "xypK_Module.h"
#include "xypK_Utils.h"
#include "xypK_WriteReport.h"

namespace {

const std::string M(10, ' ');  // left margin of every table line

std::string Blank(int n) {
  return std::string(static_cast<std::size_t>(n), ' ');
}

class ReportWriter : public ::testing::Test {
 protected:
  void SetUp() override {
    xypK_initialize(modules_);
    char pattern[] = "/tmp/xyp_report_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    path_ = dir_ + "/report.txt";
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
    xypK_finalize(modules_);
  }

  xypC_XYReportSettings& Options() { return xypC_XYReportOptions::TheInstance().Current(); }
  void Add(const std::string& name, std::vector<std::pair<float, float>> pairs) {
    udd_UserXYData d;
    d.SetName(cow_String(name));
    for (auto [x, y] : pairs) d.AppendPair(x, y);
    data_.Insert(cow_String(name), d);
    names_.Append(cow_String(name));
  }
  // Writes in replace mode (append mode is covered by the Python tests).
  std::string Write(const char* xTitle = "", const char* yTitle = "") {
    xypK_WriteReport().WriteReport(false, cow_String(path_), data_, names_, xTitle, yTitle);
    return Read();
  }
  std::string Read() const {
    std::ifstream in(path_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  void Put(const std::string& text) const { std::ofstream(path_, std::ios::binary) << text; }
  // A number cell in the current format and the given digits.
  std::string F(float v, int digits = 6) {
    return xypK_Utils::Format(v, Options().numberFormat, digits).Std();
  }
  std::string R(const char* text, int W = 12) { return xypK_Utils::RightString(text, W).Std(); }
  // The code and text of the catalogue error a report raises; -1 when it raises none.
  std::pair<int, std::string> Refusal() {
    try {
      Write();
    } catch (const uti_XypException& e) {
      return {e.Code(), e.Message().Std()};
    }
    return {-1, ""};
  }

  int modules_ = 0;
  std::string dir_, path_;
  xypK_WriteReport::DataMap data_;
  cow_List<cow_String> names_;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream s(text);
  for (std::string l; std::getline(s, l);) lines.push_back(l);
  return lines;
}

}  // namespace

TEST(ReportOptions, RestartGivesStartingValuesToBothSets) {
  int modules = 0;
  xypK_initialize(modules);
  xypC_XYReportOptions::TheInstance().Current().numDigits = 11;
  xypC_XYReportOptions::TheInstance().Default().layout = xypC_SEPARATE_TABLES;
  xypK_finalize(modules);
  xypK_initialize(modules);
  for (bool isDefault : {true, false}) {
    const xypC_XYReportSettings& s = xypC_XYReportOptions::TheInstance().Set(isDefault);
    EXPECT_EQ(std::make_tuple(s.pageWidth, s.numDigits, s.interpolation, s.xyData, s.totals,
                              s.minMax, s.pageWidthLimited, s.numberFormat, s.layout),
              std::make_tuple(80, 6, false, true, false, false, xypC_NO_LIMIT, xypC_AUTOMATIC,
                              xypC_SINGLE_TABLE))
        << isDefault;
  }
  xypK_finalize(modules);
}

TEST_F(ReportWriter, ColumnsFollowTheNameListAndOnlyEqualXMerge) {
  const float justAboveOne = std::nextafter(1.0f, 2.0f);
  Add("B", {{1.0f, 5.0f}, {2.0f, 6.0f}});
  Add("A", {{justAboveOne, 7.0f}, {2.0f, 8.0f}});
  EXPECT_EQ(Write(), "\n" + M + R("X") + "  " + R("B") + "  " + R("A") + "\n\n" +             //
                         M + F(1.0f) + "  " + F(5.0f) + "  " + R("NoValue") + "\n" +          //
                         M + F(justAboveOne) + "  " + R("NoValue") + "  " + F(7.0f) + "\n" +  //
                         M + F(2.0f) + "  " + F(6.0f) + "  " + F(8.0f) + "\n\n\n\n\n");
}

TEST_F(ReportWriter, TitlesSpanTheColumnsOfOneTableAndOnlyTheSingleTableLayout) {
  for (int i = 1; i <= 5; ++i) Add("D" + std::to_string(i), {{float(i), float(10 * i)}});
  Options().pageWidthLimited = xypC_SPECIFY;  // 80 columns, W = 12: P = 4
  const std::vector<std::string> lines = Lines(Write("Time", "Value"));
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], M + xypK_Utils::CenterString("Time", 12).Std() + "  " +
                          xypK_Utils::CenterString("Value", 4 * 14 - 2).Std());
  EXPECT_EQ(lines[1], M + std::string(12, '-') + " " + std::string(4 * 14, '-'));
  EXPECT_EQ(lines[2], "");  // the first heading block follows
  int headings = 0;
  for (const std::string& l : lines) headings += l.rfind(M + R("X"), 0) == 0;
  EXPECT_EQ(headings, 2);

  Options().layout = xypC_SEPARATE_TABLES;
  EXPECT_EQ(Write("Time", "Value").find("Time"), std::string::npos);
}

TEST_F(ReportWriter, EngineeringFormatWidensColumnsAndCentresHeadings) {
  for (const char* name : {"A", "B", "C"}) Add(name, {{1.0f, 2.0f}});
  Options().numberFormat = xypC_ENGINEERING;  // W = 17: P = 72 / 19 - 1 = 2
  Options().pageWidthLimited = xypC_SPECIFY;
  const auto C = [](const char* s) { return xypK_Utils::CenterString(s, 17).Std(); };
  const std::string row2 = M + F(1.0f) + "  " + F(2.0f) + "  " + F(2.0f) + "\n";
  const std::string row1 = M + F(1.0f) + "  " + F(2.0f) + "\n";
  EXPECT_EQ(Write(), "\n" + M + C("X") + "  " + C("A") + "  " + C("B") + "\n\n" + row2 + "\n\n" +
                         "\n" + M + C("X") + "  " + C("C") + "\n\n" + row1 + "\n\n\n\n");
}

TEST_F(ReportWriter, LongNamesSpreadOverHeadingLinesBottomAligned) {
  // 29 characters with W = 12: pieces of 12, 12 and 5.
  const cow_String longName = "abcdefghijklmnopqrstuvwxyz012";
  cow_List<cow_String> names{"first", longName, "B"};
  xypK_WriteReport w;
  EXPECT_EQ(w.TitleLine(names, 1, 2, 12, xypC_AUTOMATIC).Std(),
            "\n" + M + Blank(12) + "  abcdefghijkl" + "  " + Blank(12) +      //
                "\n" + M + Blank(12) + "  mnopqrstuvwx" + "  " + Blank(12) +  //
                "\n" + M + R("X") + "  " + Blank(4) + "yz012" + Blank(3) + "  " + R("B") + "\n\n");
  const auto C = [](const char* s) { return xypK_Utils::CenterString(s, 17).Std(); };
  EXPECT_EQ(w.TitleLine(names, 0, 2, 17, xypC_ENGINEERING).Std(),
            "\n" + M + Blank(17) + "  " + Blank(17) + "  " + C("abcdefghijklmnopq") +  //
                "\n" + M + C("X") + "  " + C("first") + "  " + C("rstuvwxyz012") + "\n\n");
}

TEST_F(ReportWriter, TotalsAddInDoublePrecision) {
  std::vector<std::pair<float, float>> pairs;
  for (int i = 0; i < 100000; ++i) pairs.emplace_back(float(i), 0.1f);
  Add("A", pairs);
  Options().xyData = false;
  Options().totals = true;
  const std::string total = "\n TOTAL    " + F(4999950000.0f) + "  " + R("10000.") + "\n";
  EXPECT_EQ(Write(), "\n" + M + R("X") + "  " + R("A") + "\n\n" + total + "\n\n\n\n");
  Options().layout = xypC_SEPARATE_TABLES;
  EXPECT_EQ(Write(), "\n" + M + R("X") + "  " + R("A") + "\n\n" + total + "\n\n\n\n");
}

TEST_F(ReportWriter, InfiniteOrUndefinedXEndsTheReport) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (float odd : {inf, nan}) {
    for (bool interpolation : {false, true}) {
      data_ = xypK_WriteReport::DataMap();
      names_ = cow_List<cow_String>();
      Add("A", {{0.0f, 1.0f}, {odd, 2.0f}});
      Add("B", {{0.5f, 3.0f}});
      Options().interpolation = interpolation;
      // A report that never ends is stopped by the alarm or the file size limit.
      const auto child = [this] {
        alarm(10);
        const rlimit limit{1 << 20, 1 << 20};
        setrlimit(RLIMIT_FSIZE, &limit);
        Write();
        std::_Exit(0);
      };
      EXPECT_EXIT(child(), ::testing::ExitedWithCode(0), "") << odd << " " << interpolation;
      const std::string text = Read();
      EXPECT_EQ(Lines(text).size(), 3u + 3u + 4u) << text;  // heading 3, rows 3, ending 4
      EXPECT_EQ(text.substr(text.size() - 4), "\n\n\n\n");
    }
  }
}

TEST_F(ReportWriter, DataWithoutPairsPrintsNoValue) {
  Add("A", {{0.0f, 1.0f}, {1.0f, 2.0f}});
  Add("E", {});
  const std::string head = "\n" + M + R("X") + "  " + R("A") + "  " + R("E") + "\n\n";
  const std::string rows = M + F(0.0f) + "  " + F(1.0f) + "  " + R("NoValue") + "\n" +  //
                           M + F(1.0f) + "  " + F(2.0f) + "  " + R("NoValue") + "\n";
  for (bool interpolation : {false, true}) {
    Options().interpolation = interpolation;
    EXPECT_EQ(Write(), head + rows + "\n\n\n\n") << interpolation;
  }
  Options().layout = xypC_SEPARATE_TABLES;
  const std::string pairs =
      M + F(0.0f) + "  " + F(1.0f) + "\n" + M + F(1.0f) + "  " + F(2.0f) + "\n";
  EXPECT_EQ(Write(), "\n" + M + R("X") + "  " + R("A") + "\n\n" + pairs + "\n\n" +  //
                         "\n" + M + R("X") + "  " + R("E") + "\n\n" + "\n\n" + "\n\n");
}

TEST_F(ReportWriter, DigitsBelowOneCountAsOneAndManyDigitsWork) {
  Add("A", {{0.5f, 10.0f}, {1.0f, 0.1f}});
  for (int digits : {0, -3}) {
    Options().numDigits = digits;
    EXPECT_EQ(Write(), "\n" + M + R("X", 7) + "  " + R("A", 7) + "\n\n" +  //
                           M + F(0.5f, 1) + "  " + F(10.0f, 1) + "\n" +    //
                           M + F(1.0f, 1) + "  " + F(0.1f, 1) + "\n\n\n\n\n")
        << digits;
  }
  Options().numDigits = 40;
  const std::vector<std::string> lines = Lines(Write());
  ASSERT_EQ(lines.size(), 3u + 2u + 4u);
  EXPECT_EQ(lines[1], M + R("X", 46) + "  " + R("A", 46));
  EXPECT_EQ(lines[4], M + F(1.0f, 40) + "  " + F(0.1f, 40));
  EXPECT_EQ(lines[4].size(), 10u + 46u + 2u + 46u);
}

TEST_F(ReportWriter, UnknownLayoutIsRefusedBeforeTheFileIsOpened) {
  Add("A", {{0.0f, 1.0f}});
  Options().layout = static_cast<xypC_ColumnLayoutEnum>(2);
  EXPECT_EQ(Refusal(), std::make_pair(22, std::string("Unknown column layout")));
  EXPECT_FALSE(std::filesystem::exists(path_));
  Put("kept\n");
  EXPECT_EQ(Refusal().first, 22);
  EXPECT_EQ(Read(), "kept\n");
}

TEST_F(ReportWriter, FullDiskRaisesTheFileError) {
  struct stat info;
  if (stat("/dev/full", &info) != 0 || !S_ISCHR(info.st_mode) || access("/dev/full", W_OK) != 0)
    GTEST_SKIP() << "no writable /dev/full";
  Add("A", {{0.0f, 1.0f}, {1.0f, 2.0f}});
  for (bool append : {true, false}) {
    try {
      xypK_WriteReport().WriteReport(append, "/dev/full", data_, names_, "", "");
      ADD_FAILURE() << "no error writing to a full device, append " << append;
    } catch (const uti_FileException& e) {
      EXPECT_EQ(e.Errno(), ENOSPC);
      EXPECT_EQ(e.Path().Std(), "/dev/full");
    }
  }
}
