#include "gdy_ModelScene.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

#include "ddr_Root.h"
#include "gdr_IdMapRenderer.h"
#include "gdr_Renderer.h"
#include "gdy_FieldChoice.h"
#include "gdy_ModelGeometry.h"
#include "thr_ThreadSingleton.h"
#include "xmd_IdMap.h"

namespace {
const gdr_Color kFaceColor = gdr_Color::FromBytes(176, 196, 222);
const gdr_Color kEdgeColor = gdr_Color::FromBytes(25, 35, 50);
const gdr_Color kHighlightColor = gdr_Color::FromBytes(235, 70, 35);
const gdr_Color kHighlightEdgeColor = gdr_Color::FromBytes(130, 20, 0);
constexpr double kEdgeWidth = 1.0;
constexpr double kLineElementWidth = 2.0;
// Node discs of the id map: pixels whose centres lie within this of the node.
constexpr double kNodeRadius = 1.5;
// A node lying on a face must not be hidden by it: it may be this much of the model's size
// behind the face's depth, and as much more as a face at 45 degrees falls over its disc.
constexpr double kNodeDepthTolerance = 1e-3;
// The probe's reach around the point, in pixels.
constexpr float kProbeTolerance = 1.0f;

gdy_ModelScene::FieldChangedHook& Hook() {
  static gdy_ModelScene::FieldChangedHook hook;
  return hook;
}

int MapSide(float side) {
  return static_cast<int>(std::lround(std::clamp(side, 1.0f, 16384.0f)));
}
}  // namespace

struct gdy_ModelScene::State {
  cow_String path;
  std::uint64_t generation = 0;
  gdy_FieldChoice choice;

  // Taken from the model on first use; dropped with it.
  mutable std::unique_ptr<gdy_ModelGeometry> geometry;

  // The shown field's values of one instance, read on first use.
  struct FieldValues {
    bool read = false;
    int perLabel = 1;
    std::vector<int> labels;
    std::vector<float> values;
    std::unordered_map<int, std::size_t> index;  // label -> position in labels
  };
  mutable std::vector<FieldValues> values;

  Entity entity = kNodes;
  bool probeEnabled = false;
  std::unique_ptr<xmd_IdMap> map;

  enum class Highlight { kNone, kNode, kElement };
  Highlight highlight = Highlight::kNone;
  int highlightInstance = -1;
  int highlightClass = -1;
  int highlightIndex = -1;  // the node or the element

  void DropValues() { values.clear(); }
  void DropAll() {
    path = cow_String();
    generation = 0;
    choice = gdy_FieldChoice();
    geometry.reset();
    DropValues();
    map.reset();
    highlight = Highlight::kNone;
  }
};

gdy_ModelScene::gdy_ModelScene(int viewport)
    : smg_Scene(viewport), state_(std::make_unique<State>()) {}

gdy_ModelScene::~gdy_ModelScene() = default;

const cow_String& gdy_ModelScene::OdbPath() const {
  return state_->path;
}

std::uint64_t gdy_ModelScene::OdbGeneration() const {
  return state_->generation;
}

const odb_Odb* gdy_ModelScene::Odb() const {
  if (state_->path.IsEmpty()) return nullptr;
  return thr_ThreadSingleton<ddr_Root>::Instance().Find(state_->path, state_->generation);
}

const odiK_Model* gdy_ModelScene::Model() const {
  const odb_Odb* odb = Odb();
  return odb ? &odb->Model() : nullptr;
}

bool gdy_ModelScene::ShowOdb(const cow_String& path, std::uint64_t generation) {
  if (!path.IsEmpty() && path == state_->path && generation == state_->generation) return false;
  state_->DropAll();
  state_->path = path;
  state_->generation = generation;
  if (const odb_Odb* odb = Odb()) {
    state_->choice = gdy_FieldChoice::Default(*odb);
  } else {
    state_->DropAll();  // not open: nothing to show
  }
  Draft();
  return true;
}

void gdy_ModelScene::ShowNothing() {
  state_->DropAll();
  Draft();
}

bool gdy_ModelScene::SetChoice(int step, int frame, const cow_String& fieldLabel) {
  gdy_FieldChoice choice;
  choice.step = step;
  choice.frame = frame;
  choice.field = fieldLabel;
  if (choice == state_->choice) return false;
  state_->choice = choice;
  state_->DropValues();
  return true;
}

int gdy_ModelScene::StepIndex() const {
  return state_->choice.step;
}

