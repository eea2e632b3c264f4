#pragma once
// The probe message catalogue: the two errors the probe side reports (cmdC_PrbException, whose
// code is the row's key), the report file that could not be opened, and the sort warning of the
// message library. Texts are looked up by key in uti_LabelMap<prbK_MessageTypesEnm, 1>, so a text
// registered under the row's resource name replaces the default one.
#include "cow_String.h"
#include "uti_LabelMap.h"

enum prbK_MessageTypesEnm : int {
  prbK_MSG_NoObjectToProbe = 0,
  prbK_MSG_InvalidSortItem = 1,
};

template <>
const uti_LabelMap<prbK_MessageTypesEnm, 1>::Row uti_LabelMap<prbK_MessageTypesEnm, 1>::table[];

class prbK_MessageTypes {
 public:
  using Labels = uti_LabelMap<prbK_MessageTypesEnm, 1>;

  prbK_MessageTypes() = delete;

  [[noreturn]] static void ErrorNoObjectToProbe();
  // The text followed by the column's title; the title is the error's detail.
  [[noreturn]] static void ErrorInvalidSortItem(const cow_String& column);
  // Shown as an error line; returns normally.
  static void ErrorCouldNotOpenReportFile(const cow_String& path);
  static void WarningInvalidSortItem(const cow_String& column);
};
