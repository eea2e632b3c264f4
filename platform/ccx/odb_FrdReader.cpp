#include "odb_FrdReader.h"

#include <charconv>
#include <cmath>
#include <string>

#include "nex_Exception.h"
#include "odb_OdbException.h"
#include "odb_Writer.h"
#include "res_Enumerations.h"

namespace {

struct ElementKind {
  const char* name;
  int nodes;
  int shape;
};
// By the file's type number, 1 to 12.
constexpr ElementKind kElementKinds[] = {
    {"HE8", 8, res_HEX},     {"PE6", 6, res_WEDGE}, {"TE4", 4, res_TET},  {"HE20", 20, res_HEX},
    {"PE15", 15, res_WEDGE}, {"TE10", 10, res_TET}, {"TR3", 3, res_TRI},  {"TR6", 6, res_TRI},
    {"QU4", 4, res_QUAD},    {"QU8", 8, res_QUAD},  {"BE2", 2, res_LINE}, {"BE3", 3, res_LINE}};
constexpr int kElementTypes = static_cast<int>(std::size(kElementKinds));

// The block key in columns 1-6 ("    2C", "  100C", "    1P"), the record key in columns 2-3.
std::string_view Key(std::string_view line) {
  return line.substr(0, 6);
}
bool IsRecord(std::string_view line, const char* key) {
  return line.size() >= 3 && line[0] == ' ' && line[1] == key[0] && line[2] == key[1];
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string_view Field(std::string_view line, std::size_t from, std::size_t width) {
  if (from >= line.size()) return {};
  return line.substr(from, width);
}

// The whitespace-separated words of a text.
std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t start = text.find_first_not_of(' ', i);
    if (start == std::string_view::npos) break;
    std::size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    words.push_back(text.substr(start, end - start));
    i = end;
  }
  return words;
}

}  // namespace

odb_FrdReader::odb_FrdReader(const cow_String& path, const cow_String& instance, odb_Writer& writer)
    : lines_(path, "Reading " + path), instance_(instance), writer_(writer) {
  elements_.resize(kElementTypes);
}

int odb_FrdReader::Integer(std::string_view line, std::size_t from, std::size_t width,
                           int blank) const {
  const std::string_view text = Trimmed(Field(line, from, width));
  if (text.empty()) return blank;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size())
    lines_.Fail("malformed whole number '" + std::string(text) + "'");
  return value;
}

double odb_FrdReader::Number(std::string_view line, std::size_t from, std::size_t width) const {
  const std::string_view field = Field(line, from, width);
  if (field.size() < width)
    lines_.Fail("the line ends before its " + std::to_string(width) + "-column number at column " +
                std::to_string(from + 1));
  std::string_view text = Trimmed(field);
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  // Out of range: the nearest representable value (from_chars leaves it unset).
  if (text.empty() || (error != std::errc() && error != std::errc::result_out_of_range) ||
      end != text.data() + text.size())
    lines_.Fail("malformed number '" + std::string(text) + "' at column " +
                std::to_string(from + 1));
  return value;
}

std::string_view odb_FrdReader::BlockLine(const char* block) {
  std::string_view line;
  if (!lines_.Next(line))
    lines_.Fail(std::string("truncated: the file ends inside the ") + block + " block");
  if (!lines_.LastLineEnded())
    lines_.Fail(std::string("truncated: the file ends inside a line of the ") + block + " block");
  return line;
}

template <typename Call>
void odb_FrdReader::Write(Call&& call) {
  try {
    call();
  } catch (const odb_OdbException&) {
    throw;
  } catch (const nex_Exception& e) {
    lines_.Fail(e.what());
  }
}

