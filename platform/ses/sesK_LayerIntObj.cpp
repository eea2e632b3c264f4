#include "sesK_LayerIntObj.h"

#include <utility>

#include "gdr_ImageWriter.h"
#include "nex_Exception.h"
#include "omu_Arguments.h"
#include "omu_PrimNone.h"
#include "omu_PrimString.h"
#include "omu_PrimType.h"
#include "omu_ValueErrorException.h"
#include "sesC_PostIdMap.h"
#include "sesK_LayerFragment.h"
#include "sesK_ViewAnnOptionsIntObj.h"
#include "smg_SceneManagerRole.h"
#include "uti_PreCheckFile.h"

const omu_MethodRow sesK_LayerIntObj::methods_[] = {
    {"setValues", omu_Method<&sesK_LayerIntObj::SetValues>},
    {"saveImage", omu_Method<&sesK_LayerIntObj::SaveImage>},
    {"", nullptr}};

const omu_MemberRow sesK_LayerIntObj::members_[] = {
    {"name", omu_Getter<&sesK_LayerIntObj::GetName>, nullptr},
    {"viewportAnnotationOptions", omu_Getter<&sesK_LayerIntObj::GetViewportAnnotationOptions>,
     nullptr},
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

omu_Result sesK_LayerIntObj::SetValues(omu_Arguments& args) {
  const std::vector<omu_InterfaceObj*> fragments = Extensions();
  if (fragments.empty()) {
    args.Begin();
    args.End();  // no module takes any keyword: each one given is reported
  }
  for (omu_InterfaceObj* f : fragments)
    static_cast<sesK_LayerFragment*>(f)->SetObjectToDisplay(args);
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
  for (auto [keyword, value] : {std::pair{"width", width}, std::pair{"height", height}})
    if (value < 1 || value > gdr_ImageWriter::kMaxSize)
      NEX_THROW(omu_ValueErrorException(cow_String(keyword) + ": " + cow_String::FromInt(value) +
                                        " is out of range (1 to 16384)"));
  const cow_String path = uti_PreCheckFile(fileName, uti_WRITE_ACCESS, "image file");
  const int viewport = ViewportId();
  gdr_ImageWriter::Save(path, width, height, [viewport](gdr_Renderer& renderer) {
    smg_SceneManagerRole::Instance().Draw(viewport, renderer);
  });
  return std::make_unique<omu_PrimNone>();
}
