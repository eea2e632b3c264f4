#pragma once
// The Cairo back end: an ARGB32 image (saved as PNG) or a one-page PDF document. Every path is
// handed to Cairo in device coordinates under an identity matrix, so line widths and dashes stay
// even under any data scaling; lines and fills are anti-aliased.
//
// Text is drawn as glyphs where the text transform is moderate (largest stretch of the em up to
// 2e4 device units, at most 16 times the smallest) and as filled glyph outlines otherwise, which
// FreeType could not scale.
//
// Cairo stops drawing for good once its context or surface is in an error state; CheckStatus,
// WritePng and Finish raise nex_Exception naming the error instead of leaving a blank picture.
#include <cstddef>
#include <functional>
#include <memory>

#include "gdr_Renderer.h"

class gdr_CairoRenderer : public gdr_Renderer {
 public:
  // Receives output bytes; returns false when they could not be written.
  using Sink = std::function<bool(const unsigned char* data, size_t length)>;
  enum Target { IMAGE, PDF };

  // IMAGE: width x height pixels, transparent until Clear() or drawing. PDF: a page of
  // width x height points whose bytes go to `pdfSink` (mostly in Finish). Raises nex_Exception
  // when Cairo cannot create the surface (e.g. too little memory for the image).
  gdr_CairoRenderer(Target target, int width, int height, Sink pdfSink = {});
  ~gdr_CairoRenderer() override;

  Target GetTarget() const;
  void CheckStatus() const;
  // IMAGE only: the picture as PNG, to `sink`.
  void WritePng(const Sink& sink);
  // PDF only: completes the document and writes what remains of it to the sink. Nothing can be
  // drawn afterwards.
  void Finish();

 protected:
  void StrokePath(const gdr_Point* points, size_t n, bool closed) override;
  void FillPath(const gdr_Point* points, size_t n) override;
  void Marker(gdr_Point center, g3d_MarkerEnum marker, double size) override;
  void Text(const std::string& utf8, const gru_Font& font, const g3d_XForm& textToDevice) override;

 private:
  void OutlineText(const std::string& utf8, const g3d_XForm& textToDevice);

  struct Impl;
  std::unique_ptr<Impl> impl_;
};
