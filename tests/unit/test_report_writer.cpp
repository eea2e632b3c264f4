// The XY report writer called directly: column order, page split with titles, headings of long
// names, totals precision, undefined X values, empty data, digits and page widths out of range,
// refused layouts; interrupted and failed writes leave the file as it was, links and permissions
// are kept, progress stays within 100 %. The scripting surface is covered by
// tests/python/test_xy_report.py.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "cmdC_InterruptedException.h"
#include "cmdC_WIP.h"
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
    cmdC_WIP::SetInterruptCheck(nullptr);
    cmdC_WIP::SetListener(nullptr);
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
  void Write(bool append) {
    xypK_WriteReport().WriteReport(append, cow_String(path_), data_, names_, "", "");
  }
  // The names in the folder: a report that did not finish leaves no file behind.
  std::vector<std::string> Folder() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_))
      names.push_back(entry.path().filename().string());
    return names;
  }
  // Data sets of `rows` pairs on the same X values: a report of many rows.
  void AddRows(int rows) {
    std::vector<std::pair<float, float>> pairs;
    for (int i = 0; i < rows; ++i) pairs.emplace_back(float(i), float(i) * 0.5f);
    Add("A", pairs);
    Add("B", pairs);
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

TEST_F(ReportWriter, DigitsAreClampedToTheRangeTheNumbersUse) {
  Add("A", {{0.5f, 10.0f}, {1.0f, 0.1f}});
  for (int digits : {0, -3, INT_MIN}) {
    Options().numDigits = digits;
    EXPECT_EQ(Write(), "\n" + M + R("X", 7) + "  " + R("A", 7) + "\n\n" +  //
                           M + F(0.5f, 1) + "  " + F(10.0f, 1) + "\n" +    //
                           M + F(1.0f, 1) + "  " + F(0.1f, 1) + "\n\n\n\n\n")
        << digits;
  }
  // Columns as wide as the numbers, up to 1000 digits; beyond, no wider (and no overflow).
  const struct {
    xypC_FormatEnum format;
    int digits, width;
  } cases[] = {
      {xypC_AUTOMATIC, 40, 46},          {xypC_AUTOMATIC, 1000, 1006},
      {xypC_AUTOMATIC, 100000000, 1006}, {xypC_AUTOMATIC, INT_MAX - 6, 1006},
      {xypC_AUTOMATIC, INT_MAX, 1006},   {xypC_SCIENTIFIC, INT_MAX, 1006},
      {xypC_ENGINEERING, 40, 85},        {xypC_ENGINEERING, INT_MAX, 2005},
  };
  for (const auto& c : cases) {
    Options().numberFormat = c.format;
    Options().numDigits = c.digits;
    const std::vector<std::string> lines = Lines(Write());
    ASSERT_EQ(lines.size(), 3u + 2u + 4u) << c.digits;
    EXPECT_EQ(lines[4],
              M + F(1.0f, std::min(c.digits, 1000)) + "  " + F(0.1f, std::min(c.digits, 1000)))
        << c.digits;
    for (int row : {1, 3, 4})
      EXPECT_EQ(lines[row].size(), 10u + 2u * c.width + 2u) << c.format << " " << c.digits;
  }
}

TEST_F(ReportWriter, PageWidthsOfAnyIntSplitOrRefuseTheTableAndUnknownLayoutsAreRefused) {
  for (const char* name : {"A", "B", "C"}) Add(name, {{1.0f, 2.0f}});
  Options().pageWidthLimited = xypC_SPECIFY;
  for (int width : {INT_MIN, -1, 0, 35}) {
    Options().pageWidth = width;
    EXPECT_EQ(Refusal(), std::make_pair(7, std::string("ErrorTableWidthSize"))) << width;
  }
  for (int width : {50, INT_MAX}) {
    Options().pageWidth = width;
    int headings = 0;
    for (const std::string& l : Lines(Write())) headings += l.rfind(M + R("X"), 0) == 0;
    EXPECT_EQ(headings, width == 50 ? 2 : 1) << width;
  }
  // An unknown layout is refused before the file is opened.
  std::filesystem::remove(path_);
  Options().layout = static_cast<xypC_ColumnLayoutEnum>(2);
  EXPECT_EQ(Refusal(), std::make_pair(22, std::string("Unknown column layout")));
  EXPECT_FALSE(std::filesystem::exists(path_));
  Put("kept\n");
  EXPECT_EQ(Refusal().first, 22);
  EXPECT_EQ(Read(), "kept\n");
}

namespace {
int interruptChecks = 0;
bool InterruptOnSecondCheck() {
  return ++interruptChecks >= 2;
}
std::vector<int> milestones;
void RecordMilestone(const char* kind, const cow_String& text) {
  if (std::string(kind) == "Milestone") milestones.push_back(std::atoi(text.CStr() + 21));
}
}  // namespace

TEST_F(ReportWriter, AnInterruptedReportLeavesTheFileAsItWas) {
  AddRows(20000);
  for (xypC_ColumnLayoutEnum layout : {xypC_SINGLE_TABLE, xypC_SEPARATE_TABLES}) {
    Options().layout = layout;
    for (bool append : {false, true}) {
      for (bool existed : {false, true}) {
        std::filesystem::remove(path_);
        if (existed) Put("old report\n");
        interruptChecks = 0;
        cmdC_WIP::SetInterruptCheck(&InterruptOnSecondCheck);
        EXPECT_THROW(Write(append), cmdC_InterruptedException);
        cmdC_WIP::SetInterruptCheck(nullptr);
        EXPECT_EQ(interruptChecks, 2);
        EXPECT_EQ(Folder(),
                  existed ? std::vector<std::string>{"report.txt"} : std::vector<std::string>{})
            << layout << append;
        if (existed) {
          EXPECT_EQ(Read(), "old report\n") << layout << append;
        }
      }
    }
  }
}

TEST_F(ReportWriter, AFailedWriteLeavesTheFileAsItWas) {
  AddRows(20000);  // about 1 MB of rows: beyond the file size limit below
  for (bool append : {false, true}) {
    Put("old report\n");
    // In a child: the file size limit makes the write fail part way (EFBIG, as a full disk
    // gives ENOSPC).
    const auto child = [&] {
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{64 << 10, 64 << 10};
      setrlimit(RLIMIT_FSIZE, &limit);
      try {
        Write(append);
      } catch (const uti_FileException& e) {
        std::_Exit(e.Errno() == EFBIG && e.Path().Std() == path_ ? 0 : 2);
      }
      std::_Exit(1);
    };
    EXPECT_EXIT(child(), ::testing::ExitedWithCode(0), "") << append;
    EXPECT_EQ(Read(), "old report\n") << append;
    EXPECT_EQ(Folder(), std::vector<std::string>{"report.txt"}) << append;
  }
}

TEST_F(ReportWriter, AReplacedReportKeepsLinksAndPermissions) {
  Add("A", {{0.0f, 1.0f}});
  const std::string expected = Write();
  const std::string target = dir_ + "/target.txt", link = dir_ + "/link.txt";
  std::ofstream(target) << "old\n";
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);
  ASSERT_EQ(symlink("target.txt", link.c_str()), 0);
  xypK_WriteReport().WriteReport(false, cow_String(link), data_, names_, "", "");
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  std::ifstream in(target);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), expected);
  struct stat info;
  ASSERT_EQ(stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(Folder().size(), 3u);  // report.txt, target.txt, link.txt: nothing left over
}

TEST_F(ReportWriter, ProgressStaysWithinZeroAndOneHundredPercent) {
  // X values that go back lie beyond the last X, which is the progress reference.
  Add("A", {{0.0f, 1.0f}, {100.0f, 2.0f}, {-50.0f, 3.0f}, {1.0f, 4.0f}});
  Add("B", {{0.5f, 1.0f}});
  cmdC_WIP::SetListener(&RecordMilestone);
  for (xypC_ColumnLayoutEnum layout : {xypC_SINGLE_TABLE, xypC_SEPARATE_TABLES}) {
    Options().layout = layout;
    milestones.clear();
    Write();
    EXPECT_FALSE(milestones.empty()) << layout;
    for (int percent : milestones) {
      EXPECT_GE(percent, 0) << layout;
      EXPECT_LE(percent, 100) << layout;
    }
  }
}
