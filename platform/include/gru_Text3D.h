#pragma once
// Text placed in a drawing. A text has its own units: the font's em is 1, the baseline runs
// along y = 0 from x = 0, y points up. Its extent (QueryExtent) spans x from 0 to the advance
// width and y from minus the font's descent to the font's ascent: the height is the font's, the
// same for every text of a font, so that labels of one size have one height and their
// baselines line up.
//
// Position and CenterAtOrigin give the transform (text units to world) that scales the text
// uniformly so that its extent is `size` high and puts the extent's centre on a point. They
// place the current text: the one last given to QueryExtent or SetText (the overloads with a
// text argument place that one instead). A size that is not positive or not finite gives a
// degenerate transform, which draws nothing.
#include "cow_String.h"
#include "g3d_XForm.h"
#include "gru_Font.h"

class gdr_Renderer;

class gru_Text3D {
 public:
  gru_Text3D() = default;
  explicit gru_Text3D(const cow_String& fontDescription) : font_(fontDescription) {}

  // An empty or unparsable description selects the default font (see gru_Font).
  void SetFont(const cow_String& description) { font_ = gru_Font(description); }
  const gru_Font& Font() const { return font_; }
  void SetText(const cow_String& text) { text_ = text; }
  const cow_String& Text() const { return text_; }

  // The extent of `text` in text units, which also becomes the current text.
  void QueryExtent(const cow_String& text, float min[2], float max[2]);
  // The same without changing the current text.
  void Extent(const cow_String& text, float min[2], float max[2]) const;

  g3d_XForm Position(float x, float y, float size) const { return Position(text_, x, y, size); }
  g3d_XForm CenterAtOrigin(float size) const { return Position(text_, 0.0f, 0.0f, size); }
  g3d_XForm Position(const cow_String& text, float x, float y, float size) const;
  g3d_XForm CenterAtOrigin(const cow_String& text, float size) const {
    return Position(text, 0.0f, 0.0f, size);
  }

  // Draws `text` in this font with the renderer's current transform as the text-to-world
  // mapping (renderer.DrawText(text, Font(), identity)).
  void Draw(gdr_Renderer& renderer, const cow_String& text) const;

 private:
  gru_Font font_;
  cow_String text_;
};
