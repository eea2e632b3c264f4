#include "odb_FileReader.h"

#include <algorithm>
#include <set>

#include "odb_Checks.h"
#include "odb_Layout.h"
#include "odb_OdbException.h"

namespace {
const char* const kShapes[] = {"LINE", "TRI", "QUAD", "TET", "WEDGE", "HEX"};

// Stops at the first link that is neither hard nor soft: one that leads into another file.
herr_t FindOutsideLink(hid_t, const char* name, const H5L_info_t* info, void* found) {
  if (info->type == H5L_TYPE_HARD || info->type == H5L_TYPE_SOFT) return 0;
  *static_cast<std::string*>(found) = name;
  return 1;
}
}  // namespace

odb_FileReader::odb_FileReader(odb_Odb& odb, hid_t file, std::uint64_t fileSize)
    : odb_(odb), file_(file), fileSize_(fileSize) {}

void odb_FileReader::Fail(const std::string& object, const std::string& reason) const {
  throw odb_OdbException(odb_.model_.fileName,
                         cow_String(object.empty() ? reason : object + ": " + reason));
}

odb_Hdf5::Id odb_FileReader::OpenGroup(const std::string& path, bool required) const {
  if (!odb_Hdf5::Exists(file_, path)) {
    if (required) Fail(path, "missing");
    return {};
  }
  H5O_info_t info;
  if (H5Oget_info_by_name(file_, path.c_str(), &info, H5P_DEFAULT) < 0 ||
      info.type != H5O_TYPE_GROUP)
    Fail(path, "not a group");
  odb_Hdf5::Id group(H5Gopen2(file_, path.c_str(), H5P_DEFAULT));
  if (!group.valid()) Fail(path, "cannot be opened");
  return group;
}

odb_Hdf5::Id odb_FileReader::OpenDataset(const std::string& path) const {
  if (!odb_Hdf5::Exists(file_, path)) Fail(path, "missing");
  H5O_info_t info;
  if (H5Oget_info_by_name(file_, path.c_str(), &info, H5P_DEFAULT) < 0 ||
      info.type != H5O_TYPE_DATASET)
    Fail(path, "not a dataset");
  odb_Hdf5::Id dataset(H5Dopen2(file_, path.c_str(), H5P_DEFAULT));
  if (!dataset.valid()) Fail(path, "cannot be opened");
  // Values in another file (external raw storage, a virtual dataset) would make HDF5 open
  // whatever file it names, a FIFO that never answers included; checked before anything asks
  // for the dataset's shape, which opens a virtual dataset's sources.
  odb_Hdf5::Id plist(H5Dget_create_plist(dataset.get()));
  if (!plist.valid()) Fail(path, "cannot be opened");
  if (H5Pget_external_count(plist.get()) != 0 || H5Pget_layout(plist.get()) == H5D_VIRTUAL)
    Fail(path, "values kept in another file");
  return dataset;
}

std::size_t odb_FileReader::Members(hid_t group, const std::string& path) const {
  H5G_info_t info;
  if (H5Gget_info(group, &info) < 0) Fail(path, "cannot be listed");
  // Each member costs the file far more than 8 bytes: a larger count is a damaged file.
  if (info.nlinks > fileSize_ / 8) Fail(path, "more members than the file can hold");
  for (hsize_t i = 0; i < info.nlinks; ++i)
    if (H5Lexists(group, std::to_string(i).c_str(), H5P_DEFAULT) <= 0)
      Fail(path, "members must be named 0 to " + std::to_string(info.nlinks - 1) + "; '" +
                     std::to_string(i) + "' is missing");
  return static_cast<std::size_t>(info.nlinks);
}

std::string odb_FileReader::Text(hid_t object, const std::string& path, const char* name,
                                 bool required) const {
  std::string value;
  if (!odb_Hdf5::ReadAttribute(object, name, value)) {
    if (required || odb_Hdf5::HasAttribute(object, name))
      Fail(path, std::string("attribute '") + name + "' must be a text");
  }
  return value;
}

