#include "odb_Layout.h"

#include <cstddef>

odb_Hdf5::Id odb_Layout::HistoryRowType(bool file) {
  odb_Hdf5::Id text = odb_Hdf5::StringType();
  const hid_t i32 = file ? H5T_STD_I32LE : H5T_NATIVE_INT32;
  const hid_t i64 = file ? H5T_STD_I64LE : H5T_NATIVE_INT64;
  odb_Hdf5::Id type(H5Tcreate(H5T_COMPOUND, sizeof(HistoryRow)));
  const hid_t t = type.get();
  H5Tinsert(t, "label", HOFFSET(HistoryRow, label), text.get());
  H5Tinsert(t, "description", HOFFSET(HistoryRow, description), text.get());
  H5Tinsert(t, "position", HOFFSET(HistoryRow, position), i32);
  H5Tinsert(t, "instance", HOFFSET(HistoryRow, instance), i32);
  H5Tinsert(t, "node", HOFFSET(HistoryRow, node), i32);
  H5Tinsert(t, "element", HOFFSET(HistoryRow, element), i32);
  H5Tinsert(t, "integrationPoint", HOFFSET(HistoryRow, integrationPoint), i32);
  H5Tinsert(t, "sectionPoint", HOFFSET(HistoryRow, sectionPoint), i32);
  H5Tinsert(t, "face", HOFFSET(HistoryRow, face), i32);
  H5Tinsert(t, "set", HOFFSET(HistoryRow, set), i32);
  H5Tinsert(t, "double", HOFFSET(HistoryRow, isDouble), i32);
  H5Tinsert(t, "complex", HOFFSET(HistoryRow, isComplex), i32);
  H5Tinsert(t, "components", HOFFSET(HistoryRow, components), i32);
  H5Tinsert(t, "count", HOFFSET(HistoryRow, count), i64);
  H5Tinsert(t, "x", HOFFSET(HistoryRow, x), text.get());
  if (file) H5Tpack(t);
  return type;
}
