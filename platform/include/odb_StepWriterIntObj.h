#pragma once
// A step of a results file being written ("OdbStepWriter"): addHistory and addFrame.
#include <memory>

#include "odb_Writer.h"
#include "omu_InterfaceObj.h"

class odb_StepWriterIntObj : public omu_InterfaceObj {
 public:
  odb_StepWriterIntObj(std::shared_ptr<odb_Writer> writer, int step);
  static const char* TypeName() { return "OdbStepWriter"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;

  omu_Result AddHistory(omu_Arguments& args);
  omu_Result AddFrame(omu_Arguments& args);

 private:
  static const omu_MethodRow methods_[];
  std::shared_ptr<odb_Writer> writer_;
  int step_;
};
