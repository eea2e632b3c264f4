#include "prbK_ProbeToolset.h"

#include "omi_Assert.h"
#include "omi_Singleton.h"
#include "prbK_CurrentProbeValues.h"
#include "prbK_ModeFactory.h"
#include "prbK_PytModule.h"
#include "prbK_SelectedProbeValues.h"
#include "prbK_SessionFragment.h"
#include "qryK_QueryRegistrarRole.h"

namespace {
// Copies the defaults into a record that was never initialised, and marks it.
template <class Record>
void InitializeFrom(Record& record, const Record& defaults) {
  if (record.initialized) return;
  record = defaults;
  record.initialized = true;
}

void FireProbeOptionsQuery() {
  qryK_QueryRegistrarRole::Instance().FireQuery(cow_String("session.") + "probeOptions");
}
}  // namespace

prbK_ProbeToolset& prbK_ProbeToolset::Instance() {
  return omi_Singleton<prbK_ProbeToolset>::Instance();
}

void prbK_ProbeToolset::Finalize() {
  omi_Singleton<prbK_ProbeToolset>::Finalize();
}

bool prbK_ProbeToolset::Exists() {
  return omi_Singleton<prbK_ProbeToolset>::Exists();
}

prbK_ProbeToolset::prbK_ProbeToolset()
    : sessionFragment_(std::make_unique<prbK_SessionFragment>()),
      module_(std::make_unique<prbK_PytModule>()),
      modeFactory_(std::make_unique<prbK_ModeFactory>()) {
  SetTupleSize();
}

prbK_ProbeToolset::~prbK_ProbeToolset() {
  RemoveAllClients();
}

void prbK_ProbeToolset::AddClient(prbK_ProbeToolsetClient* client) {
  if (client && !clients_.IsMember(client)) clients_.Append(client);
}

void prbK_ProbeToolset::RemoveClient(prbK_ProbeToolsetClient* client) {
  clients_.Remove(client);
  if (client_ == client) {
    client_ = nullptr;
    SetTupleSize();
  }
}

void prbK_ProbeToolset::RemoveAllClients() {
  client_ = nullptr;
  const cow_List<prbK_ProbeToolsetClient*> registered = clients_;
  clients_ = cow_List<prbK_ProbeToolsetClient*>();
  for (std::size_t i = 0; i < registered.Size(); ++i) delete registered[i];
}

prbK_ProbeToolsetClient* prbK_ProbeToolset::GetClient(int type) {
  client_ = nullptr;
  for (std::size_t i = 0; i < clients_.Size() && !client_; ++i)
    if (clients_[i]->DisplayType() == type) client_ = clients_[i];
  return client_;
}

bool prbK_ProbeToolset::SetClient(int type) {
  client_ = nullptr;
  InitializeFrom(options_, defaultOptions_);
  if (!GetClient(type) || !client_->DisplayOn()) return false;
  SetTupleSize();
  if (type == kOdb) {
    SetClientOutputPosition();
    SetClientFieldModel();
  }
  ReinitializeTables();
  if (type == kOdb) FireProbeOptionsQuery();
  return true;
}

int prbK_ProbeToolset::ProbeObject() const {
  return client_ ? client_->DisplayType() : 0;
}

cow_String prbK_ProbeToolset::ObjectTypeName() const {
  switch (ProbeObject()) {
    case kOdb:
      return "ODB";
    case kXyPlot:
      return "XYPlot";
    default:
      return "";
  }
}

void prbK_ProbeToolset::ObjectName(cow_String& name) const {
  if (client_) client_->ObjectName(name);
}

prbK_ProbeToolsetClient& prbK_ProbeToolset::Current() const {
  OMI_ASSERT(client_ && "probe client not set");
  return *client_;
}

prbK_ProbeToolsetClient& prbK_ProbeToolset::CurrentOdb() const {
  prbK_ProbeToolsetClient& c = Current();
  OMI_ASSERT(c.DisplayType() == kOdb && "incorrect setting of client for probe");
  return c;
}

void prbK_ProbeToolset::ReleaseMapId() {
  Current().ReleaseMapId();
}
void prbK_ProbeToolset::Refresh() {
  Current().Refresh();
}
void prbK_ProbeToolset::UpdateScene() {
  Current().UpdateScene();
}
void prbK_ProbeToolset::UpdateDMagSettings() {
  Current().UpdateDMagSettings();
}
void prbK_ProbeToolset::DisableProbe() {
  Current().DisableProbe();
}

void prbK_ProbeToolset::EnableProbe() {
  InitializeFrom(options_, defaultOptions_);
  InitializeFrom(reportOptions_, defaultReportOptions_);
  Current().EnableProbe();
}

int prbK_ProbeToolset::Probe(const g3d_Point& point) {
  return Current().Probe(point);
}

void prbK_ProbeToolset::ClearHighlights() {
  Current().ClearHighlights();
}

ddr_Shortcut<odiK_Model> prbK_ProbeToolset::GetModel() {
  return client_ ? client_->GetModel() : ddr_Shortcut<odiK_Model>();
}

void prbK_ProbeToolset::HighlightEntity(const ddr_Shortcut<odiK_BaseInstance>& instance, int first,
                                        int second) {
  Current().HighlightEntity(instance, first, second);
}

void prbK_ProbeToolset::UnMapId(int id, const ddr_Shortcut<odiK_Model>& model,
                                ddr_Shortcut<odiK_BaseInstance>& instance, int& elementClass,
                                int& element, int& node) {
  Current().UnMapId(id, model, instance, elementClass, element, node);
}

