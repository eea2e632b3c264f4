#include "sesK_LayerIntObj.h"

#include <utility>

#include "gdr_ImageWriter.h"
#include "modC_MethodFactory.h"
#include "modC_ModeManager.h"
#include "nex_Exception.h"
#include "omu_Arguments.h"
#include "omu_PrimBytes.h"
#include "omu_PrimNone.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"
#include "omu_PrimType.h"
#include "omu_RuntimeErrorException.h"
#include "omu_ValueErrorException.h"
#include "sesC_PostIdMap.h"
#include "sesK_LayerFragment.h"
#include "sesK_ViewAnnOptionsIntObj.h"
#include "smg_SceneManagerRole.h"
#include "uti_PreCheckFile.h"

namespace {
constexpr omu_Parameter kSetValuesParameters[] = {
    {"displayedObject", "XYPlot, Odb or None", nullptr, "what the viewport shows"},
    {"width", "int", nullptr, "pixels, 1 to 16384"},
    {"height", "int", nullptr, "pixels, 1 to 16384"},
    {"step", nullptr, nullptr, nullptr},
    {"frame", nullptr, nullptr, nullptr},
    {"fieldVariable", nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kSetValues{
    "Changes what the viewport shows and its size; every keyword is checked before anything "
    "changes.",
    kSetValuesParameters, nullptr, omu_Signature::Form::Unchanged};
constexpr omu_Parameter kSaveImageParameters[] = {
    {"fileName", "str or os.PathLike", nullptr, "ends in .png, .svg or .pdf"},
    {"width", "int", "800", "pixels, 1 to 16384"},
    {"height", "int", "600", "pixels, 1 to 16384"},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kSaveImage{
    "Draws the viewport into a PNG, SVG or PDF file (chosen by the file name's end).",
    kSaveImageParameters, nullptr, omu_Signature::Form::Keywords};
constexpr omu_Parameter kEnterProbeModeParameters[] = {{nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kEnterProbeMode{
    "Starts probing in this viewport (session.currentMode is then 'prbK_ProbeProc').",
    kEnterProbeModeParameters, nullptr, omu_Signature::Form::Keywords};
constexpr omu_Parameter kMoveCursorParameters[] = {{"x", "float", nullptr, "pixels from the left"},
                                                   {"y", "float", nullptr, "pixels from the top"},
                                                   {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kMoveCursor{"Moves the running mode's cursor to a pixel, as the mouse does.",
                                kMoveCursorParameters, nullptr, omu_Signature::Form::Keywords};
constexpr omu_Parameter kClickParameters[] = {{"x", "float", nullptr, "pixels from the left"},
                                              {"y", "float", nullptr, "pixels from the top"},
                                              {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kClick{"Clicks the running mode's cursor at a pixel, as the mouse does.",
                           kClickParameters, nullptr, omu_Signature::Form::Keywords};
constexpr omu_Parameter kNoParameters[] = {{nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kReprPng{
    "Draws the viewport at the viewport's size, as PNG bytes (Jupyter shows them).", kNoParameters,
    "bytes"};
const omu_Signature kReprSvg{"Draws the viewport at the viewport's size, as an SVG document.",
                             kNoParameters, "str"};
}  // namespace

const omu_MethodRow sesK_LayerIntObj::methods_[] = {
    {"setValues", omu_Method<&sesK_LayerIntObj::SetValues>, &kSetValues},
    {"saveImage", omu_Method<&sesK_LayerIntObj::SaveImage>, &kSaveImage},
    {"enterProbeMode", omu_Method<&sesK_LayerIntObj::EnterProbeMode>, &kEnterProbeMode},
    {"moveCursor", omu_Method<&sesK_LayerIntObj::MoveCursor>, &kMoveCursor},
    {"click", omu_Method<&sesK_LayerIntObj::Click>, &kClick},
    {"_repr_png_", omu_Method<&sesK_LayerIntObj::ReprPng>, &kReprPng},
    {"_repr_svg_", omu_Method<&sesK_LayerIntObj::ReprSvg>, &kReprSvg},
    {"", nullptr}};

const omu_MemberRow sesK_LayerIntObj::members_[] = {
    {"name", omu_Getter<&sesK_LayerIntObj::GetName>, nullptr, "str", "the viewport's name"},
    {"width", omu_Getter<&sesK_LayerIntObj::GetWidth>, nullptr, "int", "the width in pixels"},
    {"height", omu_Getter<&sesK_LayerIntObj::GetHeight>, nullptr, "int", "the height in pixels"},
    {"viewportAnnotationOptions", omu_Getter<&sesK_LayerIntObj::GetViewportAnnotationOptions>,
     nullptr, "ViewportAnnotationOptions", "the legend's options"},
    {"", nullptr, nullptr}};

sesK_LayerIntObj::sesK_LayerIntObj(cow_String viewportName)
    : viewportName_(std::move(viewportName)) {
  DescribeType(TypeName(), methods_, members_);
}

int sesK_LayerIntObj::ViewportId() const {
  return sesC_PostIdMap::GetPostId(viewportName_);
}

std::unique_ptr<omu_InterfaceObj> sesK_LayerIntObj::Copy() const {
  return std::make_unique<sesK_LayerIntObj>(viewportName_);
}

cow_String sesK_LayerIntObj::Repr() const {
  return "session.viewports['" + viewportName_ + "']";
}

// The modules' fragments, each told which viewport it serves for this use.
std::vector<omu_InterfaceObj*> sesK_LayerIntObj::Extensions() const {
  const std::vector<omu_InterfaceObj*>& fragments = omu_Fragment<sesK_LayerIntObj>::Attached();
  for (omu_InterfaceObj* f : fragments)
    static_cast<sesK_LayerFragment*>(f)->AttachTo(ViewportId(), cow_String());
  return fragments;
}

omu_Result sesK_LayerIntObj::GetName() {
  return std::make_unique<omu_PrimString>(viewportName_);
}

omu_Result sesK_LayerIntObj::GetViewportAnnotationOptions() {
  return std::make_unique<omu_PrimType>(std::make_shared<sesK_ViewAnnOptionsIntObj>(viewportName_));
}

namespace {
void CheckImageSize(const char* keyword, int value) {
  if (value < 1 || value > gdr_ImageWriter::kMaxSize)
    NEX_THROW(omu_ValueErrorException(cow_String(keyword) + ": " + cow_String::FromInt(value) +
                                      " is out of range (1 to 16384)"));
}
}  // namespace

omu_Result sesK_LayerIntObj::GetWidth() {
  return std::make_unique<omu_PrimNumber>(
      static_cast<long long>(smg_SceneManagerRole::Instance().ViewportSize(ViewportId()).width));
}

omu_Result sesK_LayerIntObj::GetHeight() {
  return std::make_unique<omu_PrimNumber>(
      static_cast<long long>(smg_SceneManagerRole::Instance().ViewportSize(ViewportId()).height));
}

omu_Result sesK_LayerIntObj::SetValues(omu_Arguments& args) {
  std::vector<sesK_LayerFragment*> fragments;
  for (omu_InterfaceObj* f : Extensions()) fragments.push_back(static_cast<sesK_LayerFragment*>(f));
  smg_SceneManagerRole& role = smg_SceneManagerRole::Instance();
  const int viewport = ViewportId();
  smg_SceneManagerRole::Size size = role.ViewportSize(viewport);
  const omu_Primitive* shown = nullptr;
  args.Begin();
  args.Optional();
  const bool showing = args.Get(shown, "displayedObject");
  const bool sized = args.Get(size.width, "width") | args.Get(size.height, "height");
  for (sesK_LayerFragment* f : fragments) f->ReadKeywords(args);
  args.End();  // a keyword nobody read is reported once
  CheckImageSize("width", size.width);
  CheckImageSize("height", size.height);
  sesK_LayerFragment* taker = nullptr;
  if (showing && shown->Kind() != omu_PrimKind::None) {
    cow_String kinds;
    for (sesK_LayerFragment* f : fragments) {
      if (f->CanDisplay(*shown)) taker = f;
      kinds += f->DisplayedKind() + " or ";
    }
    if (!taker) omu_ValueReader::RaiseWrongKind("'displayedObject'", kinds + "None", *shown);
  }
  for (sesK_LayerFragment* f : fragments) f->CheckKeywords(showing, taker ? shown : nullptr);
  if (showing) {
    modC_ModeManager::Instance().LeaveViewport(viewport);  // a mode ends with what it worked on
    if (taker)
      taker->SetObjectToDisplay(shown);
    else
      for (sesK_LayerFragment* f : fragments) f->SetObjectToDisplay(nullptr);
  }
  if (sized) role.SetViewportSize(viewport, size);
  for (sesK_LayerFragment* f : fragments) f->ApplyKeywords();
  return std::make_unique<omu_PrimNone>();
}

omu_Result sesK_LayerIntObj::SaveImage(omu_Arguments& args) {
  cow_String fileName;
  int width = 800;
  int height = 600;
  args.Begin();
  args.Get(fileName, "fileName");
  args.Optional();
  args.Get(width, "width");
  args.Get(height, "height");
  args.End();
  // Everything that can be refused is refused before anything is written.
  gdr_ImageWriter::FormatOf(fileName);
  CheckImageSize("width", width);
  CheckImageSize("height", height);
  const cow_String path = uti_PreCheckFile(fileName, uti_WRITE_ACCESS, "image file");
  const int viewport = ViewportId();
  gdr_ImageWriter::Save(path, width, height, [viewport](gdr_Renderer& renderer) {
    smg_SceneManagerRole::Instance().Draw(viewport, renderer);
  });
  return std::make_unique<omu_PrimNone>();
}

std::string sesK_LayerIntObj::Picture(gdr_ImageWriter::Format format, int viewport) {
  const smg_SceneManagerRole::Size size = smg_SceneManagerRole::Instance().ViewportSize(viewport);
  return gdr_ImageWriter::Encode(format, size.width, size.height, [viewport](gdr_Renderer& r) {
    smg_SceneManagerRole::Instance().Draw(viewport, r);
  });
}

omu_Result sesK_LayerIntObj::ReprPng(omu_Arguments& args) {
  args.Begin();
  args.End();
  return std::make_unique<omu_PrimBytes>(Picture(gdr_ImageWriter::PNG, ViewportId()));
}

omu_Result sesK_LayerIntObj::ReprSvg(omu_Arguments& args) {
  args.Begin();
  args.End();
  return std::make_unique<omu_PrimString>(cow_String(Picture(gdr_ImageWriter::SVG, ViewportId())));
}

omu_Result sesK_LayerIntObj::EnterProbeMode(omu_Arguments& args) {
  args.Begin();
  args.End();
  const int viewport = ViewportId();
  smg_SceneManagerRole::Instance().SetCurrentViewport(viewport);
  modC_ModeManager::Instance().Enter("prb", "prbK_ProbeProc", viewport);
  return std::make_unique<omu_PrimNone>();
}

namespace {
// The point of a cursor call, and the cursor method that takes it.
modC_CursorMethod& CursorAt(omu_Arguments& args, int viewport, g3d_Point& point) {
  double x = 0.0, y = 0.0;
  args.Begin();
  args.Get(x, "x");
  args.Get(y, "y");
  args.End();
  modC_CursorMethod* cursor = modC_MethodFactory::Instance().ActiveCursorMethod(viewport);
  if (!cursor)
    NEX_THROW(
        omu_RuntimeErrorException("no mode takes the cursor in this viewport; "
                                  "start one with enterProbeMode()"));
  point = {static_cast<float>(x), static_cast<float>(y), 0.0f};
  return *cursor;
}
}  // namespace

omu_Result sesK_LayerIntObj::MoveCursor(omu_Arguments& args) {
  g3d_Point point;
  CursorAt(args, ViewportId(), point).Move(point);
  return std::make_unique<omu_PrimNone>();
}

omu_Result sesK_LayerIntObj::Click(omu_Arguments& args) {
  g3d_Point point;
  CursorAt(args, ViewportId(), point).Click(point);
  return std::make_unique<omu_PrimNone>();
}
