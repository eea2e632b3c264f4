#pragma once
// Metrics of the installed faces in ems (the size-1 font), as the Cairo back end draws them:
// unhinted, so that they do not depend on the size the text is drawn at. The measuring fonts
// are made once per face and kept; measuring is safe from several threads.
#include "gru_Font.h"

class gdr_FontMetrics {
 public:
  // The font-wide ascent (above the baseline) and descent (below it, positive) in ems.
  static void FontExtents(const gru_Font& font, double& ascent, double& descent);
  // The advance width of the text in ems, read as gdr_Renderer::TextToUtf8 reads it.
  static double Advance(const gru_Font& font, const cow_String& text);
};
