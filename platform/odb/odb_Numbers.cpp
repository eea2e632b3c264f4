#include "odb_Numbers.h"

#include <climits>
#include <cmath>

#include "omu_PrimNumber.h"
#include "omu_PrimSequence.h"
#include "omu_PrimString.h"
#include "omu_ValueErrorException.h"

namespace {
[[noreturn]] void Refuse(const char* keyword, const std::string& text) {
  throw omu_ValueErrorException(cow_String(std::string(keyword) + ": " + text));
}
}  // namespace

std::vector<double> odb_Numbers::Read(omu_Arguments& args, const char* keyword, long long count) {
  std::vector<double> values;
  // A packed sequence is moved out of the call; any other sequence is read item by item.
  if (!args.TakePairValues(keyword, values)) {
    const omu_PrimSequence* sequence = nullptr;
    if (!args.Get(sequence, keyword) || !sequence) {
      if (count > 0) Refuse(keyword, "missing");
      return {};
    }
    values.reserve(sequence->Size());
    for (std::size_t i = 0; i < sequence->Size(); ++i) {
      const omu_Primitive& item = sequence->Item(i);
      if (item.Kind() != omu_PrimKind::Number && item.Kind() != omu_PrimKind::Bool)
        Refuse(keyword, "item " + std::to_string(i) + " is not a number");
      double v = 0;
      omu_ValueReader::Read(item, v);
      values.push_back(v);
    }
  }
  if (count >= 0) {
    if (values.size() < static_cast<std::size_t>(count))
      Refuse(keyword, std::to_string(values.size()) + " numbers, " + std::to_string(count) +
                          " expected");
    values.resize(static_cast<std::size_t>(count));
  }
  return values;
}

odb_Writer::Stored odb_Numbers::ReadStored(omu_Arguments& args, const char* keyword,
                                           long long count, bool asDouble) {
  std::vector<float> singles;
  if (!asDouble && args.TakePairValuesAsFloats(keyword, singles)) {
    if (count >= 0) {
      if (singles.size() < static_cast<std::size_t>(count))
        Refuse(keyword, std::to_string(singles.size()) + " numbers, " + std::to_string(count) +
                            " expected");
      singles.resize(static_cast<std::size_t>(count));
    }
    return odb_Writer::Stored(std::move(singles));
  }
  return odb_Writer::Stored(Read(args, keyword, count), asDouble);
}

std::vector<int> odb_Numbers::ReadInts(omu_Arguments& args, const char* keyword, long long count) {
  const std::vector<double> values = Read(args, keyword, count);
  std::vector<int> ints(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    const double v = values[i];
    if (!(v >= INT_MIN && v <= INT_MAX) || std::floor(v) != v)
      Refuse(keyword, "item " + std::to_string(i) + " is not a whole number within the int range");
    ints[i] = static_cast<int>(v);
  }
  return ints;
}

std::vector<cow_String> odb_Numbers::ReadTexts(omu_Arguments& args, const char* keyword) {
  std::vector<cow_String> texts;
  args.Get(texts, keyword);
  return texts;
}
