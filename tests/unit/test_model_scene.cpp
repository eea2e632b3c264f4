// Model scenes: picking elements and nodes through the depth-tested id map (stacked solids seen
// from the front, a flat mesh over two instances and classes, line elements in front of and
// behind a face), what is drawn for each element shape (corner nodes only, back to front), the
// highlights, the field values read for the step, frame and field shown, the layer's keywords
// that choose them, and what a closing database leaves behind.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ddr_Root.h"
#include "gdr_IdMapRenderer.h"
#include "gdr_RecordingRenderer.h"
#include "gdy_ModelScene.h"
#include "gdy_ModelSceneManager.h"
#include "oda_OdbIntObj.h"
#include "odb_Writer.h"
#include "odiK_Model.h"
#include "omu_Arguments.h"
#include "omu_PrimNone.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"
#include "omu_PrimType.h"
#include "omu_ValueErrorException.h"
#include "prbK_ProbeToolset.h"
#include "sesK_LayerIntObj.h"
#include "sesK_SessionState.h"
#include "smg_SceneManagerRole.h"
#include "thr_ThreadSingleton.h"
#include "xmd_IdMap.h"
#include "xypK_Module.h"
#include "xyp_ModelProbeClient.h"

namespace {
namespace fs = std::filesystem;

struct Elements {
  const char* type;
  int shape;
  int nodesPerElement;
  std::vector<int> labels;
  std::vector<int> connectivity;
};
struct Instance {
  const char* name;
  std::vector<int> labels;
  std::vector<double> xyz;
  std::vector<Elements> classes;
};

// The unit square's corners at height z, counter-clockwise, labelled from `first`.
void AddSquare(Instance& instance, int first, double z) {
  const double corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  for (const auto& c : corners) {
    instance.labels.push_back(first++);
    instance.xyz.insert(instance.xyz.end(), {c[0], c[1], z});
  }
}

class ModelScenes : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("xyp-model-" + std::to_string(getpid()));
    fs::create_directories(folder_);
    xypK_initialize(modules_);
  }
  void TearDown() override {
    xypK_finalize(modules_);
    fs::remove_all(folder_);
  }

  // Writes the model (and what `more` adds) to a new file and opens it.
  const odb_Odb& Open(const std::vector<Instance>& model,
                      const std::function<void(odb_Writer&)>& more = nullptr) {
    const std::string path = (folder_ / ("m" + std::to_string(files_++) + ".h5")).string();
    odb_Writer w{cow_String(path)};
    for (const Instance& instance : model) {
      w.AddInstance(instance.name, instance.labels, instance.xyz);
      for (const Elements& e : instance.classes)
        w.AddElements(instance.name, e.type, e.labels, e.connectivity, e.nodesPerElement, e.shape,
                      {});
    }
    if (more) more(w);
    w.Close();
    return thr_ThreadSingleton<ddr_Root>::Instance().Open(cow_String(path));
  }
  // The scene of a viewport of the size, showing the model.
  gdy_ModelScene& Show(const std::vector<Instance>& model, float width = 200.0f,
                       float height = 200.0f, int viewport = 1) {
    const odb_Odb& odb = Open(model);
    gdy_ModelScene& scene = gdy_ModelSceneManager::Instance()->Scene(viewport);
    scene.ShowOdb(odb.Path(), odb.Generation());
    scene.Resize(width, height);
    return scene;
  }
  static gdy_ModelScene::Item At(gdy_ModelScene& scene, double x, double y) {
    return scene.UnMapId(scene.Probe({static_cast<float>(x), static_cast<float>(y), 0.0f}));
  }

  fs::path folder_;
  int files_ = 0;
  int modules_ = 0;
};

// Two hexes stacked along z on the unit square: the back one (z 0 to 1, first or second in the
// file) and the front one (z 1 to 2), sharing the four nodes at z = 1.
std::vector<Instance> StackedHexes(bool frontFirst) {
  Instance block{"BLOCK", {}, {}, {}};
  // The nodes in either order too: what is seen must not depend on what is drawn last.
  for (const int k : frontFirst ? std::vector<int>{2, 1, 0} : std::vector<int>{0, 1, 2})
    AddSquare(block, 1 + 4 * k, k);
  std::vector<int> back = {1, 2, 3, 4, 5, 6, 7, 8}, front = {5, 6, 7, 8, 9, 10, 11, 12};
  if (frontFirst) std::swap(back, front);
  back.insert(back.end(), front.begin(), front.end());
  block.classes.push_back(
      {"C3D8", res_HEX, 8, frontFirst ? std::vector<int>{20, 10} : std::vector<int>{10, 20}, back});
  return {block};
}
}  // namespace

