// Classifiers and header parsing behind XY data read from text files: fields (IsFloat), line
// kinds, ChopStarAndSpace and the two header-name functions, in their char* and string_view forms.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

#include "xypK_ReadData.h"
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

TEST(TextFileFields, NoValueAnywhereWinsAndIsCaseSensitive) {
  for (const char* text : {"NoValue", "1NoValue", "xxNoValue2", "--NoValue.."})
    EXPECT_EQ(Kind(text), xypK_NO_VALUE) << text;
  for (const char* text : {"NoValu", "novalue", "No Value", "NOVALUE"})
    EXPECT_EQ(Kind(text), xypK_NOT_A_NUMBER) << text;
}

TEST(TextFileFields, NumbersAtTheBoundariesOfEachRule) {
  // First character: digit, ".", sign or newline; at least one digit somewhere.
  for (const char* text : {"0", "7", ".5", "5.", "+2", "-.5", "\n5", "5\n", "1.5e+3", "1E5",
                           "1e-5", "-1e-5", "+1E+5", "1e", "0005", ".5e3"})
    EXPECT_EQ(Kind(text), xypK_NUMBER) << text;
  for (const char* text : {"", "\n", ".", "+", "-", "+.", "-.e", "e5", "E5", "abc", " 1", "x1"})
    EXPECT_EQ(Kind(text), xypK_NOT_A_NUMBER) << text;
}

TEST(TextFileFields, NotNumbersPastTheFirstCharacter) {
  for (const char* text : {
           "1e5e", "1E5e5", "1eE5",           // a second exponent mark
           "..5", "1.2.3", "1.5.",            // a second point
           "--1", "+-1", "1-2", "1e5-", "1e--5", "1e+-5",  // signs not first nor after e/E
           "1 2", "1,2", "1\t2", "1x", "1\r", "0x10", "inf", "nan"})
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

TEST(TextFileHeader, ChopStarAndSpaceRemovesOnlyLeadingStarsBlanksAndTabs) {
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
}

TEST(TextFileHeader, TwoColumnNameIsFieldOneOrFieldTwoAfterX) {
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
}

TEST(TextFileHeader, ManyColumnNameIsTheGivenField) {
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
