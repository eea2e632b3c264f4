#include "odiC_Utils.h"

cow_String odiC_Utils::ConvertOutputPosition(res_OutputPositionEnm position) {
  switch (position) {
    case res_NODAL:
      return "at nodes";
    case res_INTEGRATION_POINT:
      return "at integration points";
    case res_ELEMENT_FACE:
      return "at element faces";
    case res_ELEMENT_NODAL:
      return "at element nodes";
    case res_CENTROID:
      return "at centroids";
    case res_WHOLE_ELEMENT:
      return "for whole elements";
    case res_WHOLE_REGION:
      return "for whole regions";
    case res_WHOLE_PART_INSTANCE:
      return "for whole part instances";
    case res_WHOLE_MODEL:
      return "for the whole model";
    case res_GENERAL_PARTICLE:
      return "at general particles";
    default:
      return "at an unknown position";
  }
}
