#pragma once
// What the probe toolset asks of the module that shows one kind of object (its display type:
// 4 a results model, 5 an XY plot): whether it is shown, the id of what lies under a point of
// the viewport, the values of that item, highlights, and for results models the field output's
// position and labels. Model clients override the results-model operations; the defaults are
// those of a client without results.
#include "cow_1DArray.h"
#include "cow_1DArrayList.h"
#include "cow_String.h"
#include "ddr_Shortcut.h"
#include "g3d_Point.h"
#include "res_Enumerations.h"

class odiK_BaseInstance;
class odiK_Model;

class prbK_ProbeToolsetClient {
 public:
  explicit prbK_ProbeToolsetClient(int displayType) : displayType_(displayType) {}
  virtual ~prbK_ProbeToolsetClient() = default;
  prbK_ProbeToolsetClient(const prbK_ProbeToolsetClient&) = delete;
  prbK_ProbeToolsetClient& operator=(const prbK_ProbeToolsetClient&) = delete;

  int DisplayType() const { return displayType_; }

  // The results model shown; empty for clients without one.
  virtual ddr_Shortcut<odiK_Model> GetModel() { return {}; }

  // The client's object is what the current viewport shows.
  virtual bool DisplayOn() = 0;
  virtual void ReleaseMapId() = 0;
  virtual void Refresh() = 0;
  virtual void UpdateScene() = 0;
  virtual void UpdateDMagSettings() {}
  virtual void DisableProbe() = 0;
  virtual void EnableProbe() = 0;
  // The id of the item under the point (viewport pixels, y up); 0 for none.
  virtual int Probe(const g3d_Point& point) = 0;
  virtual void ClearHighlights() = 0;
  // Results models: highlights a node (its index, then -1) or an element (its class's index,
  // then its index in the class).
  virtual void HighlightEntity(const ddr_Shortcut<odiK_BaseInstance>&, int, int) {}
  // Results models: what the id stands for: its instance, element class, element and node
  // indices (-1 where absent).
  virtual void UnMapId(int id, const ddr_Shortcut<odiK_Model>& model,
                       ddr_Shortcut<odiK_BaseInstance>& instance, int& elementClass, int& element,
                       int& node);
  // The four cells of an XY probe (legend, sequence, x, y) for the segment `id` and the point;
  // false when there is nothing to show there.
  virtual bool PrepareXyValue(cow_1DArray<cow_String>& values, int id, const g3d_Point& point,
                              bool interpolate);
  // Results models: a node's original and deformed coordinates, "(x, y, z)".
  virtual void BaseCoordStr(const ddr_Shortcut<odiK_BaseInstance>&, int node, cow_String& text);
  virtual void DefCoordStr(const ddr_Shortcut<odiK_BaseInstance>&, int node, cow_String& text);
  // Results models: an element's field value(s).
  virtual void ResultValueStr(const ddr_Shortcut<odiK_BaseInstance>&, int elementClass, int element,
                              cow_String& text);
  // Results models: a node's attached elements (`attached` true) or field value(s).
  virtual void ResultValueStr(const ddr_Shortcut<odiK_BaseInstance>&, int node, bool attached,
                              cow_String& text);
  virtual void SetOutputPosition(res_OutputPositionEnm) {}
  // Whether results are available for the current options.
  virtual bool SetFieldModel() { return false; }
  // The displayed results changed: the toolset's ResetFieldModel.
  virtual void ResetFieldModel();
  virtual void ObjectName(cow_String& name) = 0;
  // Results models only (an assertion otherwise).
  virtual void StepFrameLabel(cow_String& step, cow_String& frame, cow_String& extra);
  virtual void VariableLabel(cow_String& label);
  virtual const cow_1DArrayList<cow_String>& CategorySectionPointList();
  virtual void ComputeAvailableOutputPositions(bool node);

  const cow_1DArrayList<int>& AvailableOutputPositions() const { return outputPositions_; }

 protected:
  cow_1DArrayList<cow_String> categorySectionPoints_;
  cow_1DArrayList<int> outputPositions_;

 private:
  int displayType_;
};