std::int64_t odb_FileReader::Integer(hid_t object, const std::string& path, const char* name,
                                     std::int64_t low, std::int64_t high) const {
  std::int64_t value = 0;
  if (!odb_Hdf5::ReadAttribute(object, name, value))
    Fail(path, std::string("attribute '") + name + "' must be an integer");
  if (value < low || value > high)
    Fail(path, std::string("attribute '") + name + "' is " + std::to_string(value) + " (" +
                   std::to_string(low) + " to " + std::to_string(high) + ")");
  return value;
}

double odb_FileReader::Number(hid_t object, const std::string& path, const char* name) const {
  double value = 0;
  if (!odb_Hdf5::ReadAttribute(object, name, value))
    Fail(path, std::string("attribute '") + name + "' must be a number");
  return value;
}

std::vector<hsize_t> odb_FileReader::Shape(hid_t dataset, const std::string& path,
                                           std::size_t rank, std::size_t itemBytes) const {
  std::vector<hsize_t> dims;
  if (!odb_Hdf5::Shape(dataset, dims)) Fail(path, "not an array");
  if (dims.size() != rank)
    Fail(path, std::to_string(dims.size()) + " dimensions, " + std::to_string(rank) + " expected");
  // Stored without filters, an array takes its whole size in the file; compressed ones are given
  // a generous bound: 1024 times the file, and at most 2048 times the bytes their chunks take
  // (deflate packs at most about 1030 to 1). Chunks never written take no space but read as fill
  // values, so a filtered array's declared size alone would let a small file demand gigabytes.
  // Either way no count of a damaged file makes a huge allocation.
  long double bytes = static_cast<long double>(itemBytes);
  for (hsize_t d : dims) bytes *= static_cast<long double>(d);
  odb_Hdf5::Id plist(H5Dget_create_plist(dataset));
  const int filters = plist.valid() ? H5Pget_nfilters(plist.get()) : 0;
  const long double file = static_cast<long double>(fileSize_);
  const long double stored = static_cast<long double>(H5Dget_storage_size(dataset));
  const long double limit =
      filters > 0 ? std::min(file * 1024.0L, std::max(file, stored * 2048.0L)) : file;
  if (bytes > limit) Fail(path, "larger than the file can hold");
  return dims;
}

std::vector<int> odb_FileReader::Labels(const std::string& path, std::size_t expected,
                                        bool checkCount) const {
  odb_Hdf5::Id dataset = OpenDataset(path);
  if (!odb_Hdf5::IsInteger(dataset.get())) Fail(path, "labels must be integers");
  const std::vector<hsize_t> dims = Shape(dataset.get(), path, 1, 4);
  if (checkCount && dims[0] != expected)
    Fail(path, std::to_string(dims[0]) + " labels, " + std::to_string(expected) + " expected");
  std::vector<int> labels(static_cast<std::size_t>(dims[0]));
  if (!labels.empty() && H5Dread(dataset.get(), H5T_NATIVE_INT, H5S_ALL, H5S_ALL, H5P_DEFAULT,
                                 labels.data()) < 0)
    Fail(path, "cannot be read");
  return labels;
}

