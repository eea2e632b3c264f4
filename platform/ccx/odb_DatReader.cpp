#include "odb_DatReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "cmdC_WIP.h"
#include "nex_Exception.h"
#include "odb_Checks.h"
#include "odb_OdbException.h"
#include "odb_TextLines.h"
#include "odb_Writer.h"
#include "omi_Singleton.h"
#include "res_Enumerations.h"

namespace {

// History labels by quantity and component, as the solver prints them. An empty component is
// a quantity printed without a component list (temperatures, totals). "values" stands for a
// list of numbered values: their labels get the number appended.
struct LabelRule {
  const char* quantity;
  const char* component;
  const char* label;
  const char* description;
};
constexpr LabelRule kLabels[] = {
    {"displacements", "vx", "U1", "Spatial displacement"},
    {"displacements", "vy", "U2", "Spatial displacement"},
    {"displacements", "vz", "U3", "Spatial displacement"},
    {"velocities", "vx", "V1", "Spatial velocity"},
    {"velocities", "vy", "V2", "Spatial velocity"},
    {"velocities", "vz", "V3", "Spatial velocity"},
    {"forces", "fx", "RF1", "Reaction force"},
    {"forces", "fy", "RF2", "Reaction force"},
    {"forces", "fz", "RF3", "Reaction force"},
    {"total force", "fx", "RF1", "Total reaction force"},
    {"total force", "fy", "RF2", "Total reaction force"},
    {"total force", "fz", "RF3", "Total reaction force"},
    {"temperatures", "", "NT11", "Nodal temperature"},
    {"stresses", "sxx", "S11", "Stress components"},
    {"stresses", "syy", "S22", "Stress components"},
    {"stresses", "szz", "S33", "Stress components"},
    {"stresses", "sxy", "S12", "Stress components"},
    {"stresses", "sxz", "S13", "Stress components"},
    {"stresses", "syz", "S23", "Stress components"},
    {"strains", "exx", "E11", "Strain components"},
    {"strains", "eyy", "E22", "Strain components"},
    {"strains", "ezz", "E33", "Strain components"},
    {"strains", "exy", "E12", "Strain components"},
    {"strains", "exz", "E13", "Strain components"},
    {"strains", "eyz", "E23", "Strain components"},
    {"mechanical strains", "exx", "ME11", "Mechanical strain components"},
    {"mechanical strains", "eyy", "ME22", "Mechanical strain components"},
    {"mechanical strains", "ezz", "ME33", "Mechanical strain components"},
    {"mechanical strains", "exy", "ME12", "Mechanical strain components"},
    {"mechanical strains", "exz", "ME13", "Mechanical strain components"},
    {"mechanical strains", "eyz", "ME23", "Mechanical strain components"},
    {"equivalent plastic strain", "pe", "PEEQ", "Equivalent plastic strain"},
    {"internal energy density", "ene", "SENER", "Strain energy density"},
    {"heat flux", "qx", "HFL1", "Heat flux"},
    {"heat flux", "qy", "HFL2", "Heat flux"},
    {"heat flux", "qz", "HFL3", "Heat flux"},
    {"internal state variables", "values", "SDV", "Solution dependent state variables"},
    {"total internal energy", "", "ALLIE", "Internal energy"},
    {"total kinetic energy", "", "ALLKE", "Kinetic energy"},
    {"total volume", "", "EVOL", "Volume"},
};

constexpr int kMaxWarnings = 20;
constexpr double kTimeTolerance = 1e-5;  // the .frd prints times with fewer digits

std::string_view TrimLeft(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  return s.substr(i);
}
std::string_view TrimRight(std::string_view s) {
  std::size_t n = s.size();
  while (n > 0 && (s[n - 1] == ' ' || s[n - 1] == '\t')) --n;
  return s.substr(0, n);
}
std::string_view Trim(std::string_view s) {
  return TrimRight(TrimLeft(s));
}
bool EndsWith(std::string_view s, std::string_view end) {
  return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}
bool StartsWith(std::string_view s, std::string_view start) {
  return s.substr(0, start.size()) == start;
}
bool IsBlank(std::string_view s) {
  return TrimLeft(s).empty();
}
bool IsSpace(char c) {
  return c == ' ' || c == '\t';
}
// A field that starts like a number: anything else after a row's numbers is trailing text.
bool StartsNumber(char c) {
  return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c == ' ') c = '_';
  }
  return out;
}

