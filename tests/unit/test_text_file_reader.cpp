// XY data read from text files: the classifiers and header parsing behind it (fields, line kinds,
// ChopStarAndSpace and the header names, in their char* and string_view forms), and whole reads:
// lines that outgrow the reader's buffer read as they would whole, with bounded memory; fields too
// long to be numbers and lines too long to hold are refused; an interruption within one line.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cmdC_InterruptedException.h"
#include "cmdC_WIP.h"
#include "omu_Arguments.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"
#include "uti_XypException.h"
#include "xypK_Module.h"
#include "xypK_ReadData.h"
#include "xypK_TextFileReader.h"
#include "xypK_Utils.h"

namespace {

using namespace std::string_view_literals;

// Both forms of IsFloat must agree on texts without an inner NUL.
xypK_FieldEnum Kind(const std::string& text) {
  const xypK_FieldEnum viaView = xypK_Utils::IsFloat(std::string_view(text));
  EXPECT_EQ(xypK_Utils::IsFloat(text.c_str()), viaView) << text;
  return viaView;
}

std::string Chop(const char* text) {
  std::string buffer(text);
  xypK_ReadData::ChopStarAndSpace(buffer.data());
  const std::string result(buffer.c_str());
  EXPECT_EQ(xypK_ReadData::ChopStarAndSpace(std::string_view(text)), result) << text;
  return result;
}

std::string PairName(const char* text) {
  std::string buffer(text);
  const std::string viaChar = xypK_ReadData::GetSinglePairXYDataName(buffer.data()).Std();
  EXPECT_EQ(buffer, text) << "the line was changed";
  EXPECT_EQ(std::string(xypK_ReadData::SinglePairName(text)), viaChar) << text;
  return viaChar;
}

std::string ColumnName(const char* text, int column) {
  std::string buffer(text);
  const std::string viaChar = xypK_ReadData::GetMultColumnXYDataName(buffer.data(), column).Std();
  EXPECT_EQ(std::string(xypK_ReadData::MultColumnName(text, column)), viaChar) << text;
  return viaChar;
}

}  // namespace

TEST(TextFileFields, NoValueAnywhereWinsAndNumbersFollowEachRule) {
  for (const char* text : {"NoValue", "1NoValue", "xxNoValue2", "--NoValue.."})
    EXPECT_EQ(Kind(text), xypK_NO_VALUE) << text;
  for (const char* text : {"NoValu", "novalue", "No Value", "NOVALUE"})
    EXPECT_EQ(Kind(text), xypK_NOT_A_NUMBER) << text;
  // Numbers at the boundaries of each rule. First character: digit, ".", sign or newline; at least
  // one digit somewhere.
  for (const char* text : {"0", "7", ".5", "5.", "+2", "-.5", "\n5", "5\n", "1.5e+3", "1E5", "1e-5",
                           "-1e-5", "+1E+5", "1e", "0005", ".5e3"})
    EXPECT_EQ(Kind(text), xypK_NUMBER) << text;
  for (const char* text : {"", "\n", ".", "+", "-", "+.", "-.e", "e5", "E5", "abc", " 1", "x1"})
    EXPECT_EQ(Kind(text), xypK_NOT_A_NUMBER) << text;
  // Not numbers past the first character.
  for (const char* text :
       {"1e5e", "1E5e5", "1eE5",                            // a second exponent mark
        "..5",  "1.2.3", "1.5.",                            // a second point
        "--1",  "+-1",   "1-2",  "1e5-", "1e--5", "1e+-5",  // signs not first nor after e/E
        "1 2",  "1,2",   "1\t2", "1x",   "1\r",   "0x10",  "inf", "nan"})
    EXPECT_EQ(Kind(text), xypK_NOT_A_NUMBER) << text;
  EXPECT_EQ(xypK_Utils::IsFloat("1\0002"sv), xypK_NOT_A_NUMBER);
  EXPECT_EQ(xypK_Utils::IsFloat(static_cast<const char*>(nullptr)), xypK_NOT_A_NUMBER);
}

