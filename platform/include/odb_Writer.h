#pragma once
// Writes a results file of the layout in docs/results-file.md. Calls add a model (instances with
// labelled nodes, element classes, sets), steps, their history outputs and frames of field
// output; each call is checked as opening the file would check it and, when refused, raises
// omu_ValueErrorException naming the keyword at fault, changes nothing and leaves the writer
// usable. Nothing is on disk until Close, which writes a temporary file beside the path and
// renames it over the path; a writer dropped without Close leaves nothing behind.
#include <cstdint>
#include <memory>
#include <vector>

#include "cow_String.h"
#include "ddb_Step.h"
#include "odiK_Model.h"

class odb_Writer {
 public:
  // Where a history output is taken. Names, not indices: an empty instance means the model's
  // only instance where the position needs one (none otherwise), an empty set none.
  struct HistoryPoint {
    cow_String label;
    cow_String description;
    res_OutputPositionEnm position = res_NODAL;
    cow_String instance;
    int node = 0;
    int element = 0;
    int integrationPoint = 0;  // 1-based
    int sectionPoint = -1;     // 0-based index into the element's section points
    int face = 0;              // 1-based
    cow_String set;
  };

  // Numbers as they are stored: float32 unless double, converted once when added.
  struct Stored {
    std::vector<float> singles;
    std::vector<double> doubles;
    bool isDouble = false;
    Stored() = default;
    Stored(std::vector<double> values, bool asDouble);
    explicit Stored(std::vector<float> values) : singles(std::move(values)) {}
    std::size_t Size() const { return isDouble ? doubles.size() : singles.size(); }
    bool operator==(const Stored& other) const;  // bit for bit
  };

  // Pre-checks `path` for writing (uti_FileException).
  explicit odb_Writer(const cow_String& path);
  ~odb_Writer();
  odb_Writer(const odb_Writer&) = delete;
  odb_Writer& operator=(const odb_Writer&) = delete;

  const cow_String& Path() const { return path_; }
  bool IsClosed() const { return closed_; }
  const odiK_Model& Model() const { return model_; }

  // `coordinates` holds x, y, z per label.
  void AddInstance(const cow_String& name, std::vector<int> labels,
                   std::vector<double> coordinates);
  // One class of elements: `connectivity` holds `nodesPerElement` node labels per element.
  // `shape` -1 takes the shape from the node count.
  void AddElements(const cow_String& instance, const cow_String& type, std::vector<int> labels,
                   std::vector<int> connectivity, int nodesPerElement, int shape,
                   std::vector<cow_String> sectionPoints);
  void AddSet(const cow_String& name, int kind, const cow_String& instance,
              std::vector<int> labels, bool internal);
  // Returns the step's index.
  int AddStep(const cow_String& name, int domain, double totalTime);
  // `values` holds one value per x (components per x when components > 1), each a (real,
  // imaginary) pair when `isComplex`. Stored as float32, or float64 when `isDouble`. The x values
  // of a step's outputs are stored once when equal.
  void AddHistory(int step, const HistoryPoint& point, std::vector<double> x,
                  std::vector<double> values, bool isComplex, bool isDouble, int components = 1);
  // The same with the numbers already as stored (x and values of one precision).
  void AddHistory(int step, const HistoryPoint& point, Stored x, Stored values, bool isComplex,
                  int components = 1);
  // Returns the frame's index in its step.
  int AddFrame(int step, double value);
  // `values` holds valuesPerLabel values per label (one length within a field).
  void AddField(int step, int frame, const cow_String& label, const cow_String& description,
                int position, const cow_String& instance, std::vector<int> labels,
                std::vector<float> values, int valuesPerLabel);

  // Writes the file. uti_FileException when it cannot be written (nothing is left behind).
  void Close();

 private:
  struct HistoryData {
    Stored values;
    int xIndex = 0;  // into the step's x arrays
  };
  struct FieldData {
    std::vector<int> labels;
    std::vector<float> values;
  };
  struct StepData {
    std::vector<HistoryData> histories;
    std::vector<Stored> x;
    std::vector<std::vector<FieldData>> fields;  // per frame
  };

  void RequireOpen() const;
  int InstanceByName(const char* keyword, const cow_String& name) const;
  void CheckStep(int step) const;
  void WriteFile(std::int64_t file) const;

  cow_String path_;
  bool closed_ = false;
  odiK_Model model_;
  std::vector<ddb_Step> steps_;
  std::vector<StepData> data_;
};