void prbK_ProbeToolset::BaseCoordStr(const ddr_Shortcut<odiK_BaseInstance>& instance, int node,
                                     cow_String& text) {
  Current().BaseCoordStr(instance, node, text);
}

void prbK_ProbeToolset::DefCoordStr(const ddr_Shortcut<odiK_BaseInstance>& instance, int node,
                                    cow_String& text) {
  Current().DefCoordStr(instance, node, text);
}

void prbK_ProbeToolset::ResultValueStr(const ddr_Shortcut<odiK_BaseInstance>& instance,
                                       int elementClass, int element, cow_String& text) {
  Current().ResultValueStr(instance, elementClass, element, text);
}

void prbK_ProbeToolset::ResultValueStr(const ddr_Shortcut<odiK_BaseInstance>& instance, int node,
                                       bool attached, cow_String& text) {
  Current().ResultValueStr(instance, node, attached, text);
}

bool prbK_ProbeToolset::PrepareValue(cow_1DArray<cow_String>& values, int id,
                                     const g3d_Point& point) {
  prbK_ProbeToolsetClient& c = Current();
  return c.DisplayType() == kXyPlot && c.PrepareXyValue(values, id, point, options_.interpolateXy);
}

void prbK_ProbeToolset::StepFrameLabel(cow_String& step, cow_String& frame, cow_String& extra) {
  CurrentOdb().StepFrameLabel(step, frame, extra);
}

void prbK_ProbeToolset::VariableLabel(cow_String& label) {
  label = cow_String();
  CurrentOdb().VariableLabel(label);
}

const cow_1DArrayList<cow_String>& prbK_ProbeToolset::CategorySectionPointList() {
  return Current().CategorySectionPointList();
}

const cow_1DArrayList<int>& prbK_ProbeToolset::AvailableOutputPositions() const {
  return Current().AvailableOutputPositions();
}

void prbK_ProbeToolset::SetProbeOptionsCTX(const prbC_ProbeOptionsCTX& options) {
  const prbC_ProbeEntityEnm entity = options_.probeEntity;
  const res_OutputPositionEnm position = options_.probeOutputPosition;
  options_ = options;
  options_.initialized = true;
  if (!client_) return;
  client_->ClearHighlights();
  const bool entityChanged = options_.probeEntity != entity;
  if (client_->DisplayType() != kOdb ||
      (!entityChanged && options_.probeOutputPosition == position))
    return;
  SetTupleSize();
  RenewFieldModel();
  if (entityChanged) {
    client_->ReleaseMapId();
    client_->UpdateScene();
  }
}

void prbK_ProbeToolset::SetProbeReportCTX(const prbC_ProbeReportCTX& options) {
  reportOptions_ = options;
  reportOptions_.initialized = true;
  if (!prbK_SelectedProbeValues::Instance().FieldOutputAvailable()) {
    reportOptions_.printTotal = false;
    reportOptions_.printMinMax = false;
  }
}

void prbK_ProbeToolset::ResetFieldModel() {
  if (client_ && client_->DisplayType() == kOdb) RenewFieldModel();
}

void prbK_ProbeToolset::RenewFieldModel() {
  SetClientOutputPosition();
  SetClientFieldModel();
  ReinitializeTables();
  FireProbeOptionsQuery();
}

void prbK_ProbeToolset::SetTupleSize() {
  switch (ProbeObject()) {
    case kXyPlot:
      tupleSize_ = 4;
      break;
    case kOdb:
      tupleSize_ = options_.probeEntity == prbC_NODES ? 6 : 5;
      break;
    default:
      tupleSize_ = 1;
  }
}

void prbK_ProbeToolset::SetClientOutputPosition() {
  prbK_ProbeToolsetClient& c = CurrentOdb();
  const bool node = options_.probeEntity == prbC_NODES;
  c.ComputeAvailableOutputPositions(node);
  const cow_1DArrayList<int>& available = c.AvailableOutputPositions();
  if (node && options_.probeOutputPosition != res_NODAL) {
    options_.SetOutputPos(res_NODAL);
  } else if (!node && !available.IsEmpty()) {
    bool listed = false;
    for (std::size_t i = 0; i < available.Size() && !listed; ++i)
      listed = available[i] == options_.probeOutputPosition;
    if (!listed) options_.SetOutputPos(static_cast<res_OutputPositionEnm>(available[0]));
  } else if (!node && (options_.probeOutputPosition < res_INTEGRATION_POINT ||
                       options_.probeOutputPosition > res_WHOLE_ELEMENT)) {
    // No position has results: an element position is kept all the same (the report names
    // one), and the field model reports no results.
    options_.SetOutputPos(res_INTEGRATION_POINT);
  }
  c.SetOutputPosition(options_.probeOutputPosition);
}

bool prbK_ProbeToolset::SetClientFieldModel() {
  const bool results = CurrentOdb().SetFieldModel();
  options_.isFieldOutputAvailable = results;
  if (!results) {
    if (options_.probeEntity == prbC_NODES)
      options_.nodeFieldResults = false;
    else
      options_.elementFieldResults = false;
  }
  return results;
}

void prbK_ProbeToolset::ReinitializeTables() {
  prbK_CurrentProbeValues::Instance().InitializeValues();
  prbK_SelectedProbeValues& selected = prbK_SelectedProbeValues::Instance();
  selected.InitializeValues();
  selected.InitializeOrigValues();
}
