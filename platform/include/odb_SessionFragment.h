#pragma once
// The results database's part of the session object: "openOdb" and "odbs". Made when the
// database library comes up and destroyed when it goes down, after every database is closed.
#include "sesK_SessionFragment.h"

class odb_SessionFragment : public sesK_SessionFragment {
 public:
  odb_SessionFragment();
  static const char* TypeName() { return "OdbSession"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;

  // openOdb(path): the database of that file, the one already open for any spelling of it. A
  // CalculiX job (its .frd) opens through the results file beside it ("<job>.xyp.h5"),
  // imported first unless it is newer than the job's files or already open.
  omu_Result OpenOdb(omu_Arguments& args);
  omu_Result GetOdbs();

  static void Create();
  static void Destroy();

 private:
  static const omu_MethodRow methods_[];
  static const omu_MemberRow members_[];
};