TEST_F(ModelScenes, StackedHexesSeenFromTheFrontPickTheFrontElementAndItsNodes) {
  for (const bool frontFirst : {false, true}) {
    SCOPED_TRACE(frontFirst ? "front hex first in the file" : "back hex first in the file");
    // 200 x 200 with a margin of 10: the unit square spans pixels 10 to 190.
    gdy_ModelScene& scene = Show(StackedHexes(frontFirst));
    const int frontIndex = frontFirst ? 0 : 1;
    scene.SetProbeEntity(gdy_ModelScene::kElements);
    // Inside, and over the outline both hexes share: the front one.
    for (const auto& [x, y] : std::vector<std::pair<double, double>>{
             {100, 100}, {10.2, 100}, {189.8, 100}, {100, 10.2}, {100, 189.8}, {10.2, 10.2}}) {
      const gdy_ModelScene::Item item = At(scene, x, y);
      EXPECT_EQ(item.instance, 0) << x << ", " << y;
      EXPECT_EQ(item.elementClass, 0);
      EXPECT_EQ(item.element, frontIndex) << x << ", " << y;
    }
    EXPECT_EQ(At(scene, 3, 100).element, -1);  // beyond the model and the probe's reach

    // Nodes: at each corner three nodes lie on one pixel; only the front one (z = 2) is seen.
    scene.SetProbeEntity(gdy_ModelScene::kNodes);
    const odiK_PartInstance& block = scene.Model()->instances[0];
    for (const auto& [x, y] : std::vector<std::pair<double, double>>{
             {10, 10}, {190, 10}, {190, 190}, {10, 190}, {10.9, 9.2}, {189.1, 190.8}}) {
      const gdy_ModelScene::Item item = At(scene, x, y);
      ASSERT_GE(item.node, 0) << x << ", " << y;
      EXPECT_EQ(item.element, -1);
      EXPECT_EQ(block.coordinates[3 * static_cast<std::size_t>(item.node) + 2], 2.0)
          << "node " << block.nodeLabels[static_cast<std::size_t>(item.node)];
    }
    EXPECT_EQ(At(scene, 100, 100).node, -1);  // the face's middle has no node
    // The pixels of the front nodes are where the scene says they are.
    gdr_Point pixel;
    ASSERT_TRUE(scene.NodePixel(0, block.NodeIndex(11), pixel));
    EXPECT_DOUBLE_EQ(pixel.x, 190.0);
    EXPECT_DOUBLE_EQ(pixel.y, 190.0);
    // The back hex's front-most face is the one at z = 1, under the front hex.
    ASSERT_TRUE(scene.ElementPixel(0, 0, 1 - frontIndex, pixel));
    EXPECT_DOUBLE_EQ(pixel.x, 100.0);
    EXPECT_DOUBLE_EQ(pixel.y, 100.0);
    thr_ThreadSingleton<ddr_Root>::Instance().CloseAll();
  }
}

TEST_F(ModelScenes, AFlatMeshOverTwoInstancesMapsEveryElementAndNodeBack) {
  // LEFT: 3 x 2 quads on x 0..3, y 0..2; RIGHT: two triangles then a quad on x 4..6, y 0..1.
  Instance left{"LEFT", {}, {}, {}};
  for (int j = 0; j <= 2; ++j)
    for (int i = 0; i <= 3; ++i) {
      left.labels.push_back(1 + i + 4 * j);
      left.xyz.insert(left.xyz.end(), {static_cast<double>(i), static_cast<double>(j), 0.0});
    }
  Elements quads{"S4R", res_QUAD, 4, {}, {}};
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 3; ++i) {
      const int n = 1 + i + 4 * j;
      quads.labels.push_back(100 + i + 3 * j);
      quads.connectivity.insert(quads.connectivity.end(), {n, n + 1, n + 5, n + 4});
    }
  left.classes.push_back(quads);
  Instance right{
      "RIGHT",
      {1, 2, 3, 4, 5, 6},
      {4, 0, 0, 5, 0, 0, 6, 0, 0, 4, 1, 0, 5, 1, 0, 6, 1, 0},
      {{"S3", res_TRI, 3, {1, 2}, {1, 2, 5, 1, 5, 4}}, {"S4", res_QUAD, 4, {3}, {2, 3, 6, 5}}}};
  gdy_ModelScene& scene = Show({left, right}, 300.0f, 200.0f);

  scene.SetProbeEntity(gdy_ModelScene::kElements);
  struct Expected {
    int instance, elementClass, element, id;
  };
  std::vector<Expected> elements;
  for (int e = 0; e < 6; ++e) elements.push_back({0, 0, e, 1 + e});
  elements.push_back({1, 0, 0, 7});
  elements.push_back({1, 0, 1, 8});
  elements.push_back({1, 1, 0, 9});
  for (const Expected& e : elements) {
    gdr_Point pixel;
    ASSERT_TRUE(scene.ElementPixel(e.instance, e.elementClass, e.element, pixel));
    const int id = scene.Probe({static_cast<float>(pixel.x), static_cast<float>(pixel.y), 0.0f});
    EXPECT_EQ(id, e.id) << "element " << e.element << " of class " << e.elementClass
                        << " of instance " << e.instance;
    const gdy_ModelScene::Item item = scene.UnMapId(id);
    EXPECT_EQ(item.instance, e.instance);
    EXPECT_EQ(item.elementClass, e.elementClass);
    EXPECT_EQ(item.element, e.element);
    EXPECT_EQ(item.node, -1);
  }
  for (const int id : {0, -1, 10, 1 << 30}) {
    const gdy_ModelScene::Item item = scene.UnMapId(id);
    EXPECT_EQ(item.instance, -1) << id;
    EXPECT_EQ(item.element, -1) << id;
  }
  gdr_Point pixel;
  EXPECT_FALSE(scene.ElementPixel(1, 2, 0, pixel));

  // Every node lies on a face at its own depth, and is seen.
  scene.SetProbeEntity(gdy_ModelScene::kNodes);
  int running = 0;
  for (int instance = 0; instance < 2; ++instance)
    for (int node = 0; node < (instance ? 6 : 12); ++node) {
      ASSERT_TRUE(scene.NodePixel(instance, node, pixel));
      const int id = scene.Probe({static_cast<float>(pixel.x), static_cast<float>(pixel.y), 0.0f});
      EXPECT_EQ(id, ++running) << "node " << node << " of instance " << instance;
      const gdy_ModelScene::Item item = scene.UnMapId(id);
      EXPECT_EQ(item.instance, instance);
      EXPECT_EQ(item.node, node);
      EXPECT_EQ(item.element, -1);
    }
  EXPECT_FALSE(scene.NodePixel(1, 6, pixel));
  EXPECT_FALSE(scene.NodePixel(2, 0, pixel));
  // The map follows the viewport: after a resize the same node is found where it now lies.
  scene.Resize(600.0f, 400.0f);
  ASSERT_TRUE(scene.NodePixel(1, 5, pixel));
  EXPECT_EQ(
      scene.UnMapId(scene.Probe({static_cast<float>(pixel.x), static_cast<float>(pixel.y), 0.0f}))
          .node,
      5);
}

