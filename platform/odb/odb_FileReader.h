#pragma once
// Reads and checks a results file into an odb_Odb: the root's format and version, the model, and
// per step its frames, fields and history table. Every count is bounded by the file's size
// before anything is allocated from it; every failure is an odb_OdbException naming the path and
// the object at fault.
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "odb_Hdf5.h"
#include "odb_Odb.h"

class odb_FileReader {
 public:
  odb_FileReader(odb_Odb& odb, hid_t file, std::uint64_t fileSize);
  void Read();

 private:
  [[noreturn]] void Fail(const std::string& object, const std::string& reason) const;
  odb_Hdf5::Id OpenGroup(const std::string& path, bool required) const;
  odb_Hdf5::Id OpenDataset(const std::string& path) const;
  // The number of members "0" ... "n-1" of a group; Fail when one is missing.
  std::size_t Members(hid_t group, const std::string& path) const;
  std::string Text(hid_t object, const std::string& path, const char* name, bool required) const;
  std::int64_t Integer(hid_t object, const std::string& path, const char* name,
                       std::int64_t low, std::int64_t high) const;
  double Number(hid_t object, const std::string& path, const char* name) const;
  // A dataset's shape, checked against its rank and bounded by the file's size.
  std::vector<hsize_t> Shape(hid_t dataset, const std::string& path, std::size_t rank,
                             std::size_t itemBytes) const;
  std::vector<int> Labels(const std::string& path, std::size_t expected, bool checkCount) const;

  void ReadInstance(std::size_t index);
  void ReadSet(std::size_t index);
  void ReadStep(std::size_t index);
  void ReadHistoryTable(ddb_Step& step, const std::string& path);
  void CheckX(const std::string& owner, const std::string& path);

  odb_Odb& odb_;
  hid_t file_;
  std::uint64_t fileSize_;
  std::unordered_set<std::string> checkedX_;
};
