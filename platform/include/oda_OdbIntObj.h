#pragma once
// The scripting object of an open results database ("Odb"), as session.openOdb returns it and
// session.odbs holds it: "path", "steps" (names in file order), "fieldValues" and "close".
// It names its database by real path and opening generation: once that database is closed,
// every member raises odb_OdbException, also after the file is opened again (a new object serves that).
#include <cstdint>

#include "odb_Odb.h"
#include "omu_InterfaceObj.h"

class oda_OdbIntObj : public omu_InterfaceObj {
 public:
  oda_OdbIntObj(cow_String realPath, std::uint64_t generation);
  static const char* TypeName() { return "Odb"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override;
  // The modules' fragments, each told which database it serves for this use.
  std::vector<omu_InterfaceObj*> Extensions() const override;

  // The database, or odb_OdbException when it was closed.
  odb_Odb& Database() const;
  const cow_String& RealPath() const { return path_; }
  std::uint64_t Generation() const { return generation_; }

  omu_Result GetPath();
  omu_Result GetSteps();
  omu_Result Close(omu_Arguments& args);
  // fieldValues(step, label, frame=-1, instance=''): a field output's labels and values, as
  // arrays: (n) 32-bit labels and (n) or (n, values per label) 32-bit floats.
  omu_Result FieldValues(omu_Arguments& args);

 private:
  static const omu_MethodRow methods_[];
  static const omu_MemberRow members_[];
  cow_String path_;
  std::uint64_t generation_;
};
