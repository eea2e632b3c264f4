// The history lists of the XY toolset: labels and legends of history outputs, kept per results
// file (a part of xypK_XYToolset, in a file of its own for its size).
#include <string>

#include "ddb_Step.h"
#include "ddr_Root.h"
#include "odb_Odb.h"
#include "odiK_Model.h"
#include "thr_ThreadSingleton.h"
#include "xypK_XYToolset.h"

namespace {
cow_String Number(long long n) {
  return cow_String::FromInt(n);
}
}  // namespace

void xypK_XYToolset::GenerateHistoryLabels(const odiK_Model& model, const ddb_History& h,
                                           cow_String& label, cow_String& legend,
                                           bool withInstance) {
  label = h.variableDescription + ": " + h.variableLabel;
  legend = h.variableLabel;
  const int position = static_cast<int>(h.position);
  cow_String instance;
  if (position != res_WHOLE_REGION && position != res_WHOLE_MODEL && h.instance >= 0 &&
      h.instance < model.NumInstances())
    instance = model.instances[static_cast<std::size_t>(h.instance)].name;
  const bool prefix = withInstance && !instance.IsEmpty() && position >= res_NODAL &&
                      position <= res_WHOLE_ELEMENT;
  if (prefix) {
    label += " at Part instance " + instance;
    legend += " PI: " + instance;
  }
  const cow_String at = prefix ? "" : " at";
  const cow_String e = Number(h.element), n = Number(h.node);
  switch (position) {
    case res_NODAL:
      label += at + " Node " + n;
      legend += " N: " + n;
      break;
    case res_INTEGRATION_POINT: {
      const cow_String p = Number(h.integrationPoint);
      label += at + " Element " + e + " Int Point " + p;
      legend += " E: " + e + " IP: " + p;
      if (h.sectionPoint >= 0 && h.instance >= 0 && h.elementClass >= 0) {
        const bme_ElementClass& c = model.instances[static_cast<std::size_t>(h.instance)]
                                        .elementClasses[static_cast<std::size_t>(h.elementClass)];
        if (static_cast<std::size_t>(h.sectionPoint) < c.sectionPointLabels.size()) {
          const cow_String& point = c.SectionPointLabel(static_cast<std::size_t>(h.sectionPoint));
          label += " Sec Pt " + point;
          const std::size_t comma = point.View().find(',');
          legend += " SP: " + cow_String(point.View().substr(0, comma));
        }
      }
      break;
    }
    case res_ELEMENT_FACE:
      label += " at Element " + e + " Face " + Number(h.face);
      legend += " E: " + e + " F: " + Number(h.face);
      break;
    case res_ELEMENT_NODAL:
      label += at + " Element " + e + " Node " + n;
      legend += " E: " + e + " N: " + n;
      break;
    case res_CENTROID:
    case res_WHOLE_ELEMENT:
      label += at + " Element " + e;
      legend += " E: " + e;
      break;
    case res_WHOLE_REGION:
      break;
    case res_WHOLE_PART_INSTANCE:
      label += " for Part " + instance;
      legend += " P: " + instance;
      break;
    case res_WHOLE_MODEL:
      label += " for Whole Model";
      legend += " Whole Model";
      break;
    case res_GENERAL_PARTICLE:
      label = legend = h.variableLabel + " at " + h.variableDescription;
      break;
    default:
      return;  // checked when the file opened: no other position gets here
  }
  if (position != res_WHOLE_PART_INSTANCE && position != res_WHOLE_MODEL &&
      position != res_GENERAL_PARTICLE && h.set >= 0 &&
      static_cast<std::size_t>(h.set) < model.sets.size()) {
    const odiK_Set& set = model.sets[static_cast<std::size_t>(h.set)];
    if (!set.name.IsEmpty() && !set.internal) {
      static const char* const kWords[] = {" NSET ", " ELSET ", " SSET "};
      const cow_String text = kWords[set.kind] + set.name;
      label += " in" + text;
      legend += text;
    }
  }
  std::string dotted = label.Std();
  for (char& c : dotted)
    if (c == '.') c = ':';
  label = cow_String(std::move(dotted));
}

