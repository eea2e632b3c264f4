// Line splitting of the block reader: line ends, long lines across blocks, read errors.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "uti_FileException.h"
#include "xypK_TextFileReader.h"

namespace {

std::string WriteTemp(const std::string& text) {
  char path[] = "/tmp/xyp_lines_XXXXXX";
  const int fd = mkstemp(path);
  EXPECT_GE(fd, 0);
  EXPECT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  close(fd);
  return path;
}

std::vector<std::pair<std::string, bool>> ReadAll(const std::string& text) {
  const std::string path = WriteTemp(text);
  xypK_TextFileReader reader(open(path.c_str(), O_RDONLY), cow_String(path));
  std::vector<std::pair<std::string, bool>> lines;
  std::string_view line;
  bool end = false;
  while (reader.NextLine(line, end)) lines.emplace_back(std::string(line), end);
  EXPECT_EQ(reader.BytesConsumed(), text.size());
  std::remove(path.c_str());
  return lines;
}

using Lines = std::vector<std::pair<std::string, bool>>;

}  // namespace

TEST(TextFileLines, LineEndsCrlfAndAMissingFinalLineEnd) {
  EXPECT_EQ(ReadAll("a\r\nb\n\r\nc"), (Lines{{"a", true}, {"b", true}, {"", true}, {"c", false}}));
  EXPECT_EQ(ReadAll(""), Lines{});
  EXPECT_EQ(ReadAll("\n"), (Lines{{"", true}}));
  // A carriage return not followed by a line end stays in the line.
  EXPECT_EQ(ReadAll("x\ry\n\r"), (Lines{{"x\ry", true}, {"\r", false}}));
  EXPECT_EQ(ReadAll(std::string("1 2\0 3\n", 7)), (Lines{{std::string("1 2\0 3", 6), true}}));
}

TEST(TextFileLines, LinesLongerThanABlockAreReadWhole) {
  const std::string longLine(3'000'000, 'x');
  std::string text = "first\n" + longLine + "\r\n";
  for (int i = 0; i < 200000; ++i) text += "1 2\n";
  text += longLine;
  const Lines lines = ReadAll(text);
  ASSERT_EQ(lines.size(), 200003u);
  EXPECT_EQ(lines[1].first, longLine);
  EXPECT_EQ(lines[100].first, "1 2");
  EXPECT_EQ(lines.back(), (std::pair<std::string, bool>{longLine, false}));
}

TEST(TextFileLines, AReadErrorIsAFileErrorNotTheEndOfTheFile) {
  const std::string path = WriteTemp("1 2\n");
  xypK_TextFileReader reader(open(path.c_str(), O_WRONLY), cow_String(path));
  std::string_view line;
  bool end = false;
  try {
    reader.NextLine(line, end);
    FAIL() << "a failed read looked like the end of the file";
  } catch (const uti_FileException& e) {
    EXPECT_EQ(e.Errno(), EBADF);
    EXPECT_EQ(e.Path(), cow_String(path));
  }
  std::remove(path.c_str());
}