TEST_F(ModelScenes, LineElementsArePickedAlongTheirStrokesUnlessAFaceHidesThem) {
  // A quad at z = 0 on [0, 2]^2; a line at z = -1 from (1, -1) to (1, 1), half behind it; a
  // three-node line at z = 1 from (-1, 1.5) to (3, 1.5), in front of it.
  Instance part{
      "PART",
      {1, 2, 3, 4, 11, 12, 21, 22, 23},
      {0, 0, 0, 2, 0, 0, 2, 2, 0, 0, 2, 0, 1, -1, -1, 1, 1, -1, -1, 1.5, 1, 1, 1.5, 1, 3, 1.5, 1},
      {{"S4", res_QUAD, 4, {1}, {1, 2, 3, 4}},
       {"B31", res_LINE, 2, {2}, {11, 12}},
       {"B32", res_LINE, 3, {3}, {21, 22, 23}}}};
  // The model spans x -1..3 and y -1..2; 300 x 200 with a margin of 10: 60 pixels a unit.
  gdy_ModelScene& scene = Show({part}, 300.0f, 200.0f);
  auto pixelOf = [](double x, double y) {
    return std::pair<double, double>{90 + 60 * x, 70 + 60 * y};
  };
  scene.SetProbeEntity(gdy_ModelScene::kElements);
  struct Case {
    double x, y, dy;  // model point, offset in pixels across the stroke
    int elementClass;
  };
  for (const Case& c : std::vector<Case>{{1, -0.5, 0, 1},   // the line below, outside the quad
                                         {1, 0.5, 0, 0},    // behind the quad: the quad
                                         {0.5, 1.5, 0, 2},  // the line in front of the quad
                                         {2.5, 1.5, 0, 2},
                                         {2.5, 1.5, 2, 2},  // within its width and the reach
                                         {2.5, 1.5, 5, -1},
                                         {-0.5, 0.5, 0, -1}}) {
    const auto [px, py] = pixelOf(c.x, c.y);
    EXPECT_EQ(At(scene, px, py + c.dy).elementClass, c.elementClass)
        << c.x << ", " << c.y << " + " << c.dy;
  }
  // Placed on their strokes: the segment's midpoint, the middle segment's for three nodes.
  gdr_Point pixel;
  ASSERT_TRUE(scene.ElementPixel(0, 1, 0, pixel));
  EXPECT_DOUBLE_EQ(pixel.x, 150.0);
  EXPECT_DOUBLE_EQ(pixel.y, 70.0);
  ASSERT_TRUE(scene.ElementPixel(0, 2, 0, pixel));
  EXPECT_DOUBLE_EQ(pixel.x, 90.0);
  EXPECT_DOUBLE_EQ(pixel.y, 160.0);

  // Drawn as open strokes, the quad as a fill with its closed outline.
  gdr_RecordingRenderer renderer(300, 200);
  scene.DraftCB(renderer);
  EXPECT_EQ(renderer.OfKind(gdr_RecordingRenderer::FILL).size(), 1u);
  int open = 0, closed = 0;
  for (const auto& r : renderer.OfKind(gdr_RecordingRenderer::STROKE)) (r.closed ? closed : open)++;
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(open, 3);  // one segment, then two
}