int gdy_ModelScene::FrameIndex() const {
  return state_->choice.frame;
}

const cow_String& gdy_ModelScene::FieldLabel() const {
  return state_->choice.field;
}

const ddb_FieldOutput* gdy_ModelScene::Field(int instance) const {
  const odb_Odb* odb = Odb();
  if (!odb || state_->choice.field.IsEmpty()) return nullptr;
  const ddb_Frame* frame =
      gdy_FieldChoice::FrameOf(*odb, state_->choice.step, state_->choice.frame);
  if (!frame) return nullptr;
  for (const ddb_FieldOutput& field : frame->fields)
    if (field.instance == instance && field.label == state_->choice.field) return &field;
  return nullptr;
}

gdy_ModelScene::Values gdy_ModelScene::LabelValues(int instance, int label) const {
  const odb_Odb* odb = Odb();
  if (!odb || instance < 0 || instance >= odb->Model().NumInstances()) return {};
  std::vector<State::FieldValues>& all = state_->values;
  if (all.size() != static_cast<std::size_t>(odb->Model().NumInstances()))
    all.assign(static_cast<std::size_t>(odb->Model().NumInstances()), State::FieldValues());
  State::FieldValues& cached = all[static_cast<std::size_t>(instance)];
  if (!cached.read) {
    if (const ddb_FieldOutput* field = Field(instance)) {
      std::vector<int> labels;
      std::vector<float> values;
      odb->ReadField(*field, labels, values);  // a failure leaves nothing cached
      cached.labels = std::move(labels);
      cached.values = std::move(values);
      cached.perLabel = std::max(field->valuesPerLabel, 1);
      cached.index.reserve(cached.labels.size());
      for (std::size_t k = 0; k < cached.labels.size(); ++k)
        cached.index.emplace(cached.labels[k], k);  // a repeated label keeps its first values
    }
    cached.read = true;
  }
  const auto it = cached.index.find(label);
  if (it == cached.index.end()) return {};
  const std::size_t first = it->second * static_cast<std::size_t>(cached.perLabel);
  if (first + static_cast<std::size_t>(cached.perLabel) > cached.values.size()) return {};
  return {cached.values.data() + first, cached.perLabel};
}

void gdy_ModelScene::SetProbeEntity(Entity entity) {
  if (entity == state_->entity) return;
  state_->entity = entity;
  ReleaseMapId();
}

gdy_ModelScene::Entity gdy_ModelScene::ProbeEntity() const {
  return state_->entity;
}

void gdy_ModelScene::EnableProbe() {
  state_->probeEnabled = true;
}

void gdy_ModelScene::DisableProbe() {
  state_->probeEnabled = false;
  ClearHighlights();
  ReleaseMapId();
}

bool gdy_ModelScene::IsProbeEnabled() const {
  return state_->probeEnabled;
}

void gdy_ModelScene::ReleaseMapId() {
  state_->map.reset();
}

namespace {
// Depth for id maps: 0 at the model's back, 1 one model size in front of it.
double DepthOf(const gdy_ModelGeometry& geometry, double z) {
  return (z - geometry.MinZ()) / geometry.Size();
}
}  // namespace

int gdy_ModelScene::Probe(const g3d_Point& point) {
  const odiK_Model* model = Model();
  if (!model) return 0;
  if (!state_->map) {
    const int width = MapSide(Width()), height = MapSide(Height());
    auto map = std::make_unique<xmd_IdMap>(width, height);
    const gdy_ModelGeometry& geometry = Geometry(*model);
    if (geometry.HasExtent()) {
      const gdy_ModelGeometry::View view = geometry.Fit(width, height);
      gdr_IdMapRenderer renderer(*map);
      gdr_Point corners[4];
      double depths[4];
      auto place = [&](const gdy_ModelGeometry::Face& face) {
        for (int k = 0; k < face.count; ++k) {
          const double* p = geometry.Coordinates(face.nodes[k]);
          corners[k] = view.Apply(p[0], p[1]);
          depths[k] = DepthOf(geometry, p[2]);
        }
      };
      const bool elements = state_->entity == kElements;
      // Elements: each face (a line element's segments) with its element's id. Nodes: the
      // faces hide what lies behind them, and the nodes are discs of their own ids.
      renderer.SetDepthOnly(!elements);
      for (const std::size_t f : geometry.PaintOrder()) {
        const gdy_ModelGeometry::Face& face = geometry.Faces()[f];
        if (face.count == 2 && !elements) continue;
        place(face);
        renderer.SetPickId(face.element + 1);
        if (face.count == 2)
          renderer.StrokeSegmentDepth(corners[0], depths[0], corners[1], depths[1]);
        else
          renderer.FillPolygonDepth(corners, depths, static_cast<std::size_t>(face.count));
      }
      if (!elements) {
        renderer.SetDepthOnly(false);
        const double tolerance = kNodeDepthTolerance + kNodeRadius / (view.scale * geometry.Size());
        for (int node = 0; node < geometry.NumNodes(); ++node) {
          if (!geometry.IsFinite(node)) continue;
          const double* p = geometry.Coordinates(node);
          renderer.SetPickId(node + 1);
          renderer.FillDiscDepth(view.Apply(p[0], p[1]), DepthOf(geometry, p[2]), kNodeRadius,
                                 tolerance);
        }
      }
    }
    state_->map = std::move(map);
  }
  return state_->map->Query(point.x, point.y, kProbeTolerance);
}