void odb_FrdReader::Read() {
  std::string_view line;
  bool ended = false;
  while (!ended && lines_.Next(line)) {
    if (!lines_.LastLineEnded()) lines_.Fail("truncated: the last line has no end");
    const std::string_view key = Key(line);
    if (Trimmed(line) == "9999") {
      ended = true;
    } else if (key == "    1C" || key == "    1U" ||
               (key == "    1P" && line.size() > 6 && line.substr(6, 4) != "STEP")) {
      // The data set's start, its user header and parameters the reader has no use for.
    } else if (key == "    1P") {
      // "    1PSTEP" running number, increment, step.
      const std::vector<std::string_view> words = Words(line.substr(10));
      if (words.size() >= 3) pendingStep_ = Integer(words[2], 0, words[2].size(), pendingStep_);
    } else if (key == "    2C") {
      ReadNodes(line);
    } else if (key == "    3C") {
      ReadElements(line);
    } else if (key == "  100C") {
      ReadResults(line);
    } else if (Trimmed(line).empty()) {
    } else {
      SkipBlock(line);
    }
  }
  if (!ended && !hasModel_ && steps_.empty())
    lines_.Fail("truncated: no model and no end record (9999); the job may have stopped early");
  if (!ended) lines_.Warn("no end record (9999): the job may have stopped before it finished");
  AddModel();
}

void odb_FrdReader::ReadNodes(std::string_view header) {
  const std::vector<std::string_view> words = Words(header.substr(6));
  const int format = words.empty() ? 0 : Integer(words.back(), 0, words.back().size());
  if (format == 2) lines_.Fail("binary results (format 2) are not read: write the .frd as text");
  if (format != 0 && format != 1)
    lines_.Fail("unknown node block format " + std::to_string(format));
  if (modelAdded_ || hasModel_) lines_.Fail("a second node block: one model per file is read");
  longForm_ = format == 1;
  const std::size_t labelWidth = longForm_ ? 10 : 5;
  for (;;) {
    const std::string_view line = BlockLine("node");
    if (IsRecord(line, "-3")) break;
    if (!IsRecord(line, "-1")) lines_.Fail("expected a node record ( -1) or the block's end ( -3)");
    nodeLabels_.push_back(Integer(line, 3, labelWidth, -1));
    if (nodeLabels_.back() < 0) lines_.Fail("a node without its number");
    for (int c = 0; c < 3; ++c)
      coordinates_.push_back(Number(line, 3 + labelWidth + 12 * static_cast<std::size_t>(c), 12));
  }
  hasModel_ = true;
  Write([&] { writer_.AddInstance(instance_, std::move(nodeLabels_), std::move(coordinates_)); });
  nodeLabels_.clear();
  coordinates_.clear();
}

void odb_FrdReader::ReadElements(std::string_view header) {
  const std::vector<std::string_view> words = Words(header.substr(6));
  const int format = words.empty() ? 0 : Integer(words.back(), 0, words.back().size());
  if (format == 2) lines_.Fail("binary results (format 2) are not read: write the .frd as text");
  if (modelAdded_) lines_.Fail("an element block after the results: one model per file is read");
  const bool longForm = format == 1;
  const std::size_t width = longForm ? 10 : 5;
  const std::size_t perLine = longForm ? 10 : 15;
  const odiK_Model& model = writer_.Model();
  const int instance = model.InstanceIndex(instance_);
  std::string_view line = BlockLine("element");
  for (;;) {
    if (IsRecord(line, "-3")) break;
    if (!IsRecord(line, "-1"))
      lines_.Fail("expected an element record ( -1) or the block's end ( -3)");
    const int label = Integer(line, 3, width, -1);
    const int type = Integer(line, 3 + width, 5, -1);
    if (label < 0) lines_.Fail("an element without its number");
    if (type < 1 || type > kElementTypes)
      lines_.Fail("element " + std::to_string(label) + " has the unknown type " +
                  std::to_string(type) + " (1 to 12 are read)");
    const ElementKind& kind = kElementKinds[type - 1];
    ElementType& elements = elements_[static_cast<std::size_t>(type - 1)];
    elements.labels.push_back(label);
    int read = 0;
    while (read < kind.nodes) {
      line = BlockLine("element");
      if (!IsRecord(line, "-2"))
        lines_.Fail("element " + std::to_string(label) + " has " + std::to_string(read) +
                    " of its " + std::to_string(kind.nodes) + " nodes");
      for (std::size_t i = 0; i < perLine && read < kind.nodes; ++i, ++read) {
        const int node = Integer(line, 3 + width * i, width, 0);
        if (node == 0 && Trimmed(Field(line, 3 + width * i, width)).empty())
          lines_.Fail("element " + std::to_string(label) + " has " + std::to_string(read) +
                      " of its " + std::to_string(kind.nodes) + " nodes");
        if (instance < 0 || model.instances[static_cast<std::size_t>(instance)].NodeIndex(node) < 0)
          lines_.Fail("element " + std::to_string(label) + " refers to node " +
                      std::to_string(node) + ", which the model does not have");
        elements.connectivity.push_back(node);
      }
    }
    line = BlockLine("element");
  }
}