// A number as Fortran prints it: 1.5E-03, also 1.5D-03 and, for three-digit exponents, 1.5-103.
bool ParseNumber(std::string_view text, double& value) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  if (begin != end && *begin == '+') ++begin;
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  if (ec == std::errc() && ptr == end) return true;
  if (ec == std::errc::result_out_of_range) return false;
  // The slow path for the Fortran forms from_chars does not read.
  char buffer[64];
  if (text.size() + 2 > sizeof buffer) return false;
  std::size_t n = 0;
  bool digits = false;
  bool exponent = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (c == 'D' || c == 'd') {
      if (exponent || !digits) return false;
      c = 'E';
      exponent = true;
    } else if (c == 'E' || c == 'e') {
      if (exponent || !digits) return false;
      exponent = true;
    } else if ((c == '-' || c == '+') && i > 0 && !exponent && digits) {
      buffer[n++] = 'E';  // the exponent letter dropped for a wide exponent
      exponent = true;
    }
    buffer[n++] = c;
  }
  if (!exponent) return false;
  const char* b = buffer;
  if (*b == '+') ++b;
  const auto [p2, e2] = std::from_chars(b, buffer + n, value);
  return e2 == std::errc() && p2 == buffer + n;
}

// How the rows of a table name their entity.
enum class Layout {
  kNode,         // node, values
  kIntegration,  // element, integration point, values
  kElement,      // element, values
  kElementFace,  // element, face, values (contact output: one row per contact point)
  kTotal,        // values only, one row
};

struct RowKey {
  int a = 0;  // node or element
  int b = 0;  // integration point or face
  int c = 0;  // repeat of an element face within a table
  bool operator==(const RowKey& o) const { return a == o.a && b == o.b && c == o.c; }
};
struct RowKeyHash {
  std::size_t operator()(const RowKey& k) const {
    std::uint64_t h = static_cast<std::uint32_t>(k.a);
    h = h * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint32_t>(k.b);
    h = h * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint32_t>(k.c);
    return static_cast<std::size_t>(h ^ (h >> 29));
  }
};

struct Header {
  std::string_view quantity;
  std::vector<std::string_view> components;  // the value components
  bool componentsKnown = false;              // false: the rows tell the count
  bool numbered = false;                     // the components are a "values" list
  Layout layout = Layout::kNode;
  std::string_view set;  // empty: the table names none
  std::string_view key;  // the text before the time: one table series
  double time = 0;
};

enum class HeaderKind { kNone, kTable, kUnknownLayout };

// All the tables of one quantity, component list and set within one step.
struct Series {
  int stepSlot = 0;
  std::string quantity;
  std::vector<std::string> components;
  bool componentsKnown = false;
  bool numbered = false;
  Layout layout = Layout::kNode;
  std::string set;
  int count = -1;  // values per row, -1 until the first row when the rows tell it

  std::vector<RowKey> rows;  // in the order first seen
  std::unordered_map<RowKey, int, RowKeyHash> index;
  std::vector<int> lastTable;  // per row: the last table that held it
  // Per table: its time, where its values start, its row count and, when its rows are not
  // rows[0..n) in that order, where its row numbers start in `ids` (-1 otherwise).
  std::vector<double> times;
  std::vector<std::size_t> valueStart;
  std::vector<int> rowCount;
  std::vector<std::int64_t> idsStart;
  std::vector<int> ids;
  std::vector<float> values;
};

struct OwnStep {
  int number = 0;
  double start = 0;
};

}  // namespace

struct odb_DatReader::Impl {
  Impl(odb_DatReader& owner)
      : reader(owner), lines(owner.path_, cow_String("Reading ") + owner.path_) {}

  odb_DatReader& reader;
  odb_TextLines lines;
  const odiK_PartInstance* instance = nullptr;

  // Steps.
  bool useGivenSteps = false;
  std::size_t givenStep = 0;  // into reader.steps_: where the last table went
  int lastTimeStep = -1;      // the last given TIME step with frames
  std::vector<OwnStep> ownSteps;
  bool anyTable = false;
  double previousTime = 0;

  std::vector<std::unique_ptr<Series>> series;
  std::unordered_map<std::string, int> seriesIndex;  // step slot and header key

  // Skipped text.
  bool skipping = false;
  int warnings = 0;
  bool inModeShapes = false;  // after a per-mode heading of eigenvalue output
  bool haveModeTime = false;
  double modeTime = 0;

  std::vector<double> rowValues;
  std::unordered_map<std::uint64_t, int> faceRepeats;  // per table of element faces

  // Rows at entities the .frd's model does not hold. The solver prints every label of a node
  // set, also those no element uses (which its .frd leaves out), and prints the nodes and
  // elements of beams and shells as the input gave them, while its .frd holds the solids it
  // expanded them into, with new numbers (a composite shell becomes one solid per layer). Such
  // rows cannot be placed, so they are skipped: one warning at the first of each kind, a count
  // at the end. [0] nodes, [1] elements.
  std::unordered_set<int> skipped[2];
  std::int64_t skippedRows[2] = {0, 0};

