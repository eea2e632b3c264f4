#pragma once
// Colour rules of the drawing layer.
#include "gdr_Color.h"

class g3d_Color {
 public:
  // `color`, unless it is too close to `background` to be seen (white lines on a white
  // background, light grey on white, black on near-black): then black or white, whichever
  // contrasts more with the background. Too close means both a luminance contrast ratio below
  // 1.5 and no channel differing by 0.3 or more, so a colour that differs in hue (yellow on
  // white) stays as it is.
  static gdr_Color GetContrastingColor(const gdr_Color& color, const gdr_Color& background);
  // Relative luminance (0 for black, 1 for white) of the sRGB colour.
  static double Luminance(const gdr_Color& color);
  // Luminance contrast ratio of two colours, from 1 (equal luminance) to 21 (black and white).
  static double ContrastRatio(const gdr_Color& a, const gdr_Color& b);
};
