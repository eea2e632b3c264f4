#pragma once
// The names and record types of the results-file layout (docs/results-file.md), shared by the
// reader and the writer.
#include <cstdint>

#include "odb_Hdf5.h"

class odb_Layout {
 public:
  static constexpr const char* kFormat = "xyp results";
  static constexpr std::int64_t kVersion = 1;

  // One row of a step's "history" table: a history output's point and storage. Texts are
  // variable-length UTF-8 strings; integers 32-bit; `count` 64-bit.
  struct HistoryRow {
    char* label;
    char* description;
    std::int32_t position;
    std::int32_t instance;
    std::int32_t node;
    std::int32_t element;
    std::int32_t integrationPoint;
    std::int32_t sectionPoint;
    std::int32_t face;
    std::int32_t set;
    std::int32_t isDouble;
    std::int32_t isComplex;
    std::int32_t components;
    std::int64_t count;
    char* x;
  };
  // The row's memory type; with `file` true, the same with little-endian file types.
  static odb_Hdf5::Id HistoryRowType(bool file);
};
