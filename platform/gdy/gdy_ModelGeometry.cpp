#include "gdy_ModelGeometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

#include "gdy_FaceTable.h"
#include "odiK_Model.h"

namespace {
// A face by its corners, whatever their order: the sorted running node numbers.
using FaceKey = std::array<int, 4>;
struct FaceKeyHash {
  std::size_t operator()(const FaceKey& key) const {
    std::size_t h = 0;
    for (int v : key) h = h * 1000003u ^ static_cast<std::size_t>(static_cast<unsigned>(v));
    return h;
  }
};

FaceKey KeyOf(const gdy_ModelGeometry::Face& face) {
  // Corners a face does not have stay -1, which no node number is.
  FaceKey key = {face.nodes[0], face.nodes[1], face.nodes[2], face.nodes[3]};
  std::sort(key.begin(), key.end());
  return key;
}
}  // namespace

gdy_ModelGeometry::gdy_ModelGeometry(const odiK_Model& model) {
  const int instances = model.NumInstances();
  // Nodes: copies of the coordinates, instance after instance.
  for (const odiK_PartInstance& instance : model.instances) {
    const std::size_t n = instance.NumNodes();
    for (std::size_t k = 0; k < 3 * n; ++k)
      coordinates_.push_back(k < instance.coordinates.size() ? instance.coordinates[k] : NAN);
    nodeOffset_.push_back(nodeOffset_.back() + static_cast<int>(n));
  }
  for (int node = 0; node < NumNodes(); ++node) {
    if (!IsFinite(node)) continue;
    const double* p = Coordinates(node);
    if (!hasExtent_) {
      xMin_ = xMax_ = p[0];
      yMin_ = yMax_ = p[1];
      zMin_ = zMax_ = p[2];
      hasExtent_ = true;
      continue;
    }
    xMin_ = std::min(xMin_, p[0]);
    xMax_ = std::max(xMax_, p[0]);
    yMin_ = std::min(yMin_, p[1]);
    yMax_ = std::max(yMax_, p[1]);
    zMin_ = std::min(zMin_, p[2]);
    zMax_ = std::max(zMax_, p[2]);
  }
  const double diagonal = std::hypot(xMax_ - xMin_, yMax_ - yMin_, zMax_ - zMin_);
  size_ = std::isfinite(diagonal) && diagonal > 0.0 ? diagonal : 1.0;

  // Elements: their faces in element order.
  std::vector<bool> ofSolid;
  std::vector<int> nodes;
  classIndex_.resize(static_cast<std::size_t>(instances));
  for (int i = 0; i < instances; ++i) {
    const odiK_PartInstance& instance = model.instances[static_cast<std::size_t>(i)];
    const int offset = nodeOffset_[static_cast<std::size_t>(i)];
    for (std::size_t c = 0; c < instance.elementClasses.size(); ++c) {
      const bme_ElementClass& elements = instance.elementClasses[c];
      const int count = static_cast<int>(elements.Size());
      classIndex_[static_cast<std::size_t>(i)].push_back(static_cast<int>(classes_.size()));
      classes_.push_back({i, static_cast<int>(c), numElements_, count});
      numElements_ += count;
      const int perElement = std::max(elements.nodesPerElement, 0);
      const bool complete =
          elements.connectivity.size() >= elements.Size() * static_cast<std::size_t>(perElement);
      const bool solid = gdy_FaceTable::IsSolid(elements.shape);
      int tableSize = 0;
      const gdy_FaceTable::Face* table = gdy_FaceTable::SurfaceFaces(elements.shape, tableSize);
      const int corners = gdy_FaceTable::Corners(elements.shape);
      for (int e = 0; e < count; ++e) {
        const int element = static_cast<int>(firstFace_.size()) - 1;
        nodes.clear();
        bool found = complete;
        for (int k = 0; found && k < perElement; ++k) {
          const int index = instance.NodeIndex(elements.Nodes(static_cast<std::size_t>(e))[k]);
          found = index >= 0;
          nodes.push_back(offset + index);
        }
        if (found && elements.shape == res_LINE) {
          for (int k = 1; k < perElement; ++k) {
            Face face;
            face.count = 2;
            face.nodes[0] = nodes[static_cast<std::size_t>(k - 1)];
            face.nodes[1] = nodes[static_cast<std::size_t>(k)];
            face.element = element;
            faces_.push_back(face);
            ofSolid.push_back(false);
          }
        } else if (found && perElement >= corners) {
          for (int f = 0; f < tableSize; ++f) {
            Face face;
            face.count = table[f].count;
            for (int k = 0; k < face.count; ++k)
              face.nodes[k] = nodes[static_cast<std::size_t>(table[f].corners[k])];
            face.element = element;
            faces_.push_back(face);
            ofSolid.push_back(solid);
          }
        }
        firstFace_.push_back(faces_.size());
      }
    }
  }

  // A face two solids share lies inside the model; a solid's face whose outside is turned away
  // from the viewer lies behind the solid.
  std::unordered_map<FaceKey, int, FaceKeyHash> uses;
  for (std::size_t f = 0; f < faces_.size(); ++f)
    if (ofSolid[f]) ++uses[KeyOf(faces_[f])];
  for (std::size_t f = 0; f < faces_.size(); ++f) {
    Face& face = faces_[f];
    if (ofSolid[f]) face.interior = uses[KeyOf(face)] > 1;
    double z = 0.0;
    for (int k = 0; k < face.count; ++k) {
      face.finite = face.finite && IsFinite(face.nodes[k]);
      z += Coordinates(face.nodes[k])[2];
    }
    face.depth = z / face.count;
    if (face.finite && ofSolid[f]) face.away = !FacesViewer(face);
    if (face.finite && !face.interior && !face.away) order_.push_back(f);
  }
  std::stable_sort(order_.begin(), order_.end(), [this](std::size_t a, std::size_t b) {
    return faces_[a].depth < faces_[b].depth;
  });
}

