#pragma once
// What a viewport shows of a results model: the "Default Model" of an open database, undeformed,
// seen along -Z (x right, y up; the largest z is front-most) and fitted to the viewport; faces
// filled and edges stroked when drawn, highlights sketched over it.
//
// The step, frame and field variable chosen for the viewport (vp.setValues(step=, frame=,
// fieldVariable=)) name the field output that probing reads. Its values are read once per shown
// frame and field (one read per field output, that is per instance) and kept until the choice
// changes or the database closes.
//
// For probing the scene keeps an id map of the viewport at its size, filled at the first Probe
// after it was released: element faces (element entity) or node discs of 3 pixels (node entity),
// each with a per-pixel depth test; for nodes the faces are drawn into the depth buffer only, so
// that they hide the nodes behind them.
#include <cstdint>
#include <functional>
#include <memory>

#include "cow_String.h"
#include "g3d_Point.h"
#include "gdr_Point.h"
#include "smg_Scene.h"

class ddb_FieldOutput;
class gdy_ModelGeometry;
class odb_Odb;
class odiK_Model;

class gdy_ModelScene : public smg_Scene {
 public:
  enum Entity { kNodes = 0, kElements = 1 };
  // What an id of the map stands for: indices into the model (instances, an instance's element
  // classes, a class's elements, an instance's nodes), -1 where absent.
  struct Item {
    int instance = -1;
    int elementClass = -1;
    int element = -1;
    int node = -1;
  };
  // The values of one label in the field shown: `count` floats (1, or one per integration point,
  // face or element node); count 0 when the label has no value there.
  struct Values {
    const float* values = nullptr;
    int count = 0;
  };

  explicit gdy_ModelScene(int viewport);
  ~gdy_ModelScene() override;

  // The database shown, by real path and opening generation (empty path: none). Odb() and
  // Model() are null when nothing is shown or the database was closed.
  const cow_String& OdbPath() const;
  std::uint64_t OdbGeneration() const;
  const odb_Odb* Odb() const;
  const odiK_Model* Model() const;

  // Shows the database of that real path and opening generation. Another database than the one
  // shown starts from its defaults (the first step, its last frame, that frame's first field)
  // with no id map, highlight or values read; the one shown keeps its choice. A database that
  // is not open (closed, or opened again since) shows nothing. True when what is shown changed.
  bool ShowOdb(const cow_String& path, std::uint64_t generation);
  // Shows nothing: drops what was read of the database, the id map and the highlight.
  void ShowNothing();
  // The step, frame and field shown (indices as StepIndex and FrameIndex give them, already
  // checked against the database); values read for another choice are dropped. True when the
  // choice changed.
  bool SetChoice(int step, int frame, const cow_String& fieldLabel);

  // The shown step (0-based, -1 when the database has none), frame (0-based, resolved: -1 when
  // the step has no frame) and field label (empty when the frame has no field).
  int StepIndex() const;
  int FrameIndex() const;
  const cow_String& FieldLabel() const;
  // The shown field's output for an instance; null when the frame has none for it.
  const ddb_FieldOutput* Field(int instance) const;
  // The values of a label (a node label for nodal output, else an element label) in the shown
  // field of an instance. The first call for an instance reads its field output (raising
  // odb_OdbException when the file no longer holds it as opened); the values stay valid until
  // the choice changes or the database closes.
  Values LabelValues(int instance, int label) const;

  // Probing.
  void SetProbeEntity(Entity entity);
  Entity ProbeEntity() const;
  void EnableProbe();
  void DisableProbe();
  bool IsProbeEnabled() const;
  // Forgets the id map; the next Probe fills it again.
  void ReleaseMapId();
  // The id under a viewport point (device units at the viewport's size, y up); 0 for none.
  int Probe(const g3d_Point& point);
  Item UnMapId(int id) const;

  // Highlights, drawn by the sketch step over the model; one at a time.
  void HighlightNode(int instance, int node);
  void HighlightElement(int instance, int elementClass, int element);
  void ClearHighlights();
  bool HasHighlight() const;

  // The viewport pixel (at the viewport's size) of a node, or of the centroid of an element's
  // front-most face (a line element: its midpoint); false for indices outside the model.
  bool NodePixel(int instance, int node, gdr_Point& pixel) const;
  bool ElementPixel(int instance, int elementClass, int element, gdr_Point& pixel) const;

  // Told the viewport after its shown step, frame or field variable changed.
  using FieldChangedHook = std::function<void(int viewport)>;
  static void SetFieldChangedHook(FieldChangedHook hook);
  // Calls the hook, when one is set.
  static void FieldChanged(int viewport);

  void Resize(float width, float height) override;
  void UpdateScene() override;
  void DraftCB(gdr_Renderer& renderer) override;
  void SketchCB(gdr_Renderer& renderer) override;

 private:
  friend class gdy_ModelLayerFragment;
  struct State;
  // What is drawn and picked of the model shown, taken from it on first use.
  const gdy_ModelGeometry& Geometry(const odiK_Model& model) const;
  std::unique_ptr<State> state_;
};
