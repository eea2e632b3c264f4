#pragma once
// Readers that build an XY data record from a command's arguments.
#include <memory>
#include <string_view>
#include <vector>

#include "odiK_Model.h"
#include "omu_Arguments.h"
#include "udd_UserXYData.h"

class xypK_ReadData {
 public:
  // From pairs typed by the user ("name", "data"), or a copy of an XY data object
  // ("objectToCopy", or the old "xyData"), with optional descriptions and labels.
  static std::unique_ptr<udd_UserXYData> FromKeyboard(omu_Arguments& args);
  // From two columns of a text file ("name", "fileName", "xField", "yField", "skipFrequency",
  // descriptions and labels). Null when the file passed the pre-check but cannot be opened: the
  // message is reported and nothing is to be stored.
  static std::unique_ptr<udd_UserXYData> FromFile(omu_Arguments& args);
  // From a history output of a results database ("name", "odb", "outputVariableName", "steps"
  // or "stepTuple", "skipFrequency", descriptions and labels, "numericForm", "complexAngle").
  // `legendFlag`: the legend defaults to the variable's short legend rather than the name.
  static std::unique_ptr<udd_UserXYData> FromHistory(omu_Arguments& args, bool legendFlag);

  // The complex angle reduced to one turn (sign kept, -450 gives -90) in double precision.
  static double ReduceComplexAngle(double degrees);
  // One number of a complex value (a, b) in a `res_ComplexDisplayEnm` form; `theta` in radians.
  static double ComplexValue(double a, double b, int numericForm, double theta);

  // Removes, in place, every leading "*", blank and tab.
  static void ChopStarAndSpace(char* line);
  // The data's name in a header line: field 1 of the line split at commas and blanks, or field 2
  // when field 1 is "X" (two-column files); field `column` (many-column files).
  static cow_String GetSinglePairXYDataName(char* line);
  static cow_String GetMultColumnXYDataName(char* line, int column);
  static std::string_view ChopStarAndSpace(std::string_view line);
  static std::string_view SinglePairName(std::string_view line);
  static std::string_view MultColumnName(std::string_view line, int column);

  // Sets the record's pairs from a sequence of (x, y) pairs, checked as typed data is checked: at
  // least one pair, each item exactly two numbers. Raises the catalogue's error, changing nothing,
  // otherwise.
  static void SetCheckedPairs(const omu_PrimSequence& data, udd_UserXYData& record);

 private:
  static std::unique_ptr<udd_UserXYData> HistoryFromDdb(
      const cow_String& name, const odiK_Model& model, const cow_String& outputVariableName,
      int numericForm, double angleDegrees, const std::vector<int>& steps, int skipFrequency,
      cow_String& sourceDescription, cow_String& contentDescription,
      cow_String& positionDescription, cow_String& xLabel, cow_String& yLabel, cow_String& legend,
      bool legendFlag);
};
