#include "odb_Writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "odb_Checks.h"
#include "odb_Hdf5.h"
#include "odb_Layout.h"
#include "omi_Assert.h"
#include "omu_ValueErrorException.h"
#include "uti_FileException.h"
#include "uti_PreCheckFile.h"

namespace {
const char* const kShapeNames[] = {"LINE", "TRI", "QUAD", "TET", "WEDGE", "HEX"};

[[noreturn]] void Refuse(const std::string& text) {
  throw omu_ValueErrorException(cow_String(text));
}

bool HasName(const cow_String& name) {
  return !name.Trim(' ').IsEmpty();
}

// A name that HDF5 tools show as it is: no NUL byte (HDF5 texts end at one).
void CheckText(const char* keyword, const cow_String& text) {
  if (text.View().find('\0') != std::string_view::npos)
    Refuse(std::string(keyword) + ": embedded null byte");
}

void WriteStored(hid_t at, const std::string& name, const odb_Writer::Stored& v,
                 const std::vector<hsize_t>& dims) {
  if (v.isDouble)
    odb_Hdf5::WriteDataset(at, name, H5T_IEEE_F64LE, H5T_NATIVE_DOUBLE, dims, v.doubles.data());
  else
    odb_Hdf5::WriteDataset(at, name, H5T_IEEE_F32LE, H5T_NATIVE_FLOAT, dims, v.singles.data());
}

std::string JoinPath(std::initializer_list<std::string> parts) {
  std::string path;
  for (const std::string& p : parts) path += "/" + p;
  return path;
}
}  // namespace

odb_Writer::odb_Writer(const cow_String& path)
    : path_(uti_PreCheckFile(path, uti_WRITE_ACCESS, "results file")) {}

odb_Writer::~odb_Writer() = default;

void odb_Writer::RequireOpen() const {
  if (closed_) Refuse("the writer of " + path_.Std() + " is closed");
}

int odb_Writer::InstanceByName(const char* keyword, const cow_String& name) const {
  const int index = model_.InstanceIndex(name);
  if (index < 0) Refuse(std::string(keyword) + ": no instance '" + name.Std() + "'");
  return index;
}

void odb_Writer::CheckStep(int step) const {
  if (step < 0 || step >= static_cast<int>(steps_.size()))
    Refuse("step: no step " + std::to_string(step));
}

void odb_Writer::AddInstance(const cow_String& name, std::vector<int> labels,
                             std::vector<double> coordinates) {
  RequireOpen();
  CheckText("name", name);
  if (!HasName(name)) Refuse("name: an instance needs a name");
  if (model_.InstanceIndex(name) >= 0) Refuse("name: instance '" + name.Std() + "' given twice");
  if (coordinates.size() != labels.size() * 3)
    Refuse("nodes: each node is (label, x, y, z)");
  odiK_PartInstance instance;
  instance.name = name;
  instance.nodeLabels = std::move(labels);
  instance.coordinates = std::move(coordinates);
  int repeated = 0;
  bool node = true;
  if (!instance.Index(repeated, node))
    Refuse("nodes: node label " + std::to_string(repeated) + " given twice");
  model_.instances.push_back(std::move(instance));
}

void odb_Writer::AddElements(const cow_String& instanceName, const cow_String& type,
                             std::vector<int> labels, std::vector<int> connectivity,
                             int nodesPerElement, int shape,
                             std::vector<cow_String> sectionPoints) {
  RequireOpen();
  const int index = InstanceByName("instance", instanceName);
  CheckText("type", type);
  if (!HasName(type)) Refuse("type: an element class needs a type name");
  for (const cow_String& point : sectionPoints) CheckText("sectionPoints", point);
  bme_ElementClass elements;
  elements.typeName = type;
  elements.nodesPerElement = nodesPerElement;
  if (shape < 0) {
    if (!bme_ElementClass::DefaultShape(nodesPerElement, elements.shape))
      Refuse("shape: elements of " + std::to_string(nodesPerElement) +
             " nodes have no default shape; name one");
  } else if (shape > res_HEX) {
    Refuse("shape: " + std::to_string(shape) + " is no shape");
  } else {
    elements.shape = static_cast<res_ElementShapeEnm>(shape);
  }
  elements.userElementLabels = std::move(labels);
  elements.connectivity = std::move(connectivity);
  elements.sectionPointLabels = std::move(sectionPoints);
  // Checked on a copy of the instance: a refused call leaves it as it was.
  odiK_PartInstance trial = model_.instances[static_cast<std::size_t>(index)];
  const std::string reason = odb_Checks::ElementClass(trial, elements);
  if (!reason.empty()) Refuse(reason);
  trial.elementClasses.push_back(std::move(elements));
  int repeated = 0;
  bool node = false;
  if (!trial.Index(repeated, node))
    Refuse("elements: element label " + std::to_string(repeated) + " given twice");
  model_.instances[static_cast<std::size_t>(index)] = std::move(trial);
}