bool gdy_ModelGeometry::FacesViewer(const Face& face) const {
  // The face's normal (Newell's, for corners that need not lie in one plane), turned to point
  // away from its element's centre.
  double n[3] = {0.0, 0.0, 0.0}, centre[3] = {0.0, 0.0, 0.0};
  for (int k = 0; k < face.count; ++k) {
    const double* p = Coordinates(face.nodes[k]);
    const double* q = Coordinates(face.nodes[(k + 1) % face.count]);
    n[0] += (p[1] - q[1]) * (p[2] + q[2]);
    n[1] += (p[2] - q[2]) * (p[0] + q[0]);
    n[2] += (p[0] - q[0]) * (p[1] + q[1]);
    for (int c = 0; c < 3; ++c) centre[c] += p[c] / face.count;
  }
  double inside[3] = {0.0, 0.0, 0.0};
  std::size_t first = 0, last = 0;
  ElementFaces(face.element, first, last);
  int corners = 0;
  for (std::size_t f = first; f < last; ++f)
    for (int k = 0; k < faces_[f].count; ++k, ++corners) {
      const double* p = Coordinates(faces_[f].nodes[k]);
      for (int c = 0; c < 3; ++c) inside[c] += p[c];
    }
  double outward = 0.0;
  for (int c = 0; c < 3; ++c) outward += n[c] * (centre[c] - inside[c] / std::max(corners, 1));
  const double nz = outward < 0.0 ? -n[2] : n[2];
  // Edge-on (within a millionth of a radian or so) counts as turned away: it shows no area.
  return nz > 1e-6 * std::hypot(n[0], n[1], n[2]);
}

bool gdy_ModelGeometry::IsFinite(int node) const {
  const double* p = Coordinates(node);
  return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
}

int gdy_ModelGeometry::NodeNumber(int instance, int node) const {
  if (instance < 0 || instance + 1 >= static_cast<int>(nodeOffset_.size()) || node < 0) return -1;
  const int first = nodeOffset_[static_cast<std::size_t>(instance)];
  return node < nodeOffset_[static_cast<std::size_t>(instance) + 1] - first ? first + node : -1;
}

int gdy_ModelGeometry::ElementNumber(int instance, int elementClass, int element) const {
  if (instance < 0 || instance >= static_cast<int>(classIndex_.size())) return -1;
  const std::vector<int>& classes = classIndex_[static_cast<std::size_t>(instance)];
  if (elementClass < 0 || elementClass >= static_cast<int>(classes.size())) return -1;
  const ClassRange& range =
      classes_[static_cast<std::size_t>(classes[static_cast<std::size_t>(elementClass)])];
  return element >= 0 && element < range.size ? range.first + element : -1;
}

bool gdy_ModelGeometry::NodeOf(int number, int& instance, int& node) const {
  if (number < 0 || number >= NumNodes()) return false;
  // The last instance that starts at or before the number (instances without nodes start where
  // the next one does, and are passed over).
  const auto after = std::upper_bound(nodeOffset_.begin(), nodeOffset_.end(), number);
  instance = static_cast<int>(after - nodeOffset_.begin()) - 1;
  node = number - nodeOffset_[static_cast<std::size_t>(instance)];
  return true;
}

bool gdy_ModelGeometry::ElementOf(int number, int& instance, int& elementClass,
                                  int& element) const {
  if (number < 0 || number >= numElements_) return false;
  const auto after =
      std::upper_bound(classes_.begin(), classes_.end(), number,
                       [](int n, const ClassRange& range) { return n < range.first; });
  const ClassRange& range = *(after - 1);
  instance = range.instance;
  elementClass = range.elementClass;
  element = number - range.first;
  return true;
}

void gdy_ModelGeometry::ElementFaces(int element, std::size_t& first, std::size_t& last) const {
  first = last = 0;
  if (element < 0 || element >= numElements_) return;
  first = firstFace_[static_cast<std::size_t>(element)];
  last = firstFace_[static_cast<std::size_t>(element) + 1];
}

gdy_ModelGeometry::View gdy_ModelGeometry::Fit(double width, double height) const {
  View view;
  // A margin of 5 % of the smaller side on every side (at least 2 units where there is room).
  const double side = std::min(width, height);
  const double margin = std::min(std::max(0.05 * side, 2.0), 0.25 * side);
  const double room[2] = {width - 2.0 * margin, height - 2.0 * margin};
  const double extent[2] = {xMax_ - xMin_, yMax_ - yMin_};
  double scale = INFINITY;
  for (int k = 0; k < 2; ++k)
    if (extent[k] > 0.0) scale = std::min(scale, room[k] / extent[k]);
  // A model of no extent (one node, or all on one point) is shown at its centre.
  view.scale = std::isfinite(scale) && scale > 0.0 ? scale : 1.0;
  view.offsetX = width / 2.0 - view.scale * (xMin_ / 2.0 + xMax_ / 2.0);
  view.offsetY = height / 2.0 - view.scale * (yMin_ / 2.0 + yMax_ / 2.0);
  return view;
}