TEST(TextFileLineKinds, CommentsCommandsAndBlankLines) {
  struct Case {
    std::string_view line;
    bool comment, command, blank;
  };
  const Case cases[] = {
      {"", false, false, true},      {"*", false, false, false},   {"**", true, false, false},
      {"***x", true, false, false},  {"** x", true, false, false}, {"*x", false, true, false},
      {"*\n", false, true, false},   {"* ", false, true, false},   {"* *", false, true, false},
      {" **", false, false, false},  {" *x", false, false, false}, {"x**", false, false, false},
      {" \t\n", false, false, true}, {"\n", false, false, true},   {" x", false, false, false},
      {"\r", false, false, false},   {"\v", false, false, false},  {"0 1", false, false, false},
  };
  for (const Case& c : cases) {
    const std::string text(c.line);
    EXPECT_EQ(xypK_Utils::IsCommentLine(c.line), c.comment) << text;
    EXPECT_EQ(xypK_Utils::IsCommandLine(c.line), c.command) << text;
    EXPECT_EQ(xypK_Utils::IsBlankLine(c.line), c.blank) << text;
    EXPECT_EQ(xypK_Utils::IsCommentLine(text.c_str()), c.comment) << text;
    EXPECT_EQ(xypK_Utils::IsCommandLine(text.c_str()), c.command) << text;
    EXPECT_EQ(xypK_Utils::IsBlankLine(text.c_str()), c.blank) << text;
  }
  EXPECT_FALSE(xypK_Utils::IsCommentLine(static_cast<const char*>(nullptr)));
  EXPECT_FALSE(xypK_Utils::IsCommandLine(static_cast<const char*>(nullptr)));
}

TEST(TextFileHeader, ChopStarAndSpaceAndTheNamesOfTwoOrManyColumns) {
  // ChopStarAndSpace removes only leading stars, blanks and tabs.
  EXPECT_EQ(Chop("*temperature"), "temperature");
  EXPECT_EQ(Chop("** \t*name *x\t"), "name *x\t");
  EXPECT_EQ(Chop("*\nname"), "\nname");
  EXPECT_EQ(Chop("*,name"), ",name");
  EXPECT_EQ(Chop("name"), "name");
  EXPECT_EQ(Chop("* \t*"), "");
  EXPECT_EQ(Chop(""), "");
  // In place: the text moves to the start of the same buffer.
  char line[] = "* ab";
  xypK_ReadData::ChopStarAndSpace(line);
  EXPECT_STREQ(line, "ab");
  xypK_ReadData::ChopStarAndSpace(static_cast<char*>(nullptr));  // no crash

  // The name of two columns is field one, or field two after an "X".
  EXPECT_EQ(PairName("temperature"), "temperature");
  EXPECT_EQ(PairName("temp C"), "temp");
  EXPECT_EQ(PairName(",, temp,C"), "temp");
  EXPECT_EQ(PairName("X temperature"), "temperature");
  EXPECT_EQ(PairName("X , ,temperature K"), "temperature");
  EXPECT_EQ(PairName("x temperature"), "x");
  EXPECT_EQ(PairName("XY temperature"), "XY");
  EXPECT_EQ(PairName("X\ttemperature"), "X\ttemperature");  // a tab does not split
  EXPECT_EQ(PairName("temp\n"), "temp");
  EXPECT_EQ(PairName("temp\n\n"), "temp\n");  // one trailing newline only
  EXPECT_EQ(PairName("X temp\n"), "temp");
  EXPECT_EQ(PairName("X \n temp"), "temp");  // a field that is only a newline does not count
  EXPECT_EQ(PairName("X \n"), "");
  EXPECT_EQ(PairName("X"), "");
  EXPECT_EQ(PairName(" , "), "");
  EXPECT_EQ(PairName(""), "");
  EXPECT_EQ(xypK_ReadData::GetSinglePairXYDataName(nullptr).Std(), "");

  // The name of many columns is the given field.
  const char* header = "time, force  heat,,flux\n";
  EXPECT_EQ(ColumnName(header, 1), "time");
  EXPECT_EQ(ColumnName(header, 3), "heat");
  EXPECT_EQ(ColumnName(header, 4), "flux");
  EXPECT_EQ(ColumnName(header, 5), "");
  EXPECT_EQ(ColumnName(header, 0), "");
  EXPECT_EQ(ColumnName("X a b", 1), "X");  // no "X" rule here
  EXPECT_EQ(ColumnName("a\tb c", 2), "c");
  EXPECT_EQ(ColumnName("a \n b", 2), "b");
  EXPECT_EQ(xypK_ReadData::GetMultColumnXYDataName(nullptr, 1).Std(), "");
}