void odb_FileReader::Read() {
  odb_Hdf5::Id root(H5Gopen2(file_, "/", H5P_DEFAULT));
  std::string format;
  if (!odb_Hdf5::ReadAttribute(root.get(), "format", format) || format != odb_Layout::kFormat)
    Fail("", "not a results file (its root has no attribute format = '" +
                 std::string(odb_Layout::kFormat) + "')");
  std::int64_t version = 0;
  if (!odb_Hdf5::ReadAttribute(root.get(), "version", version))
    Fail("/", "attribute 'version' must be an integer");
  if (version != odb_Layout::kVersion)
    Fail("", "unknown version " + std::to_string(version) + " (this xyp reads version " +
                 std::to_string(odb_Layout::kVersion) + ")");
  // A results file holds everything itself. Following a link into another file would open
  // whatever file it names (a FIFO blocks for ever), so none is followed: the links are listed
  // first, without following any but hard links.
  std::string outside;
  if (H5Lvisit(file_, H5_INDEX_NAME, H5_ITER_NATIVE, FindOutsideLink, &outside) < 0)
    Fail("/", "its links cannot be listed");
  if (!outside.empty()) Fail("/" + outside, "a link to another file");

  odb_Hdf5::Id instances = OpenGroup("/model/instances", true);
  const std::size_t instanceCount = Members(instances.get(), "/model/instances");
  odb_.model_.instances.resize(instanceCount);
  std::set<std::string> names;
  for (std::size_t i = 0; i < instanceCount; ++i) {
    ReadInstance(i);
    if (!names.insert(odb_.model_.instances[i].name.Std()).second)
      Fail("/model/instances/" + std::to_string(i),
           "instance name '" + odb_.model_.instances[i].name.Std() + "' given twice");
  }
  if (odb_Hdf5::Id sets = OpenGroup("/model/sets", false); sets.valid()) {
    const std::size_t setCount = Members(sets.get(), "/model/sets");
    odb_.model_.sets.resize(setCount);
    names.clear();
    for (std::size_t s = 0; s < setCount; ++s) {
      ReadSet(s);
      if (!names.insert(odb_.model_.sets[s].name.Std()).second)
        Fail("/model/sets/" + std::to_string(s),
             "set name '" + odb_.model_.sets[s].name.Std() + "' given twice");
    }
  }
  odb_Hdf5::Id steps = OpenGroup("/steps", true);
  const std::size_t stepCount = Members(steps.get(), "/steps");
  odb_.steps_.resize(stepCount);
  names.clear();
  for (std::size_t k = 0; k < stepCount; ++k) {
    ReadStep(k);
    if (!names.insert(odb_.steps_[k].name.Std()).second)
      Fail("/steps/" + std::to_string(k), "step name '" + odb_.steps_[k].name.Std() + "' given twice");
  }
}

