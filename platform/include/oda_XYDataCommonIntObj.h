#pragma once
// The scripting type of XY data: the attributes of the record (name, descriptions, labels, data),
// the sequence protocol over its pairs, "setValues" for the texts and "setData" for the pairs.
// Derived types decide where the data comes from and where changes go.
#include <memory>
#include <vector>

#include "omu_InterfaceObj.h"
#include "udd_UserXYData.h"

class omu_PrimSequence;

class oda_XYDataCommonIntObj : public omu_InterfaceObj {
 public:
  // The text fields "setValues" can change, as bits of the mask SetAXYDataAttributes returns.
  enum AttributeBits : unsigned {
    kSourceDescription = 1u << 0,
    kContentDescription = 1u << 1,
    kPositionDescription = 1u << 2,
    kXValuesLabel = 1u << 3,
    kYValuesLabel = 1u << 4,
    kLegendLabel = 1u << 5,
  };

  oda_XYDataCommonIntObj(const cow_String& name, bool repositoryBacked);
  oda_XYDataCommonIntObj(const oda_XYDataCommonIntObj& other);
  ~oda_XYDataCommonIntObj() override;

  static const char* TypeName() { return "XYData"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override;
  // What scripts see: the path above and the number of pairs, "session.xyDataObjects['a'] (3
  // pairs)". Command texts keep using Repr.
  cow_String FullRepr() const override;

  const cow_String& Name() const { return name_; }
  void SetName(const cow_String& name) { name_ = name; }
  bool IsRepositoryBacked() const { return repositoryBacked_; }
  void SetRepositoryBacked(bool backed) { repositoryBacked_ = backed; }
  bool SecondFlag() const { return secondFlag_; }
  void SetSecondFlag(bool flag) { secondFlag_ = flag; }
  const cow_String& CommandText() const { return commandText_; }
  void SetCommandText(const cow_String& text) { commandText_ = text; }
  const udd_UserXYData& Record() const { return record_; }
  udd_UserXYData& Record() { return record_; }
  void SetRecord(const udd_UserXYData& record) { record_ = record; }

  const cow_String& SourceDescription() const { return record_.SourceDescription(); }
  const cow_String& ContentDescription() const { return record_.ContentDescription(); }
  const cow_String& PositionDescription() const { return record_.PositionDescription(); }
  const cow_String& XValuesLabel() const { return record_.XAxisLabel(); }
  const cow_String& YValuesLabel() const { return record_.YAxisLabel(); }
  const cow_String& LegendLabel() const { return record_.LegendLabel(); }
  std::vector<std::array<float, 2>> ListListData() const { return record_.ListListData(); }

  long SequenceLength() const override { return static_cast<long>(record_.Size()); }
  omu_Result SequenceItem(long index) const override;

  // Reads the optional text keywords into `record`; returns the bits of the fields given.
  static unsigned SetAXYDataAttributes(omu_Arguments& args, udd_UserXYData& record);
  // Copies the fields named by `mask` from one record to another.
  static void CopyAttributes(const udd_UserXYData& from, udd_UserXYData& to, unsigned mask);
  // The pairs of a sequence of (x, y) number pairs as x0, y0, x1, y1, ...; false when an item is
  // not a pair of two numbers (`badItem` tells which).
  static bool getSeqSeqDoubleFromTuple(const omu_PrimSequence& pairs, std::vector<double>& values,
                                       std::size_t& badItem);

  // "setValues" and "setData".
  virtual omu_Result SetXYDataAttributes(omu_Arguments& args);
  virtual omu_Result AddXYData(omu_Arguments& args);

  // + - * / with another XY data or a number, ** with a number, negation and abs().
  omu_Result Arithmetic(char op, const omu_Primitive* other, bool reflected) override;
  // The pairs as (n, 2) floats, for numpy.
  const float* LendPairs(std::size_t& pairs, std::shared_ptr<const void>& keeper) const override;

  // The math functions scripts reach as oskavoMath.NAME and xyPlot.NAME; each returns a new XY
  // data object outside the repository (or a number, for the one-operand functions given a
  // number). What they compute is oda_XYDataMath's.
  static omu_Result cos(omu_Arguments& args);
  static omu_Result sin(omu_Arguments& args);
  static omu_Result tan(omu_Arguments& args);
  static omu_Result acos(omu_Arguments& args);
  static omu_Result asin(omu_Arguments& args);
  static omu_Result atan(omu_Arguments& args);
  static omu_Result cosh(omu_Arguments& args);
  static omu_Result sinh(omu_Arguments& args);
  static omu_Result tanh(omu_Arguments& args);
  static omu_Result log(omu_Arguments& args);
  static omu_Result log10(omu_Arguments& args);
  static omu_Result exp(omu_Arguments& args);
  static omu_Result pow(omu_Arguments& args);
  static omu_Result currentMax(omu_Arguments& args);
  static omu_Result currentMin(omu_Arguments& args);
  static omu_Result currentRng(omu_Arguments& args);
  static omu_Result currentAvg(omu_Arguments& args);
  static omu_Result max(omu_Arguments& args);
  static omu_Result min(omu_Arguments& args);
  static omu_Result rng(omu_Arguments& args);
  static omu_Result avg(omu_Arguments& args);
  static omu_Result sum(omu_Arguments& args);
  static omu_Result nor(omu_Arguments& args);
  static omu_Result sqrt(omu_Arguments& args);
  static omu_Result srss(omu_Arguments& args);
  static omu_Result vecMag(omu_Arguments& args);
  static omu_Result combine(omu_Arguments& args);
  static omu_Result append(omu_Arguments& args);
  static omu_Result diff(omu_Arguments& args);
  static omu_Result intg(omu_Arguments& args);
  static omu_Result swap(omu_Arguments& args);
  static omu_Result smooth(omu_Arguments& args);
  static omu_Result saeF(omu_Arguments& args);
  static omu_Result sbF(omu_Arguments& args);
  static omu_Result degreeToRadian(omu_Arguments& args);
  static omu_Result radianToDegree(omu_Arguments& args);

 private:
  omu_Result GetName();
  omu_Result GetSourceDescription();
  omu_Result GetContentDescription();
  omu_Result GetPositionDescription();
  omu_Result GetXValuesLabel();
  omu_Result GetYValuesLabel();
  omu_Result GetLegendLabel();
  omu_Result GetData();
  omu_Result GetDescription();
  omu_Result SetValuesCmd(omu_Arguments& args) { return SetXYDataAttributes(args); }
  omu_Result SetDataCmd(omu_Arguments& args) { return AddXYData(args); }
  static const omu_MethodRow methods_[];
  static const omu_MemberRow members_[];

  cow_String name_;
  bool repositoryBacked_;
  bool secondFlag_ = true;
  cow_String commandText_;
  udd_UserXYData record_;
};
