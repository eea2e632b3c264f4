#include "xypK_XYPlotIntObj.h"

#include "oda_XYDataCommonIntObj.h"
#include "omu_Arguments.h"
#include "omu_PrimBytes.h"
#include "omu_PrimNone.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"
#include "omu_PrimTuple.h"
#include "sesC_PostIdMap.h"
#include "sesK_LayerIntObj.h"
#include "sesK_SessionState.h"
#include "smg_SceneManagerRole.h"
#include "xypK_CurveDictIntObj.h"
#include "xypK_CurveIntObj.h"
#include "xypK_MessageTypes.h"
#include "xypK_Scene.h"
#include "xypK_SceneManager.h"
#include "xypK_XYDataSessionCntr.h"
#include "xypK_XYPlot.h"
#include "xypK_XYPlotOptionsIntObj.h"
#include "xypK_XYToolset.h"

namespace {
constexpr omu_Parameter kCurveParameters[] = {
    {"name", "str", nullptr, "the curve's name; blanks at both ends are trimmed"},
    {"xyData", "XYData", nullptr, "the data drawn"},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kCurve{
    "Adds a curve of XY data to the plot (stored data stays linked; temporary data is copied).",
    kCurveParameters, "XYCurve", omu_Signature::Form::Keywords};
constexpr omu_Parameter kCurveSetParameters[] = {
    {"xyData", "sequence of XYData", nullptr, "the data, one curve each"},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kCurveSet{"Adds one curve per XY data object, each named after its data.",
                              kCurveSetParameters, "tuple of XYCurve",
                              omu_Signature::Form::Keywords};
constexpr omu_Parameter kSetValuesParameters[] = {
    {"curvesToPlot", "curve name, XYCurve or a sequence of them", nullptr,
     "the curves shown, each name once"},
    {"xAxisTitleSource", nullptr, nullptr, nullptr},
    {"xAxisTitle", nullptr, nullptr, nullptr},
    {"yAxisTitleSource", nullptr, nullptr, nullptr},
    {"yAxisTitle", nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kSetValues{"Changes which curves the plot shows and its axis titles.",
                               kSetValuesParameters, nullptr, omu_Signature::Form::Unchanged};
constexpr omu_Parameter kNoParameters[] = {{nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kReprPng{
    "Draws the plot, as its viewport (or the current one) shows it at the viewport's size, as PNG "
    "bytes (Jupyter shows them).",
    kNoParameters, "bytes"};
const omu_Signature kReprSvg{
    "Draws the plot, as its viewport (or the current one) shows it at the viewport's size, as an "
    "SVG document.",
    kNoParameters, "str"};
}  // namespace

const omu_MethodRow xypK_XYPlotIntObj::methods_[] = {
    {"Curve", omu_Method<&xypK_XYPlotIntObj::Curve>, &kCurve},
    {"curveSet", omu_Method<&xypK_XYPlotIntObj::CurveSet>, &kCurveSet},
    {"setValues", omu_Method<&xypK_XYPlotIntObj::SetValues>, &kSetValues},
    {"_repr_png_", omu_Method<&xypK_XYPlotIntObj::ReprPng>, &kReprPng},
    {"_repr_svg_", omu_Method<&xypK_XYPlotIntObj::ReprSvg>, &kReprSvg},
    {"", nullptr}};

const omu_MemberRow xypK_XYPlotIntObj::members_[] = {
    {"name", omu_Getter<&xypK_XYPlotIntObj::GetName>, nullptr, "str", "the plot's name"},
    {"curves", omu_Getter<&xypK_XYPlotIntObj::GetCurves>, nullptr, "mapping of name to XYCurve",
     "the plot's curves"},
    {"xyPlotOptions", omu_Getter<&xypK_XYPlotIntObj::GetXYPlotOptions>, nullptr, "XYPlotOptions",
     "the plot's options"},
    {"curvesToPlot", omu_Getter<&xypK_XYPlotIntObj::GetCurvesToPlot>, nullptr, "tuple of str",
     "the names of the curves shown"},
    {"curvesDescriptions", omu_Getter<&xypK_XYPlotIntObj::GetCurvesDescriptions>, nullptr,
     "tuple of str", "the legend texts of the curves shown"},
    {"xAxisTitleSource", omu_Getter<&xypK_XYPlotIntObj::GetXAxisTitleSource>, nullptr,
     "SymbolicConstant", "the X axis title: SYSTEM_DEFINED (from the data) or USER_DEFINED"},
    {"yAxisTitleSource", omu_Getter<&xypK_XYPlotIntObj::GetYAxisTitleSource>, nullptr,
     "SymbolicConstant", "the Y axis title: SYSTEM_DEFINED (from the data) or USER_DEFINED"},
    {"systemDefinedXAxisTitle", omu_Getter<&xypK_XYPlotIntObj::GetSystemDefinedXAxisTitle>, nullptr,
     "str", "the X axis title from the curves' labels"},
    {"systemDefinedYAxisTitle", omu_Getter<&xypK_XYPlotIntObj::GetSystemDefinedYAxisTitle>, nullptr,
     "str", "the Y axis title from the curves' labels"},
    {"xAxisTitle", omu_Getter<&xypK_XYPlotIntObj::GetXAxisTitle>, nullptr, "str",
     "the X axis title, with xAxisTitleSource USER_DEFINED"},
    {"yAxisTitle", omu_Getter<&xypK_XYPlotIntObj::GetYAxisTitle>, nullptr, "str",
     "the Y axis title, with yAxisTitleSource USER_DEFINED"},
    {"_numCurves", omu_Getter<&xypK_XYPlotIntObj::GetNumCurves>, nullptr, "int",
     "the number of curves"},
    {"", nullptr, nullptr}};

const omu_DeprecatedMemberRow xypK_XYPlotIntObj::deprecatedMembers_[] = {
    {"curve", omu_Getter<&xypK_XYPlotIntObj::GetCurves>, nullptr, "6.2", "curves"},
    {"", nullptr, nullptr, nullptr, nullptr}};

xypK_XYPlotIntObj::xypK_XYPlotIntObj(const cow_String& plotName, int viewport)
    : plotName_(plotName), viewport_(viewport) {
  DescribeType(TypeName(), methods_, members_, nullptr, deprecatedMembers_);
}

xypK_XYPlotIntObj::xypK_XYPlotIntObj(const xypK_XYPlotIntObj& other) = default;

std::unique_ptr<omu_InterfaceObj> xypK_XYPlotIntObj::Copy() const {
  return std::make_unique<xypK_XYPlotIntObj>(*this);
}

cow_String xypK_XYPlotIntObj::Repr() const {
  return cow_String("xyPlots") + "['" + plotName_ + "']";
}

cow_String xypK_XYPlotIntObj::FullRepr() const {
  return cow_String("session.") + "xyPlots" + "['" + plotName_ + "']";
}

xypK_XYPlot& xypK_XYPlotIntObj::Plot() {
  if (plotName_.IsEmpty())
    xypK_MessageTypes::ErrorXYPlotUninitialized(sesC_PostIdMap::GetPostName(viewport_));
  return xypK_XYToolset::Instance().GetExistingXYPlot(plotName_);
}

omu_Result xypK_XYPlotIntObj::Curve(omu_Arguments& args) {
  Plot();
  cow_String name;
  std::shared_ptr<oda_XYDataCommonIntObj> data;
  args.Begin();
  args.Get(name, "name");
  args.Get(data, "xyData");
  args.End();
  // Names of curves, as of XY data and plots, go without blanks at either end.
  name = name.Trim(' ');
  if (name.IsEmpty()) xypK_MessageTypes::ErrorCurveNameNotGiven();
  return CreateSingleCurve(name, *data, false);
}

omu_Result xypK_XYPlotIntObj::CurveSet(omu_Arguments& args) {
  Plot();
  const omu_PrimSequence* items = nullptr;
  args.Begin();
  args.Get(items, "xyData");
  args.End();
  // Every curve is named after its data; all names are checked before any curve is made.
  std::vector<std::shared_ptr<oda_XYDataCommonIntObj>> data;
  for (std::size_t i = 0; i < items->Size(); ++i) {
    std::shared_ptr<oda_XYDataCommonIntObj> object;
    if (!omu_ValueReader::Read(items->Item(i), object)) continue;
    if (object->Record().Name().Trim(' ').IsEmpty() && object->Name().Trim(' ').IsEmpty())
      xypK_MessageTypes::ErrorCurveNameNotGiven();
    data.push_back(std::move(object));
  }
  auto handles = std::make_unique<omu_PrimTuple>();
  for (const auto& object : data) {
    const cow_String recordName = object->Record().Name().Trim(' ');
    const cow_String name = recordName.IsEmpty() ? object->Name().Trim(' ') : recordName;
    handles->Append(CreateSingleCurve(name, *object, true));
  }
  if (refreshPending_) {
    refreshPending_ = false;
    xypK_XYToolset::Instance().SceneManager().RefreshPlot(plotName_);
  }
  return handles;
}

omu_Result xypK_XYPlotIntObj::CreateSingleCurve(const cow_String& curveName,
                                                const oda_XYDataCommonIntObj& data,
                                                bool deferRefresh) {
  const udd_UserXYData& record = data.Record();
  const bool fromRepository = data.IsRepositoryBacked() && data.SecondFlag();
  // A handle on repository data that was deleted since would bind the curve to a missing name.
  if (fromRepository && !xypK_XYDataSessionCntr::Instance().IsMember(record.Name()))
    xypK_MessageTypes::ErrorNotFoundXYData(data.Name().IsEmpty() ? record.Name() : data.Name());

  xypK_XYPlot& plot = Plot();
  bool userChangedLegend = false;
  if (!plot.curves.IsMember(curveName)) {
    plot.curves.Insert(curveName, xypK_Curve(curveName));
  } else {
    const xypC_CurveOptions& options = plot.curves.ConstGet(curveName).options;
    userChangedLegend = options.legendText != options.systemDefinedLegendText;
  }
  xypK_Curve& curve = plot.curves.Get(curveName);
  cow_String legend;
  if (!fromRepository) {
    curve.xyData = record;
    curve.xyDataName = cow_String();
    legend = record.LegendLabel().IsEmpty() ? curveName : record.LegendLabel();
  } else {
    curve.xyData = udd_UserXYData(0);  // the repository entry is shown; no private copy is kept
    curve.xyDataName = record.Name();
    legend = record.LegendLabel();
  }
  curve.CalculateMinMax();
  curve.options.systemDefinedLegendText = legend;
  if (!userChangedLegend) curve.options.legendText = legend;

  if (plot.IsInCurvesToPlot(curveName)) {
    if (deferRefresh)
      refreshPending_ = true;
    else
      xypK_XYToolset::Instance().SceneManager().RefreshPlot(plotName_);
  }
  return std::make_unique<omu_PrimType>(std::make_shared<xypK_CurveIntObj>(curveName, plotName_));
}

namespace {
// A curve name, or the name of a curve object; false for anything else.
bool CurveNameOf(const omu_Primitive& value, cow_String& name) {
  if (omu_ValueReader::Read(value, name)) return true;
  std::shared_ptr<xypK_CurveIntObj> curve;
  if (!omu_ValueReader::Read(value, curve)) return false;
  name = curve->CurveName();
  return true;
}
}  // namespace

omu_Result xypK_XYPlotIntObj::SetValues(omu_Arguments& args) {
  xypK_XYPlot& current = Plot();
  const omu_Primitive* curvesValue = nullptr;
  omu_PrimEnum<xypC_TitleStyleEnum> xSource(current.xAxisTitleSource);
  omu_PrimEnum<xypC_TitleStyleEnum> ySource(current.yAxisTitleSource);
  cow_String xTitle = current.xAxisTitle;
  cow_String yTitle = current.yAxisTitle;
  args.Begin();
  args.Optional();
  const bool curvesGiven = args.Get(curvesValue, "curvesToPlot");
  args.Get(xSource, "xAxisTitleSource");
  args.Get(xTitle, "xAxisTitle");
  args.Get(ySource, "yAxisTitleSource");
  args.Get(yTitle, "yAxisTitle");
  args.End();

  cow_1DArrayList<cow_String> names;
  if (curvesGiven) {
    const char* expected = "a curve name, an XYCurve object or a sequence of them";
    cow_String name;
    if (CurveNameOf(*curvesValue, name)) {
      if (!name.IsEmpty()) names.Append(name);
    } else if (curvesValue->Kind() == omu_PrimKind::Tuple ||
               curvesValue->Kind() == omu_PrimKind::List) {
      const auto& items = static_cast<const omu_PrimSequence&>(*curvesValue);
      for (std::size_t i = 0; i < items.Size(); ++i) {
        const omu_Primitive& item = items.Item(i);
        if (item.Kind() == omu_PrimKind::None) continue;
        if (!CurveNameOf(item, name))
          omu_ValueReader::RaiseWrongKind(
              "item " + cow_String::FromInt(static_cast<long long>(i)) + " of 'curvesToPlot'",
              "a curve name or an XYCurve object", item);
        if (!name.IsEmpty()) names.Append(name);
      }
    } else {
      omu_ValueReader::RaiseWrongKind("'curvesToPlot'", expected, *curvesValue);
    }
  }

  xypK_XYPlot& plot = Plot();
  plot.xAxisTitleSource = xSource.Get();
  plot.yAxisTitleSource = ySource.Get();
  plot.xAxisTitle = xTitle;
  plot.yAxisTitle = yTitle;
  if (curvesGiven) {
    for (std::size_t i = 0; i < names.Size(); ++i)
      if (!plot.curves.IsMember(names[i])) xypK_MessageTypes::ErrorNotFoundCurve(names[i]);
    plot.SetCurvesToPlot(names);
  }
  xypK_XYToolset::Instance().SceneManager().RefreshPlot(plotName_);
  return std::make_unique<omu_PrimNone>();
}

omu_Result xypK_XYPlotIntObj::GetName() {
  return std::make_unique<omu_PrimString>(plotName_);
}

omu_Result xypK_XYPlotIntObj::GetCurves() {
  Plot();
  return std::make_unique<omu_PrimType>(std::make_shared<xypK_CurveDictIntObj>(plotName_));
}

omu_Result xypK_XYPlotIntObj::GetXYPlotOptions() {
  Plot();
  return std::make_unique<omu_PrimType>(std::make_shared<xypK_XYPlotOptionsIntObj>(plotName_));
}

omu_Result xypK_XYPlotIntObj::GetCurvesToPlot() {
  auto names = std::make_unique<omu_PrimTuple>();
  if (plotName_.IsEmpty()) return names;
  const xypK_XYPlot& plot = Plot();
  for (std::size_t i = 0; i < plot.curvesToPlot.Size(); ++i)
    names->Append(std::make_unique<omu_PrimString>(plot.curvesToPlot[i]));
  return names;
}

omu_Result xypK_XYPlotIntObj::GetCurvesDescriptions() {
  auto descriptions = std::make_unique<omu_PrimTuple>();
  if (plotName_.IsEmpty()) return descriptions;
  const xypK_XYPlot& plot = Plot();
  for (std::size_t i = 0; i < plot.curvesToPlot.Size(); ++i) {
    const xypK_Curve* curve = plot.curves.Find(plot.curvesToPlot[i]);
    descriptions->Append(std::make_unique<omu_PrimString>(
        curve ? curve->ConstGetCurveXYData().Description() : cow_String()));
  }
  return descriptions;
}

omu_Result xypK_XYPlotIntObj::GetXAxisTitleSource() {
  return std::make_unique<omu_PrimEnum<xypC_TitleStyleEnum>>(Plot().xAxisTitleSource);
}

omu_Result xypK_XYPlotIntObj::GetYAxisTitleSource() {
  return std::make_unique<omu_PrimEnum<xypC_TitleStyleEnum>>(Plot().yAxisTitleSource);
}

omu_Result xypK_XYPlotIntObj::GetSystemDefinedXAxisTitle() {
  Plot();
  return std::make_unique<omu_PrimString>(xypK_XYPlot::GetDefaultTitle(plotName_, true));
}

omu_Result xypK_XYPlotIntObj::GetSystemDefinedYAxisTitle() {
  Plot();
  return std::make_unique<omu_PrimString>(xypK_XYPlot::GetDefaultTitle(plotName_, false));
}

omu_Result xypK_XYPlotIntObj::GetXAxisTitle() {
  return std::make_unique<omu_PrimString>(Plot().xAxisTitle);
}

omu_Result xypK_XYPlotIntObj::GetYAxisTitle() {
  return std::make_unique<omu_PrimString>(Plot().yAxisTitle);
}

omu_Result xypK_XYPlotIntObj::GetNumCurves() {
  return std::make_unique<omu_PrimNumber>(static_cast<long long>(Plot().curvesToPlot.Size()));
}

namespace {
// The viewport that shows the plot: the current one when it does, else the first by id; -1 for
// none.
int ViewportShowing(const cow_String& plotName) {
  smg_SceneManagerRole& role = smg_SceneManagerRole::Instance();
  xypK_SceneManager& scenes = xypK_XYToolset::Instance().SceneManager();
  auto shows = [&](int viewport) {
    if (role.GetTypeToDisplay(viewport, cow_String()) != omu_DISPLAY_XYPLOT) return false;
    const auto* scene = static_cast<const xypK_Scene*>(scenes.FindScene(viewport));
    return scene && scene->PlotName() == plotName;
  };
  const int current = role.CurrentViewport();
  if (!sesC_PostIdMap::GetPostName(current).IsEmpty() && shows(current)) return current;
  for (int viewport : sesC_PostIdMap::Ids())
    if (shows(viewport)) return viewport;
  return -1;
}

// Puts back what drawing a plot in a scene of its own writes: the plot's laid-out members and
// the viewport's primary object.
class DrawingUndo {
 public:
  DrawingUndo(const cow_String& plotName, int viewport)
      : plotName_(plotName),
        plot_(xypK_XYToolset::Instance().GetExistingXYPlot(plotName)),
        viewport_(viewport),
        primaryPath_(sesK_SessionState::Instance().GetPrimaryObjectPath(viewport)) {}
  ~DrawingUndo() {
    xypK_XYToolset& toolset = xypK_XYToolset::Instance();
    if (toolset.IsXYPlot(plotName_)) toolset.GetXYPlot(plotName_) = plot_;
    sesK_SessionState::Instance().SetPrimaryObjectPath(viewport_, primaryPath_);
  }
  DrawingUndo(const DrawingUndo&) = delete;
  DrawingUndo& operator=(const DrawingUndo&) = delete;

 private:
  cow_String plotName_;
  xypK_XYPlot plot_;
  int viewport_;
  cow_String primaryPath_;
};
}  // namespace

std::string xypK_XYPlotIntObj::Picture(gdr_ImageWriter::Format format) {
  Plot();
  const int shownIn = ViewportShowing(plotName_);
  if (shownIn >= 0) return sesK_LayerIntObj::Picture(format, shownIn);
  // Shown nowhere: drawn as the current viewport would show it, in a scene that no viewport
  // holds, so what the viewport shows stays as it is.
  const int viewport = smg_SceneManagerRole::Instance().CurrentViewport();
  const smg_SceneManagerRole::Size size = smg_SceneManagerRole::Instance().ViewportSize(viewport);
  const DrawingUndo undo(plotName_, viewport);
  return gdr_ImageWriter::Encode(format, size.width, size.height, [&](gdr_Renderer& renderer) {
    xypK_Scene scene(viewport);
    scene.SetXYPlotObject(this);
    scene.Map();  // as a viewport first drawn: framed and laid out, a failure raised
    scene.DraftCB(renderer);
    scene.SketchCB(renderer);
  });
}

omu_Result xypK_XYPlotIntObj::ReprPng(omu_Arguments& args) {
  args.Begin();
  args.End();
  return std::make_unique<omu_PrimBytes>(Picture(gdr_ImageWriter::PNG));
}

omu_Result xypK_XYPlotIntObj::ReprSvg(omu_Arguments& args) {
  args.Begin();
  args.End();
  return std::make_unique<omu_PrimString>(cow_String(Picture(gdr_ImageWriter::SVG)));
}
