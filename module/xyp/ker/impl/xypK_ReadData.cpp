#include "xypK_ReadData.h"

#include <fcntl.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cmdC_InterruptedException.h"
#include "cmdC_WIP.h"
#include "ddr_Root.h"
#include "nex_Exception.h"
#include "oda_OdbIntObj.h"
#include "oda_XYDataCommonIntObj.h"
#include "odb_OdbException.h"
#include "odpK_OdbToolset.h"
#include "odpK_Utils.h"
#include "omi_Singleton.h"
#include "omu_PrimEnumBase.h"
#include "omu_ValueErrorException.h"
#include "res_Enumerations.h"
#include "thr_ThreadSingleton.h"
#include "uti_PreCheckFile.h"
#include "uti_XypException.h"
#include "uti_XypFileException.h"
#include "xypK_MessageTypes.h"
#include "xypK_TextFileReader.h"
#include "xypK_Utils.h"
#include "xypK_XYToolset.h"

namespace {
// The record's six optional texts, which every reader takes in this order; true when a legend
// was given.
bool GetTexts(omu_Arguments& args, cow_String& sourceDescription, cow_String& contentDescription,
              cow_String& positionDescription, cow_String& xLabel, cow_String& yLabel,
              cow_String& legend) {
  args.Get(sourceDescription, "sourceDescription");
  args.Get(contentDescription, "contentDescription");
  args.Get(positionDescription, "positionDescription");
  args.Get(xLabel, "xValuesLabel");
  args.Get(yLabel, "yValuesLabel");
  return args.Get(legend, "legendLabel");
}

// The name and the texts of a new record, as the commands read them.
void SetTexts(udd_UserXYData& record, const cow_String& name, const cow_String& sourceDescription,
              const cow_String& contentDescription, const cow_String& positionDescription,
              const cow_String& xLabel, const cow_String& yLabel, const cow_String& legend) {
  record.SetName(name);
  record.SetSourceDescription(sourceDescription);
  record.SetContentDescription(contentDescription);
  record.SetPositionDescription(positionDescription);
  record.SetXAxisLabel(xLabel);
  record.SetYAxisLabel(yLabel);
  record.SetLegendLabel(legend);
}
}  // namespace

void xypK_ReadData::SetCheckedPairs(const omu_PrimSequence& data, udd_UserXYData& record) {
  if (data.Size() == 0) xypK_MessageTypes::ErrorZeroLengthXYData();
  if (data.IsPairArray()) {
    // Numbers by construction, narrowed (or, as float32, copied) straight from where they are
    // (a caller's numpy buffer) into the record: no copy in between.
    const double* doubles = nullptr;
    const float* floats = nullptr;
    const std::size_t count = data.PackedNumbers(doubles, floats);
    if (floats)
      record.SetPairValues(floats, count / 2);
    else
      record.SetPairValues(doubles, count / 2);
    return;
  }
  std::vector<double> values;
  std::size_t badItem = 0;
  if (!oda_XYDataCommonIntObj::getSeqSeqDoubleFromTuple(data, values, badItem))
    xypK_MessageTypes::ErrorXYMustHaveXAndY();
  record.SetPairValues(values);
}

