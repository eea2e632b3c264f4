#include "odb_Odb.h"

#include <sys/stat.h>

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
