#include "prbK_MessageTypes.h"

#include "cmdC_PrbException.h"
#include "cmdC_PrbMessageTable.h"
#include "cmdC_WIP.h"
#include "nex_Exception.h"
#include "omi_Singleton.h"
#include "utl_Translate.h"

template <>
const uti_LabelMap<prbK_MessageTypesEnm, 1>::Row uti_LabelMap<prbK_MessageTypesEnm, 1>::table[] = {
    {"Current display object cannot be probed", "prbK_MessageTypes_MSGID_00",
     prbK_MSG_NoObjectToProbe},
    {"Sorting cannot be performed for the values in column ", "prbK_MessageTypes_MSGID_01",
     prbK_MSG_InvalidSortItem},
    {nullptr, nullptr, prbK_MSG_NoObjectToProbe}};

void prbK_MessageTypes::ErrorNoObjectToProbe() {
  NEX_THROW(
      cmdC_PrbException(Labels::LabelString(prbK_MSG_NoObjectToProbe), prbK_MSG_NoObjectToProbe));
}

void prbK_MessageTypes::ErrorInvalidSortItem(const cow_String& column) {
  NEX_THROW(cmdC_PrbException(Labels::LabelString(prbK_MSG_InvalidSortItem) + column,
                              prbK_MSG_InvalidSortItem, column));
}

void prbK_MessageTypes::ErrorCouldNotOpenReportFile(const cow_String& path) {
  const cow_String text = utl_tr("%s: could not be opened (may be locked by another application).");
  omi_Singleton<cmdC_WIP>::Instance().Error(text.Substitute("%s", path));
}

void prbK_MessageTypes::WarningInvalidSortItem(const cow_String& column) {
  omi_Singleton<cmdC_WIP>::Instance().Warning(
      *cmdC_PrbMessageTable::Instance().WarningInvalidSortItem(column));
}