void xypK_XYToolset::UpdateHistoryLists(const odiK_Model& model) {
  const cow_String& fileName = model.FileName();
  const odb_Odb* odb = thr_ThreadSingleton<ddr_Root>::Instance().Find(fileName);
  std::shared_ptr<xypK_HistoryFile>* found = historyFiles_.Find(fileName);
  if (!odb) return;
  if (odb->onlyHasUserDefinedData()) {
    if (!found) historyFiles_.Insert(fileName, std::make_shared<xypK_HistoryFile>());
    return;
  }
  const std::vector<ddb_Step>& steps = odb->Steps();
  // 64 bits: time stamps of a file are user input, their sum must not overflow.
  std::int64_t stamp = static_cast<std::int64_t>(steps.size());
  for (const ddb_Step& step : steps)
    if (step.hasHistory()) stamp += step.timeStamp;
  if (found && (*found)->stamp == stamp) return;
  std::shared_ptr<xypK_HistoryFile> file = found ? *found : std::make_shared<xypK_HistoryFile>();
  file->ClearHistoryItems();
  file->stamp = stamp;
  file->complex = false;
  const bool withInstance = model.NumInstances() > 1;
  for (std::size_t k = 0; k < steps.size(); ++k) {
    const ddb_Step& step = steps[k];
    for (int a = 0; a < step.numHistory(); ++a) {
      const ddb_History& h = step.histories[static_cast<std::size_t>(a)];
      if (h.isPair) file->complex = true;
      if (h.count == 0) continue;
      cow_String label, legend;
      GenerateHistoryLabels(model, h, label, legend, withInstance);
      label = label.TrimRight(' ');
      legend = legend.TrimRight(' ');
      std::shared_ptr<xypK_HistoryItem>* item = file->items.Find(label);
      if (item && (*item)->Key(static_cast<int>(k)) == -1) {
        (*item)->keys[k] = a;
        continue;
      }
      if (item) {
        // The same label twice in one step: the later output gets a label of its own, made
        // longer again while that one is taken too.
        const cow_String suffix = " (Repeated: key = " + step.name + ", " + Number(a) + ")";
        do label += suffix;
        while (file->items.IsMember(label));
      }
      auto made = std::make_shared<xypK_HistoryItem>();
      made->legend = legend;
      made->complex = h.isPair;
      made->keys.assign(steps.size(), -1);
      made->keys[k] = a;
      file->items.Insert(label, made);
    }
  }
  if (!found) historyFiles_.Insert(fileName, file);
}

const xypK_HistoryFile* xypK_XYToolset::HistoryFile(const cow_String& fileName) const {
  const std::shared_ptr<xypK_HistoryFile>* file = historyFiles_.Find(fileName);
  return file ? file->get() : nullptr;
}

cow_List<cow_String> xypK_XYToolset::HistoryVariableLabelList(const odiK_Model& model) {
  UpdateHistoryLists(model);
  const xypK_HistoryFile* file = HistoryFile(model.FileName());
  return file ? file->HistoryLabels() : cow_List<cow_String>();
}

cow_List<cow_String> xypK_XYToolset::HistoryVariableLegendList(const odiK_Model& model) {
  UpdateHistoryLists(model);
  const xypK_HistoryFile* file = HistoryFile(model.FileName());
  return file ? file->HistoryLegends() : cow_List<cow_String>();
}

cow_String xypK_XYToolset::HistoryVariableLegend(const cow_String& fileName,
                                                 const cow_String& label) const {
  const xypK_HistoryFile* file = HistoryFile(fileName);
  const xypK_HistoryItem* item = file ? file->Find(label) : nullptr;
  return item ? item->legend : cow_String();
}

bool xypK_XYToolset::IsComplex(const odiK_Model& model) {
  UpdateHistoryLists(model);
  const xypK_HistoryFile* file = HistoryFile(model.FileName());
  return file && file->complex;
}

bool xypK_XYToolset::StepHistoryLabelListIsMember(const cow_String& label,
                                                  const cow_String& fileName,
                                                  int stepIndex) const {
  return StepHistoryLabelListKey(label, fileName, stepIndex) >= 0;
}

int xypK_XYToolset::StepHistoryLabelListKey(const cow_String& label, const cow_String& fileName,
                                            int stepIndex) const {
  const xypK_HistoryFile* file = HistoryFile(fileName);
  const xypK_HistoryItem* item = file ? file->Find(label) : nullptr;
  return item ? item->Key(stepIndex) : -1;
}
