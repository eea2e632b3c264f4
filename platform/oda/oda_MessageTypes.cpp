#include "oda_MessageTypes.h"

#include "uti_XypException.h"

void oda_MessageTypes::ErrorXYDataNameNotGiven() {
  NEX_THROW(uti_XypException("XYData name must be entered", kXYDataNameNotGivenCode));
}

void oda_MessageTypes::ErrorOldNameEqualToNewName() {
  NEX_THROW(
      uti_XypException("The new name must differ from the old name", kOldNameEqualToNewNameCode));
}
