#include "odb_Odb.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>

#include "odb_FileReader.h"
#include "odb_Hdf5.h"
#include "odb_OdbException.h"

namespace {
std::atomic<std::uint64_t> generations{0};
}

std::unique_ptr<odb_Odb> odb_Odb::Open(const cow_String& realPath) {
  odb_Hdf5::Quiet();
  std::unique_ptr<odb_Odb> odb(new odb_Odb());
  odb->model_.fileName = realPath;
  struct stat info;
  if (stat(realPath.CStr(), &info) != 0 || !S_ISREG(info.st_mode))
    throw odb_OdbException(realPath, "not a regular file");
  if (info.st_size == 0) throw odb_OdbException(realPath, "an empty file is not a results file");
  const htri_t isHdf5 = H5Fis_hdf5(realPath.CStr());
  if (isHdf5 <= 0) throw odb_OdbException(realPath, "not an HDF5 file");
  // Read-only with the default file access properties: h5py opens the file the same way, and
  // HDF5 refuses a second opening in one process whose close degree or locking differ.
  const hid_t file = H5Fopen(realPath.CStr(), H5F_ACC_RDONLY, H5P_DEFAULT);
  if (file < 0) throw odb_OdbException(realPath, "cannot be read as HDF5 (truncated or damaged)");
  odb->file_ = file;
  odb_FileReader(*odb, file, static_cast<std::uint64_t>(info.st_size)).Read();
  odb->generation_ = ++generations;
  return odb;
}

odb_Odb::~odb_Odb() {
  if (file_ >= 0) H5Fclose(static_cast<hid_t>(file_));
}

bool odb_Odb::onlyHasUserDefinedData() const {
  for (const ddb_Step& step : steps_) {
    if (step.hasHistory()) return false;
    for (const ddb_Frame& frame : step.frames)
      if (!frame.fields.empty()) return false;
  }
  return true;
}

namespace {
// Reads a whole dataset as doubles; false when it is missing or of another size than `items`
// (any size when `items` is 0 and `anySize`).
bool ReadDoubles(hid_t file, const std::string& path, std::vector<double>& out,
                 std::size_t items, bool anySize) {
  odb_Hdf5::Quiet();
  if (!odb_Hdf5::Exists(file, path)) return false;
  odb_Hdf5::Id dataset(H5Dopen2(file, path.c_str(), H5P_DEFAULT));
  if (!dataset.valid()) return false;
  odb_Hdf5::Id space(H5Dget_space(dataset.get()));
  const hssize_t points = H5Sget_simple_extent_npoints(space.get());
  if (points < 0 || (!anySize && static_cast<std::size_t>(points) != items)) return false;
  out.resize(static_cast<std::size_t>(points));
  return points == 0 || H5Dread(dataset.get(), H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT,
                                out.data()) >= 0;
}
}  // namespace

void odb_Odb::ReadHistory(const ddb_History& history, std::vector<double>& x,
                          std::vector<double>& values) const {
  const hid_t file = static_cast<hid_t>(file_);
  const std::size_t items = static_cast<std::size_t>(history.count) *
                            static_cast<std::size_t>(history.components) * (history.isPair ? 2 : 1);
  if (!ReadDoubles(file, history.values, values, items, false))
    throw odb_OdbException(Path(), cow_String(history.values + ": cannot be read as opened"));
  if (!ReadDoubles(file, history.x, x, 0, true))
    throw odb_OdbException(Path(), cow_String(history.x + ": cannot be read as opened"));
}

namespace {
// A float dataset read by runs of rows (along its first dimension), in its own precision.
struct Rows {
  odb_Hdf5::Id dataset, space;
  std::vector<hsize_t> dims;
  bool isDouble = false;
  std::size_t rowSize = 1;  // numbers per row
  std::vector<float> narrow;

