#include "bme_ElementClass.h"

bool bme_ElementClass::DefaultShape(int nodes, res_ElementShapeEnm& shape) {
  switch (nodes) {
    case 2: shape = res_LINE; return true;
    case 3: shape = res_TRI; return true;
    case 4: shape = res_QUAD; return true;
    case 6: shape = res_WEDGE; return true;
    case 8: shape = res_HEX; return true;
    default: return false;
  }
}
