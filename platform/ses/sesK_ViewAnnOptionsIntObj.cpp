#include "sesK_ViewAnnOptionsIntObj.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "gru_Font.h"
#include "nex_Exception.h"
#include "omu_Arguments.h"
#include "omu_PrimNone.h"
#include "omu_PrimTuple.h"
#include "omu_RecordMember.h"
#include "omu_ValueErrorException.h"
#include "sesC_PostIdMap.h"
#include "sesK_ColorMap.h"
#include "smg_SceneManagerRole.h"
#include "uti_Quoted.h"

namespace {
using Settings = sesC_ViewAnnCTX;

template <auto Field>
constexpr omu_GetterFn Member = omu_RecordMember<sesK_ViewAnnOptionsIntObj, Field>;

[[noreturn]] void Refuse(const char* keyword, const cow_String& why) {
  NEX_THROW(omu_ValueErrorException(cow_String(keyword) + ": " + why));
}

cow_String Number(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%g", v);
  return cow_String(buffer);
}

// AUTOMATIC, or two numbers from 0 to 100 (percent of the viewport's width and height).
void ReadPosition(const omu_Primitive& given, Settings& s) {
  constexpr const char* kKeyword = "legendPosition";
  omu_PrimEnum<sesC_LegendPlacementEnm> automatic;
  if (omu_ValueReader::Read(given, automatic)) {
    s.legendAutoPosition = true;
    return;
  }
  std::vector<double> xy;
  if (!omu_ValueReader::Read(given, xy))
    omu_ValueReader::RaiseWrongKind(cow_String("'") + kKeyword + "'",
                                    "AUTOMATIC or a pair of numbers", given);
  if (xy.size() != 2)
    Refuse(kKeyword, "takes two numbers (x, y), not " + cow_String::FromInt(xy.size()));
  for (double v : xy)
    if (!(v >= 0.0 && v <= 100.0))
      Refuse(kKeyword, "(" + Number(xy[0]) + ", " + Number(xy[1]) +
                           ") is out of range (each from 0 to 100 percent of the viewport)");
  s.legendAutoPosition = false;
  s.legendXPosition = static_cast<float>(xy[0]);
  s.legendYPosition = static_cast<float>(xy[1]);
}

void ReadFont(omu_Arguments& args, Settings& s) {
  constexpr const char* kKeyword = "legendFont";
  cow_String description;
  if (!args.Get(description, kKeyword)) return;
  if (!description.IsEmpty()) {  // empty: the plot's default font
    const gru_Font font(description);
    if (!font.IsParsed())
      Refuse(kKeyword, uti_Quoted(description.View(), 80) + " is not a font description such as '" +
                           Settings().legendFontName + "'");
    const double points = font.PointSize();
    if (!(points >= sesK_ViewAnnOptionsIntObj::kMinFontPoints &&
          points <= sesK_ViewAnnOptionsIntObj::kMaxFontPoints))
      Refuse(kKeyword, "a size of " + Number(points) + " points is out of range (1 to 100)");
  }
  s.legendFontName = description;
}
}  // namespace