std::unique_ptr<udd_UserXYData> xypK_ReadData::FromKeyboard(omu_Arguments& args) {
  cow_String name;
  const omu_PrimSequence* data = nullptr;
  std::shared_ptr<oda_XYDataCommonIntObj> source;
  cow_String sourceDescription, contentDescription, positionDescription, xLabel, yLabel, legend;
  bool legendFollowsName = false;

  args.Begin();
  args.Get(name, "name");
  args.Get(data, "data");
  if (args.Alternative()) {
    args.Get(source, omu_InterfaceObj::objectToCopyCmd, std::shared_ptr<oda_XYDataCommonIntObj>());
    if (!source) args.DeprecatedGet(source, "xyData", omu_InterfaceObj::objectToCopyCmd);
    // Neither pairs nor an object to copy: the pairs form is what the caller missed.
    if (!source) args.RaiseFormError();
    const udd_UserXYData& copied = source->Record();
    sourceDescription = copied.SourceDescription();
    contentDescription = copied.ContentDescription();
    positionDescription = copied.PositionDescription();
    xLabel = copied.XAxisLabel();
    yLabel = copied.YAxisLabel();
    legend = copied.LegendLabel();
    legendFollowsName = legend == source->Name();
  }
  args.Optional();
  const bool legendGiven = GetTexts(args, sourceDescription, contentDescription,
                                    positionDescription, xLabel, yLabel, legend);
  args.End();

  name = name.Trim(' ');
  if (name.IsEmpty()) xypK_MessageTypes::ErrorXYDataNameNotGiven();
  const std::size_t count = source ? source->Record().Size() : data->Size();
  if (count == 0) xypK_MessageTypes::ErrorZeroLengthXYData();
  // A copied legend that followed the source's name follows the new (trimmed) name.
  if (legendFollowsName && !legendGiven) legend = name;

  // No room reserved: the pairs come in an array of their own (shared with a copied source).
  auto record = std::make_unique<udd_UserXYData>();
  SetTexts(*record, name, sourceDescription, contentDescription, positionDescription, xLabel,
           yLabel, legend.IsEmpty() ? name : legend);
  if (source) {
    record->SetTypeCode(source->Record().TypeCode());
    record->SetPairs(source->Record().Pairs());
  } else {
    record->SetTypeCode(udd_UserXYData::kTypedData);
    SetCheckedPairs(*data, *record);
  }
  return record;
}

// ---------------------------------------------------------------------------------------------
// Text files

namespace {

// An x or y field longer than this is not a number: no number or "NoValue" text needs more, and
// a longer field is refused as soon as it is seen, whatever follows it.
constexpr std::size_t kMaxValueField = std::size_t{1} << 16;
// The most of one line that is held while it is read: the text up to the end of the last field
// read (or of a header's name field). Fields after it are skipped unread, whatever their length.
constexpr std::size_t kMaxHeldLine = std::size_t{64} << 20;

bool IsFieldSeparator(char c) {
  return c == ',' || c == ' ' || c == '\t';
}
bool IsNameSeparator(char c) {
  return c == ',' || c == ' ';
}

// Field `column` (1-based) of a header line split at commas and blanks; one trailing newline
// is removed, and a field that is only a newline does not count.
std::string_view NameField(std::string_view line, int column) {
  int number = 0;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsNameSeparator(line[i])) ++i;
    if (i == line.size()) break;
    const std::size_t start = i;
    while (i < line.size() && !IsNameSeparator(line[i])) ++i;
    std::string_view field = line.substr(start, i - start);
    if (field == "\n") continue;
    if (++number == column) {
      if (!field.empty() && field.back() == '\n') field.remove_suffix(1);
      return field;
    }
  }
  return {};
}

// Where the name field of a header read so far ends: field `column`, or (column 0) field 1, or
// field 2 when field 1 is "X". kNone while that field may still go on.
constexpr std::size_t kNone = std::string_view::npos;
std::size_t NameFieldEnd(std::string_view header, int column) {
  int number = 0;
  std::size_t i = 0;
  for (;;) {
    while (i < header.size() && IsNameSeparator(header[i])) ++i;
    const std::size_t start = i;
    while (i < header.size() && !IsNameSeparator(header[i])) ++i;
    if (i == header.size()) return kNone;
    ++number;
    if (column == 0 ? number == 2 || header.substr(start, i - start) != "X" : number == column)
      return i;
  }
}

// Converts a field the classifier accepted, as the C conversion would: a leading "+" is
// allowed, the longest number at the start is taken, and values beyond the float range become
// infinite or denormal/zero. False when no number starts the field (".e5", "-e5").
bool ConvertField(std::string_view field, float& value) {
  const char* first = field.data();
  const char* last = first + field.size();
  if (first != last && *first == '+') ++first;
  if (first != last && *first == '+') return false;
  const std::from_chars_result r = std::from_chars(first, last, value);
  if (r.ec == std::errc()) return true;
  if (r.ec != std::errc::result_out_of_range) return false;
  const std::string copy(first, last);
  value = std::strtof(copy.c_str(), nullptr);
  return true;
}

