// Line splitting of the block reader: line ends at every block boundary, long lines read whole or
// in the part a line check keeps, interruption within one line, read errors.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cmdC_InterruptedException.h"
#include "cmdC_WIP.h"
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

using Lines = std::vector<std::pair<std::string, bool>>;

// Every line of `text`, read with blocks of `block` bytes (0: the default) and the given check;
// `capacity` receives the largest buffer the reader had.
Lines ReadAll(const std::string& text, std::size_t block = 0,
              const xypK_TextFileReader::LineCheck& check = nullptr,
              std::size_t* capacity = nullptr) {
  const std::string path = WriteTemp(text);
  xypK_TextFileReader reader(open(path.c_str(), O_RDONLY), cow_String(path), block);
  reader.SetLineCheck(check);
  Lines lines;
  std::string_view line;
  bool end = false;
  while (reader.NextLine(line, end)) lines.emplace_back(std::string(line), end);
  EXPECT_EQ(reader.BytesConsumed(), text.size());
  if (capacity) *capacity = reader.Capacity();
  std::remove(path.c_str());
  return lines;
}

// Small blocks put the buffer's end at every place of a short text.
constexpr std::size_t kBlocks[] = {1, 2, 3, 4, 5, 8, 64, 0};

// Keeps the first `n` bytes of a line that fills the buffer and skips the rest.
xypK_TextFileReader::LineCheck KeepFirst(std::size_t n) {
  return [n](char*, std::size_t) { return xypK_TextFileReader::Keep{n, false}; };
}

int interruptChecks = 0;
bool InterruptOnThirdCheck() {
  return ++interruptChecks >= 3;
}

}  // namespace

TEST(TextFileLines, LineEndsReadAlikeWhateverTheBlockSize) {
  const struct {
    std::string text;
    Lines lines;
  } cases[] = {
      {"a\r\nb\n\r\nc", {{"a", true}, {"b", true}, {"", true}, {"c", false}}},
      {"", {}},
      {"\n", {{"", true}}},
      {"\r\n\r\n", {{"", true}, {"", true}}},
      // A carriage return not followed by a line end stays in the line.
      {"x\ry\n\r", {{"x\ry", true}, {"\r", false}}},
      {"abcdefghij\r\nklmnop\r", {{"abcdefghij", true}, {"klmnop\r", false}}},
      {std::string("1 2\0 3\n", 7), {{std::string("1 2\0 3", 6), true}}},
  };
  for (const auto& c : cases)
    for (std::size_t block : kBlocks) EXPECT_EQ(ReadAll(c.text, block), c.lines) << block;
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

TEST(TextFileLines, ALineCheckKeepsPartOfALineThatFillsTheBuffer) {
  const struct {
    const char* text;
    std::size_t block, keep;
    Lines lines;
  } cases[] = {
      // The rest goes up to the line end; shorter lines are never checked.
      {"0123456789abcdef\nxy\n", 8, 4, {{"0123", true}, {"xy", true}}},
      {"0123456789abcdef\r\nxy", 8, 4, {{"0123", true}, {"xy", false}}},
      {"0123456789", 4, 4, {{"0123", false}}},
      {"0123456789\n\n", 4, 0, {{"", true}, {"", true}}},
      {"0123456789", 4, 0, {{"", false}}},
      // The kept bytes end just before the line end: a "\r" there still belongs to it.
      {"0123\r\nab", 5, 5, {{"0123", true}, {"ab", false}}},
      {"0123\r\r\n", 5, 5, {{"0123\r", true}}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReadAll(c.text, c.block, KeepFirst(c.keep)), c.lines) << c.text;

  // Memory stays at a few blocks however long the skipped rest is.
  std::size_t capacity = 0;
  const std::string tail(1'000'000, 'x');
  EXPECT_EQ(ReadAll("ab" + tail + "\ncd", 64, KeepFirst(2), &capacity),
            (Lines{{"ab", true}, {"cd", false}}));
  EXPECT_LE(capacity, 128u);
}

TEST(TextFileLines, ALineCheckMayShortenTheLineAndReadOn) {
  // A leading run of one character counts as one: the check moves the rest up to its first one.
  const auto runOfOne = [](char* text, std::size_t size) {
    std::size_t run = std::string_view(text, size).find_first_not_of(text[0]);
    if (run == std::string::npos) run = size;
    std::memmove(text + 1, text + run, size - run);
    return xypK_TextFileReader::Keep{size - run + 1, true};
  };
  // Only a full buffer is checked: what arrives with the line end stays as read.
  std::size_t capacity = 0;
  const Lines lines =
      ReadAll(std::string(100'000, ' ') + "1 2\n" + std::string(50, ' '), 16, runOfOne, &capacity);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].first.find_first_not_of(' '), lines[0].first.size() - 3) << lines[0].first;
  EXPECT_EQ(lines[0].first.substr(lines[0].first.size() - 3), "1 2");
  EXPECT_LT(lines[0].first.size(), 16u + 3u);
  EXPECT_EQ(lines[1].first.find_first_not_of(' '), std::string::npos);
  EXPECT_LT(lines[1].first.size(), 16u);
  EXPECT_LE(capacity, 16u);
}

TEST(TextFileLines, AnInterruptionWhileOneLineIsReadAndAReadErrorAreNotTheEnd) {
  const std::string path = WriteTemp(std::string(10'000, 'x'));
  xypK_TextFileReader reader(open(path.c_str(), O_RDONLY), cow_String(path), 64);
  interruptChecks = 0;
  cmdC_WIP::SetInterruptCheck(&InterruptOnThirdCheck);
  std::string_view line;
  bool end = false;
  EXPECT_THROW(reader.NextLine(line, end), cmdC_InterruptedException);
  cmdC_WIP::SetInterruptCheck(nullptr);
  EXPECT_EQ(interruptChecks, 3);
  EXPECT_EQ(reader.BytesConsumed(), 0u);

  // A read error is a file error, not the end of the file.
  xypK_TextFileReader writeOnly(open(path.c_str(), O_WRONLY), cow_String(path));
  try {
    writeOnly.NextLine(line, end);
    FAIL() << "a failed read looked like the end of the file";
  } catch (const uti_FileException& e) {
    EXPECT_EQ(e.Errno(), EBADF);
    EXPECT_EQ(e.Path(), cow_String(path));
  }
  std::remove(path.c_str());
}
