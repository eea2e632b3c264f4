#pragma once
// The scripting objects of the results-file writer: "OdbWriter" (xyp.odb.create's native side:
// addInstance, addElements, addSet, addStep, close), "OdbStepWriter" (addHistory, addFrame) and
// "OdbFrameWriter" (addField). Arrays arrive as packed number sequences (the Python layer packs
// numpy arrays) or as plain sequences of numbers, with their lengths.
#include <memory>

#include "odb_Writer.h"
#include "omu_InterfaceObj.h"

class odb_WriterIntObj : public omu_InterfaceObj {
 public:
  explicit odb_WriterIntObj(std::shared_ptr<odb_Writer> writer);
  static const char* TypeName() { return "OdbWriter"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override;

  // odbAccess.create(path)
  static omu_Result Create(omu_Arguments& args);

  omu_Result AddInstance(omu_Arguments& args);
  omu_Result AddElements(omu_Arguments& args);
  omu_Result AddSet(omu_Arguments& args);
  omu_Result AddStep(omu_Arguments& args);
  omu_Result Close(omu_Arguments& args);
  omu_Result GetPath();

 private:
  static const omu_MethodRow methods_[];
  static const omu_MemberRow members_[];
  std::shared_ptr<odb_Writer> writer_;
};
