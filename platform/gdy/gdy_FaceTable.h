#pragma once
// The faces an element of each shape shows, as its corner nodes (indices into the element's
// node list) in the order the solver numbers faces: a triangle's or a quad's own area, the four
// triangles of a tetrahedron, the two triangles and three quads of a wedge, the six quads of a
// hex. Lines have none: they are drawn as strokes. Higher-order elements list their corner
// nodes first (tri6, quad8, tet10, wedge15, hex20 as CalculiX orders them), so the same tables
// serve them.
#include "res_Enumerations.h"

class gdy_FaceTable {
 public:
  struct Face {
    int count;       // corners: 3 or 4
    int corners[4];  // indices into the element's nodes
  };

  // The corner nodes of the shape: 2, 3, 4, 4, 6, 8.
  static int Corners(res_ElementShapeEnm shape);
  // The faces of the shape; `count` receives their number (0 and null for a line).
  static const Face* SurfaceFaces(res_ElementShapeEnm shape, int& count);
  // Whether elements of the shape fill a volume: their faces shared with another solid lie inside
  // the model and are never seen.
  static bool IsSolid(res_ElementShapeEnm shape);
};
