#pragma once
// What a model scene draws and picks, taken once from a results model: every node's undeformed
// coordinates (in one running numbering over the instances), every element's faces (in one
// running numbering of the elements over instances and classes) and the order in which the
// visible ones paint back to front, seen along -Z. The geometry keeps copies only, nothing of
// the database it was read from.
//
// Faces follow the element's shape (gdy_FaceTable); a line element is its segments from node to
// node. Faces of solids shared by two solids lie inside the model, and faces of solids turned
// away from the viewer (or seen edge-on) lie behind the solid's own front: both are left out of
// the painting order, so that a convex solid paints right whatever the order of its faces. Which
// side of a face is outside is taken from the element's centre, not from its node order. Elements
// whose nodes cannot all be found, or that have fewer nodes than their shape's corners, have no
// faces; a face with a corner whose coordinates are not finite is neither painted nor picked.
#include <cstddef>
#include <vector>

#include "gdr_Point.h"

class odiK_Model;

class gdy_ModelGeometry {
 public:
  struct Face {
    int count = 0;                    // corners: 2 (a segment of a line element), 3 or 4
    int nodes[4] = {-1, -1, -1, -1};  // running node numbers
    double depth = 0.0;               // the corners' mean z
    int element = -1;                 // running element number
    bool interior = false;            // shared by two solids: never seen
    bool away = false;                // a solid's face turned away from the viewer: hidden
    bool finite = true;               // every corner has finite coordinates
  };
  // World (x, y) to device units of a viewport: seen along -Z, x right and y up, the model's
  // box fitted into the viewport with a margin, its aspect ratio kept.
  struct View {
    double scale = 1.0;
    double offsetX = 0.0;
    double offsetY = 0.0;
    gdr_Point Apply(double x, double y) const { return {scale * x + offsetX, scale * y + offsetY}; }
  };

  explicit gdy_ModelGeometry(const odiK_Model& model);

  int NumNodes() const { return nodeOffset_.back(); }
  int NumElements() const { return numElements_; }
  // x, y, z of a running node number.
  const double* Coordinates(int node) const {
    return &coordinates_[3 * static_cast<std::size_t>(node)];
  }
  bool IsFinite(int node) const;

  // Running numbers from model indices, -1 for indices outside the model; and back (false for
  // a number outside the model).
  int NodeNumber(int instance, int node) const;
  int ElementNumber(int instance, int elementClass, int element) const;
  bool NodeOf(int number, int& instance, int& node) const;
  bool ElementOf(int number, int& instance, int& elementClass, int& element) const;

  const std::vector<Face>& Faces() const { return faces_; }
  // The faces of an element (running number), interior ones included: [first, last).
  void ElementFaces(int element, std::size_t& first, std::size_t& last) const;
  // Indices into Faces() of what is painted, back (smallest depth) to front.
  const std::vector<std::size_t>& PaintOrder() const { return order_; }

  // False when no node has finite coordinates: nothing to show.
  bool HasExtent() const { return hasExtent_; }
  // The view that fits the model into a viewport of width x height device units.
  View Fit(double width, double height) const;
  // The diagonal of the model's box (1 for a box of no size), and the smallest z: depths for
  // id maps are taken as (z - MinZ()) / Size(), from 0 at the back to at most 1.
  double Size() const { return size_; }
  double MinZ() const { return zMin_; }

 private:
  // Whether the outside of a solid's face (all corners finite) is turned towards +z.
  bool FacesViewer(const Face& face) const;

  // A class of elements in the running numbering: its elements are first ... first + size - 1.
  struct ClassRange {
    int instance;
    int elementClass;
    int first;
    int size;
  };

  std::vector<double> coordinates_;
  std::vector<int> nodeOffset_{0};  // per instance its first running node, then the total
  std::vector<ClassRange> classes_;
  std::vector<std::vector<int>> classIndex_;  // per instance and class: its entry in classes_
  int numElements_ = 0;
  std::vector<Face> faces_;
  std::vector<std::size_t> firstFace_{0};  // per running element its first face, then the total
  std::vector<std::size_t> order_;
  bool hasExtent_ = false;
  double xMin_ = 0.0, xMax_ = 0.0, yMin_ = 0.0, yMax_ = 0.0, zMin_ = 0.0, zMax_ = 0.0;
  double size_ = 1.0;
};