// The common case in one pass: a field that is a plain decimal number ([-]digits[.digits]
// [e[+-]digits], ending in a digit or ".") up to a separator or the line's end. Such a field is a
// number for IsFloat too, so the result is the same as classifying then converting. On success
// `i` moves past the field; otherwise nothing changes and the caller takes the general path.
bool PlainNumber(std::string_view line, std::size_t& i, float& value) {
  const char c = line[i];
  if (!((c >= '0' && c <= '9') || c == '.' || c == '-')) return false;
  const char* end = line.data() + line.size();
  const std::from_chars_result r = std::from_chars(line.data() + i, end, value);
  if (r.ec != std::errc() || (r.ptr != end && !IsFieldSeparator(*r.ptr))) return false;
  const char last = r.ptr[-1];
  if (!((last >= '0' && last <= '9') || last == '.')) return false;
  if (static_cast<std::size_t>(r.ptr - (line.data() + i)) > kMaxValueField) return false;
  i = static_cast<std::size_t>(r.ptr - line.data());
  return true;
}

// A line as read with its line end: "*" alone on its line is a command line too.
bool IsCommand(std::string_view line, bool hadLineEnd) {
  return xypK_Utils::IsCommandLine(line) || (line == "*" && hadLineEnd);
}

// The fields of a data line up to the last one read.
struct DataFields {
  float x = 0.0f, y = 0.0f;
  bool converted = true, noValue = false;
  int count = 0;        // fields split off
  std::size_t end = 0;  // where the last of them ends
};

// Splits a data line at commas, blanks and tabs (runs count as one) up to field `lastField`, and
// converts the x and y fields. An x or y field that is neither a number nor "NoValue", or is
// longer than kMaxValueField, raises ErrorInvalidDataTypeForCoordinate. With kPartial the text is
// the start of a line still being read: a field that reaches its end may go on and is not split
// off, but is refused already when it is an x or y field longer than kMaxValueField.
template <bool kPartial>
DataFields SplitDataLine(std::string_view line, int xField, int yField, int lastField) {
  DataFields f;
  std::size_t i = 0;
  while (f.count < lastField) {
    while (i < line.size() && IsFieldSeparator(line[i])) ++i;
    if (i == line.size()) break;
    const std::size_t start = i;
    const bool isX = f.count + 1 == xField, isY = f.count + 1 == yField;
    if constexpr (kPartial) {
      std::size_t stop = i;
      while (stop < line.size() && !IsFieldSeparator(line[stop])) ++stop;
      if (stop == line.size()) {
        if ((isX || isY) && stop - start > kMaxValueField)
          xypK_MessageTypes::ErrorInvalidDataTypeForCoordinate(isX ? "X" : "Y");
        break;
      }
    }
    ++f.count;
    float value = 0.0f;
    if ((isX || isY) && PlainNumber(line, i, value)) {
      if (isX) f.x = value;
      if (isY) f.y = value;
      f.end = i;
      continue;
    }
    while (i < line.size() && !IsFieldSeparator(line[i])) ++i;
    f.end = i;
    if (!isX && !isY) continue;
    const std::string_view field = line.substr(start, i - start);
    const xypK_FieldEnum kind =
        field.size() > kMaxValueField ? xypK_NOT_A_NUMBER : xypK_Utils::IsFloat(field);
    if (kind == xypK_NOT_A_NUMBER)
      xypK_MessageTypes::ErrorInvalidDataTypeForCoordinate(isX ? "X" : "Y");
    if (kind == xypK_NUMBER) {
      if (isX) f.converted = ConvertField(field, f.x) && f.converted;
      if (isY) f.converted = ConvertField(field, f.y) && f.converted;
    }
    f.noValue = f.noValue || kind == xypK_NO_VALUE;
  }
  return f;
}

// What the reading loop knows before it sees the next line.
struct ReadState {
  int xField, yField, lastField;
  bool twoColumns;
  std::int64_t period;  // a line used, then period - 1 skipped
  std::int64_t lineCounter = 0;
  int section = 0;
  std::uint64_t linesRead = 0;
};

// A line too long to hold up to the end of what is read from it.
[[noreturn]] void RefuseLongLine(const ReadState& s) {
  NEX_THROW(uti_XypException(
      "ErrorReadingDataFromFile", 11,
      "line " + cow_String::FromInt(static_cast<long long>(s.linesRead + 1)) + " holds more than " +
          cow_String::FromInt(static_cast<long long>(kMaxHeldLine)) +
          " bytes before the end of the fields read from it"));
}