TEST_F(ModelScenes, EachShapeDrawsTheFacesItTurnsToTheViewerThroughItsCornerNodesOnly) {
  // Solids as frusta narrowing towards the viewer: their top and sides are seen, their base is
  // not. Mid-side nodes of higher-order elements follow the corners, placed off them.
  struct Case {
    const char* type;
    int shape;
    std::vector<std::vector<double>> corners;
    int nodes;
    std::size_t fills;
  };
  const std::vector<std::vector<double>> tri = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  const std::vector<std::vector<double>> quad = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  const std::vector<std::vector<double>> tet = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0.3, 0.3, 1}};
  const std::vector<std::vector<double>> wedge = {{0, 0, 0},     {1, 0, 0},     {0, 1, 0},
                                                  {0.1, 0.1, 1}, {0.6, 0.1, 1}, {0.1, 0.6, 1}};
  const std::vector<std::vector<double>> hex = {{0, 0, 0},       {1, 0, 0},       {1, 1, 0},
                                                {0, 1, 0},       {0.25, 0.25, 1}, {0.75, 0.25, 1},
                                                {0.75, 0.75, 1}, {0.25, 0.75, 1}};
  const std::vector<Case> cases = {
      {"S3", res_TRI, tri, 3, 1},       {"S6", res_TRI, tri, 6, 1},
      {"S4", res_QUAD, quad, 4, 1},     {"S8", res_QUAD, quad, 8, 1},
      {"C3D4", res_TET, tet, 4, 3},     {"C3D10", res_TET, tet, 10, 3},
      {"C3D6", res_WEDGE, wedge, 6, 4}, {"C3D15", res_WEDGE, wedge, 15, 4},
      {"C3D8", res_HEX, hex, 8, 5},     {"C3D20", res_HEX, hex, 20, 5}};
  for (const bool reversed : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.type) + (reversed ? ", turned inside out" : ""));
      Instance part{"PART", {}, {}, {}};
      std::vector<int> connectivity;
      std::vector<gdr_Point> cornerPixels;
      for (int k = 0; k < c.nodes; ++k) {
        part.labels.push_back(k + 1);
        const bool corner = k < static_cast<int>(c.corners.size());
        const std::vector<double> p = corner ? c.corners[static_cast<std::size_t>(k)]
                                             : std::vector<double>{0.21 + 0.03 * k, 0.37, 0.5};
        part.xyz.insert(part.xyz.end(), p.begin(), p.end());
        // The unit square spans pixels 10 to 190.
        if (corner) cornerPixels.push_back({10 + 180 * p[0], 10 + 180 * p[1]});
      }
      // Element nodes in the given order; mirrored (the outside taken for the inside by the
      // node order) by swapping the faces' roles: base and top exchanged.
      for (int k = 0; k < c.nodes; ++k) connectivity.push_back(k + 1);
      if (reversed && c.shape >= res_WEDGE) {
        const int half = c.shape == res_WEDGE ? 3 : 4;
        for (int k = 0; k < half; ++k)
          std::swap(connectivity[static_cast<std::size_t>(k)],
                    connectivity[static_cast<std::size_t>(k + half)]);
      } else if (reversed) {
        std::swap(connectivity[1], connectivity[2]);
      }
      part.classes.push_back({c.type, c.shape, c.nodes, {1}, connectivity});
      gdy_ModelScene& scene = Show({part});
      gdr_RecordingRenderer renderer(200, 200);
      scene.DraftCB(renderer);
      const auto fills = renderer.OfKind(gdr_RecordingRenderer::FILL);
      EXPECT_EQ(fills.size(), c.fills);
      for (const auto& fill : fills)
        for (const gdr_Point& p : fill.points) {
          const bool atCorner =
              std::any_of(cornerPixels.begin(), cornerPixels.end(), [&p](const gdr_Point& q) {
                return std::fabs(p.x - q.x) < 1e-6 && std::fabs(p.y - q.y) < 1e-6;
              });
          EXPECT_TRUE(atCorner) << p.x << ", " << p.y;
        }
      // Each fill is followed by its outline, stroked dark.
      ASSERT_EQ(renderer.records.size(), 2 * c.fills);
      for (std::size_t k = 0; k < renderer.records.size(); k += 2) {
        EXPECT_EQ(renderer.records[k + 1].kind, gdr_RecordingRenderer::STROKE);
        EXPECT_LT(std::max({renderer.records[k + 1].color.r, renderer.records[k + 1].color.g,
                            renderer.records[k + 1].color.b}),
                  0.3);
      }
      thr_ThreadSingleton<ddr_Root>::Instance().CloseAll();
    }
  }
}

TEST_F(ModelScenes, FacesPaintBackToFrontFittedWithTheirAspectRatio) {
  // P at z = 0 on [0, 2]^2, Q at z = 1 on [1, 3]^2 (written first); the stacked hexes' faces.
  Instance part{"PART",
                {1, 2, 3, 4, 5, 6, 7, 8},
                {0, 0, 0, 2, 0, 0, 2, 2, 0, 0, 2, 0, 1, 1, 1, 3, 1, 1, 3, 3, 1, 1, 3, 1},
                {{"S4", res_QUAD, 4, {1, 2}, {5, 6, 7, 8, 1, 2, 3, 4}}}};
  // 200 x 100 with a margin of 5: 3 units over 90 pixels, centred.
  gdy_ModelScene& scene = Show({part}, 200.0f, 100.0f);
  gdr_RecordingRenderer renderer(200, 100);
  scene.DraftCB(renderer);
  const auto fills = renderer.OfKind(gdr_RecordingRenderer::FILL);
  ASSERT_EQ(fills.size(), 2u);
  const std::vector<gdr_Point> p = {{55, 5}, {115, 5}, {115, 65}, {55, 65}};
  const std::vector<gdr_Point> q = {{85, 35}, {145, 35}, {145, 95}, {85, 95}};
  EXPECT_EQ(fills[0].points, p);  // the back one first
  EXPECT_EQ(fills[1].points, q);
  EXPECT_NE(fills[0].color, renderer.OfKind(gdr_RecordingRenderer::STROKE)[0].color);

  // A block of 2 x 2 x 2 hexes turned to show three of its sides: their 12 quads are painted,
  // none of the faces inside or at its back.
  Instance block{"BLOCK", {}, {}, {{"C3D8", res_HEX, 8, {}, {}}}};
  auto label = [](int i, int j, int k) { return 1 + i + 3 * j + 9 * k; };
  const double c = std::cos(0.6), s = std::sin(0.6);
  for (int k = 0; k <= 2; ++k)
    for (int j = 0; j <= 2; ++j)
      for (int i = 0; i <= 2; ++i) {
        // Turned about x, then about y.
        const double y = j * c - k * s, z1 = j * s + k * c;
        block.labels.push_back(label(i, j, k));
        block.xyz.insert(block.xyz.end(), {i * c + z1 * s, y, -i * s + z1 * c});
      }
  for (int k = 0; k < 2; ++k)
    for (int j = 0; j < 2; ++j)
      for (int i = 0; i < 2; ++i) {
        block.classes[0].labels.push_back(label(i, j, k));
        block.classes[0].connectivity.insert(
            block.classes[0].connectivity.end(),
            {label(i, j, k), label(i + 1, j, k), label(i + 1, j + 1, k), label(i, j + 1, k),
             label(i, j, k + 1), label(i + 1, j, k + 1), label(i + 1, j + 1, k + 1),
             label(i, j + 1, k + 1)});
      }
  gdy_ModelScene& turned = Show({block}, 200.0f, 200.0f, 2);
  gdr_RecordingRenderer solids(200, 200);
  turned.DraftCB(solids);
  EXPECT_EQ(solids.OfKind(gdr_RecordingRenderer::FILL).size(), 12u);
  // A saved image of another size is fitted to that size.
  gdr_RecordingRenderer wide(400, 100);
  scene.DraftCB(wide);
  EXPECT_EQ(wide.OfKind(gdr_RecordingRenderer::FILL)[0].points[0], (gdr_Point{155, 5}));
}