namespace {

// How a read ended: the pairs and name of the record, or the catalogue error.
struct Outcome {
  std::vector<std::pair<float, float>> pairs;
  std::string name;
  int code = -1;
  std::string detail;
  bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
  if (o.code >= 0) return out << "error " << o.code << " (" << o.detail << ")";
  out << o.name << ":";
  for (auto [x, y] : o.pairs) out << " (" << x << ", " << y << ")";
  return out;
}

Outcome Pairs(std::vector<std::pair<float, float>> pairs, std::string name = "given") {
  return Outcome{std::move(pairs), std::move(name), -1, ""};
}
Outcome Refused(int code, std::string detail = "") {
  return Outcome{{}, "", code, std::move(detail)};
}

using Keywords = std::vector<std::pair<const char*, long long>>;

class TextFileRead : public ::testing::Test {
 protected:
  void SetUp() override {
    xypK_initialize(modules_);
    char path[] = "/tmp/xyp_read_XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    path_ = path;
  }
  void TearDown() override {
    xypK_TextFileReader::SetDefaultBlockSize(0);
    cmdC_WIP::SetInterruptCheck(nullptr);
    unlink(path_.c_str());
    xypK_finalize(modules_);
  }

  // Writes `text`, then `zeros` NUL bytes without using disk space, then `tail`.
  void Write(const std::string& text, off_t zeros = 0, const std::string& tail = "") {
    const int fd = open(path_.c_str(), O_WRONLY | O_TRUNC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ASSERT_GE(lseek(fd, zeros, SEEK_CUR), 0);
    ASSERT_EQ(write(fd, tail.data(), tail.size()), static_cast<ssize_t>(tail.size()));
    ASSERT_EQ(ftruncate(fd, static_cast<off_t>(text.size() + tail.size()) + zeros), 0);
    close(fd);
  }

  // Reads the file written last with the given keywords and reader blocks (0: the default).
  Outcome Read(const Keywords& keywords = {}, std::size_t block = 0) {
    xypK_TextFileReader::SetDefaultBlockSize(block);
    omu_Arguments args("XYDataFromFile");
    args.AddKeyword("name", std::make_unique<omu_PrimString>(cow_String("given")));
    args.AddKeyword("fileName", std::make_unique<omu_PrimString>(cow_String(path_)));
    for (auto [keyword, value] : keywords)
      args.AddKeyword(keyword, std::make_unique<omu_PrimNumber>(value));
    Outcome o;
    try {
      const std::unique_ptr<udd_UserXYData> record = xypK_ReadData::FromFile(args);
      for (std::size_t i = 0; i < record->Size(); ++i)
        o.pairs.emplace_back(record->Pair(i).x, record->Pair(i).y);
      o.name = record->Name().Std();
    } catch (const uti_XypException& e) {
      o.code = e.Code();
      o.detail = e.Detail1().Std();
    }
    return o;
  }

  int modules_ = 0;
  std::string path_;
};

int interruptChecks = 0;
bool InterruptOnSecondCheck() {
  return ++interruptChecks >= 2;
}

}  // namespace

TEST_F(TextFileRead, LinesReadAlikeWhereverTheBufferEnds) {
  // With small blocks every line of these fills the reader's buffer and is cut to what the read
  // needs; the outcome must be the one of the whole lines.
  const std::string blanks(200, ' ');
  const struct {
    std::string text;
    Keywords keywords;
    Outcome expected;
  } cases[] = {
      {"1 2" + blanks + "junk\n3 4\n", {}, Pairs({{1, 2}, {3, 4}})},
      {"1 2" + blanks + "\r\n3 4" + blanks + "\r\n", {}, Pairs({{1, 2}, {3, 4}})},
      {"1,2,,,,3\n1.5e+3 -.5\n", {}, Pairs({{1, 2}, {1500, -0.5f}})},
      {"1 2 3 4 5 6 7 8\n", {{"xField", 3}, {"yField", 6}}, Pairs({{3, 6}})},
      {"1 2\n", {{"xField", 2}, {"yField", 2}}, Pairs({{2, 2}})},
      {blanks + "\n\t \t\n1 2\n", {}, Pairs({{1, 2}})},
      {"** " + blanks + "x\n*h\n1 2\n**" + blanks + "\n3 4\n**", {}, Pairs({{1, 2}, {3, 4}}, "h")},
      {"*" + blanks + "** name rest of" + blanks + "the header\n1 2\n",
       {},
       Pairs({{1, 2}}, "name")},
      {"*X , temperature K\n1 2\n", {}, Pairs({{1, 2}}, "temperature")},
      {"*X\n1 2\n", {}, Pairs({{1, 2}})},
      {"*temp\tK\n1 2\n", {}, Pairs({{1, 2}}, "temp\tK")},
      {"*a b c d\n1 2 3 4\n", {{"yField", 3}}, Pairs({{1, 3}}, "c")},
      {"*h\n1 2\n*end" + blanks + "\nbad\n", {}, Pairs({{1, 2}}, "h")},
      {"1 2\n" + blanks + "bad\n5 6\n** c" + blanks + "\n7 8\n",
       {{"skipFrequency", 1}},
       Pairs({{1, 2}, {5, 6}, {7, 8}})},
      {"1 NoValue" + blanks + "\n2 3\n", {}, Pairs({{2, 3}})},
      {"1" + blanks + ",\n", {}, Refused(13, "Y")},
      {blanks + "," + blanks + "\n1 2\n", {}, Refused(13, "X")},
      {"1 2\nabc" + blanks + " 1\n", {}, Refused(10, "X")},
      {"0 .e5" + blanks + "\n", {}, Refused(11)},
      {"*h\n0 1\n*", {}, Refused(10, "X")},
      {"*temperature" + blanks, {}, Refused(11)},
  };
  for (const auto& c : cases) {
    Write(c.text);
    EXPECT_EQ(Read(c.keywords), c.expected) << c.text;
    for (std::size_t block : {1, 2, 3, 4, 5, 7, 16, 64})
      EXPECT_EQ(Read(c.keywords, block), c.expected) << block << " " << c.text;
  }
}

TEST_F(TextFileRead, AnXOrYFieldLongerThanANumberIsRefusedAtOnce) {
  const std::string longest(65535, '0');  // with the "1" after it: the longest field read
  const struct {
    std::string text;
    off_t zeros;
    Outcome expected;
  } cases[] = {
      {longest + "1 2\n", 0, Pairs({{1, 2}})},
      {longest + "01 2\n", 0, Refused(10, "X")},
      {"1 " + longest + "NoValue\n3 4\n", 0, Refused(10, "Y")},
      {"1 2 " + longest + longest + "\n", 0, Pairs({{1, 2}})},  // a field not read may be long
      // A gibibyte of NUL bytes without a line end: refused within the first block read.
      {"", off_t{1} << 30, Refused(10, "X")},
  };
  for (const auto& c : cases) {
    Write(c.text, c.zeros);
    EXPECT_EQ(Read(), c.expected) << c.text.size();
  }
}

TEST_F(TextFileRead, ALineIsHeldOnlyUpToTheFieldsReadFromIt) {
  constexpr off_t kLimit = off_t{64} << 20;
  // Fields after the last one read are skipped unread, whatever their length.
  Write("1 2 ", kLimit + 10, "\n3 4\n");
  EXPECT_EQ(Read(), Pairs({{1, 2}, {3, 4}}));
  // A field before it that would take more than the limit refuses the line.
  Write("0 0 0\n1 ", kLimit, " 3\n");
  EXPECT_EQ(Read({{"yField", 3}}),
            Refused(11,
                    "line 2 holds more than 67108864 bytes before the end of the fields read "
                    "from it"));
}

TEST_F(TextFileRead, AnInterruptionIsSeenWithinOneLongLine) {
  Write("1 2 ", 10 << 20, "\n");
  interruptChecks = 0;
  cmdC_WIP::SetInterruptCheck(&InterruptOnSecondCheck);
  omu_Arguments args("XYDataFromFile");
  args.AddKeyword("name", std::make_unique<omu_PrimString>(cow_String("given")));
  args.AddKeyword("fileName", std::make_unique<omu_PrimString>(cow_String(path_)));
  EXPECT_THROW(xypK_ReadData::FromFile(args), cmdC_InterruptedException);
  EXPECT_EQ(interruptChecks, 2);
}
