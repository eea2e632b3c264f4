#pragma once
// Reads the number arrays of the writer's scripting calls: a packed sequence (numbers two by two,
// as the binding packs a buffer) cut to the given length, or a sequence of numbers.
#include <vector>

#include "odb_Writer.h"
#include "omu_Arguments.h"

class odb_Numbers {
 public:
  // The numbers under `keyword` (absent: none); `count` -1 takes them all. ValueError naming the
  // keyword when fewer are given, or an item is no number.
  static std::vector<double> Read(omu_Arguments& args, const char* keyword, long long count);
  // The same in the precision they are stored in, converted once from the caller's buffer.
  static odb_Writer::Stored ReadStored(omu_Arguments& args, const char* keyword, long long count,
                                       bool asDouble);
  // The same, each a whole number within the int range.
  static std::vector<int> ReadInts(omu_Arguments& args, const char* keyword, long long count);
  // The sequence's texts under `keyword` (absent: none).
  static std::vector<cow_String> ReadTexts(omu_Arguments& args, const char* keyword);
};
