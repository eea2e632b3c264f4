#include "xypK_SessionFragment.h"

#include "oda_XYDataCommonIntObj.h"
#include "omu_PrimNone.h"
#include "omu_PrimSequence.h"
#include "omu_PrimType.h"
#include "xypK_CurveIntObj.h"
#include "xypK_MessageTypes.h"
#include "xypK_ReadData.h"
#include "xypK_Utils.h"
#include "xypK_WriteReport.h"
#include "xypK_XYDataDictIntObj.h"
#include "xypK_XYDataIntObj.h"
#include "xypK_XYDataSessionCntr.h"
#include "xypK_XYPlot.h"
#include "xypK_XYPlotDictIntObj.h"
#include "xypK_XYPlotIntObj.h"
#include "xypK_XYPlotOptionsIntObj.h"
#include "xypK_XYReportOptionsIntObj.h"
#include "xypK_XYToolset.h"

namespace {
// The texts every XY data command takes after its own arguments.
constexpr omu_Parameter kTextParameters[] = {
    {"sourceDescription", "str", "''", "where the data comes from"},
    {"contentDescription", "str", "''", "what the data holds"},
    {"positionDescription", "str", "''", "where in the model the data was taken"},
    {"xValuesLabel", "str", "''", "the label of the x values (the X axis title)"},
    {"yValuesLabel", "str", "''", "the label of the y values (the Y axis title)"},
    {"legendLabel", "str", "''", "the legend text; '' gives the name"},
    {nullptr, nullptr, nullptr, nullptr}};
constexpr omu_Parameter kKeyboardParameters[] = {
    {"name", "str", nullptr, "the name; blanks at both ends are trimmed"},
    {"data", "sequence of (x, y) number pairs, or an (n, 2) array", nullptr,
     "the pairs, in the order given (stored as float32)"},
    {"objectToCopy", "XYData", "None", "XY data to copy, pairs and texts, instead of data"},
    {nullptr, nullptr, nullptr, nullptr}};
constexpr omu_Parameter kFileSignatureParameters[] = {
    {"name", "str", nullptr, "the name; a header line of the file may replace it"},
    {"fileName", "str or os.PathLike", nullptr, "the text file to read"},
    {"xField", "int", "1", "the 1-based column of the x values"},
    {"yField", "int", "2", "the 1-based column of the y values"},
    {"skipFrequency", "int", "0", "the lines skipped after each line read"},
    {nullptr, nullptr, nullptr, nullptr}};
constexpr omu_Parameter kHistorySignatureParameters[] = {
    {"name", "str", nullptr, "the name; blanks at both ends are trimmed"},
    {"odb", "Odb", nullptr, "the open results file (session.openOdb)"},
    {"outputVariableName", "str", nullptr,
     "the history output's legend, as in odb.historyVariables"},
    {"steps", "sequence of step names or 1-based numbers", nullptr, "the steps to take, in order"},
    {"stepTuple", "sequence of step names or 1-based numbers", "None", "the same as steps"},
    {"skipFrequency", "int", "0", "the frames skipped after each frame taken"},
    {"numericForm", "SymbolicConstant", "MAGNITUDE",
     "of complex values: REAL, IMAGINARY, MAGNITUDE, PHASE or COMPLEX_MAG_AT_ANGLE"},
    {"complexAngle", "float", "0.0", "degrees, for COMPLEX_MAG_AT_ANGLE"},
    {nullptr, nullptr, nullptr, nullptr}};
constexpr omu_Parameter kXYPlotParameters[] = {
    {"name", "str", nullptr, "the name; blanks at both ends are trimmed"},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kXYPlot{
    "Creates an empty XY plot (replacing a plot of that name) with the default plot options.",
    kXYPlotParameters, "XYPlot", omu_Signature::Form::Keywords};
constexpr omu_Parameter kWriteXYReportParameters[] = {
    {"fileName", "str or os.PathLike", nullptr, "the report file"},
    {"xyData", "sequence of XYData, XYCurve or XY data names", nullptr,
     "what the report holds, in order"},
    {"appendMode", "bool", "True", "append to an existing file rather than replace it"},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kWriteXYReport{
    "Writes XY data as a text report, with the session's XY report options.",
    kWriteXYReportParameters, nullptr, omu_Signature::Form::Keywords};
}  // namespace

const omu_Signature xypK_SessionFragment::keyboardSignature{
    "Creates XY data from (x, y) pairs, or as a copy, and stores it in the session.",
    kKeyboardParameters, "XYData", omu_Signature::Form::Keywords, kTextParameters};
const omu_Signature xypK_SessionFragment::fileSignature{
    "Reads XY data from two columns of a text file and stores it in the session.",
    kFileSignatureParameters, "XYData", omu_Signature::Form::Keywords, kTextParameters};
const omu_Signature xypK_SessionFragment::historySignature{
    "Extracts the history output of a results file as XY data and stores it in the session.",
    kHistorySignatureParameters, "XYData", omu_Signature::Form::Keywords, kTextParameters};

const omu_MethodRow xypK_SessionFragment::methods_[] = {
    {"XYData", omu_Method<&xypK_SessionFragment::XYDataFromKeyboard>,
     &xypK_SessionFragment::keyboardSignature},
    {"XYDataFromFile", omu_Method<&xypK_SessionFragment::XYDataFromFile>,
     &xypK_SessionFragment::fileSignature},
    {"XYDataFromHistory", omu_Method<&xypK_SessionFragment::XYDataFromHistory>,
     &xypK_SessionFragment::historySignature},
    {"XYPlot", omu_Method<&xypK_SessionFragment::XYPlot>, &kXYPlot},
    {"writeXYReport", omu_Method<&xypK_SessionFragment::WriteXYReport>, &kWriteXYReport},
    {"", nullptr}};

const omu_MemberRow xypK_SessionFragment::members_[] = {
    {"xyDataObjects", omu_Getter<&xypK_SessionFragment::xyData>, nullptr,
     "mapping of name to XYData", "the stored XY data"},
    {"xyPlots", omu_Getter<&xypK_SessionFragment::xyPlot>, nullptr, "mapping of name to XYPlot",
     "the XY plots"},
    {"xyReportOptions", omu_Getter<&xypK_SessionFragment::xyReportOptions>, nullptr,
     "XYReportOptions", "the options of writeXYReport"},
    {"defaultXYReportOptions", omu_Getter<&xypK_SessionFragment::defaultXYReportOptions>, nullptr,
     "XYReportOptions", "the report options a new session starts with"},
    {"defaultXYPlotOptions", omu_Getter<&xypK_SessionFragment::defaultXYPlotOptions>, nullptr,
     "XYPlotOptions", "the options new plots start from"},
    {"", nullptr, nullptr}};

const omu_DeprecatedMemberRow xypK_SessionFragment::deprecatedMembers_[] = {
    {"xyData", omu_Getter<&xypK_SessionFragment::xyData>, nullptr, "6.2", "xyDataObjects"},
    {"xyPlot", omu_Getter<&xypK_SessionFragment::xyPlot>, nullptr, "6.2", "xyPlots"},
    {"", nullptr, nullptr, nullptr, nullptr}};

xypK_SessionFragment::xypK_SessionFragment() {
  DescribeType(TypeName(), methods_, members_, nullptr, deprecatedMembers_);
}

xypK_SessionFragment::~xypK_SessionFragment() = default;

std::unique_ptr<omu_InterfaceObj> xypK_SessionFragment::Copy() const {
  return std::unique_ptr<omu_InterfaceObj>(new xypK_SessionFragment(*this));
}

cow_String xypK_SessionFragment::CommandPath(const cow_String& parentPath,
                                             const cow_String& command,
                                             const omu_Arguments&) const {
  if (command == "XYData" || command == "XYDataFromFile" || command == "XYDataFromHistory")
    return parentPath + "." + "xyDataObjects";
  if (command == "XYPlot") return parentPath + "." + "xyPlots";
  return parentPath;
}

omu_Result xypK_SessionFragment::XYDataFromKeyboard(omu_Arguments& args) {
  return ReadData(args, xypK_FROM_KEYBOARD);
}

omu_Result xypK_SessionFragment::XYDataFromFile(omu_Arguments& args) {
  return ReadData(args, xypK_FROM_FILE);
}

omu_Result xypK_SessionFragment::XYDataFromHistory(omu_Arguments& args) {
  return ReadData(args, xypK_FROM_HISTORY);
}

omu_Result xypK_SessionFragment::xyData() {
  return std::make_unique<omu_PrimType>(std::make_shared<xypK_XYDataDictIntObj>());
}

// A new plot with the default options; one of the same name is replaced.
omu_Result xypK_SessionFragment::XYPlot(omu_Arguments& args) {
  cow_String name;
  args.Begin();
  args.Get(name, "name");
  args.End();
  name = name.Trim();
  if (name.IsEmpty()) xypK_MessageTypes::ErrorXYPlotNameNotGiven();
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  toolset.GetXYPlotDictionary().Insert(name, xypK_XYPlot(toolset.GetDefaultOptions()));
  return std::make_unique<omu_PrimType>(std::make_shared<xypK_XYPlotIntObj>(name));
}

omu_Result xypK_SessionFragment::xyPlot() {
  return std::make_unique<omu_PrimType>(std::make_shared<xypK_XYPlotDictIntObj>());
}

omu_Result xypK_SessionFragment::defaultXYPlotOptions() {
  return std::make_unique<omu_PrimType>(std::make_shared<xypK_XYPlotOptionsIntObj>(true));
}

// "xyData" is a sequence of XY data objects and curve objects (or one such object); a string
// names repository data. A name enters the column list once; data without a name gets
// "__tmpXYData-k". A curve first in the sequence gives the report its plot's axis titles.
omu_Result xypK_SessionFragment::WriteXYReport(omu_Arguments& args) {
  cow_String fileName;
  const omu_Primitive* items = nullptr;
  bool appendMode = true;
  args.Begin();
  args.Get(fileName, "fileName");
  args.Get(items, "xyData");
  args.Optional();
  args.Get(appendMode, "appendMode");
  args.End();

  std::vector<const omu_Primitive*> elements;
  if (items->Kind() == omu_PrimKind::Tuple || items->Kind() == omu_PrimKind::List) {
    const auto& sequence = static_cast<const omu_PrimSequence&>(*items);
    for (std::size_t i = 0; i < sequence.Size(); ++i) elements.push_back(&sequence.Item(i));
  } else {
    elements.push_back(items);
  }
  if (elements.empty()) xypK_MessageTypes::ErrorNoXYDataSelected();

  xypK_WriteReport::DataMap data;
  cow_List<cow_String> names;
  int unnamed = 0;
  cow_String xTitle, yTitle;
  for (const omu_Primitive* element : elements) {
    std::shared_ptr<oda_XYDataCommonIntObj> object;
    std::shared_ptr<xypK_CurveIntObj> curve;
    cow_String name;
    udd_UserXYData record;
    if (omu_ValueReader::Read(*element, curve)) {
      record = curve->ConstGetXYData();
      name = curve->CurveName();
      if (element == elements.front()) {
        xTitle = curve->ConstGetXTitle();
        yTitle = curve->ConstGetYTitle();
      }
    } else if (omu_ValueReader::Read(*element, object)) {
      record = object->Record();
      name = record.Name();
      if (name.IsEmpty()) name = "__tmpXYData-" + cow_String::FromInt(unnamed++);
    } else if (omu_ValueReader::Read(*element, name)) {
      xypK_XYDataSessionCntr& repository = xypK_XYDataSessionCntr::Instance();
      if (!repository.IsMember(name)) xypK_MessageTypes::ErrorUnknownXYData();
      record = repository.ConstGet(name);
    } else {
      xypK_MessageTypes::ErrorUnknownXYData();
    }
    data.Insert(name, record);
    names.AppendUnlessMember(name);
  }
  xypK_WriteReport().WriteReport(appendMode, fileName, data, names, xTitle, yTitle);
  return std::make_unique<omu_PrimNone>();
}

omu_Result xypK_SessionFragment::xyReportOptions() {
  return std::make_unique<omu_PrimType>(std::make_shared<xypK_XYReportOptionsIntObj>(false));
}

omu_Result xypK_SessionFragment::defaultXYReportOptions() {
  return std::make_unique<omu_PrimType>(std::make_shared<xypK_XYReportOptionsIntObj>(true));
}

omu_Result xypK_SessionFragment::ReadData(omu_Arguments& args, xypK_WhereDataFromEnm source) {
  std::unique_ptr<udd_UserXYData> record;
  switch (source) {
    case xypK_FROM_KEYBOARD:
      record = xypK_ReadData::FromKeyboard(args);
      break;
    case xypK_FROM_FILE:
      record = xypK_ReadData::FromFile(args);
      break;
    case xypK_FROM_HISTORY:
      record = xypK_ReadData::FromHistory(args, false);
      break;
    default:
      XYPK_ASSERT(!"known XY data source");
  }
  // A file that could not be opened was reported; nothing is stored over existing data.
  if (!record) return std::make_unique<omu_PrimNone>();
  const cow_String name = record->Name();
  xypK_XYDataSessionCntr& repository = xypK_XYDataSessionCntr::Instance();
  if (repository.IsMember(name) && record->SourceDescription() == "Data modified in editor") {
    // Edited pairs replace the stored ones; the stored texts and labels stay.
    udd_UserXYData& stored = repository.Get(name);
    stored.SetSourceDescription(record->SourceDescription());
    stored.SetPairs(record->Pairs());
  } else {
    repository.Insert(name, *record);
  }
  repository.Update(name);
  return std::make_unique<omu_PrimType>(std::make_shared<xypK_XYDataIntObj>(name));
}
