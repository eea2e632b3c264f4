#pragma once
// A frame of a results file being written ("OdbFrameWriter"): addField.
#include <memory>

#include "odb_Writer.h"
#include "omu_InterfaceObj.h"

class odb_FrameWriterIntObj : public omu_InterfaceObj {
 public:
  odb_FrameWriterIntObj(std::shared_ptr<odb_Writer> writer, int step, int frame);
  static const char* TypeName() { return "OdbFrameWriter"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;

  omu_Result AddField(omu_Arguments& args);

 private:
  static const omu_MethodRow methods_[];
  std::shared_ptr<odb_Writer> writer_;
  int step_;
  int frame_;
};