// For a line that has filled the reader's buffer, how much the loop below needs: the same
// decisions in the same order, so the kept text reads exactly as the whole line would.
xypK_TextFileReader::Keep KeepOfLongLine(char* text, std::size_t size, const ReadState& s) {
  const std::string_view line(text, size);
  const auto whole = [&]() -> xypK_TextFileReader::Keep {
    if (size >= kMaxHeldLine) RefuseLongLine(s);
    return {size, true};
  };
  if (s.period != 1 && s.lineCounter % s.period != 0) return {0, false};  // skipped unseen
  if (size < 2) return {size, true};
  if (xypK_Utils::IsCommentLine(line)) return {2, false};
  if (xypK_Utils::IsCommandLine(line)) {
    if (s.section >= 1) return {2, false};  // it ends the data
    const std::string_view header = xypK_ReadData::ChopStarAndSpace(line);
    if (header.empty()) return {2, true};  // "*" and the blank or tab after it stand for the run
    const std::size_t end = NameFieldEnd(header, s.twoColumns ? 0 : s.lastField);
    return end == kNone ? whole() : xypK_TextFileReader::Keep{size - header.size() + end, false};
  }
  if (line.find_first_not_of(" \t,") == kNone) {
    // Separators only so far: one of them stands for the run, and a comma for any comma (which
    // makes the line a data line rather than a blank one).
    if (text[0] != ',' && line.find(',') != kNone) {
      text[1] = ',';
      return {2, true};
    }
    return {1, true};
  }
  const DataFields f = SplitDataLine<true>(line, s.xField, s.yField, s.lastField);
  return f.count == s.lastField ? xypK_TextFileReader::Keep{f.end, false} : whole();
}

// The text of a line to blame in an error: without its line end, and its first kShownLine bytes
// followed by "..." when it is longer.
constexpr std::size_t kShownLine = 1024;
cow_String ShownLine(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.size() <= kShownLine) return cow_String(line);
  std::string shown(line.substr(0, kShownLine));
  shown += "...";
  return cow_String(std::move(shown));
}

const char* const kCannotOpen =
    "The file from which XY data are read cannot be opened.  Please check that it is not being "
    "used by another process.";

}  // namespace

std::string_view xypK_ReadData::ChopStarAndSpace(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && (line[i] == '*' || line[i] == ' ' || line[i] == '\t')) ++i;
  return line.substr(i);
}

void xypK_ReadData::ChopStarAndSpace(char* line) {
  if (!line) return;
  const std::size_t length = std::strlen(line);
  const std::string_view rest = ChopStarAndSpace(std::string_view(line, length));
  std::memmove(line, rest.data(), rest.size() + 1);
}

std::string_view xypK_ReadData::SinglePairName(std::string_view line) {
  const std::string_view first = NameField(line, 1);
  return first == "X" ? NameField(line, 2) : first;
}

std::string_view xypK_ReadData::MultColumnName(std::string_view line, int column) {
  return NameField(line, column);
}

cow_String xypK_ReadData::GetSinglePairXYDataName(char* line) {
  return line ? cow_String(SinglePairName(line)) : cow_String();
}

cow_String xypK_ReadData::GetMultColumnXYDataName(char* line, int column) {
  return line ? cow_String(MultColumnName(line, column)) : cow_String();
}