TEST_F(ModelScenes, HighlightsAreSketchedOverTheModel) {
  gdy_ModelScene& scene = Show(StackedHexes(false));
  gdr_RecordingRenderer none(200, 200);
  scene.SketchCB(none);
  EXPECT_TRUE(none.records.empty());

  scene.HighlightNode(0, 10);  // label 11, at (1, 1, 2)
  EXPECT_TRUE(scene.HasHighlight());
  gdr_RecordingRenderer node(200, 200);
  scene.SketchCB(node);
  const auto markers = node.OfKind(gdr_RecordingRenderer::MARKER);
  ASSERT_FALSE(markers.empty());
  for (const auto& m : markers) EXPECT_EQ(m.points[0], (gdr_Point{190, 190}));

  scene.HighlightElement(0, 0, 1);  // one at a time: the node's marker goes
  gdr_RecordingRenderer element(200, 200);
  scene.SketchCB(element);
  EXPECT_TRUE(element.OfKind(gdr_RecordingRenderer::MARKER).empty());
  const auto fills = element.OfKind(gdr_RecordingRenderer::FILL);
  EXPECT_EQ(fills.size(), 6u);  // all its faces, the one it shares included
  gdr_RecordingRenderer draft(200, 200);
  scene.DraftCB(draft);
  EXPECT_NE(fills[0].color, draft.OfKind(gdr_RecordingRenderer::FILL)[0].color);

  scene.ClearHighlights();
  EXPECT_FALSE(scene.HasHighlight());
  gdr_RecordingRenderer cleared(200, 200);
  scene.SketchCB(cleared);
  EXPECT_TRUE(cleared.records.empty());
}

TEST_F(ModelScenes, FieldValuesAreThoseOfTheStepFrameAndFieldShown) {
  Instance plate{"PLATE",
                 {1, 2, 3, 4},
                 {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0},
                 {{"S4", res_QUAD, 4, {7}, {1, 2, 3, 4}}}};
  const odb_Odb& odb = Open({plate}, [](odb_Writer& w) {
    const int load = w.AddStep("Load", 0, 0.0);
    w.AddFrame(load, 0.0);
    w.AddField(load, 0, "U2", "", res_NODAL, "PLATE", {1, 2}, {0.5f, 0.25f}, 1);
    w.AddFrame(load, 1.0);
    w.AddField(load, 1, "S11", "", res_INTEGRATION_POINT, "PLATE", {7}, {1, 2, 3, 4}, 4);
    w.AddField(load, 1, "U2", "", res_NODAL, "PLATE", {3}, {-1.5f}, 1);
    const int unload = w.AddStep("Unload", 0, 1.0);
    w.AddFrame(unload, 2.0);
  });
  gdy_ModelScene& scene = gdy_ModelSceneManager::Instance()->Scene(1);
  EXPECT_TRUE(scene.ShowOdb(odb.Path(), odb.Generation()));
  // The defaults: the first step, its last frame, that frame's first field.
  EXPECT_EQ(scene.StepIndex(), 0);
  EXPECT_EQ(scene.FrameIndex(), 1);
  EXPECT_EQ(scene.FieldLabel(), "S11");
  ASSERT_NE(scene.Field(0), nullptr);
  EXPECT_EQ(scene.Field(0)->position, res_INTEGRATION_POINT);
  gdy_ModelScene::Values values = scene.LabelValues(0, 7);
  ASSERT_EQ(values.count, 4);
  EXPECT_EQ(std::vector<float>(values.values, values.values + 4), (std::vector<float>{1, 2, 3, 4}));
  EXPECT_EQ(scene.LabelValues(0, 8).count, 0);
  EXPECT_EQ(scene.LabelValues(1, 7).count, 0);                // no such instance
  EXPECT_FALSE(scene.ShowOdb(odb.Path(), odb.Generation()));  // the same: the choice stays

  EXPECT_TRUE(scene.SetChoice(0, 0, "U2"));
  EXPECT_FALSE(scene.SetChoice(0, 0, "U2"));
  values = scene.LabelValues(0, 2);
  ASSERT_EQ(values.count, 1);
  EXPECT_EQ(values.values[0], 0.25f);
  EXPECT_EQ(scene.LabelValues(0, 3).count, 0);  // not in this frame's output
  EXPECT_TRUE(scene.SetChoice(0, 1, "U2"));
  EXPECT_EQ(scene.LabelValues(0, 3).values[0], -1.5f);
  EXPECT_EQ(scene.LabelValues(0, 2).count, 0);
  // A frame without fields: nothing to read.
  EXPECT_TRUE(scene.SetChoice(1, 0, ""));
  EXPECT_EQ(scene.Field(0), nullptr);
  EXPECT_EQ(scene.LabelValues(0, 2).count, 0);
}