void odb_FileReader::ReadInstance(std::size_t index) {
  const std::string path = "/model/instances/" + std::to_string(index);
  odb_Hdf5::Id group = OpenGroup(path, true);
  odiK_PartInstance& instance = odb_.model_.instances[index];
  instance.name = Text(group.get(), path, "name", true);
  if (instance.name.IsEmpty()) Fail(path, "the instance has no name");
  instance.nodeLabels = Labels(path + "/nodeLabels", 0, false);
  {
    const std::string coordinates = path + "/nodeCoordinates";
    odb_Hdf5::Id dataset = OpenDataset(coordinates);
    std::size_t bytes = 0;
    if (!odb_Hdf5::IsFloat(dataset.get(), bytes)) Fail(coordinates, "coordinates must be floats");
    const std::vector<hsize_t> dims = Shape(dataset.get(), coordinates, 2, bytes);
    if (dims[0] != instance.nodeLabels.size() || dims[1] != 3)
      Fail(coordinates, "shape (" + std::to_string(dims[0]) + ", " + std::to_string(dims[1]) +
                            "), (" + std::to_string(instance.nodeLabels.size()) + ", 3) expected");
    instance.coordinates.resize(instance.nodeLabels.size() * 3);
    if (!instance.coordinates.empty() &&
        H5Dread(dataset.get(), H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT,
                instance.coordinates.data()) < 0)
      Fail(coordinates, "cannot be read");
  }
  if (odb_Hdf5::Id classes = OpenGroup(path + "/elementClasses", false); classes.valid()) {
    const std::size_t count = Members(classes.get(), path + "/elementClasses");
    instance.elementClasses.resize(count);
    for (std::size_t c = 0; c < count; ++c) {
      const std::string classPath = path + "/elementClasses/" + std::to_string(c);
      odb_Hdf5::Id g = OpenGroup(classPath, true);
      bme_ElementClass& e = instance.elementClasses[c];
      e.typeName = Text(g.get(), classPath, "type", true);
      const std::string shape = Text(g.get(), classPath, "shape", true);
      const auto found = std::find(std::begin(kShapes), std::end(kShapes), shape);
      if (found == std::end(kShapes)) Fail(classPath, "unknown shape '" + shape + "'");
      e.shape = static_cast<res_ElementShapeEnm>(found - std::begin(kShapes));
      e.userElementLabels = Labels(classPath + "/labels", 0, false);
      const std::string connectivity = classPath + "/connectivity";
      odb_Hdf5::Id dataset = OpenDataset(connectivity);
      if (!odb_Hdf5::IsInteger(dataset.get())) Fail(connectivity, "node labels must be integers");
      const std::vector<hsize_t> dims = Shape(dataset.get(), connectivity, 2, 4);
      if (dims[0] != e.userElementLabels.size() || dims[1] < 1 || dims[1] > 64)
        Fail(connectivity, "shape (" + std::to_string(dims[0]) + ", " + std::to_string(dims[1]) +
                               "), (" + std::to_string(e.userElementLabels.size()) +
                               ", 1 to 64) expected");
      e.nodesPerElement = static_cast<int>(dims[1]);
      e.connectivity.resize(static_cast<std::size_t>(dims[0] * dims[1]));
      if (!e.connectivity.empty() && H5Dread(dataset.get(), H5T_NATIVE_INT, H5S_ALL, H5S_ALL,
                                             H5P_DEFAULT, e.connectivity.data()) < 0)
        Fail(connectivity, "cannot be read");
      const std::string points = classPath + "/sectionPoints";
      if (odb_Hdf5::Exists(file_, points)) {
        odb_Hdf5::Id d = OpenDataset(points);
        Shape(d.get(), points, 1, 8);
        std::vector<std::string> texts;
        if (!odb_Hdf5::ReadStrings(d.get(), texts)) Fail(points, "must be texts");
        for (std::string& t : texts) e.sectionPointLabels.emplace_back(std::move(t));
      }
    }
  }
  int repeated = 0;
  bool node = false;
  if (!instance.Index(repeated, node))
    Fail(path, std::string(node ? "node" : "element") + " label " + std::to_string(repeated) +
                   " given twice");
  for (std::size_t c = 0; c < instance.elementClasses.size(); ++c) {
    const std::string reason = odb_Checks::ElementClass(instance, instance.elementClasses[c]);
    if (!reason.empty()) Fail(path + "/elementClasses/" + std::to_string(c), reason);
  }
}

void odb_FileReader::ReadSet(std::size_t index) {
  const std::string path = "/model/sets/" + std::to_string(index);
  odb_Hdf5::Id group = OpenGroup(path, true);
  odiK_Set& set = odb_.model_.sets[index];
  set.name = Text(group.get(), path, "name", true);
  set.kind = static_cast<res_SetTypeEnm>(Integer(group.get(), path, "kind", 0, 2));
  set.instance = static_cast<int>(Integer(group.get(), path, "instance", 0,
                                          std::max(0, odb_.model_.NumInstances() - 1)));
  set.internal = Integer(group.get(), path, "internal", 0, 1) != 0;
  set.labels = Labels(path + "/labels", 0, false);
  const std::string reason = odb_Checks::Set(odb_.model_, set);
  if (!reason.empty()) Fail(path, reason);
}