namespace {
constexpr omu_Parameter kSetValuesParameters[] = {
    {"legend", nullptr, nullptr, nullptr},
    {"legendBox", nullptr, nullptr, nullptr},
    {"legendDecimalPlaces", nullptr, nullptr, nullptr},
    {"legendPosition", nullptr, nullptr, nullptr},
    {"legendFont", nullptr, nullptr, nullptr},
    {"legendTextColor", nullptr, nullptr, nullptr},
    {"legendBackgroundStyle", nullptr, nullptr, nullptr},
    {"legendBackgroundColor", nullptr, nullptr, nullptr},
    {"legendExtremes", nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kSetValues{"Changes the viewport's annotation options and redraws it.",
                               kSetValuesParameters, nullptr, omu_Signature::Form::Unchanged};
}  // namespace

const omu_MethodRow sesK_ViewAnnOptionsIntObj::methods_[] = {
    {"setValues", omu_Method<&sesK_ViewAnnOptionsIntObj::SetValues>, &kSetValues}, {"", nullptr}};

const omu_MemberRow sesK_ViewAnnOptionsIntObj::members_[] = {
    {"legend", Member<&Settings::legendUse>, nullptr, "bool", "show the legend"},
    {"legendBox", Member<&Settings::legendBBoxUse>, nullptr, "bool", "frame the legend"},
    {"legendDecimalPlaces", Member<&Settings::legendNumDigitsPrecision>, nullptr, "int",
     "decimals of the legend's extremes, 0 to 15"},
    {"legendPosition", omu_Getter<&sesK_ViewAnnOptionsIntObj::GetLegendPosition>, nullptr,
     "AUTOMATIC or (x, y)", "the box's top-left corner, percent of the viewport"},
    {"legendFont", Member<&Settings::legendFontName>, nullptr, "str",
     "the legend's font; '' the default"},
    {"legendTextColor", Member<&Settings::legendTextColor>, nullptr, "str",
     "the legend text's colour"},
    {"legendBackgroundStyle", Member<&Settings::legendBackgroundStyle>, nullptr, "SymbolicConstant",
     "MATCH, OTHER or TRANSPARENT"},
    {"legendBackgroundColor", Member<&Settings::legendBackgroundColor>, nullptr, "str",
     "the box's colour with OTHER"},
    {"legendExtremes", Member<&Settings::legendExtremes>, nullptr, "bool",
     "show the data's extremes in the legend"},
    {"", nullptr, nullptr}};

sesK_ViewAnnOptionsIntObj::sesK_ViewAnnOptionsIntObj(cow_String viewportName)
    : viewportName_(std::move(viewportName)) {
  DescribeType(TypeName(), methods_, members_);
}

sesK_ViewAnnOptionsIntObj::sesK_ViewAnnOptionsIntObj() {
  DescribeType(TypeName(), methods_, members_);
}

std::unique_ptr<omu_InterfaceObj> sesK_ViewAnnOptionsIntObj::Copy() const {
  return IsDefault() ? std::make_unique<sesK_ViewAnnOptionsIntObj>()
                     : std::make_unique<sesK_ViewAnnOptionsIntObj>(viewportName_);
}

cow_String sesK_ViewAnnOptionsIntObj::Repr() const {
  if (IsDefault()) return "session.defaultViewportAnnotationOptions";
  return "session.viewports['" + viewportName_ + "'].viewportAnnotationOptions";
}

const sesC_ViewAnnCTX& sesK_ViewAnnOptionsIntObj::ConstGetOptions() const {
  const smg_SceneManagerRole& role = smg_SceneManagerRole::Instance();
  if (IsDefault()) return role.DefaultViewAnnCTX();
  return role.ConstGetViewAnnCTX(sesC_PostIdMap::GetPostId(viewportName_));
}

omu_Result sesK_ViewAnnOptionsIntObj::GetLegendPosition() {
  const sesC_ViewAnnCTX& s = ConstGetOptions();
  if (s.legendAutoPosition) return std::make_unique<omu_PrimEnum<sesC_LegendPlacementEnm>>();
  auto xy = std::make_unique<omu_PrimTuple>();
  xy->Append(omu_PrimNumber::FromSingle(s.legendXPosition));
  xy->Append(omu_PrimNumber::FromSingle(s.legendYPosition));
  return xy;
}

omu_Result sesK_ViewAnnOptionsIntObj::SetValues(omu_Arguments& args) {
  const int viewport = IsDefault() ? -1 : sesC_PostIdMap::GetPostId(viewportName_);
  if (!IsDefault() && viewport < 0)
    NEX_THROW(omu_ValueErrorException("there is no viewport " +
                                      uti_Quoted(viewportName_.View(), 80) + " any more"));
  Settings working = ConstGetOptions();
  sesK_ColorMap& colours = sesK_ColorMap::Instance();
  args.Begin();
  args.Optional();
  args.Get(working.legendUse, "legend");
  args.Get(working.legendBBoxUse, "legendBox");
  int digits = working.legendNumDigitsPrecision;
  if (args.Get(digits, "legendDecimalPlaces")) {
    if (digits < 0 || digits > Settings::kMaxDecimalPlaces)
      Refuse("legendDecimalPlaces", cow_String::FromInt(digits) + " is out of range (0 to " +
                                        cow_String::FromInt(Settings::kMaxDecimalPlaces) + ")");
    working.legendNumDigitsPrecision = digits;
  }
  const omu_Primitive* position = nullptr;
  if (args.Get(position, "legendPosition")) ReadPosition(*position, working);
  ReadFont(args, working);
  colours.ProcessColorArg(args, working.legendTextColor, "legendTextColor");
  omu_ReadEnum(args, "legendBackgroundStyle", working.legendBackgroundStyle);
  colours.ProcessColorArg(args, working.legendBackgroundColor, "legendBackgroundColor");
  args.Get(working.legendExtremes, "legendExtremes");
  args.End();

  smg_SceneManagerRole& role = smg_SceneManagerRole::Instance();
  if (IsDefault()) {
    role.SetDefaultViewAnnCTX(working, sesC_PostIdMap::Ids());
  } else {
    role.GetViewAnnCTX(viewport) = working;
    role.ViewAnnOptionsChanged(viewport);
  }
  return std::make_unique<omu_PrimNone>();
}
