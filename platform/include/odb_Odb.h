#pragma once
// An open results database: an HDF5 file of the layout in docs/results-file.md, opened read-only.
// Opening reads the model and the steps' outlines (frames, fields, history outputs) and checks
// every reference and count that labels, extraction and probing will index, before anything is
// allocated from the file's counts; values are read on demand. The file stays open (h5py may open
// it too: both use HDF5's default close degree and locking) until the object goes.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "cow_String.h"
#include "ddb_Step.h"
#include "odiK_Model.h"

class odb_Odb {
 public:
  // Opens the file at `realPath` (already pre-checked and resolved by the caller). Raises
  // odb_OdbException naming the path: not HDF5, truncated, an unknown format or version, or a
  // failed layout check.
  static std::unique_ptr<odb_Odb> Open(const cow_String& realPath);
  ~odb_Odb();
  odb_Odb(const odb_Odb&) = delete;
  odb_Odb& operator=(const odb_Odb&) = delete;

  const cow_String& Path() const { return model_.fileName; }
  const odiK_Model& Model() const { return model_; }
  const std::vector<ddb_Step>& Steps() const { return steps_; }
  // Unique per opening in the process: a database opened again is a new generation.
  std::uint64_t Generation() const { return generation_; }
  // Only user-defined data: no step holds any output.
  bool onlyHasUserDefinedData() const;

  // A history output's x values (the whole dataset, which may be shorter or longer than the
  // output's count) and values (count x components, each a (real, imaginary) pair when complex),
  // in two reads. Raises odb_OdbException when the file no longer holds them as opened.
  void ReadHistory(const ddb_History& history, std::vector<double>& x,
                   std::vector<double>& values) const;
  // The same block by block, never holding the whole output: `block` gets the first frame of
  // each run of at most `blockFrames` frames, their number, their x values and their values
  // (frames x components numbers, each a pair when complex), as doubles; it may throw to stop.
  // False, reading nothing, when the x values are fewer than the output's count; raises
  // odb_OdbException when the file no longer holds the output as opened.
  using HistoryBlock = std::function<void(std::size_t first, std::size_t count, const double* x,
                                          const double* values)>;
  bool ReadHistoryBlocks(const ddb_History& history, std::size_t blockFrames,
                         const HistoryBlock& block) const;
  // A field output's labels and values (valuesPerLabel per label); labels not in the instance
  // raise odb_OdbException.
  void ReadField(const ddb_FieldOutput& field, std::vector<int>& labels,
                 std::vector<float>& values) const;

 private:
  odb_Odb() = default;
  friend class odb_FileReader;

  std::int64_t file_ = -1;  // the HDF5 file identifier
  std::uint64_t generation_ = 0;
  odiK_Model model_;
  std::vector<ddb_Step> steps_;
};