gdy_ModelScene::Item gdy_ModelScene::UnMapId(int id) const {
  Item item;
  const odiK_Model* model = Model();
  if (!model || id <= 0) return item;
  const gdy_ModelGeometry& geometry = Geometry(*model);
  if (state_->entity == kNodes) {
    int instance = -1, node = -1;
    if (geometry.NodeOf(id - 1, instance, node)) {
      item.instance = instance;
      item.node = node;
    }
  } else {
    int instance = -1, elementClass = -1, element = -1;
    if (geometry.ElementOf(id - 1, instance, elementClass, element)) {
      item.instance = instance;
      item.elementClass = elementClass;
      item.element = element;
    }
  }
  return item;
}

void gdy_ModelScene::HighlightNode(int instance, int node) {
  state_->highlight = State::Highlight::kNode;
  state_->highlightInstance = instance;
  state_->highlightClass = -1;
  state_->highlightIndex = node;
  Sketch();
}

void gdy_ModelScene::HighlightElement(int instance, int elementClass, int element) {
  state_->highlight = State::Highlight::kElement;
  state_->highlightInstance = instance;
  state_->highlightClass = elementClass;
  state_->highlightIndex = element;
  Sketch();
}

void gdy_ModelScene::ClearHighlights() {
  if (state_->highlight == State::Highlight::kNone) return;
  state_->highlight = State::Highlight::kNone;
  Sketch();
}

bool gdy_ModelScene::HasHighlight() const {
  return state_->highlight != State::Highlight::kNone;
}

bool gdy_ModelScene::NodePixel(int instance, int node, gdr_Point& pixel) const {
  const odiK_Model* model = Model();
  if (!model) return false;
  const gdy_ModelGeometry& geometry = Geometry(*model);
  const int number = geometry.NodeNumber(instance, node);
  if (number < 0 || !geometry.IsFinite(number)) return false;
  const double* p = geometry.Coordinates(number);
  pixel = geometry.Fit(MapSide(Width()), MapSide(Height())).Apply(p[0], p[1]);
  return true;
}

bool gdy_ModelScene::ElementPixel(int instance, int elementClass, int element,
                                  gdr_Point& pixel) const {
  const odiK_Model* model = Model();
  if (!model) return false;
  const gdy_ModelGeometry& geometry = Geometry(*model);
  std::size_t first = 0, last = 0;
  geometry.ElementFaces(geometry.ElementNumber(instance, elementClass, element), first, last);
  // The front-most face (a line element: the middle one of its segments).
  const gdy_ModelGeometry::Face* front = nullptr;
  for (std::size_t f = first; f < last; ++f) {
    const gdy_ModelGeometry::Face& face = geometry.Faces()[f];
    if (!face.finite) continue;
    if (face.count == 2) {
      if (f == first + (last - first - 1) / 2) front = &face;
    } else if (!front || face.depth > front->depth) {
      front = &face;
    }
  }
  if (!front) return false;
  const gdy_ModelGeometry::View view = geometry.Fit(MapSide(Width()), MapSide(Height()));
  double x = 0.0, y = 0.0;
  for (int k = 0; k < front->count; ++k) {
    const double* p = geometry.Coordinates(front->nodes[k]);
    x += p[0];
    y += p[1];
  }
  pixel = view.Apply(x / front->count, y / front->count);
  return true;
}

void gdy_ModelScene::SetFieldChangedHook(FieldChangedHook hook) {
  Hook() = std::move(hook);
}

void gdy_ModelScene::FieldChanged(int viewport) {
  if (Hook()) Hook()(viewport);
}

