#pragma once
// Reads a CalculiX results file (.frd, ASCII, short or long form) into a results-file writer:
// the model (nodes; elements by type, 1 he8 to 12 be3, one element class per type) as one
// instance, and every nodal result block as field output: each component with values becomes a
// field of the frame of its increment, labelled by the component's name (D1, SXX, ...) and
// described by the block's name (DISP, STRESS, ...). Frames are grouped into steps by the step
// number of the block's parameter record; a frame's value is the block's (frequency in a
// frequency step, which makes the step FREQUENCY; else the file's total time less the time at
// which the step started, the last frame of the time steps before it).
//
// Unknown blocks and records are skipped with one warning line naming them and their line, as
// are values at nodes the model lacks (nodes a model change added, original nodes of expanded
// shells) and blocks that give one node twice. A malformed number, a truncated file, an
// unknown element type, a binary file and an element that refers to a node that does not exist
// raise odb_OdbException naming the file and the line.
#include <string_view>
#include <vector>

#include "cow_String.h"
#include "odb_TextLines.h"

class odb_Writer;

class odb_FrdReader {
 public:
  // A step as the file gives it: its writer index, and the values of its frames in order.
  struct Step {
    int number = 0;  // the file's step number
    int index = -1;  // the writer's
    int domain = 0;
    double start = 0.0;               // the total time at the step's start (time steps)
    std::vector<double> frameValues;  // as the file gives them: total time, or frequency
    std::vector<int> frameKeys;  // the blocks' increment numbers, one per frame
    std::vector<std::vector<cow_String>> frameFields;  // the field labels of each frame
  };

  odb_FrdReader(const cow_String& path, const cow_String& instance, odb_Writer& writer);
  void Read();

  std::vector<Step>& Steps() { return steps_; }
  bool HasModel() const { return hasModel_; }

 private:
  struct Component {
    cow_String name;
    bool hasValues = true;
  };

  void ReadNodes(std::string_view header);
  void ReadElements(std::string_view header);
  void ReadResults(std::string_view header);
  void SkipBlock(std::string_view header);
  void AddModel();
  Step& StepNumbered(int number, int domain);
  // Fixed-width fields of a line: blank is `blank`, anything else must be a whole number.
  int Integer(std::string_view line, std::size_t from, std::size_t width, int blank = 0) const;
  double Number(std::string_view line, std::size_t from, std::size_t width) const;
  // The next line of a block; a file that ends first is truncated.
  std::string_view BlockLine(const char* block);
  // The writer's refusals, as faults of the file at the current line.
  template <typename Call>
  void Write(Call&& call);

  odb_TextLines lines_;
  cow_String instance_;
  odb_Writer& writer_;
  bool hasModel_ = false;
  bool modelAdded_ = false;
  bool longForm_ = true;
  std::vector<int> nodeLabels_;
  std::vector<double> coordinates_;
  struct ElementType {
    std::vector<int> labels;
    std::vector<int> connectivity;
  };
  std::vector<ElementType> elements_;  // by type number - 1
  std::vector<Step> steps_;
  int pendingStep_ = 1;  // from the last parameter record
};
