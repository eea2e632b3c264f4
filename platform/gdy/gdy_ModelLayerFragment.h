#pragma once
// The results model's part of a viewport: "displayedObject" (an Odb: its "Default Model" is
// shown), the "step", "frame" and "fieldVariable" shown, set through the layer's setValues and
// read as attributes (None while no model is shown), and "modelPosition", the pixel where a node
// or an element is drawn.
//
// setValues(step=, frame=, fieldVariable=): the step by name or 1-based number (the first by
// default), the frame a 0-based index with -1 the last (the default, and what a new step starts
// at), the field by label (by default the frame's first; kept across a change of frame or step
// when the new frame has it). They are checked against the database the call leaves shown, the
// one it shows when it has displayedObject too; anything unknown raises ValueError naming the
// keyword and the value, and nothing changes. A change of them alone keeps the running mode and
// tells gdy_ModelScene's field hook.
#include <cstdint>
#include <memory>

#include "gdy_FieldChoice.h"
#include "sesK_LayerFragment.h"

class gdy_ModelScene;
class odb_Odb;

class gdy_ModelLayerFragment : public sesK_LayerFragment {
 public:
  gdy_ModelLayerFragment();
  static const char* TypeName() { return "gdy_ModelLayerFragment"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;

  bool CanDisplay(const omu_Primitive& object) const override;
  cow_String DisplayedKind() const override;
  // An open database, or null for nothing.
  void SetObjectToDisplay(const omu_Primitive* object) override;
  void ReadKeywords(omu_Arguments& args) override;
  void CheckKeywords(bool showing, const omu_Primitive* shown) override;
  void ApplyKeywords() override;

  // The Odb shown; otherwise what another module's fragment shows (a plot), or None.
  omu_Result GetObjectToDisplay();
  omu_Result GetStep();
  omu_Result GetFrame();
  omu_Result GetFieldVariable();
  // modelPosition(instance=, node= | element=): the viewport pixel (x right, y up from the
  // bottom-left, at the viewport's size) of the node, or of the centroid of the element's
  // front-most face.
  omu_Result ModelPosition(omu_Arguments& args);

 private:
  gdy_ModelLayerFragment(const gdy_ModelLayerFragment& other) : sesK_LayerFragment(other) {}
  // The scene of the viewport when it shows a model of an open database; null otherwise.
  gdy_ModelScene* ShownScene() const;

  // What one setValues call asked for, and what the check made of it.
  struct Pending {
    std::shared_ptr<const omu_Primitive> step;
    bool hasFrame = false;
    int frame = -1;
    bool hasField = false;
    cow_String field;
    bool showing = false;  // the call has displayedObject
    bool checked = false;  // `choice` holds the checked step, frame and field
    gdy_FieldChoice choice;
  };
  Pending pending_;

  static const omu_MethodRow methods_[];
  static const omu_MemberRow members_[];
};
