#pragma once
// A viewport's layer object, which scripts reach as session.viewports['Viewport: 1']: what the
// viewport shows ("displayedObject", from the modules' layer fragments) and its size ("width",
// "height"), "setValues" to change them and "saveImage" to draw it into a PNG, SVG or PDF file;
// "_repr_png_" and "_repr_svg_" let a notebook show it inline.
#include <string>

#include "gdr_ImageWriter.h"
#include "omu_Fragment.h"

class sesK_LayerIntObj : public omu_InterfaceObj {
 public:
  explicit sesK_LayerIntObj(cow_String viewportName);
  static const char* TypeName() { return "Layer"; }
  const cow_String& ViewportName() const { return viewportName_; }
  int ViewportId() const;
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override;
  std::vector<omu_InterfaceObj*> Extensions() const override;

  omu_Result GetName();
  omu_Result GetWidth();
  omu_Result GetHeight();
  // "viewportAnnotationOptions": how the viewport draws its legend.
  omu_Result GetViewportAnnotationOptions();
  // displayedObject (an object a module shows, or None), width and height (1 ... 16384); each
  // module's own keywords. Everything is read and checked before anything changes.
  omu_Result SetValues(omu_Arguments& args);
  // fileName (".png", ".svg" or ".pdf", any case), width and height (1 ... 16384; 800 x 600).
  omu_Result SaveImage(omu_Arguments& args);
  // The viewport at its own size as a PNG (bytes) or an SVG document (str), drawn as saveImage
  // draws it, for notebooks to show inline.
  omu_Result ReprPng(omu_Arguments& args);
  omu_Result ReprSvg(omu_Arguments& args);
  // What saveImage writes for the viewport drawn at its own size, in memory.
  static std::string Picture(gdr_ImageWriter::Format format, int viewport);
  // Makes the viewport current and starts the probe mode on it (ending a running mode first).
  omu_Result EnterProbeMode(omu_Arguments& args);
  // One cursor move, or a move and a first-button click, at x, y (pixels of the viewport, x right
  // and y up from the bottom-left); RuntimeError when no mode takes the cursor there.
  omu_Result MoveCursor(omu_Arguments& args);
  omu_Result Click(omu_Arguments& args);

 private:
  static const omu_MethodRow methods_[];
  static const omu_MemberRow members_[];
  cow_String viewportName_;
};