void odb_FileReader::ReadStep(std::size_t index) {
  const std::string path = "/steps/" + std::to_string(index);
  odb_Hdf5::Id group = OpenGroup(path, true);
  ddb_Step& step = odb_.steps_[index];
  step.name = Text(group.get(), path, "name", true);
  if (step.name.IsEmpty()) Fail(path, "the step has no name");
  step.domain = static_cast<res_DomainEnm>(Integer(group.get(), path, "domain", 0, 3));
  step.totalTime = Number(group.get(), path, "totalTime");
  step.timeStamp = static_cast<std::int32_t>(
      Integer(group.get(), path, "timeStamp", INT32_MIN, INT32_MAX));

  if (odb_Hdf5::Id frames = OpenGroup(path + "/frames", false); frames.valid()) {
    const std::size_t count = Members(frames.get(), path + "/frames");
    step.frames.resize(count);
    for (std::size_t f = 0; f < count; ++f) {
      const std::string framePath = path + "/frames/" + std::to_string(f);
      odb_Hdf5::Id frame = OpenGroup(framePath, true);
      step.frames[f].value = Number(frame.get(), framePath, "value");
      odb_Hdf5::Id fields = OpenGroup(framePath + "/fields", false);
      if (!fields.valid()) continue;
      const std::size_t n = Members(fields.get(), framePath + "/fields");
      std::set<std::pair<std::string, int>> seen;
      for (std::size_t j = 0; j < n; ++j) {
        ddb_FieldOutput field;
        field.path = framePath + "/fields/" + std::to_string(j);
        odb_Hdf5::Id g = OpenGroup(field.path, true);
        field.label = Text(g.get(), field.path, "label", true);
        field.description = Text(g.get(), field.path, "description", false);
        field.position = static_cast<res_OutputPositionEnm>(
            Integer(g.get(), field.path, "position", 1, 6));
        field.instance = static_cast<int>(Integer(g.get(), field.path, "instance", 0,
                                                  std::max(0, odb_.model_.NumInstances() - 1)));
        const std::string reason = odb_Checks::Field(odb_.model_, field);
        if (!reason.empty()) Fail(field.path, reason);
        if (!seen.emplace(field.label.Std(), field.instance).second)
          Fail(field.path, "field '" + field.label.Std() + "' given twice for its instance");
        odb_Hdf5::Id labels = OpenDataset(field.path + "/labels");
        if (!odb_Hdf5::IsInteger(labels.get())) Fail(field.path + "/labels", "must be integers");
        field.count = static_cast<std::int64_t>(Shape(labels.get(), field.path + "/labels", 1, 4)[0]);
        const std::string valuesPath = field.path + "/values";
        odb_Hdf5::Id values = OpenDataset(valuesPath);
        std::size_t bytes = 0;
        if (!odb_Hdf5::IsFloat(values.get(), bytes)) Fail(valuesPath, "values must be floats");
        std::vector<hsize_t> dims;
        if (!odb_Hdf5::Shape(values.get(), dims) || dims.empty() || dims.size() > 2)
          Fail(valuesPath, "must be an array of 1 or 2 dimensions");
        Shape(values.get(), valuesPath, dims.size(), bytes);
        if (dims[0] != static_cast<hsize_t>(field.count))
          Fail(valuesPath, std::to_string(dims[0]) + " rows for " + std::to_string(field.count) +
                               " labels");
        if (dims.size() == 2 && (dims[1] < 1 || dims[1] > 64))
          Fail(valuesPath, std::to_string(dims[1]) + " values per label (1 to 64)");
        field.valuesPerLabel = dims.size() == 2 ? static_cast<int>(dims[1]) : 1;
        step.frames[f].fields.push_back(std::move(field));
      }
    }
  }
  if (odb_Hdf5::Exists(file_, path + "/history")) ReadHistoryTable(step, path);
}