void odb_Writer::AddSet(const cow_String& name, int kind, const cow_String& instance,
                        std::vector<int> labels, bool internal) {
  RequireOpen();
  CheckText("name", name);
  if (!HasName(name)) Refuse("name: a set needs a name");
  if (model_.SetIndex(name) >= 0) Refuse("name: set '" + name.Std() + "' given twice");
  odiK_Set set;
  set.name = name;
  set.kind = static_cast<res_SetTypeEnm>(kind);
  set.instance = InstanceByName("instance", instance);
  set.internal = internal;
  set.labels = std::move(labels);
  const std::string reason = odb_Checks::Set(model_, set);
  if (!reason.empty()) Refuse(reason);
  model_.sets.push_back(std::move(set));
}

int odb_Writer::AddStep(const cow_String& name, int domain, double totalTime) {
  RequireOpen();
  CheckText("name", name);
  if (!HasName(name)) Refuse("name: a step needs a name");
  for (const ddb_Step& s : steps_)
    if (s.name == name) Refuse("name: step '" + name.Std() + "' given twice");
  if (domain < res_TIME || domain > res_ARC_LENGTH)
    Refuse("domain: " + std::to_string(domain) + " is not a domain (0 to 3)");
  if (!std::isfinite(totalTime)) Refuse("totalTime: must be a finite number");
  ddb_Step step;
  step.name = name;
  step.domain = static_cast<res_DomainEnm>(domain);
  step.totalTime = totalTime;
  step.timeStamp = static_cast<std::int32_t>(steps_.size());
  steps_.push_back(std::move(step));
  data_.emplace_back();
  return static_cast<int>(steps_.size()) - 1;
}

odb_Writer::Stored::Stored(std::vector<double> values, bool asDouble) : isDouble(asDouble) {
  if (asDouble) {
    doubles = std::move(values);
  } else {
    singles.resize(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) singles[i] = static_cast<float>(values[i]);
  }
}

bool odb_Writer::Stored::operator==(const Stored& other) const {
  if (isDouble != other.isDouble || Size() != other.Size()) return false;
  return isDouble ? std::memcmp(doubles.data(), other.doubles.data(), doubles.size() * 8) == 0
                  : std::memcmp(singles.data(), other.singles.data(), singles.size() * 4) == 0;
}

void odb_Writer::AddHistory(int stepIndex, const HistoryPoint& point, std::vector<double> x,
                            std::vector<double> values, bool isComplex, bool isDouble,
                            int components) {
  AddHistory(stepIndex, point, Stored(std::move(x), isDouble), Stored(std::move(values), isDouble),
             isComplex, components);
}

void odb_Writer::AddHistory(int stepIndex, const HistoryPoint& point, Stored x, Stored values,
                            bool isComplex, int components) {
  OMI_ASSERT(x.isDouble == values.isDouble);
  const bool isDouble = x.isDouble;
  RequireOpen();
  CheckStep(stepIndex);
  CheckText("label", point.label);
  CheckText("description", point.description);
  if (!HasName(point.label)) Refuse("label: a history output needs a label");
  ddb_History h;
  h.variableLabel = point.label;
  h.variableDescription = point.description;
  h.position = point.position;
  if (point.instance.IsEmpty()) {
    const bool needs = (point.position >= res_NODAL && point.position <= res_WHOLE_ELEMENT) ||
                       point.position == res_WHOLE_PART_INSTANCE;
    h.instance = needs && model_.NumInstances() == 1 ? 0 : -1;
  } else {
    h.instance = InstanceByName("instance", point.instance);
  }
  h.node = point.node;
  h.element = point.element;
  h.integrationPoint = point.integrationPoint;
  h.sectionPoint = point.sectionPoint;
  h.face = point.face;
  if (!point.set.IsEmpty()) {
    h.set = model_.SetIndex(point.set);
    if (h.set < 0) Refuse("set: no set '" + point.set.Std() + "'");
  }
  h.isDouble = isDouble;
  h.isPair = isComplex;
  h.components = components;
  h.count = static_cast<std::int64_t>(x.Size());
  if (components < 1 || components > 64)
    Refuse("components: " + std::to_string(components) + " (1 to 64)");
  const std::size_t perX = static_cast<std::size_t>(components) * (isComplex ? 2 : 1);
  if (values.Size() != x.Size() * perX)
    Refuse("values: " + std::to_string(values.Size() / perX) + " values for " +
           std::to_string(x.Size()) + " x values" +
           (values.Size() % perX ? " (" + std::to_string(perX) + " numbers per value)" : ""));
  const std::string reason = odb_Checks::History(model_, h);
  if (!reason.empty()) Refuse(reason);

  StepData& data = data_[static_cast<std::size_t>(stepIndex)];
  // Equal x values of one step are stored once (bit for bit, in the stored precision).
  int xIndex = -1;
  for (std::size_t i = data.x.size(); i-- > 0 && xIndex < 0;)
    if (data.x[i] == x) xIndex = static_cast<int>(i);
  if (xIndex < 0) {
    data.x.push_back(std::move(x));
    xIndex = static_cast<int>(data.x.size()) - 1;
  }
  const std::size_t index = steps_[static_cast<std::size_t>(stepIndex)].histories.size();
  h.values = JoinPath({"steps", std::to_string(stepIndex), "historyValues", std::to_string(index)});
  h.x = JoinPath({"steps", std::to_string(stepIndex), "x", std::to_string(xIndex)});
  data.histories.push_back({std::move(values), xIndex});
  steps_[static_cast<std::size_t>(stepIndex)].histories.push_back(std::move(h));
}