TEST_F(ModelScenes, AClosingDatabaseLeavesNothingShownAndNothingPointingIntoIt) {
  const odb_Odb& odb = Open(StackedHexes(false));
  const cow_String path = odb.Path();
  const std::uint64_t generation = odb.Generation();
  gdy_ModelSceneManager& manager = *gdy_ModelSceneManager::Instance();
  smg_SceneManagerRole& role = smg_SceneManagerRole::Instance();
  sesK_SessionState& state = sesK_SessionState::Instance();
  // Viewport 1 shows it; viewport 2 showed it and shows a plot now.
  for (const int viewport : {1, 2}) manager.Scene(viewport).ShowOdb(path, generation);
  role.SetTypeToDisplay(omu_DISPLAY_ODB, 1, cow_String());
  state.SetType(1, omu_DISPLAY_ODB);
  role.SetTypeToDisplay(omu_DISPLAY_XYPLOT, 2, cow_String());
  state.SetType(2, omu_DISPLAY_XYPLOT);
  role.SetCurrentViewport(1);
  EXPECT_EQ(manager.CurrentScene(), &manager.Scene(1));
  EXPECT_EQ(role.SceneManagerFor(omu_DISPLAY_ODB), &manager);
  manager.Scene(1).Probe({100, 100, 0});

  ASSERT_TRUE(thr_ThreadSingleton<ddr_Root>::Instance().Close(path));
  for (const int viewport : {1, 2}) {
    gdy_ModelScene& scene = manager.Scene(viewport);
    EXPECT_EQ(scene.Odb(), nullptr);
    EXPECT_EQ(scene.Model(), nullptr);
    EXPECT_TRUE(scene.OdbPath().IsEmpty());
    EXPECT_EQ(scene.Probe({100, 100, 0}), 0);
    gdr_Point pixel;
    EXPECT_FALSE(scene.NodePixel(0, 0, pixel));
    gdr_RecordingRenderer renderer(200, 200);
    scene.DraftCB(renderer);
    EXPECT_TRUE(renderer.records.empty());
  }
  EXPECT_EQ(role.GetTypeToDisplay(1, cow_String()), omu_DISPLAY_NONE);
  EXPECT_EQ(state.GetType(1), omu_DISPLAY_NONE);
  EXPECT_EQ(role.GetTypeToDisplay(2, cow_String()), omu_DISPLAY_XYPLOT);  // not the model's
  EXPECT_EQ(manager.CurrentScene(), nullptr);

  // Opened again it is a new generation: the old one names nothing.
  const odb_Odb& again = thr_ThreadSingleton<ddr_Root>::Instance().Open(path);
  EXPECT_NE(again.Generation(), generation);
  EXPECT_TRUE(manager.Scene(1).ShowOdb(path, generation));
  EXPECT_EQ(manager.Scene(1).Odb(), nullptr);
  EXPECT_TRUE(manager.Scene(1).ShowOdb(path, again.Generation()));
  EXPECT_EQ(manager.Scene(1).Odb(), &again);
}

TEST(ModelIdMap, DepthDecidesWhatIsSeenWhateverTheDrawingOrder) {
  xmd_IdMap map(40, 40);
  gdr_IdMapRenderer renderer(map);
  const gdr_Point square[4] = {{5, 5}, {35, 5}, {35, 35}, {5, 35}};
  const double near[4] = {0.9, 0.9, 0.9, 0.9}, far[4] = {0.1, 0.1, 0.1, 0.1};
  renderer.SetPickId(1);
  renderer.FillPolygonDepth(square, near, 4);
  renderer.SetPickId(2);
  renderer.FillPolygonDepth(square, far, 4);  // later but behind: hidden
  EXPECT_EQ(map.At(20, 20), 1);
  EXPECT_FLOAT_EQ(renderer.DepthAt(20, 20), 0.9f);
  EXPECT_EQ(map.At(2, 2), 0);
  EXPECT_EQ(renderer.DepthAt(2, 2), -INFINITY);
  // A tilted triangle crosses the square's depth: in front on its left, behind on its right.
  const gdr_Point tri[3] = {{0, 10}, {40, 10}, {20, 30}};
  const double tilt[3] = {1.5, 0.3, 0.9};
  renderer.SetPickId(3);
  renderer.FillTriangleDepth(tri, tilt);
  EXPECT_EQ(map.At(8, 12), 3);
  EXPECT_EQ(map.At(32, 12), 1);
  // Edge-on, it covers nothing.
  const gdr_Point edgeOn[3] = {{0, 0}, {20, 20}, {40, 40}};
  renderer.SetPickId(4);
  renderer.FillTriangleDepth(edgeOn, tilt);
  EXPECT_EQ(map.At(20, 20), 1);

  // Depth only: it hides without being picked.
  renderer.SetDepthOnly(true);
  const double nearest[4] = {2, 2, 2, 2};
  const gdr_Point corner[4] = {{20, 20}, {35, 20}, {35, 35}, {20, 35}};
  renderer.SetPickId(5);
  renderer.FillPolygonDepth(corner, nearest, 4);
  EXPECT_EQ(map.At(30, 30), 1);
  renderer.SetDepthOnly(false);
  // Discs: one lying on the depth-only face within the tolerance is seen, one behind it not.
  renderer.SetPickId(6);
  renderer.FillDiscDepth({30, 30}, 1.999, 1.5, 0.01);
  renderer.SetPickId(7);
  renderer.FillDiscDepth({25, 25}, 1.9, 1.5, 0.01);
  EXPECT_EQ(map.At(30, 30), 6);
  EXPECT_EQ(map.At(29, 29), 6);
  EXPECT_EQ(map.At(31, 31), 1);  // its reach: pixel centres within 1.5 of its centre
  EXPECT_EQ(map.At(32, 30), 1);
  EXPECT_EQ(map.At(25, 25), 1);
  // A stroke takes its depth along its length: hidden where it passes behind.
  renderer.SetPickId(8);
  renderer.StrokeSegmentDepth({2, 20}, 3.0, {38, 20}, 0.0);
  EXPECT_EQ(map.At(3, 20), 8);
  EXPECT_EQ(map.At(33, 20), 1);
}

