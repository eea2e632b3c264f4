#include "prbK_ProbeToolsetClient.h"

#include "omi_Assert.h"
#include "prbK_ProbeToolset.h"

bool prbK_ProbeToolsetClient::PrepareXyValue(cow_1DArray<cow_String>&, int, const g3d_Point&,
                                             bool) {
  return false;
}

void prbK_ProbeToolsetClient::UnMapId(int, const ddr_Shortcut<odiK_Model>&,
                                      ddr_Shortcut<odiK_BaseInstance>&, int&, int&, int&) {}

void prbK_ProbeToolsetClient::BaseCoordStr(const ddr_Shortcut<odiK_BaseInstance>&, int,
                                           cow_String& text) {
  text = cow_String();
}

void prbK_ProbeToolsetClient::DefCoordStr(const ddr_Shortcut<odiK_BaseInstance>&, int,
                                          cow_String& text) {
  text = cow_String();
}

void prbK_ProbeToolsetClient::ResultValueStr(const ddr_Shortcut<odiK_BaseInstance>&, int, int,
                                             cow_String& text) {
  text = cow_String();
}

void prbK_ProbeToolsetClient::ResultValueStr(const ddr_Shortcut<odiK_BaseInstance>&, int, bool,
                                             cow_String& text) {
  text = cow_String();
}

void prbK_ProbeToolsetClient::ResetFieldModel() {
  prbK_ProbeToolset::Instance().ResetFieldModel();
}

void prbK_ProbeToolsetClient::StepFrameLabel(cow_String&, cow_String&, cow_String&) {
  OMI_ASSERT(!"step and frame labels of a client without results");
}

void prbK_ProbeToolsetClient::VariableLabel(cow_String&) {
  OMI_ASSERT(!"variable label of a client without results");
}

const cow_1DArrayList<cow_String>& prbK_ProbeToolsetClient::CategorySectionPointList() {
  OMI_ASSERT(!"category and section points of a client without results");
  return categorySectionPoints_;
}

void prbK_ProbeToolsetClient::ComputeAvailableOutputPositions(bool) {
  OMI_ASSERT(!"output positions of a client without results");
}
