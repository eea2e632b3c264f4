#include "odb_Hdf5.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

void odb_Hdf5::Id::Reset() {
  if (id_ >= 0) H5Idec_ref(id_);
  id_ = -1;
}

void odb_Hdf5::Quiet() {
  H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr);
}

bool odb_Hdf5::Exists(hid_t location, const std::string& path) {
  if (path.empty() || path[0] != '/') return false;
  // Every link on the way must exist, or HDF5 reports an error instead of "no".
  std::size_t from = 1;
  while (from <= path.size()) {
    std::size_t slash = path.find('/', from);
    if (slash == std::string::npos) slash = path.size();
    if (slash == from) return false;  // "//" or a trailing "/"
    if (H5Lexists(location, path.substr(0, slash).c_str(), H5P_DEFAULT) <= 0) return false;
    from = slash + 1;
  }
  return true;
}

bool odb_Hdf5::HasAttribute(hid_t object, const char* name) {
  return H5Aexists(object, name) > 0;
}

namespace {
// A scalar attribute, opened and checked to be of the wanted class.
odb_Hdf5::Id OpenScalar(hid_t object, const char* name, H5T_class_t wanted) {
  if (H5Aexists(object, name) <= 0) return {};
  odb_Hdf5::Id attribute(H5Aopen(object, name, H5P_DEFAULT));
  if (!attribute.valid()) return {};
  odb_Hdf5::Id space(H5Aget_space(attribute.get()));
  odb_Hdf5::Id type(H5Aget_type(attribute.get()));
  if (!space.valid() || !type.valid()) return {};
  const H5S_class_t spaceClass = H5Sget_simple_extent_type(space.get());
  const hssize_t points = H5Sget_simple_extent_npoints(space.get());
  if (spaceClass == H5S_NULL || points != 1) return {};
  if (H5Tget_class(type.get()) != wanted) return {};
  return attribute;
}
}  // namespace

bool odb_Hdf5::ReadAttribute(hid_t object, const char* name, std::int64_t& value) {
  Id attribute = OpenScalar(object, name, H5T_INTEGER);
  return attribute.valid() && H5Aread(attribute.get(), H5T_NATIVE_INT64, &value) >= 0;
}

bool odb_Hdf5::ReadAttribute(hid_t object, const char* name, double& value) {
  Id attribute = OpenScalar(object, name, H5T_FLOAT);
  if (!attribute.valid()) attribute = OpenScalar(object, name, H5T_INTEGER);
  return attribute.valid() && H5Aread(attribute.get(), H5T_NATIVE_DOUBLE, &value) >= 0;
}

bool odb_Hdf5::ReadAttribute(hid_t object, const char* name, std::string& value) {
  Id attribute = OpenScalar(object, name, H5T_STRING);
  if (!attribute.valid()) return false;
  Id type(H5Aget_type(attribute.get()));
  const htri_t variable = H5Tis_variable_str(type.get());
  if (variable < 0) return false;
  if (variable > 0) {
    Id memory = StringType();
    char* text = nullptr;
    if (H5Aread(attribute.get(), memory.get(), &text) < 0) return false;
    value = text ? text : "";
    Id space(H5Aget_space(attribute.get()));
    H5Dvlen_reclaim(memory.get(), space.get(), H5P_DEFAULT, &text);
    return true;
  }
  // A fixed-length string (as some tools write): read with its own size, cut at a NUL.
  const std::size_t size = H5Tget_size(type.get());
  if (size == 0 || size > (std::size_t{1} << 20)) return false;
  std::string buffer(size, '\0');
  Id memory(H5Tcopy(H5T_C_S1));
  H5Tset_size(memory.get(), size);
  // NUL-padded (a NUL-terminated type of the same size would keep one character less), in the
  // file's character set (HDF5 converts none into another).
  H5Tset_strpad(memory.get(), H5T_STR_NULLPAD);
  H5Tset_cset(memory.get(), H5Tget_cset(type.get()));
  if (H5Aread(attribute.get(), memory.get(), buffer.data()) < 0) return false;
  value = buffer.substr(0, buffer.find('\0'));
  return true;
}

namespace {
void Check(herr_t status, const char* what) {
  if (status < 0) throw std::runtime_error(std::string("HDF5 could not ") + what);
}
void CheckId(const odb_Hdf5::Id& id, const char* what) {
  if (!id.valid()) throw std::runtime_error(std::string("HDF5 could not ") + what);
}

void WriteScalar(hid_t object, const char* name, hid_t fileType, hid_t memoryType,
                 const void* value) {
  odb_Hdf5::Id space(H5Screate(H5S_SCALAR));
  odb_Hdf5::Id attribute(H5Acreate2(object, name, fileType, space.get(), H5P_DEFAULT, H5P_DEFAULT));
  CheckId(attribute, "create an attribute");
  Check(H5Awrite(attribute.get(), memoryType, value), "write an attribute");
}
}  // namespace

void odb_Hdf5::WriteAttribute(hid_t object, const char* name, std::int64_t value) {
  // 32 bits where the value fits: the layout's integers are labels, indices and codes.
  if (value >= INT32_MIN && value <= INT32_MAX) {
    const std::int32_t v = static_cast<std::int32_t>(value);
    WriteScalar(object, name, H5T_STD_I32LE, H5T_NATIVE_INT32, &v);
  } else {
    WriteScalar(object, name, H5T_STD_I64LE, H5T_NATIVE_INT64, &value);
  }
}

