// libFuzzer target for the XY data text-file reader (xypK_ReadData::FromFile) and the helpers that
// classify and name what it reads.
//
// Input layout: the first four bytes choose the command's keywords, the rest is the file's text.
//   byte 0  xField         low 4 bits index kFieldChoices (0 = keyword not given)
//   byte 1  yField         low 4 bits index kFieldChoices (0 = keyword not given)
//   byte 2  skipFrequency  low 4 bits index kSkipChoices (0 = keyword not given);
//           high 4 bits index kBlockChoices: a second read of the same file with reader blocks
//           that small, which must end exactly as the first (0 = no second read; only for
//           inputs without a filler, which would take too long in small blocks)
//   byte 3  bits 0-1: name (see kNames); bit 2: descriptions and labels given;
//           bit 3: empty labels given instead;
//           bits 6-7: a filler before the text, about the size of the reader's first block
//           (1 MiB), so that the text meets the block's end (see Filler)
// ASCII '0' has low bits 0000, so a seed starting "0000" reads the file with the defaults and the
// name "a"; '1'..'9' pick entries 1..9 and ':' ';' '<' '=' '>' '?' entries 10..15.
// Inputs shorter than four bytes exercise the helpers only.
//
// A run fails (abort) on: any exception other than the catalogue's uti_XypException, a null record
// for a file that exists, a record with no pair, an empty name, more pairs than lines, a read in
// small blocks that ends otherwise than the read in the default blocks, and a helper result that
// breaks its contract. Sanitizer reports, crashes and hangs are findings too.
#include <unistd.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "omu_Arguments.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"
#include "udd_UserXYData.h"
#include "uti_XypException.h"
#include "xypK_Module.h"
#include "xypK_ReadData.h"
#include "xypK_TextFileReader.h"
#include "xypK_Utils.h"