std::unique_ptr<udd_UserXYData> xypK_ReadData::FromFile(omu_Arguments& args) {
  cow_String name, fileName, sourceDescription, contentDescription, positionDescription, xLabel,
      yLabel, legend;
  int xField = 1, yField = 2, skipFrequency = 0;
  args.Begin();
  args.Get(name, "name");
  args.Get(fileName, "fileName");
  args.Optional();
  args.Get(xField, "xField");
  args.Get(yField, "yField");
  args.Get(skipFrequency, "skipFrequency");
  GetTexts(args, sourceDescription, contentDescription, positionDescription, xLabel, yLabel,
           legend);
  args.End();

  name = name.Trim(' ');
  if (name.IsEmpty()) xypK_MessageTypes::ErrorXYDataNameNotGiven();
  const cow_String path = uti_PreCheckFile(fileName, uti_READ_ACCESS, "XY data file");
  // Errors from here on say where they arose: the file, and the line when one is to blame.
  try {
    if (xField < 1) xypK_MessageTypes::ErrorOutOfRangeColumnForCoordinate("X");
    if (yField < 1) xypK_MessageTypes::ErrorOutOfRangeColumnForCoordinate("Y");

    auto record = std::make_unique<udd_UserXYData>(512);
    SetTexts(*record, name, sourceDescription, contentDescription, positionDescription, xLabel,
             yLabel, legend);

    const int fd = open(path.CStr(), O_RDONLY | O_CLOEXEC);
    cmdC_WIP& wip = omi_Singleton<cmdC_WIP>::Instance();
    if (fd < 0) {
      wip.Error(kCannotOpen);
      return nullptr;
    }
    xypK_TextFileReader file(fd, path);

    // 64-bit: a skip frequency near the int limit plus one does not overflow.
    ReadState s{xField, yField, std::max(xField, yField), xField <= 2 && yField <= 2,
                static_cast<std::int64_t>(std::max(skipFrequency, 0)) + 1};
    file.SetLineCheck([&](char* text, std::size_t size) {
      try {
        return KeepOfLongLine(text, size, s);
      } catch (const uti_XypException& e) {
        throw uti_XypFileException(e, path, s.linesRead + 1, ShownLine({text, size}));
      }
    });
    bool commandSeen = false, nameExpected = true;
    const auto started = std::chrono::steady_clock::now();
    bool showProgress = false;

    std::string_view line;
    bool hadLineEnd = false;
    while (file.NextLine(line, hadLineEnd)) {
      if ((++s.linesRead & 4095) == 0) {
        wip.InterruptedThrow();
        if (!showProgress)
          showProgress = std::chrono::steady_clock::now() - started > std::chrono::seconds(1);
        // Room for the whole file from the line length so far, with a margin: the pair array
        // then grows rarely, and early, instead of doubling (and holding the old and the new
        // array at once) when it is already large.
        if (file.FileSize() > 0 && record->Size() > 0) {
          const double estimate = static_cast<double>(record->Size()) *
                                  static_cast<double>(file.FileSize()) /
                                  static_cast<double>(file.BytesConsumed());
          if (estimate * 1.02 > static_cast<double>(record->PairCapacity()))
            record->ReservePairs(static_cast<std::size_t>(estimate * 1.10) + 1024);
        }
        if (showProgress && file.FileSize() > 0)
          wip.Milestone("Reading XY data from " + path,
                        static_cast<int>(100 * file.BytesConsumed() / file.FileSize()));
      }
      if (s.period != 1 && s.lineCounter % s.period != 0) {
        ++s.lineCounter;
        continue;
      }
      if (xypK_Utils::IsCommentLine(line) || xypK_Utils::IsBlankLine(line)) continue;
      if (IsCommand(line, hadLineEnd)) {
        commandSeen = true;
        if (++s.section > 1) break;
      }
      if (commandSeen && nameExpected && s.section == 1) {
        nameExpected = false;
        const std::string_view header = ChopStarAndSpace(line);
        const std::string_view headerName =
            s.twoColumns ? SinglePairName(header) : MultColumnName(header, s.lastField);
        if (!headerName.empty() && record->Name() != "Temp-1")
          record->SetName(cow_String(headerName));
        continue;
      }

      DataFields f;
      try {
        f = SplitDataLine<false>(line, xField, yField, s.lastField);
        if (f.count < xField) xypK_MessageTypes::ErrorOutOfRangeColumnForCoordinate("X");
        if (f.count < yField) xypK_MessageTypes::ErrorOutOfRangeColumnForCoordinate("Y");
        if (!f.converted) xypK_MessageTypes::ErrorReadingDataFromFile();
      } catch (const uti_XypException& e) {
        throw uti_XypFileException(e, path, s.linesRead, ShownLine(line));
      }
      // A pair with no value in either column is dropped rather than given an invented value.
      if (!f.noValue) record->AppendPair(f.x, f.y);
      ++s.lineCounter;
    }
    // A progress line shown ends at 100 %: whole lines off a terminal show the end too.
    if (showProgress) wip.Milestone("Reading XY data from " + path, 100);
    wip.EndProgress();

    if (s.lineCounter == 0) xypK_MessageTypes::ErrorReadingDataFromFile();
    if (commandSeen && nameExpected) xypK_MessageTypes::ErrorInvalidSectionNumber();
    if (record->Size() == 0) xypK_MessageTypes::ErrorReadingDataFromFile();

    const cow_String xName = "Field " + cow_String::FromInt(xField);
    const cow_String yName = "Field " + cow_String::FromInt(yField);
    if (record->XAxisLabel().IsEmpty()) record->SetXAxisLabel(xName);
    if (record->YAxisLabel().IsEmpty()) record->SetYAxisLabel(yName);
    if (record->ContentDescription().IsEmpty())
      record->SetContentDescription(yName + " vs. " + xName);
    if (record->LegendLabel().IsEmpty()) record->SetLegendLabel(record->Name());
    return record;
  } catch (const uti_XypFileException&) {
    omi_Singleton<cmdC_WIP>::Instance().EndProgress();
    throw;
  } catch (const uti_XypException& e) {
    omi_Singleton<cmdC_WIP>::Instance().EndProgress();
    throw uti_XypFileException(e, path, 0, cow_String());
  }
}