void odb_FrdReader::AddModel() {
  if (modelAdded_) return;
  modelAdded_ = true;
  for (int type = 0; type < kElementTypes; ++type) {
    ElementType& elements = elements_[static_cast<std::size_t>(type)];
    if (elements.labels.empty()) continue;
    const ElementKind& kind = kElementKinds[type];
    Write([&] {
      writer_.AddElements(instance_, kind.name, std::move(elements.labels),
                          std::move(elements.connectivity), kind.nodes, kind.shape, {});
    });
    elements = ElementType();
  }
}

odb_FrdReader::Step& odb_FrdReader::StepNumbered(int number, int domain) {
  for (Step& step : steps_)
    if (step.number == number) return step;
  // A step starts where the time of the steps before it ended.
  double start = 0.0;
  for (const Step& step : steps_)
    if (step.domain == res_TIME && !step.frameValues.empty()) start = step.frameValues.back();
  Step step;
  step.number = number;
  step.domain = domain;
  step.start = domain == res_TIME ? start : 0.0;
  Write([&] { step.index = writer_.AddStep("Step-" + std::to_string(number), domain, start); });
  steps_.push_back(std::move(step));
  return steps_.back();
}

void odb_FrdReader::ReadResults(std::string_view header) {
  AddModel();
  if (!hasModel_) lines_.Fail("a result block before the model's nodes");
  const std::int64_t headerLine = lines_.LineNumber();
  const double value = Number(header, 12, 12);
  const int analysis = Integer(header, 56, 2, 0);
  const int increment = Integer(header, 58, 5, 0);
  const int format = Integer(header, 73, 2, 1);
  if (format == 2) lines_.Fail("binary results (format 2) are not read: write the .frd as text");
  const bool longForm = format == 1;
  const std::size_t labelWidth = longForm ? 10 : 5;

  std::string_view line = BlockLine("result");
  if (!IsRecord(line, "-4")) lines_.Fail("expected the block's data set record ( -4)");
  const cow_String name(std::string(Trimmed(Field(line, 5, 8))));
  const int irtype = Integer(line, 18, 5, 1);
  std::vector<Component> components;
  for (;;) {
    line = BlockLine("result");
    if (!IsRecord(line, "-5")) break;
    Component component;
    component.name = cow_String(std::string(Trimmed(Field(line, 5, 8))));
    component.hasValues = Integer(line, 33, 5, 0) != 1;
    components.push_back(std::move(component));
  }
  std::size_t perNode = 0;
  for (const Component& c : components) perNode += c.hasValues ? 1 : 0;
  if (irtype != 1) {
    lines_.Warn("skipped the non-nodal result block " + name.Std());
    while (!IsRecord(line, "-3")) line = BlockLine("result");
    return;
  }

  std::vector<int> labels;
  std::vector<std::vector<float>> values(perNode);
  std::size_t skipped = 0;
  std::size_t notNumbers = 0;
  const odiK_PartInstance& instance =
      writer_.Model().instances[static_cast<std::size_t>(writer_.Model().InstanceIndex(instance_))];
  // The nodes the block gave values at so far, by index: a node given twice (the solver writes
  // the contact energy of face-to-face contact so, one record per contact point, all under one
  // node) makes the block no field of one value per node.
  std::vector<unsigned char> given(instance.NumNodes(), 0);
  int repeated = -1;  // the first node given twice
  for (;;) {
    if (IsRecord(line, "-3")) break;
    if (!IsRecord(line, "-1"))
      lines_.Fail("expected a value record ( -1) or the block's end ( -3) in " + name.Std());
    const int node = Integer(line, 3, labelWidth, -1);
    if (node < 0) lines_.Fail("a value record without its node number in " + name.Std());
    // Values at a node the model lacks are read (and checked) but not kept: the solver writes
    // its model once, at the start, without the nodes of elements a model change removed then,
    // and writes the values of the original nodes of shells and beams it expands, which the
    // model replaces with the new nodes. One warning per block names the first.
    const int index = instance.NodeIndex(node);
    const bool kept = index >= 0;
    if (kept) {
      labels.push_back(node);
      unsigned char& mark = given[static_cast<std::size_t>(index)];
      if (mark && repeated < 0) repeated = node;
      mark = 1;
    } else if (skipped++ == 0) {
      lines_.Warn(name.Std() + " has values at node " + std::to_string(node) +
                  ", which the model does not have: skipped, with those at any other such node "
                  "of the block");
    }
    std::size_t column = 3 + labelWidth;
    for (std::size_t k = 0; k < perNode; ++k) {
      if (k > 0 && k % 6 == 0) {
        line = BlockLine("result");
        if (!IsRecord(line, "-2"))
          lines_.Fail("node " + std::to_string(node) + " of " + name.Std() + " has " +
                      std::to_string(k) + " of its " + std::to_string(perNode) + " values");
        column = 3 + labelWidth;
      }
      const float v = static_cast<float>(Number(line, column, 12));
      // The solver writes NaN where its own computation failed: kept as the file says it.
      if (!std::isfinite(v) && notNumbers++ == 0)
        lines_.Warn(name.Std() + " has a value that is no finite number ('" +
                    std::string(Trimmed(Field(line, column, 12))) + "') at node " +
                    std::to_string(node) + ": kept as it is, with any other in the block");
      if (kept) values[k].push_back(v);
      column += 12;
    }
    line = BlockLine("result");
  }

  const int domain = analysis == 2 ? res_FREQUENCY : res_TIME;
  Step& step = StepNumbered(pendingStep_, domain);
  int frame = -1;
  for (std::size_t f = 0; f < step.frameKeys.size(); ++f)
    if (step.frameKeys[f] == increment) frame = static_cast<int>(f);
  if (frame < 0) {
    Write([&] { frame = writer_.AddFrame(step.index, value - step.start); });
    step.frameKeys.push_back(increment);
    step.frameValues.push_back(value);
    step.frameFields.emplace_back();
  }
  if (repeated >= 0) {
    lines_.Warn("skipped the result block " + name.Std() + " that starts at line " +
                std::to_string(headerLine) + ": it gives node " + std::to_string(repeated) +
                " more than one value record");
    return;
  }
  if (labels.empty()) return;
  std::size_t k = 0;
  for (const Component& component : components) {
    if (!component.hasValues) continue;
    // A component name that another block of the frame took already gets its block's name.
    cow_String label = component.name;
    std::vector<cow_String>& taken = step.frameFields[static_cast<std::size_t>(frame)];
    for (const cow_String& other : taken)
      if (other == label) label = name + "." + component.name;
    taken.push_back(label);
    Write([&] {
      writer_.AddField(step.index, frame, label, name, res_NODAL, instance_, labels,
                       std::move(values[k]), 1);
    });
    ++k;
  }
}

void odb_FrdReader::SkipBlock(std::string_view header) {
  lines_.Warn("skipped the unknown block '" + std::string(Trimmed(Key(header))) + "'");
  // To the block's end; a line that is no record ends a block that had none.
  for (;;) {
    std::string_view line;
    if (!lines_.Next(line)) return;
    if (IsRecord(line, "-3")) return;
    if (line.size() < 2 || line[1] != '-') {
      lines_.Unread();
      return;
    }
  }
}
