#pragma once
// The probe client of results models (display kind 4): what the model scene of the current
// viewport shows and picks (gdy_ModelScene), turned into the cells of the Probe Values tables.
// Node cells: "(x, y, z)" coordinates as the string type writes floats (the model is drawn
// undeformed, so both sets are the original ones), the attached elements ("12" or "(12, 13)")
// and the field value ("NoValue" where the field has none; for element-nodal output one value
// per attached element). Element cells: the value, or the values per integration point, face or
// element node joined by ", ".
//
// It lives above the kernel and the platform: the application registers it with the probe
// toolset after the XY module is up, and the toolset owns it from then on.
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "prbK_ProbeToolsetClient.h"

class gdy_ModelScene;
class odiK_PartInstance;

class xyp_ModelProbeClient : public prbK_ProbeToolsetClient {
 public:
  // Registers one client with the probe toolset unless one is registered already.
  static void Register();

  xyp_ModelProbeClient();
  ~xyp_ModelProbeClient() override;

  ddr_Shortcut<odiK_Model> GetModel() override;
  bool DisplayOn() override;
  void ReleaseMapId() override;
  void Refresh() override;
  void UpdateScene() override;
  void DisableProbe() override;
  void EnableProbe() override;
  int Probe(const g3d_Point& point) override;
  void ClearHighlights() override;
  void HighlightEntity(const ddr_Shortcut<odiK_BaseInstance>& instance, int first,
                       int second) override;
  void UnMapId(int id, const ddr_Shortcut<odiK_Model>& model,
               ddr_Shortcut<odiK_BaseInstance>& instance, int& elementClass, int& element,
               int& node) override;
  void BaseCoordStr(const ddr_Shortcut<odiK_BaseInstance>& instance, int node,
                    cow_String& text) override;
  void DefCoordStr(const ddr_Shortcut<odiK_BaseInstance>& instance, int node,
                   cow_String& text) override;
  void ResultValueStr(const ddr_Shortcut<odiK_BaseInstance>& instance, int elementClass,
                      int element, cow_String& text) override;
  void ResultValueStr(const ddr_Shortcut<odiK_BaseInstance>& instance, int node, bool attached,
                      cow_String& text) override;
  void SetOutputPosition(res_OutputPositionEnm position) override { position_ = position; }
  bool SetFieldModel() override;
  void ObjectName(cow_String& name) override;
  void StepFrameLabel(cow_String& step, cow_String& frame, cow_String& extra) override;
  void VariableLabel(cow_String& label) override;
  const cow_1DArrayList<cow_String>& CategorySectionPointList() override;
  void ComputeAvailableOutputPositions(bool node) override;

 private:
  // The model scene of the current viewport when it shows a model; null otherwise.
  static gdy_ModelScene* Scene();
  // The scene of the viewport highlights were last drawn in, if it still exists.
  gdy_ModelScene* HighlightedScene() const;
  // The shown field's position (any instance's); UNKNOWN_POSITION without a field.
  static res_OutputPositionEnm FieldPosition(const gdy_ModelScene& scene);
  // The part instance a shortcut names, and its index, while its database is open.
  static const odiK_PartInstance* Part(const ddr_Shortcut<odiK_BaseInstance>& instance);
  // The elements (class index, element index) that hold a node, built once per instance.
  const std::vector<std::pair<int, int>>& AttachedElements(
      const ddr_Shortcut<odiK_BaseInstance>& instance, int node);

  res_OutputPositionEnm position_ = res_NODAL;
  int highlightViewport_ = -1;
  // Per instance (database path, generation, index): for each node, the elements that hold it.
  struct InstanceKey {
    cow_String path;
    std::uint64_t generation;
    int instance;
    bool operator<(const InstanceKey& o) const;
  };
  std::map<InstanceKey, std::vector<std::vector<std::pair<int, int>>>> attached_;
};
