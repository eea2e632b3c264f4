#pragma once
// The results files' use of HDF5's C API (1.10): identifiers closed by their owner, HDF5's own
// error printing kept off the terminal, and the typed reads and writes of attributes and
// datasets that the reader and the writer share. Only platform/odb includes this header.
#include <hdf5.h>

#include <cstdint>
#include <string>
#include <vector>

class odb_Hdf5 {
 public:
  // An identifier of any kind, closed with H5Idec_ref when the owner goes.
  class Id {
   public:
    Id() = default;
    explicit Id(hid_t id) : id_(id) {}
    ~Id() { Reset(); }
    Id(Id&& other) noexcept : id_(other.id_) { other.id_ = -1; }
    Id& operator=(Id&& other) noexcept {
      if (this != &other) {
        Reset();
        id_ = other.id_;
        other.id_ = -1;
      }
      return *this;
    }
    Id(const Id&) = delete;
    Id& operator=(const Id&) = delete;
    hid_t get() const { return id_; }
    bool valid() const { return id_ >= 0; }
    void Reset();

   private:
    hid_t id_ = -1;
  };

  // Turns HDF5's printing of its error stack off for this thread (h5py does the same).
  static void Quiet();

  static bool Exists(hid_t location, const std::string& path);
  static bool HasAttribute(hid_t object, const char* name);
  // Attribute reads: false when absent or of another kind (no exception).
  static bool ReadAttribute(hid_t object, const char* name, std::int64_t& value);
  static bool ReadAttribute(hid_t object, const char* name, double& value);
  static bool ReadAttribute(hid_t object, const char* name, std::string& value);
  static void WriteAttribute(hid_t object, const char* name, std::int64_t value);
  static void WriteAttribute(hid_t object, const char* name, double value);
  static void WriteAttribute(hid_t object, const char* name, const std::string& value);

  // The variable-length UTF-8 string type.
  static Id StringType();
  // The dimensions of a dataset's simple dataspace; false for a scalar or null one.
  static bool Shape(hid_t dataset, std::vector<hsize_t>& dims);
  // Whether a dataset's type is an integer, or a float of `bytes` bytes.
  static bool IsInteger(hid_t dataset);
  static bool IsFloat(hid_t dataset, std::size_t& bytes);

  // The transfer list for reading or writing all of `dataset` in `memoryType`: its conversion
  // buffer fits the data, up to the library's default of 1 MiB. The library clears the whole
  // background buffer of every compound or text transfer, so the default costs a megabyte of
  // clearing for a table of a few rows.
  static Id Transfer(hid_t dataset, hid_t memoryType);

  // A dataset of the given shape, written from `data` in the memory type; contiguous storage.
  static void WriteDataset(hid_t location, const std::string& name, hid_t fileType,
                           hid_t memoryType, const std::vector<hsize_t>& dims, const void* data);
  static void WriteStrings(hid_t location, const std::string& name,
                           const std::vector<std::string>& texts);
  // A 1-D dataset of strings; false when it is none.
  static bool ReadStrings(hid_t dataset, std::vector<std::string>& texts);
};