int odb_Writer::AddFrame(int stepIndex, double value) {
  RequireOpen();
  CheckStep(stepIndex);
  if (!std::isfinite(value)) Refuse("value: must be a finite number");
  ddb_Step& step = steps_[static_cast<std::size_t>(stepIndex)];
  step.frames.push_back({value, {}});
  data_[static_cast<std::size_t>(stepIndex)].fields.emplace_back();
  return static_cast<int>(step.frames.size()) - 1;
}

void odb_Writer::AddField(int stepIndex, int frameIndex, const cow_String& label,
                          const cow_String& description, int position,
                          const cow_String& instance, std::vector<int> labels,
                          std::vector<float> values, int valuesPerLabel) {
  RequireOpen();
  CheckStep(stepIndex);
  ddb_Step& step = steps_[static_cast<std::size_t>(stepIndex)];
  if (frameIndex < 0 || frameIndex >= static_cast<int>(step.frames.size()))
    Refuse("frame: no frame " + std::to_string(frameIndex));
  CheckText("label", label);
  CheckText("description", description);
  if (!HasName(label)) Refuse("label: a field output needs a label");
  ddb_FieldOutput field;
  field.label = label;
  field.description = description;
  field.position = static_cast<res_OutputPositionEnm>(position);
  field.instance = instance.IsEmpty() && model_.NumInstances() == 1
                       ? 0
                       : InstanceByName("instance", instance);
  field.count = static_cast<std::int64_t>(labels.size());
  field.valuesPerLabel = valuesPerLabel;
  std::string reason = odb_Checks::Field(model_, field);
  if (!reason.empty()) Refuse(reason);
  if (valuesPerLabel > 64) Refuse("values: " + std::to_string(valuesPerLabel) + " values per label (1 to 64)");
  if (values.size() != labels.size() * static_cast<std::size_t>(valuesPerLabel))
    Refuse("values: every label needs " + std::to_string(valuesPerLabel) + " values");
  ddb_Frame& frame = step.frames[static_cast<std::size_t>(frameIndex)];
  for (const ddb_FieldOutput& other : frame.fields)
    if (other.label == label && other.instance == field.instance)
      Refuse("label: field '" + label.Std() + "' given twice for its instance in this frame");
  const odiK_PartInstance& part = model_.instances[static_cast<std::size_t>(field.instance)];
  std::vector<int> sorted = labels;
  std::sort(sorted.begin(), sorted.end());
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    if (i > 0 && sorted[i] == sorted[i - 1])
      Refuse("values: label " + std::to_string(sorted[i]) + " given twice");
    const bool known = field.position == res_NODAL ? part.NodeIndex(sorted[i]) >= 0
                                                   : part.FindElement(sorted[i]).elementClass >= 0;
    if (!known)
      Refuse("values: no " + std::string(field.position == res_NODAL ? "node " : "element ") +
             std::to_string(sorted[i]) + " in instance '" + part.name.Std() + "'");
  }
  field.path = JoinPath({"steps", std::to_string(stepIndex), "frames", std::to_string(frameIndex),
                     "fields", std::to_string(frame.fields.size())});
  frame.fields.push_back(std::move(field));
  data_[static_cast<std::size_t>(stepIndex)].fields[static_cast<std::size_t>(frameIndex)].push_back(
      {std::move(labels), std::move(values)});
}

