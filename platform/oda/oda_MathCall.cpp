#include "oda_MathCall.h"

#include <cstdio>

#include "oda_MessageTypes.h"
#include "oda_XYDataCommonIntObj.h"
#include "omu_KeywordErrorException.h"
#include "omu_PrimNumber.h"
#include "omu_PrimSequence.h"
#include "omu_PrimType.h"
#include "omu_ValueReader.h"

oda_MathCall::oda_MathCall(const char* function, omu_Arguments& args)
    : function_(function), args_(args) {
  args_.Begin();
}

bool oda_MathCall::Take(const omu_Primitive& value) {
  std::shared_ptr<oda_XYDataCommonIntObj> object;
  if (!omu_ValueReader::Read(value, object) || !object) return false;
  pairs_.push_back(&object->Record().Pairs());
  operands_.push_back(std::move(object));
  return true;
}

bool oda_MathCall::ReadOne(bool numberAllowed) {
  const omu_Primitive* value = nullptr;
  if (!args_.Get(value, "xyData"))
    throw omu_KeywordErrorException(cow_String(function_) +
                                        "(): missing required argument 'xyData' (" +
                                        (numberAllowed ? "XY data or a number" : "XY data") + ")",
                                    "xyData");
  if (Take(*value)) return true;
  if (numberAllowed && omu_ValueReader::Read(*value, number_)) return false;
  oda_MessageTypes::ErrorExpectingOneOskInterfaceObject();
}

void oda_MathCall::ReadSeveral(std::size_t maximum) {
  // Either one sequence of XY data objects, or the objects one by one.
  const omu_Primitive* value = nullptr;
  if (args_.PositionalCount() == 0) {
    args_.Optional();
    if (!args_.Get(value, "xyData")) oda_MessageTypes::ErrorExpectingOskInterfaceObjects();
  } else {
    args_.Get(value);
  }
  const omu_PrimSequence* sequence = nullptr;
  if (omu_ValueReader::Read(*value, sequence) && sequence) {
    asSequence_ = true;
    for (std::size_t i = 0; i < sequence->Size(); ++i)
      if (!Take(sequence->Item(i))) oda_MessageTypes::ErrorExpectingOneOskInterfaceObject();
  } else {
    if (!Take(*value)) oda_MessageTypes::ErrorExpectingOneOskInterfaceObject();
    while (args_.PositionalCount() > operands_.size()) {
      if (!args_.Get(value)) break;
      if (!Take(*value)) oda_MessageTypes::ErrorExpectingOneOskInterfaceObject();
    }
  }
  if (operands_.empty()) oda_MessageTypes::ErrorExpectingOskInterfaceObjects();
  if (operands_.size() > maximum) {
    if (maximum == 3) oda_MessageTypes::ErrorExpectingMaxThreeOskInterfaceObjects();
    oda_MessageTypes::ErrorExpectingOneOskInterfaceObject();
  }
}

void oda_MathCall::Required(double& value, const char* keyword) {
  if (!args_.Get(value, keyword)) args_.Optional();  // raises the missing argument
  extra_ += cow_String(", ") + keyword + "=" + Text(value);
}

cow_String oda_MathCall::Text(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.9g", value);
  return buffer;
}

cow_String oda_MathCall::OperandText() const {
  cow_String text;
  for (std::size_t i = 0; i < operands_.size(); ++i) text += (i ? ", " : "") + operands_[i]->Name();
  if (asSequence_) text = "(" + text + (operands_.size() == 1 ? ",)" : ")");
  return text;
}

omu_Result oda_MathCall::Result(Pairs pairs, bool swapLabels) const {
  return MakeResult(std::move(pairs), *operands_.front(),
                    cow_String(function_) + "(" + OperandText() + extra_ + ")", swapLabels);
}

omu_Result oda_MathCall::MakeResult(Pairs pairs, const oda_XYDataCommonIntObj& first,
                                    const cow_String& description, bool swapLabels) {
  const udd_UserXYData& from = first.Record();
  auto object = std::make_shared<oda_XYDataCommonIntObj>("Temp", false);
  udd_UserXYData& record = object->Record();
  record.SetName("Temp");
  record.SetPairs(pairs);
  record.SetSourceDescription(description);
  record.SetLegendLabel(description);
  record.SetXAxisLabel(swapLabels ? from.YAxisLabel() : from.XAxisLabel());
  record.SetYAxisLabel(swapLabels ? from.XAxisLabel() : from.YAxisLabel());
  object->SetCommandText(description);
  return std::make_unique<omu_PrimType>(std::move(object));
}

omu_Result oda_MathCall::NumberResult(double value) {
  return std::make_unique<omu_PrimNumber>(value);
}
