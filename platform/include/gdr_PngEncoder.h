#pragma once
// Writes 32-bit ARGB pixels (premultiplied, native byte order, as an image surface holds them)
// as a PNG: 8-bit RGB when every pixel is opaque, else RGBA, compressed for speed. A plot is
// mostly long runs of one colour, which the fastest deflate level already packs well; the
// default level spends most of a save's time for a few percent of size.
#include <cstddef>
#include <cstdint>
#include <functional>

class gdr_PngEncoder {
 public:
  using Sink = std::function<bool(const unsigned char* data, size_t length)>;
  // False when the sink refused bytes or compression failed.
  static bool Encode(const unsigned char* pixels, int width, int height, int stride,
                     const Sink& sink);
};