void odb_Writer::Close() {
  RequireOpen();
  // The folder may have changed since the writer was made.
  const std::string target = uti_FollowLinks(uti_PreCheckFile(path_, uti_WRITE_ACCESS,
                                                              "results file")).Std();
  std::string temporary;
  odb_Hdf5::Quiet();
  hid_t file = -1;
  for (int attempt = 0; attempt < 100 && file < 0; ++attempt) {
    temporary = uti_TemporaryNameBeside(target);
    struct stat info;
    if (lstat(temporary.c_str(), &info) == 0) continue;
    file = H5Fcreate(temporary.c_str(), H5F_ACC_EXCL, H5P_DEFAULT, H5P_DEFAULT);
  }
  if (file < 0) throw uti_FileException(EIO, path_, "the results file cannot be created");
  try {
    WriteFile(file);
  } catch (...) {
    H5Fclose(file);
    unlink(temporary.c_str());
    throw;
  }
  if (H5Fclose(file) < 0) {
    unlink(temporary.c_str());
    throw uti_FileException(EIO, path_, "the results file cannot be written");
  }
  if (rename(temporary.c_str(), target.c_str()) != 0) {
    const int error = errno;
    unlink(temporary.c_str());
    throw uti_FileException(error, path_, cow_String(std::strerror(error)));
  }
  closed_ = true;
}

