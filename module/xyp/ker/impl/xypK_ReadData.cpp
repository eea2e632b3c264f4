#include "xypK_ReadData.h"

#include "oda_XYDataCommonIntObj.h"
#include "xypK_MessageTypes.h"

void xypK_ReadData::SetCheckedPairs(const omu_PrimSequence& data, udd_UserXYData& record) {
  if (data.Size() == 0) xypK_MessageTypes::ErrorZeroLengthXYData();
  if (data.IsPairArray()) {  // numbers by construction: read in place
    record.SetPairValues(data.PairValues());
    return;
  }
  std::vector<double> values;
  std::size_t badItem = 0;
  if (!oda_XYDataCommonIntObj::getSeqSeqDoubleFromTuple(data, values, badItem))
    xypK_MessageTypes::ErrorXYMustHaveXAndY();
  record.SetPairValues(values);
}

std::unique_ptr<udd_UserXYData> xypK_ReadData::FromKeyboard(omu_Arguments& args) {
  cow_String name;
  const omu_PrimSequence* data = nullptr;
  std::shared_ptr<oda_XYDataCommonIntObj> source;
  cow_String sourceDescription, contentDescription, positionDescription, xLabel, yLabel, legend;
  bool legendFollowsName = false;

  args.Begin();
  args.Get(name, "name");
  args.Get(data, "data");
  if (args.Alternative()) {
    args.Get(source, omu_InterfaceObj::objectToCopyCmd, std::shared_ptr<oda_XYDataCommonIntObj>());
    if (!source) args.DeprecatedGet(source, "xyData", omu_InterfaceObj::objectToCopyCmd);
    // Neither pairs nor an object to copy: the pairs form is what the caller missed.
    if (!source) args.RaiseFormError();
    const udd_UserXYData& copied = source->Record();
    sourceDescription = copied.SourceDescription();
    contentDescription = copied.ContentDescription();
    positionDescription = copied.PositionDescription();
    xLabel = copied.XAxisLabel();
    yLabel = copied.YAxisLabel();
    legend = copied.LegendLabel();
    legendFollowsName = legend == source->Name();
  }
  args.Optional();
  args.Get(sourceDescription, "sourceDescription");
  args.Get(contentDescription, "contentDescription");
  args.Get(positionDescription, "positionDescription");
  args.Get(xLabel, "xValuesLabel");
  args.Get(yLabel, "yValuesLabel");
  const bool legendGiven = args.Get(legend, "legendLabel");
  args.End();

  name = name.Trim(' ');
  if (name.IsEmpty()) xypK_MessageTypes::ErrorXYDataNameNotGiven();
  const std::size_t count = source ? source->Record().Size() : data->Size();
  if (count == 0) xypK_MessageTypes::ErrorZeroLengthXYData();
  // A copied legend that followed the source's name follows the new (trimmed) name.
  if (legendFollowsName && !legendGiven) legend = name;

  auto record = std::make_unique<udd_UserXYData>(count);
  record->SetName(name);
  record->SetSourceDescription(sourceDescription);
  record->SetContentDescription(contentDescription);
  record->SetPositionDescription(positionDescription);
  record->SetXAxisLabel(xLabel);
  record->SetYAxisLabel(yLabel);
  record->SetLegendLabel(legend.IsEmpty() ? name : legend);
  if (source) {
    record->SetTypeCode(source->Record().TypeCode());
    record->SetPairs(source->Record().Pairs());
  } else {
    record->SetTypeCode(udd_UserXYData::kTypedData);
    SetCheckedPairs(*data, *record);
  }
  return record;
}