namespace {
// One setValues call on the viewport's layer object.
using Keywords = std::vector<std::pair<const char*, std::shared_ptr<omu_Primitive>>>;
void SetValues(sesK_LayerIntObj& layer, const Keywords& keywords) {
  omu_Arguments args("setValues");
  for (const auto& [keyword, value] : keywords) args.AddKeyword(keyword, value->Clone());
  layer.SetValues(args);
}
std::shared_ptr<omu_Primitive> Number(int value) {
  return std::make_shared<omu_PrimNumber>(value);
}
std::shared_ptr<omu_Primitive> Text(const char* value) {
  return std::make_shared<omu_PrimString>(value);
}
}  // namespace

TEST_F(ModelScenes, LayerKeywordsChangeTheChoiceAndOnlyAChangeOfItAloneTellsTheHook) {
  const odb_Odb& odb = Open(StackedHexes(false), [](odb_Writer& w) {
    for (const char* name : {"Load", "Unload"}) {
      const int step = w.AddStep(name, 0, 0.0);
      for (int frame = 0; frame < 2; ++frame) {
        w.AddFrame(step, frame);
        w.AddField(step, frame, "U2", "", res_NODAL, "BLOCK", {1}, {0.5f}, 1);
      }
    }
  });
  sesK_LayerIntObj layer("Viewport: 1");
  const int viewport = layer.ViewportId();
  std::vector<int> told;
  gdy_ModelScene::SetFieldChangedHook([&told](int v) { told.push_back(v); });
  auto shown = [&odb] {
    return std::make_shared<omu_PrimType>(
        std::make_shared<oda_OdbIntObj>(odb.Path(), odb.Generation()));
  };
  SetValues(layer, {});
  SetValues(layer, {{"displayedObject", shown()}, {"frame", Number(0)}});
  gdy_ModelScene& scene = gdy_ModelSceneManager::Instance()->Scene(viewport);
  EXPECT_EQ(scene.FrameIndex(), 0);
  EXPECT_TRUE(told.empty());  // a new object, not a change of the field shown

  SetValues(layer, {{"step", Text("Unload")}});
  EXPECT_EQ(scene.StepIndex(), 1);
  EXPECT_EQ(scene.FrameIndex(), 1);  // a new step starts at its last frame
  EXPECT_EQ(told, std::vector<int>{viewport});
  SetValues(layer, {{"frame", Number(1)}, {"fieldVariable", Text("U2")}});
  EXPECT_EQ(told.size(), 1u);  // nothing changed
  EXPECT_THROW(SetValues(layer, {{"frame", Number(0)}, {"step", Number(3)}}),
               omu_ValueErrorException);
  EXPECT_EQ(scene.FrameIndex(), 1);
  EXPECT_EQ(told.size(), 1u);
  SetValues(layer, {{"frame", Number(0)}});
  EXPECT_EQ(told, (std::vector<int>{viewport, viewport}));
  SetValues(layer, {{"displayedObject", shown()}, {"frame", Number(1)}});
  EXPECT_EQ(told.size(), 2u);
  gdy_ModelScene::SetFieldChangedHook(nullptr);
  SetValues(layer, {{"displayedObject", std::make_shared<omu_PrimNone>()}});
  EXPECT_EQ(scene.Odb(), nullptr);
}