void odb_Hdf5::WriteAttribute(hid_t object, const char* name, double value) {
  WriteScalar(object, name, H5T_IEEE_F64LE, H5T_NATIVE_DOUBLE, &value);
}

void odb_Hdf5::WriteAttribute(hid_t object, const char* name, const std::string& value) {
  Id type = StringType();
  const char* text = value.c_str();
  WriteScalar(object, name, type.get(), type.get(), &text);
}

odb_Hdf5::Id odb_Hdf5::StringType() {
  Id type(H5Tcopy(H5T_C_S1));
  H5Tset_size(type.get(), H5T_VARIABLE);
  H5Tset_cset(type.get(), H5T_CSET_UTF8);
  return type;
}

bool odb_Hdf5::Shape(hid_t dataset, std::vector<hsize_t>& dims) {
  Id space(H5Dget_space(dataset));
  if (!space.valid() || H5Sget_simple_extent_type(space.get()) != H5S_SIMPLE) return false;
  const int rank = H5Sget_simple_extent_ndims(space.get());
  if (rank < 1 || rank > H5S_MAX_RANK) return false;
  dims.assign(static_cast<std::size_t>(rank), 0);
  return H5Sget_simple_extent_dims(space.get(), dims.data(), nullptr) == rank;
}

bool odb_Hdf5::IsInteger(hid_t dataset) {
  Id type(H5Dget_type(dataset));
  return type.valid() && H5Tget_class(type.get()) == H5T_INTEGER;
}

bool odb_Hdf5::IsFloat(hid_t dataset, std::size_t& bytes) {
  Id type(H5Dget_type(dataset));
  if (!type.valid() || H5Tget_class(type.get()) != H5T_FLOAT) return false;
  bytes = H5Tget_size(type.get());
  return bytes == 4 || bytes == 8;
}

odb_Hdf5::Id odb_Hdf5::Transfer(hid_t dataset, hid_t memoryType) {
  // The floor keeps one element of any of our types within the buffer, in the larger form it
  // takes on disk (a text's disk form is bigger than the pointer it is read into).
  constexpr hsize_t kDefault = 1 << 20, kFloor = 1 << 16;
  Id list(H5Pcreate(H5P_DATASET_XFER));
  Id space(H5Dget_space(dataset));
  Id fileType(H5Dget_type(dataset));
  const hssize_t points = space.valid() ? H5Sget_simple_extent_npoints(space.get()) : -1;
  if (!list.valid() || !fileType.valid() || points < 0) return list;
  const hsize_t element = std::max(H5Tget_size(fileType.get()), H5Tget_size(memoryType));
  const hsize_t bytes = static_cast<hsize_t>(points) * element;
  if (bytes < kDefault)
    H5Pset_buffer(list.get(), std::max(bytes, kFloor), nullptr, nullptr);
  return list;
}

void odb_Hdf5::WriteDataset(hid_t location, const std::string& name, hid_t fileType,
                            hid_t memoryType, const std::vector<hsize_t>& dims,
                            const void* data) {
  Id space(H5Screate_simple(static_cast<int>(dims.size()), dims.data(), nullptr));
  CheckId(space, "make a dataspace");
  Id dataset(H5Dcreate2(location, name.c_str(), fileType, space.get(), H5P_DEFAULT, H5P_DEFAULT,
                        H5P_DEFAULT));
  CheckId(dataset, "create a dataset");
  hsize_t total = 1;
  for (hsize_t d : dims) total *= d;
  if (total == 0) return;
  Id transfer = Transfer(dataset.get(), memoryType);
  Check(H5Dwrite(dataset.get(), memoryType, H5S_ALL, H5S_ALL, transfer.get(), data),
        "write a dataset");
}

void odb_Hdf5::WriteStrings(hid_t location, const std::string& name,
                            const std::vector<std::string>& texts) {
  std::vector<const char*> pointers;
  pointers.reserve(texts.size());
  for (const std::string& t : texts) pointers.push_back(t.c_str());
  Id type = StringType();
  WriteDataset(location, name, type.get(), type.get(), {texts.size()}, pointers.data());
}

bool odb_Hdf5::ReadStrings(hid_t dataset, std::vector<std::string>& texts) {
  std::vector<hsize_t> dims;
  if (!Shape(dataset, dims) || dims.size() != 1) return false;
  Id type(H5Dget_type(dataset));
  if (!type.valid() || H5Tget_class(type.get()) != H5T_STRING || H5Tis_variable_str(type.get()) <= 0)
    return false;
  std::vector<char*> pointers(dims[0], nullptr);
  Id memory = StringType();
  if (dims[0] > 0 && H5Dread(dataset, memory.get(), H5S_ALL, H5S_ALL,
                             Transfer(dataset, memory.get()).get(), pointers.data()) < 0)
    return false;
  texts.clear();
  for (char* p : pointers) texts.emplace_back(p ? p : "");
  if (dims[0] > 0) {
    Id space(H5Dget_space(dataset));
    H5Dvlen_reclaim(memory.get(), space.get(), H5P_DEFAULT, pointers.data());
  }
  return true;
}