  bool Open(hid_t file, const std::string& path) {
    if (!odb_Hdf5::Exists(file, path)) return false;
    dataset = odb_Hdf5::Id(H5Dopen2(file, path.c_str(), H5P_DEFAULT));
    std::size_t bytes = 0;
    if (!dataset.valid() || !odb_Hdf5::Shape(dataset.get(), dims) ||
        !odb_Hdf5::IsFloat(dataset.get(), bytes))
      return false;
    isDouble = bytes == 8;
    for (std::size_t d = 1; d < dims.size(); ++d) rowSize *= static_cast<std::size_t>(dims[d]);
    space = odb_Hdf5::Id(H5Dget_space(dataset.get()));
    return space.valid();
  }
  // Rows first ... first + count - 1 into `out` as doubles. float32 is read as stored, with no
  // conversion by the library, and widened here.
  bool Read(hsize_t first, hsize_t count, double* out) {
    std::vector<hsize_t> start(dims.size(), 0), extent = dims;
    start[0] = first;
    extent[0] = count;
    if (H5Sselect_hyperslab(space.get(), H5S_SELECT_SET, start.data(), nullptr, extent.data(),
                            nullptr) < 0)
      return false;
    odb_Hdf5::Id memory(H5Screate_simple(static_cast<int>(extent.size()), extent.data(), nullptr));
    if (!memory.valid()) return false;
    const std::size_t n = static_cast<std::size_t>(count) * rowSize;
    if (isDouble)
      return H5Dread(dataset.get(), H5T_NATIVE_DOUBLE, memory.get(), space.get(), H5P_DEFAULT,
                     out) >= 0;
    if (narrow.size() < n) narrow.resize(n);
    if (H5Dread(dataset.get(), H5T_NATIVE_FLOAT, memory.get(), space.get(), H5P_DEFAULT,
                narrow.data()) < 0)
      return false;
    for (std::size_t i = 0; i < n; ++i) out[i] = narrow[i];
    return true;
  }
};
}  // namespace

bool odb_Odb::ReadHistoryBlocks(const ddb_History& history, std::size_t blockFrames,
                                const HistoryBlock& block) const {
  odb_Hdf5::Quiet();
  const hid_t file = static_cast<hid_t>(file_);
  const std::size_t count = static_cast<std::size_t>(history.count);
  const std::size_t stride =
      static_cast<std::size_t>(history.components) * (history.isPair ? 2 : 1);
  const auto refuse = [this](const std::string& path) {
    throw odb_OdbException(Path(), cow_String(path + ": cannot be read as opened"));
  };
  Rows values, x;
  if (!values.Open(file, history.values) || values.dims[0] != count || values.rowSize != stride)
    refuse(history.values);
  if (!x.Open(file, history.x) || x.dims.size() != 1) refuse(history.x);
  if (x.dims[0] < count) return false;
  blockFrames = std::max<std::size_t>(blockFrames, 1);
  std::vector<double> xBlock(std::min(blockFrames, count)),
      valueBlock(std::min(blockFrames, count) * stride);
  for (std::size_t first = 0; first < count; first += blockFrames) {
    const std::size_t n = std::min(blockFrames, count - first);
    if (!x.Read(first, n, xBlock.data())) refuse(history.x);
    if (!values.Read(first, n, valueBlock.data())) refuse(history.values);
    block(first, n, xBlock.data(), valueBlock.data());
  }
  return true;
}

void odb_Odb::ReadField(const ddb_FieldOutput& field, std::vector<int>& labels,
                        std::vector<float>& values) const {
  odb_Hdf5::Quiet();
  const hid_t file = static_cast<hid_t>(file_);
  const auto fail = [&](const std::string& what) {
    throw odb_OdbException(Path(), cow_String(field.path + ": " + what));
  };
  odb_Hdf5::Id l(H5Dopen2(file, (field.path + "/labels").c_str(), H5P_DEFAULT));
  odb_Hdf5::Id v(H5Dopen2(file, (field.path + "/values").c_str(), H5P_DEFAULT));
  if (!l.valid() || !v.valid()) fail("cannot be read as opened");
  labels.resize(static_cast<std::size_t>(field.count));
  values.resize(labels.size() * static_cast<std::size_t>(field.valuesPerLabel));
  odb_Hdf5::Id ls(H5Dget_space(l.get())), vs(H5Dget_space(v.get()));
  if (H5Sget_simple_extent_npoints(ls.get()) != static_cast<hssize_t>(labels.size()) ||
      H5Sget_simple_extent_npoints(vs.get()) != static_cast<hssize_t>(values.size()))
    fail("cannot be read as opened");
  if (!labels.empty() &&
      (H5Dread(l.get(), H5T_NATIVE_INT, H5S_ALL, H5S_ALL, H5P_DEFAULT, labels.data()) < 0 ||
       H5Dread(v.get(), H5T_NATIVE_FLOAT, H5S_ALL, H5S_ALL, H5P_DEFAULT, values.data()) < 0))
    fail("cannot be read");
  const odiK_PartInstance& instance = model_.instances[static_cast<std::size_t>(field.instance)];
  for (int label : labels) {
    const bool known = field.position == res_NODAL ? instance.NodeIndex(label) >= 0
                                                   : instance.FindElement(label).elementClass >= 0;
    if (!known) fail("label " + std::to_string(label) + " is not in instance '" +
                     instance.name.Std() + "'");
  }
}