// ---------------------------------------------------------------------------------------------
// History output

double xypK_ReadData::ReduceComplexAngle(double degrees) {
  return std::fmod(degrees, 360.0);
}

double xypK_ReadData::ComplexValue(double a, double b, int numericForm, double theta) {
  switch (numericForm) {
    case res_IMAGINARY:
      return b;
    case res_MAGNITUDE:
      return std::sqrt(a * a + b * b);
    case res_PHASE:
      if (a == 0.0) return b > 0.0 ? 90.0 : b < 0.0 ? -90.0 : 0.0;
      return std::atan2(b, a) * 57.29577951308232;
    case res_AT_ANGLE:
      return a * std::cos(theta) - b * std::sin(theta);
    default:
      return a;
  }
}

namespace {

const char* DomainName(res_DomainEnm domain) {
  switch (domain) {
    case res_FREQUENCY:
      return "Frequency";
    case res_MODAL:
      return "Mode Number";
    case res_ARC_LENGTH:
      return "Arc Length";
    default:
      return "Time";
  }
}

// "1", "1 and 2", "1, 2 and 5".
cow_String JoinedWithAnd(const std::vector<long long>& numbers) {
  cow_String out;
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    if (i > 0) out += i + 1 == numbers.size() ? " and " : ", ";
    out += cow_String::FromInt(numbers[i]);
  }
  return out;
}

// `text` without `prefix` at its front; false (nothing removed) when it does not start so.
bool RemovePrefix(cow_String& text, const cow_String& prefix) {
  if (prefix.IsEmpty() || !text.View().starts_with(prefix.View())) return false;
  text = cow_String(text.View().substr(prefix.View().size()));
  return true;
}

// The same for a prefix as it stands in history labels, where "." is written ":".
void RemoveLabelPrefix(cow_String& text, const cow_String& prefix) {
  if (RemovePrefix(text, prefix)) return;
  std::string dotted = prefix.Std();
  std::replace(dotted.begin(), dotted.end(), '.', ':');
  RemovePrefix(text, cow_String(dotted));
}

// Asks the reporter whether the user interrupted, each step and every so many frames: the check
// calls into the scripting layer, too costly per frame.
constexpr std::uint64_t kFramesPerInterruptCheck = 4096;
// Frames read at a time: the output is never held whole, only the pairs made from it.
constexpr std::size_t kFramesPerBlock = 16384;

}  // namespace

std::unique_ptr<udd_UserXYData> xypK_ReadData::FromHistory(omu_Arguments& args, bool legendFlag) {
  cow_String name, variable, sourceDescription, contentDescription, positionDescription, xLabel,
      yLabel, legend;
  std::shared_ptr<oda_OdbIntObj> odb;
  const omu_PrimSequence* steps = nullptr;
  int skipFrequency = 0;
  omu_PrimEnum<res_ComplexDisplayEnm> numericForm(res_MAGNITUDE);
  double complexAngle = 0.0;
  args.Begin();
  args.Get(name, "name");
  // Read with a default: no database (absent or None) is an invalid model, not a type error.
  args.Get(odb, "odb", std::shared_ptr<oda_OdbIntObj>());
  args.Get(variable, "outputVariableName");
  args.Get(steps, "steps");
  if (args.Alternative()) args.Get(steps, "stepTuple");
  args.Optional();
  args.Get(skipFrequency, "skipFrequency");
  GetTexts(args, sourceDescription, contentDescription, positionDescription, xLabel, yLabel,
           legend);
  args.Get(numericForm, "numericForm");
  args.Get(complexAngle, "complexAngle");
  args.End();

  if (!std::isfinite(complexAngle))
    throw omu_ValueErrorException("complexAngle: must be a finite number of degrees");
  const double angle = ReduceComplexAngle(complexAngle);
  name = name.Trim(' ');
  if (name.IsEmpty()) xypK_MessageTypes::ErrorXYDataNameNotGiven();
  // A database object whose file was closed since names no model.
  const odb_Odb* database =
      odb ? thr_ThreadSingleton<ddr_Root>::Instance().Find(odb->RealPath(), odb->Generation())
          : nullptr;
  if (!database) xypK_MessageTypes::ErrorInvalidModel();
  const odiK_Model& model = database->Model();
  const std::vector<int> stepList =
      steps ? odpK_OdbToolset::GetStepListFromTuple(model.FileName(), *steps) : std::vector<int>();
  if (stepList.empty()) xypK_MessageTypes::ErrorInvalidStepNumber();

  try {
    return HistoryFromDdb(name, model, variable, numericForm.Get(), angle, stepList,
                          std::max(skipFrequency, 0), sourceDescription, contentDescription,
                          positionDescription, xLabel, yLabel, legend, legendFlag);
  } catch (const cmdC_InterruptedException&) {
    omi_Singleton<cmdC_WIP>::Instance().EndProgress();
    xypK_MessageTypes::ErrorXYFromHistoryAborted();
  }
}

