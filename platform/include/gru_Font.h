#pragma once
// A text font chosen by an X logical font description such as
// "-*-helvetica-bold-o-*-*-*-120-*-*-*-*-iso8859-1": the family (field 2), the weight (field 3:
// "bold" or "demibold" is bold), the slant (field 4: "i" or "o" is italic) and the point size in
// tenths (field 8). The family picks one of the bundled DejaVu faces: courier (and other fixed
// families) "DejaVu Sans Mono", times (and other serif families) "DejaVu Serif", everything else
// "DejaVu Sans". An empty or unparsable description gives the default font.
#include "cow_String.h"

class gru_Font {
 public:
  static constexpr const char* kDefaultDescription =
      "-*-courier-medium-r-*-*-*-100-*-*-*-*-iso8859-1";

  gru_Font();
  explicit gru_Font(const cow_String& description);

  // The description in use: the one given, or the default when that could not be parsed.
  const cow_String& Description() const { return description_; }
  // False when the given description was empty or unparsable and the default took its place.
  bool IsParsed() const { return parsed_; }
  // The family as the description names it, in lower case ("courier", "*").
  const cow_String& Family() const { return family_; }
  // The installed face drawn for it: "DejaVu Sans Mono", "DejaVu Serif" or "DejaVu Sans".
  const cow_String& FaceName() const { return faceName_; }
  bool IsBold() const { return bold_; }
  bool IsItalic() const { return italic_; }
  // Point size: the description's tenths of a point / 10; 10 when the description leaves the
  // size open ("*").
  double PointSize() const { return pointSize_; }
  // The description of this face at another point size (tenths, at least 1).
  cow_String DescriptionAt(double pointSize) const;

  // Same face, weight and slant (what drawing depends on).
  bool SameFace(const gru_Font& o) const {
    return faceName_ == o.faceName_ && bold_ == o.bold_ && italic_ == o.italic_;
  }

 private:
  bool Parse(const cow_String& description);

  cow_String description_;
  cow_String family_;
  cow_String faceName_;
  bool bold_ = false;
  bool italic_ = false;
  double pointSize_ = 10.0;
  bool parsed_ = false;
};