void odb_Writer::WriteFile(std::int64_t fileId) const {
  const hid_t file = static_cast<hid_t>(fileId);
  const auto group = [this](hid_t at, const std::string& name) {
    odb_Hdf5::Id g(H5Gcreate2(at, name.c_str(), H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT));
    if (!g.valid()) throw uti_FileException(EIO, path_, "the results file cannot be written");
    return g;
  };
  const auto ints = [](hid_t at, const std::string& name, const std::vector<int>& v,
                       std::vector<hsize_t> dims) {
    odb_Hdf5::WriteDataset(at, name, H5T_STD_I32LE, H5T_NATIVE_INT, dims, v.data());
  };
  try {
    odb_Hdf5::Id root(H5Gopen2(file, "/", H5P_DEFAULT));
    odb_Hdf5::WriteAttribute(root.get(), "format", std::string(odb_Layout::kFormat));
    odb_Hdf5::WriteAttribute(root.get(), "version", odb_Layout::kVersion);

    odb_Hdf5::Id model = group(file, "model");
    odb_Hdf5::Id instances = group(model.get(), "instances");
    for (std::size_t i = 0; i < model_.instances.size(); ++i) {
      const odiK_PartInstance& part = model_.instances[i];
      odb_Hdf5::Id g = group(instances.get(), std::to_string(i));
      odb_Hdf5::WriteAttribute(g.get(), "name", part.name.Std());
      ints(g.get(), "nodeLabels", part.nodeLabels, {part.nodeLabels.size()});
      odb_Hdf5::WriteDataset(g.get(), "nodeCoordinates", H5T_IEEE_F64LE, H5T_NATIVE_DOUBLE,
                             {part.nodeLabels.size(), 3}, part.coordinates.data());
      odb_Hdf5::Id classes = group(g.get(), "elementClasses");
      for (std::size_t c = 0; c < part.elementClasses.size(); ++c) {
        const bme_ElementClass& e = part.elementClasses[c];
        odb_Hdf5::Id cg = group(classes.get(), std::to_string(c));
        odb_Hdf5::WriteAttribute(cg.get(), "type", e.typeName.Std());
        odb_Hdf5::WriteAttribute(cg.get(), "shape", std::string(kShapeNames[e.shape]));
        ints(cg.get(), "labels", e.userElementLabels, {e.userElementLabels.size()});
        ints(cg.get(), "connectivity", e.connectivity,
             {e.userElementLabels.size(), static_cast<hsize_t>(e.nodesPerElement)});
        if (!e.sectionPointLabels.empty()) {
          std::vector<std::string> texts;
          for (const cow_String& t : e.sectionPointLabels) texts.push_back(t.Std());
          odb_Hdf5::WriteStrings(cg.get(), "sectionPoints", texts);
        }
      }
    }
    odb_Hdf5::Id sets = group(model.get(), "sets");
    for (std::size_t s = 0; s < model_.sets.size(); ++s) {
      const odiK_Set& set = model_.sets[s];
      odb_Hdf5::Id g = group(sets.get(), std::to_string(s));
      odb_Hdf5::WriteAttribute(g.get(), "name", set.name.Std());
      odb_Hdf5::WriteAttribute(g.get(), "kind", std::int64_t{set.kind});
      odb_Hdf5::WriteAttribute(g.get(), "instance", std::int64_t{set.instance});
      odb_Hdf5::WriteAttribute(g.get(), "internal", std::int64_t{set.internal ? 1 : 0});
      ints(g.get(), "labels", set.labels, {set.labels.size()});
    }

    odb_Hdf5::Id steps = group(file, "steps");
    for (std::size_t k = 0; k < steps_.size(); ++k) {
      const ddb_Step& step = steps_[k];
      const StepData& data = data_[k];
      odb_Hdf5::Id g = group(steps.get(), std::to_string(k));
      odb_Hdf5::WriteAttribute(g.get(), "name", step.name.Std());
      odb_Hdf5::WriteAttribute(g.get(), "domain", std::int64_t{step.domain});
      odb_Hdf5::WriteAttribute(g.get(), "totalTime", step.totalTime);
      odb_Hdf5::WriteAttribute(g.get(), "timeStamp", std::int64_t{step.timeStamp});

      odb_Hdf5::Id frames = group(g.get(), "frames");
      for (std::size_t f = 0; f < step.frames.size(); ++f) {
        odb_Hdf5::Id fg = group(frames.get(), std::to_string(f));
        odb_Hdf5::WriteAttribute(fg.get(), "value", step.frames[f].value);
        odb_Hdf5::Id fields = group(fg.get(), "fields");
        for (std::size_t j = 0; j < step.frames[f].fields.size(); ++j) {
          const ddb_FieldOutput& field = step.frames[f].fields[j];
          const FieldData& values = data.fields[f][j];
          odb_Hdf5::Id og = group(fields.get(), std::to_string(j));
          odb_Hdf5::WriteAttribute(og.get(), "label", field.label.Std());
          odb_Hdf5::WriteAttribute(og.get(), "description", field.description.Std());
          odb_Hdf5::WriteAttribute(og.get(), "position", std::int64_t{field.position});
          odb_Hdf5::WriteAttribute(og.get(), "instance", std::int64_t{field.instance});
          ints(og.get(), "labels", values.labels, {values.labels.size()});
          std::vector<hsize_t> dims{values.labels.size()};
          if (field.valuesPerLabel > 1) dims.push_back(static_cast<hsize_t>(field.valuesPerLabel));
          odb_Hdf5::WriteDataset(og.get(), "values", H5T_IEEE_F32LE, H5T_NATIVE_FLOAT, dims,
                                 values.values.data());
        }
      }

      if (!data.x.empty()) {
        odb_Hdf5::Id xg = group(g.get(), "x");
        for (std::size_t i = 0; i < data.x.size(); ++i) WriteStored(xg.get(), std::to_string(i), data.x[i], {data.x[i].Size()});
      }
      if (step.histories.empty()) continue;
      odb_Hdf5::Id vg = group(g.get(), "historyValues");
      std::vector<odb_Layout::HistoryRow> rows(step.histories.size());
      for (std::size_t j = 0; j < step.histories.size(); ++j) {
        const ddb_History& h = step.histories[j];
        std::vector<hsize_t> dims{static_cast<hsize_t>(h.count)};
        if (h.components > 1) dims.push_back(static_cast<hsize_t>(h.components));
        if (h.isPair) dims.push_back(2);
        WriteStored(vg.get(), std::to_string(j), data.histories[j].values, dims);
        odb_Layout::HistoryRow& r = rows[j];
        r.label = const_cast<char*>(h.variableLabel.CStr());
        r.description = const_cast<char*>(h.variableDescription.CStr());
        r.position = h.position;
        r.instance = h.instance;
        r.node = h.node;
        r.element = h.element;
        r.integrationPoint = h.integrationPoint;
        r.sectionPoint = h.sectionPoint;
        r.face = h.face;
        r.set = h.set;
        r.isDouble = h.isDouble;
        r.isComplex = h.isPair;
        r.components = h.components;
        r.count = h.count;
        r.x = const_cast<char*>(h.x.c_str());
      }
      odb_Hdf5::Id fileType = odb_Layout::HistoryRowType(true);
      odb_Hdf5::Id memoryType = odb_Layout::HistoryRowType(false);
      odb_Hdf5::WriteDataset(g.get(), "history", fileType.get(), memoryType.get(), {rows.size()},
                             rows.data());
    }
  } catch (const std::runtime_error&) {
    throw uti_FileException(EIO, path_, "the results file cannot be written");
  }
}