// The results-model probe client over the scene of the current viewport: what it unmaps, the
// cells it writes for nodes and elements, the positions it offers and its labels.
TEST_F(ModelScenes, TheModelClientWritesTheCellsOfWhatTheSceneShows) {
  Instance plate{"PLATE",
                 {1, 2, 3, 4, 5, 6},
                 {0, 0, 0, 1, 0, 0, 2, 0, 0, 0, 1, 0, 1, 1, 0, 2, 1, 0.5},
                 {{"S4R", res_QUAD, 4, {10, 20}, {1, 2, 5, 4, 2, 3, 6, 5}}}};
  const odb_Odb& odb = Open({plate}, [](odb_Writer& w) {
    const int load = w.AddStep("Load", 0, 0.0);
    w.AddFrame(load, 0.125);
    w.AddField(load, 0, "S11", "", res_INTEGRATION_POINT, "PLATE", {10}, {1.5f, 2.5f, 3.5f, 4.5f},
               4);  // element 20 has none
    w.AddField(load, 0, "U2", "", res_NODAL, "PLATE", {1, 2, 5}, {0.5f, -0.25f, 0.1f}, 1);
    w.AddField(load, 0, "E", "", res_ELEMENT_NODAL, "PLATE", {10, 20}, {1, 2, 3, 4, 5, 6, 7, 8}, 4);
  });
  smg_SceneManagerRole& role = smg_SceneManagerRole::Instance();
  role.SetCurrentViewport(1);
  role.SetTypeToDisplay(omu_DISPLAY_ODB, 1, cow_String());
  gdy_ModelScene& scene = gdy_ModelSceneManager::Instance()->Scene(1);
  scene.ShowOdb(odb.Path(), odb.Generation());
  scene.Resize(300, 200);
  xyp_ModelProbeClient::Register();
  xyp_ModelProbeClient::Register();  // once only
  prbK_ProbeToolset& toolset = prbK_ProbeToolset::Instance();
  ASSERT_TRUE(toolset.SetClient(prbK_ProbeToolset::kOdb));
  prbK_ProbeToolsetClient& client = *toolset.Client();

  const ddr_Shortcut<odiK_Model> model = client.GetModel();
  ASSERT_EQ(model.Get(), &odb.Model());
  cow_String name, step, frame, extra, label;
  client.ObjectName(name);
  client.StepFrameLabel(step, frame, extra);
  client.VariableLabel(label);
  EXPECT_EQ(
      std::vector<std::string>({name.Std(), step.Std(), frame.Std(), extra.Std(), label.Std()}),
      std::vector<std::string>({odb.Path().Std(), "Load", "Frame 0, value 0.125", "", "S11"}));

  // Elements: the id under an element's pixel unmaps to it; its values at the probed position.
  client.ComputeAvailableOutputPositions(false);
  EXPECT_EQ(client.AvailableOutputPositions().Size(), 1u);
  EXPECT_EQ(client.AvailableOutputPositions()[0], res_INTEGRATION_POINT);
  client.SetOutputPosition(res_INTEGRATION_POINT);
  prbC_ProbeOptionsCTX options = toolset.ProbeOptions();
  options.probeEntity = prbC_ELEMENTS;
  toolset.SetProbeOptionsCTX(options);
  EXPECT_TRUE(client.SetFieldModel());
  gdr_Point pixel;
  ASSERT_TRUE(scene.ElementPixel(0, 0, 1, pixel));
  ddr_Shortcut<odiK_BaseInstance> instance;
  int elementClass = 0, element = 0, node = 0;
  client.UnMapId(client.Probe({static_cast<float>(pixel.x), static_cast<float>(pixel.y), 0}), model,
                 instance, elementClass, element, node);
  EXPECT_EQ(std::vector<int>({instance.Index(), elementClass, element, node}),
            std::vector<int>({0, 0, 1, -1}));
  cow_String text;
  client.ResultValueStr(instance, 0, 1, text);
  EXPECT_EQ(text, "NoValue");
  client.ResultValueStr(instance, 0, 0, text);
  EXPECT_EQ(text, "1.5, 2.5, 3.5, 4.5");
  // Nothing under the cursor, or an id of a database no longer shown: no instance.
  client.UnMapId(0, model, instance, elementClass, element, node);
  EXPECT_TRUE(instance.IsEmpty());
  EXPECT_EQ(element, -1);

  // Nodes: coordinates as floats, the attached elements, nodal and element-nodal values.
  options.probeEntity = prbC_NODES;
  toolset.SetProbeOptionsCTX(options);
  EXPECT_FALSE(client.SetFieldModel());  // integration points have no node values
  instance = ddr_Shortcut<odiK_BaseInstance>(odb.Path(), odb.Generation(), 0);
  const odiK_PartInstance& part = odb.Model().instances[0];
  struct NodeCase {
    int label;
    const char* coordinates;
    const char* attached;
    const char* u2;
    const char* e;
  } cases[] = {{2, "(1, 0, 0)", "(10, 20)", "-0.25", "2, 5"},
               {6, "(2, 1, 0.5)", "20", "NoValue", "7"},
               {5, "(1, 1, 0)", "(10, 20)", "0.10000000149011612", "3, 8"}};
  for (const NodeCase& c : cases) {
    SCOPED_TRACE(c.label);
    const int index = part.NodeIndex(c.label);
    client.BaseCoordStr(instance, index, text);
    EXPECT_EQ(text, c.coordinates);
    client.DefCoordStr(instance, index, text);
    EXPECT_EQ(text, c.coordinates);  // drawn undeformed
    client.ResultValueStr(instance, index, true, text);
    EXPECT_EQ(text, c.attached);
    ASSERT_TRUE(scene.SetChoice(0, 0, "U2"));
    client.ResultValueStr(instance, index, false, text);
    EXPECT_EQ(text, c.u2);
    ASSERT_TRUE(scene.SetChoice(0, 0, "E"));
    client.ResultValueStr(instance, index, false, text);
    EXPECT_EQ(text, c.e);
    EXPECT_TRUE(client.SetFieldModel());
  }
  // Closed: every shortcut resolves to nothing, and the client answers with empty cells.
  thr_ThreadSingleton<ddr_Root>::Instance().CloseAll();
  client.BaseCoordStr(instance, 0, text);
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_FALSE(client.DisplayOn());
}
