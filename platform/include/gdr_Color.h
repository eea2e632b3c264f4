#pragma once
// A drawing colour: red, green and blue intensities from 0 to 1.

struct gdr_Color {
  double r = 0.0;
  double g = 0.0;
  double b = 0.0;

  // From 0..255 channel bytes, as colour tables and "#RRGGBB" give them.
  static gdr_Color FromBytes(unsigned char red, unsigned char green, unsigned char blue) {
    return {red / 255.0, green / 255.0, blue / 255.0};
  }
  static gdr_Color Black() { return {0.0, 0.0, 0.0}; }
  static gdr_Color White() { return {1.0, 1.0, 1.0}; }

  bool operator==(const gdr_Color&) const = default;
};
