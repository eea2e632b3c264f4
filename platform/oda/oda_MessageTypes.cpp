#include "oda_MessageTypes.h"

#include "omu_KeywordErrorException.h"
#include "thr_ThreadSingleton.h"
#include "uti_ResourceManager.h"
#include "uti_XypException.h"

namespace {
cow_String Text(const char* resourceName, const char* defaultText) {
  return thr_ThreadSingleton<uti_ResourceManager>::Instance().GetStringResource(resourceName,
                                                                                defaultText);
}
}  // namespace

void oda_MessageTypes::ErrorXYDataNameNotGiven() {
  NEX_THROW(uti_XypException("XYData name must be entered", kXYDataNameNotGivenCode));
}

void oda_MessageTypes::ErrorOldNameEqualToNewName() {
  NEX_THROW(
      uti_XypException("The new name must differ from the old name", kOldNameEqualToNewNameCode));
}

void oda_MessageTypes::ErrorTwoArgsNeeded() {
  NEX_THROW(uti_XypException(
      Text("xypK_MessageTypes_MSGID_20", "This operation requires exactly two arguments"), 47));
}

void oda_MessageTypes::ErrorExpectingOskInterfaceObjects() {
  NEX_THROW(omu_KeywordErrorException(
      Text("xypK_MessageTypes_MSGID_21", "Expecting at least one Oskavo Interface Object"), ""));
}

void oda_MessageTypes::ErrorExpectingOneOskInterfaceObject() {
  NEX_THROW(omu_KeywordErrorException(
      Text("xypK_MessageTypes_MSGID_22", "Expecting Oskavo Interface Object"), ""));
}

void oda_MessageTypes::ErrorExpectingMaxThreeOskInterfaceObjects() {
  NEX_THROW(omu_KeywordErrorException(
      Text("xypK_MessageTypes_MSGID_23", "Expecting at most three Oskavo Interface Objects"), ""));
}

void oda_MessageTypes::ErrorTwoArgsMinNeeded() {
  NEX_THROW(uti_XypException(
      Text("xypK_MessageTypes_MSGID_24", "This operation requires at least two arguments"), 48));
}