  void Read();
  HeaderKind ParseHeader(std::string_view line, Header& h);
  void Warn(const std::string& what) {
    if (warnings < kMaxWarnings)
      lines.Warn(what);
    else if (warnings == kMaxWarnings)
      lines.Warn("further skipped sections not reported");
    ++warnings;
  }
  void StartSkip(std::string_view line);
  int StepSlot(double time);
  Series& SeriesOf(int slot, const Header& h);
  // Reads the rows of the table just headed; false when its first row shows a layout other
  // than the header's (the table is then skipped).
  bool ReadTable(const Header& h);
  int ParseRow(std::string_view line, Layout layout, int count, RowKey& key, bool first);
  // Whether a row's entity can be placed in the model: false for a node or element the model
  // lacks and for the front or back of a plane element (the row is skipped); odb_OdbException
  // for an integration point below 1 or a face the element cannot have.
  bool CheckEntity(Layout layout, const RowKey& key);
  void SkipRow(Layout layout, const RowKey& key);
  // The face of the model's element that a contact row's face is (see PlacedFace below); 0 for
  // none, -1 for the front or back of a plane element.
  int FaceOf(const RowKey& key) const;
  // A row at fault; the last line of a file without its line end is a truncated file.
  [[noreturn]] void RowFail(const std::string& reason) {
    if (!lines.LastLineEnded()) lines.Fail("truncated: the last row has no line end");
    lines.Fail(reason);
  }
  void Finish();
};