void gdy_ModelScene::Resize(float width, float height) {
  smg_Scene::Resize(width, height);
  ReleaseMapId();
}

void gdy_ModelScene::UpdateScene() {
  Draft();
}

const gdy_ModelGeometry& gdy_ModelScene::Geometry(const odiK_Model& model) const {
  if (!state_->geometry) state_->geometry = std::make_unique<gdy_ModelGeometry>(model);
  return *state_->geometry;
}

namespace {
// Paints faces (indices into the geometry's faces) in their order: each filled, then its
// outline stroked; a line element's segments stroked.
void Paint(gdr_Renderer& renderer, const gdy_ModelGeometry& geometry,
           const gdy_ModelGeometry::View& view, const std::vector<std::size_t>& faces,
           const gdr_Color& fill, const gdr_Color& edge, double edgeWidth, double lineWidth) {
  float x[4], y[4];
  for (const std::size_t f : faces) {
    const gdy_ModelGeometry::Face& face = geometry.Faces()[f];
    for (int k = 0; k < face.count; ++k) {
      const double* p = geometry.Coordinates(face.nodes[k]);
      const gdr_Point d = view.Apply(p[0], p[1]);
      x[k] = static_cast<float>(d.x);
      y[k] = static_cast<float>(d.y);
    }
    const std::size_t n = static_cast<std::size_t>(face.count);
    if (face.count >= 3) {
      renderer.SetColor(fill);
      renderer.FillPolygon(x, y, n);
      renderer.SetLineWidth(edgeWidth);
    } else {
      renderer.SetLineWidth(lineWidth);
    }
    renderer.SetColor(edge);
    renderer.DrawPolyline(x, y, n, face.count >= 3);
  }
}
}  // namespace

void gdy_ModelScene::DraftCB(gdr_Renderer& renderer) {
  const odiK_Model* model = Model();
  if (!model) return;
  const gdy_ModelGeometry& geometry = Geometry(*model);
  if (!geometry.HasExtent()) return;
  const gdy_ModelGeometry::View view = geometry.Fit(renderer.Width(), renderer.Height());
  const g3d_XForm previous = renderer.Transform();
  renderer.SetTransform(g3d_XForm());  // the view places everything in device units
  renderer.SetLineStyle(g3d_SOLID);
  Paint(renderer, geometry, view, geometry.PaintOrder(), kFaceColor, kEdgeColor, kEdgeWidth,
        kLineElementWidth);
  renderer.SetTransform(previous);
}

void gdy_ModelScene::SketchCB(gdr_Renderer& renderer) {
  const odiK_Model* model = Model();
  if (!model || state_->highlight == State::Highlight::kNone) return;
  const gdy_ModelGeometry& geometry = Geometry(*model);
  if (!geometry.HasExtent()) return;
  const gdy_ModelGeometry::View view = geometry.Fit(renderer.Width(), renderer.Height());
  const g3d_XForm previous = renderer.Transform();
  renderer.SetTransform(g3d_XForm());
  renderer.SetLineStyle(g3d_SOLID);
  if (state_->highlight == State::Highlight::kNode) {
    const int number = geometry.NodeNumber(state_->highlightInstance, state_->highlightIndex);
    if (number >= 0 && geometry.IsFinite(number)) {
      const double* p = geometry.Coordinates(number);
      const gdr_Point d = view.Apply(p[0], p[1]);
      renderer.SetColor(kHighlightEdgeColor);
      renderer.DrawMarker(d.x, d.y, g3d_FILLED_CIRCLE, 11.0);
      renderer.SetColor(kHighlightColor);
      renderer.DrawMarker(d.x, d.y, g3d_FILLED_CIRCLE, 8.0);
    }
  } else {
    std::size_t first = 0, last = 0;
    geometry.ElementFaces(geometry.ElementNumber(state_->highlightInstance, state_->highlightClass,
                                                 state_->highlightIndex),
                          first, last);
    std::vector<std::size_t> faces;
    for (std::size_t f = first; f < last; ++f)
      if (geometry.Faces()[f].finite) faces.push_back(f);
    std::stable_sort(faces.begin(), faces.end(), [&geometry](std::size_t a, std::size_t b) {
      return geometry.Faces()[a].depth < geometry.Faces()[b].depth;
    });
    Paint(renderer, geometry, view, faces, kHighlightColor, kHighlightEdgeColor, 2.0, 3.0);
  }
  renderer.SetTransform(previous);
}