namespace {

constexpr long long kAbsent = LLONG_MIN;  // keyword not given

// Index 0 leaves the keyword out.
constexpr long long kFieldChoices[16] = {
    kAbsent, 1,   2,       3,       4, 5, 6, 0,  // common columns, and 0 (refused)
    -1,      400, INT_MAX, INT_MIN,              // refused or beyond any line
    1,       2,   3,       -2};
// Skip frequencies: small, negative (read as none) and at the int limits.
constexpr long long kSkipChoices[16] = {kAbsent, 0,       1,       2,      3, -1,
                                        -2,      INT_MAX, INT_MIN, 0,      1, INT_MAX - 1,
                                        kAbsent, kAbsent, kAbsent, kAbsent};
// Reader blocks of the second read: every small size, and a few that split usual lines.
constexpr size_t kBlockChoices[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 11, 16, 31, 64, 100, 257, 4096};
constexpr const char* kNames[4] = {"a", "Temp-1", "   ", " Pressure history "};

std::string g_path;
bool g_verbose = false;  // XYP_FUZZ_VERBOSE=1: one line per input telling how the read ended

[[noreturn]] void Fail(const char* what, const std::string& detail = std::string()) {
  std::fprintf(stderr, "\n*** xyfile_fuzzer: %s%s%s\n", what, detail.empty() ? "" : ": ",
               detail.c_str());
  std::fflush(stderr);
  std::abort();
}

void RemoveTempFile() {
  if (!g_path.empty()) unlink(g_path.c_str());
}

// The module goes down at exit as the Python package takes it down (atexit), before the static
// objects made during start-up are destroyed. Left up, the session fragment held by the toolset
// singleton detaches itself from a fragment registry that static teardown has already destroyed
// (heap-use-after-free reported at exit, whatever the input). XYP_FUZZ_KEEP_MODULE_UP=1 leaves
// the module up, to see that.
void ShutDownModule() {
  int count = 1;
  xypK_finalize(count);
}

constexpr size_t kBlock = size_t{1} << 20;  // the reader's first block

// The filler that bits 6-7 of byte 3 put before the text:
//   01  a comment line ending `shift` bytes before the block's end, `shift` being the high
//       nibbles of bytes 0 and 1: the text's first lines cross the block's end;
//   10  a comment longer than the block with no newline: the text's first line ends a line
//       that outgrows the block;
//   11  "1 2" and blanks, longer than the block, with no newline: likewise for a data line.
std::string_view Filler(const uint8_t* control) {
  // All stars, so that any tail of at least two characters is still a comment line.
  static const std::string comment = std::string(kBlock - 1, '*') + "\n";
  static const std::string longComment = "**" + std::string(kBlock, 'x');
  static const std::string longData = "1 2" + std::string(kBlock, ' ');
  switch (control[3] >> 6) {
    case 1: {
      const size_t shift = (control[0] & 0xF0) | (control[1] >> 4);
      return std::string_view(comment).substr(shift);
    }
    case 2:
      return longComment;
    case 3:
      return longData;
    default:
      return {};
  }
}

// Writes the filler and the text (each time to a new file: rewriting a file in place makes some
// file systems flush it on close) and returns the number of lines written, the last one counted
// even when it has no newline.
size_t WriteFile(std::string_view filler, const uint8_t* data, size_t size) {
  unlink(g_path.c_str());
  std::FILE* f = std::fopen(g_path.c_str(), "wb");
  if (!f) Fail("cannot write the temporary file", g_path);
  if (!filler.empty() && std::fwrite(filler.data(), 1, filler.size(), f) != filler.size())
    Fail("short write", g_path);
  if (size > 0 && std::fwrite(data, 1, size, f) != size) Fail("short write", g_path);
  if (std::fclose(f) != 0) Fail("cannot close the temporary file", g_path);
  size_t newlines = 0;
  for (char c : filler) newlines += c == '\n';
  for (size_t i = 0; i < size; ++i) newlines += data[i] == '\n';
  return newlines + 1;
}

void AddNumber(omu_Arguments& args, const char* keyword, long long value) {
  if (value == kAbsent) return;
  args.AddKeyword(keyword, std::make_unique<omu_PrimNumber>(value));
}

void AddString(omu_Arguments& args, const char* keyword, const char* value) {
  args.AddKeyword(keyword, std::make_unique<omu_PrimString>(cow_String(value)));
}

// How a read ended: the record's pairs (bit for bit) and texts, or the catalogue error.
struct Outcome {
  bool refused = false;
  std::string error;  // message, code and details
  std::unique_ptr<udd_UserXYData> record;
};

Outcome ReadOnce(const uint8_t* control) {
  omu_Arguments args("XYDataFromFile");
  AddString(args, "name", kNames[control[3] & 3]);
  AddString(args, "fileName", g_path.c_str());
  AddNumber(args, "xField", kFieldChoices[control[0] & 15]);
  AddNumber(args, "yField", kFieldChoices[control[1] & 15]);
  AddNumber(args, "skipFrequency", kSkipChoices[control[2] & 15]);
  if (control[3] & 4) {
    AddString(args, "sourceDescription", "bench rig 3");
    AddString(args, "contentDescription", "load vs. time");
    AddString(args, "positionDescription", "node 12");
    AddString(args, "xValuesLabel", "Time");
    AddString(args, "yValuesLabel", "Load");
    AddString(args, "legendLabel", "run 7");
  } else if (control[3] & 8) {
    AddString(args, "xValuesLabel", "");
    AddString(args, "yValuesLabel", "");
    AddString(args, "legendLabel", "");
  }
  Outcome o;
  try {
    o.record = xypK_ReadData::FromFile(args);
  } catch (const uti_XypException& e) {
    // a catalogue error: the expected way to refuse a file
    o.refused = true;
    o.error = e.Message().Std() + " " + std::to_string(e.Code()) + " " + e.Detail1().Std() + " " +
              e.Detail2().Std();
  } catch (const std::exception& e) {
    Fail("exception other than uti_XypException escaped FromFile", e.what());
  } catch (...) {
    Fail("non-standard exception escaped FromFile");
  }
  return o;
}

std::string Describe(const Outcome& o) {
  if (o.refused) return "refused: " + o.error;
  if (!o.record) return "no record";
  const udd_UserXYData& r = *o.record;
  std::string text = r.Name().Std() + " | " + r.LegendLabel().Std() + " | " + r.XAxisLabel().Std() +
                     " | " + r.YAxisLabel().Std() + " | " + r.ContentDescription().Std() + " | " +
                     std::to_string(r.Size()) + " pairs:";
  for (size_t i = 0; i < r.Size(); ++i) {
    const udd_PairEntry pair = r.Pair(i);
    char bits[2 * sizeof(float)];
    std::memcpy(bits, &pair.x, sizeof(float));
    std::memcpy(bits + sizeof(float), &pair.y, sizeof(float));
    text.append(bits, sizeof bits);
  }
  return text;
}

void ReadFile(const uint8_t* control, const uint8_t* text, size_t size) {
  const std::string_view filler = Filler(control);
  const size_t lines = WriteFile(filler, text, size);

  const Outcome o = ReadOnce(control);
  const size_t block = kBlockChoices[control[2] >> 4];
  if (block > 0 && filler.empty()) {
    xypK_TextFileReader::SetDefaultBlockSize(block);
    const Outcome small = ReadOnce(control);
    xypK_TextFileReader::SetDefaultBlockSize(0);
    if (Describe(small) != Describe(o))
      Fail("a read in small blocks ended otherwise", std::to_string(block) +
                                                         "-byte blocks: " + Describe(small) +
                                                         "; default blocks: " + Describe(o));
  }
  if (o.refused) {
    if (g_verbose) std::fprintf(stderr, "xyfile_fuzzer: refused: %s\n", o.error.c_str());
    return;
  }
  const std::unique_ptr<udd_UserXYData>& record = o.record;
  if (!record) Fail("FromFile returned no record for a file that exists", g_path);
  if (record->Size() == 0) Fail("FromFile returned a record with 0 pairs");
  if (record->Name().IsEmpty()) Fail("FromFile returned a record with an empty name");
  if (record->LegendLabel().IsEmpty()) Fail("FromFile returned a record with an empty legend");
  if (record->Size() > lines)
    Fail("more pairs than lines", std::to_string(record->Size()) + " > " + std::to_string(lines));
  if (g_verbose) {
    const udd_PairEntry& first = record->Pair(0);
    std::fprintf(stderr, "xyfile_fuzzer: read %zu pairs, name \"%s\", first (%g, %g)\n",
                 record->Size(), record->Name().CStr(), static_cast<double>(first.x),
                 static_cast<double>(first.y));
  }
}

void Helpers(const uint8_t* data, size_t size, int column) {
  // A NUL-terminated copy, as the char* helpers expect; embedded NULs end the text early.
  std::vector<char> copy(data, data + size);
  copy.push_back('\0');
  const std::string before(copy.data());

  (void)xypK_Utils::IsFloat(std::string_view(reinterpret_cast<const char*>(data), size));
  (void)xypK_Utils::IsFloat(copy.data());
  (void)xypK_Utils::IsCommentLine(copy.data());
  (void)xypK_Utils::IsCommandLine(copy.data());
  (void)xypK_Utils::IsBlankLine(copy.data());

  const cow_String single = xypK_ReadData::GetSinglePairXYDataName(copy.data());
  const cow_String multi = xypK_ReadData::GetMultColumnXYDataName(copy.data(), column);
  if (single.Length() > before.size() || multi.Length() > before.size())
    Fail("header name longer than its line");
  if (!single.IsEmpty() && before.find(single.View()) == std::string::npos)
    Fail("single-pair name not part of its line", single.Std());
  if (!multi.IsEmpty() && before.find(multi.View()) == std::string::npos)
    Fail("column name not part of its line", multi.Std());

  xypK_ReadData::ChopStarAndSpace(copy.data());
  const std::string after(copy.data());
  if (after.size() > before.size() ||
      before.compare(before.size() - after.size(), after.size(), after) != 0)
    Fail("ChopStarAndSpace did not leave a tail of its line");
  if (!after.empty() && (after[0] == '*' || after[0] == ' ' || after[0] == '\t'))
    Fail("ChopStarAndSpace left a leading star or blank");
  xypK_ReadData::ChopStarAndSpace(static_cast<char*>(nullptr));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  int count = 0;
  xypK_initialize(count);
  const char* verbose = std::getenv("XYP_FUZZ_VERBOSE");
  g_verbose = verbose && std::strcmp(verbose, "1") == 0;
  const char* keepUp = std::getenv("XYP_FUZZ_KEEP_MODULE_UP");
  if (!(keepUp && std::strcmp(keepUp, "1") == 0)) std::atexit(ShutDownModule);
  g_path = "/tmp/xyp_fuzz_xyfile_" + std::to_string(static_cast<long>(getpid())) + ".txt";
  std::atexit(RemoveTempFile);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static constexpr int kColumns[8] = {-1, 0, 1, 2, 3, 6, 400, INT_MAX};
  const int column = kColumns[size > 0 ? data[0] >> 5 : 0];
  if (size < 4) {
    Helpers(data, size, column);
    return 0;
  }
  Helpers(data + 4, size - 4, column);
  ReadFile(data, data + 4, size - 4);
  return 0;
}