namespace {

// The heading of a section of eigenvalue output: capitals spaced out ("E I G E N V A L U E"),
// perhaps followed by a number ("... F O R   M O D E       1"). Returns the length of the
// spaced part, 0 when the line is no such heading.
std::size_t SpacedHeading(std::string_view t) {
  int letters = 0;
  std::size_t end = 0;
  for (std::size_t i = 0; i < t.size(); ++i) {
    const char c = t[i];
    if (c >= 'A' && c <= 'Z') {
      if (i + 1 < t.size() && t[i + 1] != ' ') break;
      ++letters;
      end = i + 1;
    } else if (c != ' ') {
      break;
    }
  }
  return letters >= 5 ? end : 0;
}
bool IsSpacedHeading(std::string_view line) {
  return SpacedHeading(Trim(line)) > 0;
}

// "E I G E N V A L U E   O U T P U T" as "EIGENVALUE OUTPUT"; other lines as their first words.
std::string SectionName(std::string_view line) {
  std::string_view t = Trim(line);
  std::string out;
  const std::size_t spaced = SpacedHeading(t);
  for (std::size_t i = 0; i < spaced; ++i) {
    if (t[i] != ' ')
      out += t[i];
    else if (t[i + 1] == ' ' && out.back() != ' ')
      out += ' ';  // words are apart by several blanks, letters by one
  }
  t = TrimLeft(t.substr(spaced));
  if (!t.empty() && !out.empty()) out += ' ';
  for (std::size_t i = 0; i < t.size() && out.size() < 60; ++i) {
    if (IsSpace(t[i])) {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else {
      out += t[i];
    }
  }
  return out;
}

}  // namespace

HeaderKind odb_DatReader::Impl::ParseHeader(std::string_view line, Header& h) {
  // Headers begin with a blank and the quantity in lower case.
  if (line.size() < 2 || line[0] != ' ' || !(line[1] >= 'a' && line[1] <= 'z')) {
    return HeaderKind::kNone;
  }
  const std::string_view text = TrimRight(line);
  std::size_t at = text.rfind(" and time");
  std::size_t skip = 9;
  bool noSet = false;
  if (at == std::string_view::npos) {
    // "total contact spring energy for time t": a total of the whole model.
    at = text.rfind(" for time");
    if (at == std::string_view::npos) return HeaderKind::kNone;
    noSet = true;
  }
  const std::string_view timeText = Trim(text.substr(at + skip));
  if (timeText.empty() || !StartsNumber(timeText[0]) ||
      timeText.find(' ') != std::string_view::npos) {
    return HeaderKind::kNone;
  }
  if (!ParseNumber(timeText, h.time) || !std::isfinite(h.time))
    lines.Fail("malformed time \"" + std::string(timeText) + "\"");
  std::string_view head = TrimRight(text.substr(0, at));
  h.key = head;
  h.set = {};
  if (!noSet) {
    if (EndsWith(head, "for all contact elements")) {
      head = TrimRight(head.substr(0, head.size() - 24));
    } else {
      const std::size_t blank = head.rfind(' ');
      if (blank == std::string_view::npos) return HeaderKind::kNone;
      const std::string_view last = head.substr(blank + 1);
      const std::string_view before = TrimRight(head.substr(0, blank));
      if (EndsWith(before, "set")) {  // "for set NAME", "forset NAME", "...,eneset NAME"
        h.set = last;
        head = TrimRight(before.substr(0, before.size() - 3));
      } else if (StartsWith(last, "set") && last.size() > 3 && EndsWith(before, "for")) {
        h.set = last.substr(3);  // "for setNAME"
        head = before;
      } else {
        return HeaderKind::kNone;
      }
    }
    if (EndsWith(head, "for")) head = TrimRight(head.substr(0, head.size() - 3));
  } else if (EndsWith(head, "for")) {
    head = TrimRight(head.substr(0, head.size() - 3));
  }
  head = TrimLeft(head);

  h.components.clear();
  h.componentsKnown = false;
  h.numbered = false;
  h.layout = Layout::kNode;
  const std::size_t open = head.find('(');
  h.quantity = Trim(head.substr(0, open));
  if (open != std::string_view::npos) {
    // The list may lack its closing parenthesis ("(elem, integ.pnt.,eneset EALL").
    std::string_view list = head.substr(open + 1);
    const std::size_t close = list.find(')');
    if (close != std::string_view::npos) list = list.substr(0, close);
    std::vector<std::string_view> items;
    while (true) {
      const std::size_t comma = list.find(',');
      items.push_back(Trim(list.substr(0, comma)));
      if (comma == std::string_view::npos) break;
      list = list.substr(comma + 1);
    }
    std::size_t first = 0;
    if (items.size() >= 2 && items[0] == "elem" && items[1] == "integ.pnt.") {
      h.layout = Layout::kIntegration;
      first = 2;
    } else if (items[0] == "element" || items[0] == "elem") {
      h.layout = Layout::kElement;
      first = 1;
    } else if (items[0] == "slave node" || items[0] == "node") {
      h.layout = Layout::kNode;
      first = 1;
    } else if (items[0] == "slave element+face") {
      h.layout = Layout::kElementFace;
      first = 1;
    }
    // Component names are single words; a list of phrases explains the quantity instead
    // ("(total pressure for gases, static pressure for liquids ...)"): the rows tell the count.
    bool names = first < items.size();
    for (std::size_t i = first; i < items.size(); ++i)
      if (items[i].empty() || items[i].find(' ') != std::string_view::npos) names = false;
    if (names && items.size() == first + 1 && items[first] == "values") {
      h.numbered = true;
      h.components.push_back(items[first]);
    } else if (names) {
      h.components.assign(items.begin() + static_cast<std::ptrdiff_t>(first), items.end());
      h.componentsKnown = true;
    }
  }
  if (h.quantity == "total" || StartsWith(h.quantity, "total ")) {
    if (h.layout != Layout::kNode) return HeaderKind::kUnknownLayout;
    h.layout = Layout::kTotal;
  }
  return HeaderKind::kTable;
}

void odb_DatReader::Impl::StartSkip(std::string_view line) {
  skipping = true;
  Warn("skipped " + SectionName(line));
}

int odb_DatReader::Impl::StepSlot(double time) {
  const bool back = anyTable && time < previousTime;
  anyTable = true;
  previousTime = time;
  if (!useGivenSteps) {
    if (ownSteps.empty() || back) {
      int number = 0;
      for (const odb_FrdReader::Step& s : reader.steps_) number = std::max(number, s.number);
      if (!ownSteps.empty()) number = std::max(number, ownSteps.back().number);
      // The first step starts at 0; one that starts when time went back, at its first table.
      ownSteps.push_back({number + 1, ownSteps.empty() ? 0.0 : time});
    }
    return static_cast<int>(ownSteps.size()) - 1;
  }
  const std::vector<odb_FrdReader::Step>& steps = reader.steps_;
  for (std::size_t i = givenStep; i < steps.size(); ++i) {
    const odb_FrdReader::Step& s = steps[i];
    if (s.domain != res_TIME || s.frameValues.empty()) continue;
    const double last = s.frameValues.back();
    if (last >= time - kTimeTolerance * std::max(std::fabs(time), std::fabs(last))) {
      givenStep = i;
      return static_cast<int>(i);
    }
  }
  givenStep = static_cast<std::size_t>(lastTimeStep);
  return lastTimeStep;
}

Series& odb_DatReader::Impl::SeriesOf(int slot, const Header& h) {
  std::string key = std::to_string(slot);
  key += '|';
  key += h.key;
  const auto found = seriesIndex.find(key);
  if (found != seriesIndex.end()) return *series[static_cast<std::size_t>(found->second)];
  auto s = std::make_unique<Series>();
  s->stepSlot = slot;
  s->quantity = std::string(h.quantity);
  for (std::string_view c : h.components) s->components.emplace_back(c);
  s->componentsKnown = h.componentsKnown;
  s->numbered = h.numbered;
  s->layout = h.layout;
  s->set = std::string(h.set);
  if (h.componentsKnown) s->count = static_cast<int>(h.components.size());
  seriesIndex.emplace(std::move(key), static_cast<int>(series.size()));
  series.push_back(std::move(s));
  return *series.back();
}

// Parses one row into `key` and rowValues; returns the number of values, -1 when the row does
// not begin with the entity numbers of the layout (only acceptable for a table's first row).
int odb_DatReader::Impl::ParseRow(std::string_view line, Layout layout, int count, RowKey& key,
                                  bool first) {
  const char* p = line.data();
  const char* const e = p + line.size();
  const int entityFields = layout == Layout::kTotal                                           ? 0
                           : layout == Layout::kIntegration || layout == Layout::kElementFace ? 2
                                                                                              : 1;
  int ints[2] = {0, 0};
  for (int i = 0; i < entityFields; ++i) {
    while (p < e && IsSpace(*p)) ++p;
    const char* end = p;
    while (end < e && !IsSpace(*end)) ++end;
    const auto [ptr, ec] = std::from_chars(p, end, ints[i]);
    if (ec != std::errc() || ptr != end || p == end) {
      if (first) return -1;
      RowFail(std::string("row does not begin with ") +
              (layout == Layout::kNode ? "a node label" : "an element label"));
    }
    p = end;
  }
  key = {ints[0], ints[1], 0};
  rowValues.clear();
  const std::size_t wanted = count < 0 ? SIZE_MAX : static_cast<std::size_t>(count);
  while (true) {
    while (p < e && IsSpace(*p)) ++p;
    if (p == e || !StartsNumber(*p)) break;  // the end, or trailing text
    const char* end = p;
    while (end < e && !IsSpace(*end)) ++end;
    const std::string_view field(p, static_cast<std::size_t>(end - p));
    if (rowValues.size() >= wanted) {
      std::size_t more = rowValues.size();
      for (const char* q = p; q < e;) {
        while (q < e && IsSpace(*q)) ++q;
        if (q == e || !StartsNumber(*q)) break;
        ++more;
        while (q < e && !IsSpace(*q)) ++q;
      }
      RowFail("row has " + std::to_string(more) + " numbers, the table has " +
              std::to_string(count) + " components");
    }
    double v = 0;
    if (!ParseNumber(field, v)) RowFail("malformed number \"" + std::string(field) + "\"");
    rowValues.push_back(v);
    p = end;
  }
  if (count >= 0 && rowValues.size() < wanted)
    RowFail("row has " + std::to_string(rowValues.size()) + " numbers, the table has " +
            std::to_string(count) + " components");
  if (rowValues.empty()) {
    if (first) return -1;
    RowFail("row has no numbers");
  }
  return static_cast<int>(rowValues.size());
}

bool odb_DatReader::Impl::ReadTable(const Header& h) {
  std::string_view line;
  // A blank line follows the header; some contact tables go straight to their rows.
  if (!lines.Next(line)) lines.Fail("truncated: the file ends after a table header");
  if (IsBlank(line) && !lines.Next(line))
    lines.Fail("truncated: the file ends after a table header");

  Series* s = nullptr;  // made at the first row (or at the end of an empty table)
  int count = h.componentsKnown ? static_cast<int>(h.components.size()) : -1;
  int table = 0;
  bool identity = true;  // the rows so far are rows[0..p) in that order
  int p = 0;
  std::size_t valuesBefore = 0;
  std::size_t idsBefore = 0;
  faceRepeats.clear();
  const auto start = [&] {
    s = &SeriesOf(StepSlot(h.time), h);
    table = static_cast<int>(s->times.size());
    valuesBefore = s->values.size();
    idsBefore = s->ids.size();
  };
  // The next line; the file may end after a row, but not within one.
  const auto advance = [&]() -> bool {
    if (lines.Next(line)) return true;
    if (!lines.LastLineEnded()) lines.Fail("truncated: the last row has no line end");
    return false;
  };
  for (;;) {
    if (IsBlank(line)) break;
    RowKey key;
    const int n = ParseRow(line, h.layout, count, key, s == nullptr);
    if (n < 0) {
      Header next;
      if (ParseHeader(line, next) != HeaderKind::kNone) {  // the next table, no blank between
        lines.Unread();
        break;
      }
      if (s) RowFail("malformed row");
      return false;  // a layout other than the header's: the table is skipped
    }
    if (!s) {
      start();
      if (s->count < 0) s->count = n;
      if (n != s->count)
        lines.Fail("row has " + std::to_string(n) + " numbers, the table has " +
                   std::to_string(s->count) + " components");
      count = s->count;
    }
    if (h.layout == Layout::kTotal && p > 0) lines.Fail("a total has one row");
    if (h.layout == Layout::kElementFace) {
      const std::uint64_t face =
          (static_cast<std::uint64_t>(static_cast<std::uint32_t>(key.a)) << 32) |
          static_cast<std::uint32_t>(key.b);
      key.c = ++faceRepeats[face];
    }
    int id = -1;
    const std::size_t pp = static_cast<std::size_t>(p);
    if (identity && pp < s->rows.size() && s->rows[pp] == key) {
      id = p;
    } else {
      const auto found = s->index.find(key);
      if (found != s->index.end()) {
        id = found->second;
        // A set may list an entity twice: the solver then prints its row twice.
        if (s->lastTable[static_cast<std::size_t>(id)] == table) {
          if (!advance()) break;
          continue;
        }
      } else {
        if (!CheckEntity(h.layout, key)) {
          SkipRow(h.layout, key);
          if (!advance()) break;
          continue;
        }
        id = static_cast<int>(s->rows.size());
        s->rows.push_back(key);
        s->lastTable.push_back(-1);
        s->index.emplace(key, id);
      }
      if (identity && id != p) {
        identity = false;
        for (int i = 0; i < p; ++i) s->ids.push_back(i);
      }
    }
    if (!identity) s->ids.push_back(id);
    s->lastTable[static_cast<std::size_t>(id)] = table;
    for (double v : rowValues) s->values.push_back(static_cast<float>(v));
    ++p;
    if (!advance()) break;
  }
  if (!s) start();
  s->times.push_back(h.time);
  s->valueStart.push_back(valuesBefore);
  s->rowCount.push_back(p);
  s->idsStart.push_back(identity ? -1 : static_cast<std::int64_t>(idsBefore));
  return true;
}

// A node or element a row names the first time: whether the model holds it.
bool odb_DatReader::Impl::CheckEntity(Layout layout, const RowKey& key) {
  if (layout == Layout::kTotal) return true;
  if (layout == Layout::kNode) return instance->NodeIndex(key.a) >= 0;
  if (instance->FindElement(key.a).elementClass < 0) return false;
  if (layout == Layout::kIntegration && key.b < 1)
    lines.Fail("integration point " + std::to_string(key.b) + " (they count from 1)");
  if (layout == Layout::kElementFace) {
    const int face = FaceOf(key);
    if (face == 0)
      lines.Fail("element " + std::to_string(key.a) + " has no face " + std::to_string(key.b));
    if (face < 0) return false;
  }
  return true;
}

namespace {
// The face of an element of `shape` that the solver's face `face` is. The solver numbers the
// faces of its own solid elements; a plane or axisymmetric element, which it expands into a
// solid of one layer, has its front and back as faces 1 and 2 and its edges as faces 3 to
// 2 + edges (edge 1, from node 1 to 2, is face 3). Such an element stays two-dimensional in the
// .frd, so its contact faces become its edges; its front and back have no face there (-1).
// 0: no face of the element.
int PlacedFace(res_ElementShapeEnm shape, int face) {
  const int faces = odb_Checks::Faces(shape);
  if (shape == res_TRI || shape == res_QUAD) {
    if (face == 1 || face == 2) return -1;
    face -= 2;
  }
  return face >= 1 && face <= faces ? face : 0;
}
}  // namespace

int odb_DatReader::Impl::FaceOf(const RowKey& key) const {
  const odiK_PartInstance::ElementRef ref = instance->FindElement(key.a);
  if (ref.elementClass < 0) return 0;
  return PlacedFace(instance->elementClasses[static_cast<std::size_t>(ref.elementClass)].shape,
                    key.b);
}

void odb_DatReader::Impl::SkipRow(Layout layout, const RowKey& key) {
  const int kind = layout == Layout::kNode ? 0 : 1;
  if (skippedRows[kind]++ == 0) {
    if (kind == 0)
      lines.Warn("node " + std::to_string(key.a) +
                 " is not in the .frd's model: its rows are skipped, and those of any other "
                 "node the model does not hold (nodes no element uses, nodes of beams and "
                 "shells the solver expanded)");
    else if (instance->FindElement(key.a).elementClass < 0)
      lines.Warn("element " + std::to_string(key.a) +
                 " is not in the .frd's model: its rows are skipped, and those of any other "
                 "element the model does not hold (beams and shells the solver expanded)");
    else
      lines.Warn("face " + std::to_string(key.b) + " of element " + std::to_string(key.a) +
                 " is the front or back of a plane element, which the .frd's model does not "
                 "have: its rows are skipped, and those of any other such face");
  }
  skipped[kind].insert(key.a);
}

void odb_DatReader::Impl::Read() {
  const odiK_Model& model = reader.writer_.Model();
  const int instanceIndex = model.InstanceIndex(reader.instance_);
  if (instanceIndex < 0)
    throw odb_OdbException(reader.path_,
                           "no instance '" + reader.instance_.Std() + "' in the model");
  instance = &model.instances[static_cast<std::size_t>(instanceIndex)];

  for (std::size_t i = 0; i < reader.steps_.size(); ++i) {
    const odb_FrdReader::Step& s = reader.steps_[i];
    if (s.domain == res_TIME && !s.frameValues.empty()) {
      useGivenSteps = true;
      lastTimeStep = static_cast<int>(i);
    }
  }

  std::string_view line;
  std::string headerLine;  // the header's text outlives the line view while its rows are read
  Header h;
  while (lines.Next(line)) {
    if (IsBlank(line)) continue;
    headerLine.assign(line);
    const HeaderKind kind = ParseHeader(headerLine, h);
    if (kind == HeaderKind::kNone) {
      const bool heading = IsSpacedHeading(headerLine);
      if (heading) {
        // Eigenvalue output. After "E I G E N V A L U E   N U M B E R" come the mode's tables,
        // all at the step's time: mode shapes, not histories; after "P A R T I C I P A T I O N
        // F A C T O R S   F O R   F R E Q U E N C Y" the real and the imaginary parts of the
        // response at that frequency, with one header. Both are skipped with their heading.
        const std::string name = SectionName(headerLine);
        inModeShapes =
            StartsWith(name, "EIGENVALUE NUMBER") || StartsWith(name, "PARTICIPATION FACTORS FOR");
        haveModeTime = false;
      }
      if (!skipping || heading) StartSkip(headerLine);
      continue;
    }
    if (inModeShapes) {
      if (!haveModeTime) {
        haveModeTime = true;
        modeTime = h.time;
      }
      if (h.time == modeTime) {
        skipping = true;
        continue;
      }
      inModeShapes = false;
      haveModeTime = false;
    }
    if (kind == HeaderKind::kUnknownLayout || !ReadTable(h)) {
      skipping = false;
      StartSkip(headerLine);
      continue;
    }
    skipping = false;
  }
  for (int kind = 0; kind < 2; ++kind) {
    if (skippedRows[kind] < 2) continue;
    const std::size_t n = skipped[kind].size();
    omi_Singleton<cmdC_WIP>::Instance().Warning(
        cow_String(reader.path_.Std() + ": skipped " + std::to_string(skippedRows[kind]) +
                   " rows at " + std::to_string(n) + (kind == 0 ? " node" : " element") +
                   (n == 1 ? "" : "s") + " the .frd's model does not hold"));
  }
  // The writer checks each set and history output again; a refusal is a fault of this file.
  try {
    Finish();
  } catch (const odb_OdbException&) {
    throw;
  } catch (const nex_Exception& e) {
    throw odb_OdbException(reader.path_, e.what());
  }
}

void odb_DatReader::Impl::Finish() {
  odb_Writer& writer = reader.writer_;
  const cow_String& instanceName = reader.instance_;

  // Sets: the entities the rows list, by name; a total alone makes an empty element set.
  struct SetData {
    int kind = -1;       // -1: named only by totals
    bool total = false;  // a total names it
    std::vector<int> labels;
  };
  std::vector<std::string> setOrder;
  std::unordered_map<std::string, SetData> sets;
  for (const auto& sp : series) {
    const Series& s = *sp;
    if (s.set.empty()) continue;
    auto [it, added] = sets.try_emplace(s.set);
    if (added) setOrder.push_back(s.set);
    SetData& d = it->second;
    if (s.layout == Layout::kTotal) {
      d.total = true;
      continue;
    }
    const int kind = s.layout == Layout::kNode ? res_NODE_SET : res_ELEMENT_SET;
    if (d.kind < 0) d.kind = kind;
    if (d.kind != kind) continue;  // the same name for nodes and elements: the first kind holds
    for (const RowKey& k : s.rows) d.labels.push_back(k.a);
  }

  // Steps the reader makes.
  std::vector<int> ownIndex;
  for (const OwnStep& o : ownSteps) {
    const int index =
        writer.AddStep(cow_String("Step-" + std::to_string(o.number)), res_TIME, o.start);
    ownIndex.push_back(index);
    odb_FrdReader::Step step;
    step.number = o.number;
    step.index = index;
    step.domain = res_TIME;
    step.start = o.start;
    reader.steps_.push_back(step);
  }

  for (const std::string& name : setOrder) {
    SetData& d = sets[name];
    if (writer.Model().SetIndex(cow_String(name)) >= 0) continue;
    if (d.labels.empty() && !d.total) continue;  // all its rows skipped: no set to show
    std::sort(d.labels.begin(), d.labels.end());
    d.labels.erase(std::unique(d.labels.begin(), d.labels.end()), d.labels.end());
    writer.AddSet(cow_String(name), d.kind < 0 ? res_ELEMENT_SET : d.kind, instanceName,
                  std::move(d.labels), false);
  }

  for (auto& sp : series) {
    Series& s = *sp;
    const int step = useGivenSteps ? reader.steps_[static_cast<std::size_t>(s.stepSlot)].index
                                   : ownIndex[static_cast<std::size_t>(s.stepSlot)];
    const std::size_t rows = s.rows.size();
    const std::size_t n = s.count < 0 ? 0 : static_cast<std::size_t>(s.count);
    if (rows == 0 || n == 0) continue;
    // Gather each row's x and values over the tables, in file order.
    std::vector<std::vector<float>> xs(rows);
    std::vector<std::vector<float>> out(rows * n);
    const std::size_t tables = s.times.size();
    // The tables print total time; the results file holds step time (the step adds its start).
    const double stepStart = useGivenSteps
                                 ? reader.steps_[static_cast<std::size_t>(s.stepSlot)].start
                                 : ownSteps[static_cast<std::size_t>(s.stepSlot)].start;
    for (std::size_t t = 0; t < tables; ++t) {
      const float time = static_cast<float>(s.times[t] - stepStart);
      const std::size_t count = static_cast<std::size_t>(s.rowCount[t]);
      const float* v = s.values.data() + s.valueStart[t];
      for (std::size_t p = 0; p < count; ++p) {
        const std::size_t r =
            s.idsStart[t] < 0
                ? p
                : static_cast<std::size_t>(s.ids[static_cast<std::size_t>(s.idsStart[t]) + p]);
        xs[r].push_back(time);
        for (std::size_t c = 0; c < n; ++c) out[r * n + c].push_back(v[p * n + c]);
      }
    }
    s.values = {};
    s.ids = {};
    s.index = {};

    std::vector<odb_DatReader::Label> labels(n);
    for (std::size_t c = 0; c < n; ++c) {
      if (s.numbered) {
        labels[c] = odb_DatReader::LabelOf(s.quantity, s.components[0]);
        labels[c].label = labels[c].label + std::to_string(c + 1);
      } else if (!s.componentsKnown) {
        labels[c] = odb_DatReader::LabelOf(s.quantity, "");
        if (n > 1) labels[c].label = labels[c].label + std::to_string(c + 1);
      } else {
        labels[c] = odb_DatReader::LabelOf(s.quantity, s.components[c]);
      }
    }

    odb_Writer::HistoryPoint point;
    for (std::size_t r = 0; r < rows; ++r) {
      const RowKey& k = s.rows[r];
      point = {};
      switch (s.layout) {
        case Layout::kNode:
          point.position = res_NODAL;
          point.instance = instanceName;
          point.node = k.a;
          break;
        case Layout::kIntegration:
          point.position = res_INTEGRATION_POINT;
          point.instance = instanceName;
          point.element = k.a;
          point.integrationPoint = k.b;
          break;
        case Layout::kElement:
          point.position = res_WHOLE_ELEMENT;
          point.instance = instanceName;
          point.element = k.a;
          break;
        case Layout::kElementFace:
          // One row per contact point of the face, numbered in the order printed.
          point.position = res_ELEMENT_FACE;
          point.instance = instanceName;
          point.element = k.a;
          point.face = FaceOf(k);
          point.integrationPoint = k.c;
          break;
        case Layout::kTotal:
          point.position = s.set.empty() ? res_WHOLE_MODEL : res_WHOLE_REGION;
          point.set = cow_String(s.set);
          break;
      }
      point.sectionPoint = -1;
      for (std::size_t c = 0; c < n; ++c) {
        point.label = labels[c].label;
        point.description = labels[c].description;
        std::vector<float> x = c + 1 == n ? std::move(xs[r]) : xs[r];
        writer.AddHistory(step, point, odb_Writer::Stored(std::move(x)),
                          odb_Writer::Stored(std::move(out[r * n + c])), false, 1);
      }
    }
    s = Series();
  }
}

odb_DatReader::odb_DatReader(const cow_String& path, const cow_String& instance, odb_Writer& writer,
                             std::vector<odb_FrdReader::Step>& steps)
    : path_(path), instance_(instance), writer_(writer), steps_(steps) {}

void odb_DatReader::Read() {
  Impl impl(*this);
  impl.Read();
}

odb_DatReader::Label odb_DatReader::LabelOf(std::string_view quantity, std::string_view component) {
  for (const LabelRule& rule : kLabels)
    if (quantity == rule.quantity && component == rule.component)
      return {cow_String(rule.label), cow_String(rule.description)};
  Label out;
  out.description = cow_String(quantity);
  if (!Trim(component).empty())
    out.label = cow_String(Upper(Trim(component)));
  else if (!Trim(quantity).empty())
    out.label = cow_String(Upper(Trim(quantity)));
  else
    out.label = cow_String("VALUE");
  return out;
}