void odb_FileReader::ReadHistoryTable(ddb_Step& step, const std::string& path) {
  const std::string tablePath = path + "/history";
  odb_Hdf5::Id table = OpenDataset(tablePath);
  {
    odb_Hdf5::Id type(H5Dget_type(table.get()));
    if (!type.valid() || H5Tget_class(type.get()) != H5T_COMPOUND)
      Fail(tablePath, "must be a table (compound dataset)");
    // Every field of the row, by name and kind: HDF5 would leave a missing one unread.
    odb_Hdf5::Id row = odb_Layout::HistoryRowType(false);
    for (int m = 0; m < H5Tget_nmembers(row.get()); ++m) {
      char* name = H5Tget_member_name(row.get(), static_cast<unsigned>(m));
      const int at = H5Tget_member_index(type.get(), name);
      const H5T_class_t wanted = H5Tget_member_class(row.get(), static_cast<unsigned>(m));
      const bool ok = at >= 0 && H5Tget_member_class(type.get(), static_cast<unsigned>(at)) == wanted;
      const std::string field = name;
      H5free_memory(name);
      if (!ok) Fail(tablePath, "field '" + field + "' is missing or of another kind");
    }
  }
  const std::vector<hsize_t> dims = Shape(table.get(), tablePath, 1, 16);
  const std::size_t rows = static_cast<std::size_t>(dims[0]);
  std::vector<odb_Layout::HistoryRow> data(rows);
  odb_Hdf5::Id rowType = odb_Layout::HistoryRowType(false);
  if (rows > 0 && H5Dread(table.get(), rowType.get(), H5S_ALL, H5S_ALL,
                          odb_Hdf5::Transfer(table.get(), rowType.get()).get(), data.data()) < 0)
    Fail(tablePath, "cannot be read");
  // The texts are HDF5's allocations until reclaimed: copied first, reclaimed whatever follows.
  step.histories.resize(rows);
  for (std::size_t j = 0; j < rows; ++j) {
    const odb_Layout::HistoryRow& r = data[j];
    ddb_History& h = step.histories[j];
    h.variableLabel = r.label ? r.label : "";
    h.variableDescription = r.description ? r.description : "";
    h.position = static_cast<res_OutputPositionEnm>(r.position);
    h.instance = r.instance;
    h.node = r.node;
    h.element = r.element;
    h.integrationPoint = r.integrationPoint;
    h.sectionPoint = r.sectionPoint;
    h.face = r.face;
    h.set = r.set;
    h.isDouble = r.isDouble != 0;
    h.isPair = r.isComplex != 0;
    h.components = r.components;
    h.count = r.count;
    h.x = r.x ? r.x : "";
    h.values = path + "/historyValues/" + std::to_string(j);
  }
  if (rows > 0) {
    odb_Hdf5::Id space(H5Dget_space(table.get()));
    H5Dvlen_reclaim(rowType.get(), space.get(), H5P_DEFAULT, data.data());
  }

  for (std::size_t j = 0; j < rows; ++j) {
    ddb_History& h = step.histories[j];
    const std::string row = tablePath + " row " + std::to_string(j);
    const std::string reason = odb_Checks::History(odb_.model_, h);
    if (!reason.empty()) Fail(row, reason);
    if (h.variableLabel.IsEmpty()) Fail(row, "the output has no label");
    if (h.components > 64) Fail(row, "components: " + std::to_string(h.components) + " (1 to 64)");
    odb_Hdf5::Id values = OpenDataset(h.values);
    std::size_t bytes = 0;
    if (!odb_Hdf5::IsFloat(values.get(), bytes) || bytes != (h.isDouble ? 8u : 4u))
      Fail(h.values, std::string("values must be ") + (h.isDouble ? "float64" : "float32"));
    std::vector<hsize_t> expected{static_cast<hsize_t>(h.count)};
    if (h.components > 1) expected.push_back(static_cast<hsize_t>(h.components));
    if (h.isPair) expected.push_back(2);
    const std::vector<hsize_t> shape = Shape(values.get(), h.values, expected.size(), bytes);
    if (shape != expected) {
      std::string text;
      for (hsize_t d : expected) text += (text.empty() ? "" : ", ") + std::to_string(d);
      Fail(h.values, "shape does not match the table's count, components and complex flag (" +
                         text + ")");
    }
    CheckX(row, h.x);
  }
}

void odb_FileReader::CheckX(const std::string& owner, const std::string& path) {
  if (checkedX_.count(path)) return;
  if (!odb_Hdf5::Exists(file_, path)) Fail(owner, "x values '" + path + "' missing");
  odb_Hdf5::Id x = OpenDataset(path);
  std::size_t bytes = 0;
  if (!odb_Hdf5::IsFloat(x.get(), bytes)) Fail(path, "x values must be floats");
  Shape(x.get(), path, 1, bytes);
  checkedX_.insert(path);
}