std::unique_ptr<udd_UserXYData> xypK_ReadData::HistoryFromDdb(
    const cow_String& name, const odiK_Model& model, const cow_String& outputVariableName,
    int numericForm, double angleDegrees, const std::vector<int>& stepList, int skipFrequency,
    cow_String& sourceDescription, cow_String& contentDescription, cow_String& positionDescription,
    cow_String& xLabel, cow_String& yLabel, cow_String& legend, bool legendFlag) {
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  toolset.UpdateHistoryLists(model);
  const cow_String& fileName = model.FileName();
  const odb_Odb* odb = thr_ThreadSingleton<ddr_Root>::Instance().Find(fileName);
  if (!odb) xypK_MessageTypes::ErrorInvalidModel();
  const std::vector<ddb_Step>& steps = odb->Steps();
  std::vector<bool> marked(steps.size(), false);
  for (int index : stepList) {
    if (index < 0 || static_cast<std::size_t>(index) >= steps.size())
      xypK_MessageTypes::ErrorInvalidStepNumber();
    marked[static_cast<std::size_t>(index)] = true;
  }
  // The history output of the variable in a step; null where the step does not hold it. Keys
  // come from the lists but are checked again against the step: the file is user input.
  const auto historyOf = [&](std::size_t k) -> const ddb_History* {
    const int key =
        toolset.StepHistoryLabelListKey(outputVariableName, fileName, static_cast<int>(k));
    if (key < 0 || key >= steps[k].numHistory()) return nullptr;
    return &steps[k].histories[static_cast<std::size_t>(key)];
  };

  // The first marked step with the variable gives the domain and the first guess of the size.
  const ddb_History* first = nullptr;
  res_DomainEnm firstDomain = res_TIME;
  for (std::size_t k = 0; k < steps.size() && !first; ++k) {
    if (!marked[k] || !steps[k].hasHistory()) continue;
    first = historyOf(k);
    firstDomain = steps[k].domain;
  }
  if (!first || first->count == 0) xypK_MessageTypes::ErrorZeroLengthXYData();
  // Room for the first step's frames after skipping: a hint only, so a count the file merely
  // declares (a compressed array may claim far more than it holds) does not reserve gigabytes.
  const std::size_t expected =
      static_cast<std::size_t>(first->count) / (static_cast<std::size_t>(skipFrequency) + 1) + 1;
  auto record = std::make_unique<udd_UserXYData>(std::min<std::size_t>(expected, 1u << 22) +
                                                 2 * steps.size());
  cmdC_WIP& wip = omi_Singleton<cmdC_WIP>::Instance();
  xypK_MessageTypes::MilestoneInfoRetrievingHistoryFromODB();

  const double theta = angleDegrees * 0.017453292519943295;
  bool isComplex = false, textsTaken = false;
  cow_String variableDescription, variableLabel, positionText, shortLegend;
  std::vector<long long> reducedSteps, reducedSkips;
  std::uint64_t framesUsed = 0;
  for (std::size_t k = 0; k < steps.size(); ++k) {
    const ddb_Step& step = steps[k];
    if (!marked[k] || !step.hasHistory()) continue;
    wip.InterruptedThrow();
    if (step.domain != firstDomain)
      xypK_MessageTypes::ErrorMixedStepDomains(DomainName(firstDomain), DomainName(step.domain));
    const ddb_History* h = historyOf(k);
    if (!h) continue;
    const double offset =
        step.domain == res_TIME ? static_cast<double>(static_cast<float>(step.totalTime)) : 0.0;
    isComplex = isComplex || h->isPair;
    // This step's own count: a later step may be shorter or longer than the first.
    const std::size_t n = static_cast<std::size_t>(h->count);
    if (n == 0) continue;
    long long skip = skipFrequency;
    if (skip != 0 && n <= static_cast<std::size_t>(skip)) {
      skip = std::max<long long>(static_cast<long long>(n) - 2, 0);
      reducedSteps.push_back(static_cast<long long>(k) + 1);
      reducedSkips.push_back(skip);
    }
    const std::size_t period = static_cast<std::size_t>(skip) + 1;
    const std::size_t stride = static_cast<std::size_t>(h->components) * (h->isPair ? 2u : 1u);
    const auto frames = [&](std::size_t first, std::size_t count, const double* time,
                            const double* values) {
      // Frame 0, then every frame that is a multiple of the period.
      for (std::size_t i = (first + period - 1) / period * period; i < first + count; i += period) {
        const double* v = values + (i - first) * stride;
        const double y = h->isPair ? ComplexValue(v[0], v[1], numericForm, theta) : v[0];
        const double t = time[i - first];
        if (i == 0) {
          // Dropped when it repeats the last stored pair (its x taken without the offset).
          const cow_1DArrayList<udd_PairEntry>& pairs = record->Pairs();
          if (pairs.Size() > 0 && std::fabs(pairs[pairs.Size() - 1].x - t) < 1e-05 &&
              std::fabs(pairs[pairs.Size() - 1].y - y) < 1e-05)
            continue;
        } else if ((++framesUsed % kFramesPerInterruptCheck) == 0) {
          wip.InterruptedThrow();
        }
        record->AppendPair(udd_PairEntry::Narrow(offset + t), udd_PairEntry::Narrow(y));
      }
    };
    bool complete = false;
    try {
      complete = odb->ReadHistoryBlocks(*h, kFramesPerBlock, frames);
    } catch (const odb_OdbException&) {
      xypK_MessageTypes::ErrorReadingODBData();
    }
    if (!complete) xypK_MessageTypes::ErrorInvalidHistoryVariable(outputVariableName);
    if (!textsTaken) {
      textsTaken = true;
      variableDescription = h->variableDescription;
      variableLabel = h->variableLabel;
      // The label's front is description, ": ", variable label: what follows tells the position.
      positionText = outputVariableName;
      RemoveLabelPrefix(positionText, variableDescription);
      RemovePrefix(positionText, ": ");
      RemoveLabelPrefix(positionText, variableLabel);
      positionText = positionText.Trim(' ');
      if (legendFlag) shortLegend = toolset.HistoryVariableLegend(fileName, outputVariableName);
    }
  }
  if (!reducedSteps.empty())
    xypK_MessageTypes::WarningOutOfRangeFrequency(JoinedWithAnd(reducedSteps),
                                                  JoinedWithAnd(reducedSkips));

  const cow_String complexLabel =
      isComplex ? odpK_Utils::ComplexXYLabel(numericForm, angleDegrees) : cow_String();
  if (sourceDescription.IsEmpty()) sourceDescription = variableDescription;
  if (contentDescription.IsEmpty()) contentDescription = variableLabel;
  if (positionDescription.IsEmpty()) positionDescription = positionText;
  positionDescription += complexLabel;
  if (xLabel.IsEmpty()) xLabel = DomainName(firstDomain);
  if (yLabel.IsEmpty()) {
    // Built from the descriptions: the position already carries the complex label.
    yLabel = contentDescription;
    if (!positionDescription.IsEmpty()) yLabel += " " + positionDescription;
  } else {
    yLabel += complexLabel;
  }
  if (legend.IsEmpty()) legend = legendFlag ? shortLegend : name;

  SetTexts(*record, name, sourceDescription, contentDescription, positionDescription, xLabel,
           yLabel, legend);
  record->SetTypeCode(udd_UserXYData::kHistoryData);
  record->SetFileName(fileName);
  return record;
}
