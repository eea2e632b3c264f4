#pragma once
// A script's handle on one XY data: a copy of the record taken when the handle is made. Changes
// made through a handle of repository data are written back to the repository, field by field.
#include "oda_XYDataCommonIntObj.h"

class xypK_XYDataIntObj : public oda_XYDataCommonIntObj {
 public:
  // A handle on the repository's data of `name` (empty when the repository has none).
  explicit xypK_XYDataIntObj(const cow_String& name);
  xypK_XYDataIntObj(const xypK_XYDataIntObj& other) = default;

  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  omu_Result SetXYDataAttributes(omu_Arguments& args) override;
  omu_Result AddXYData(omu_Arguments& args) override;

 private:
  // The stored record this handle writes to, or null for temporary data and names no longer
  // in the repository.
  udd_UserXYData* StoredRecord() const;
};
