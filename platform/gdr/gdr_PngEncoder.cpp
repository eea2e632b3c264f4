#include "gdr_PngEncoder.h"

#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

namespace {
void Put32(std::vector<unsigned char>& out, std::uint32_t v) {
  out.push_back(static_cast<unsigned char>(v >> 24));
  out.push_back(static_cast<unsigned char>(v >> 16));
  out.push_back(static_cast<unsigned char>(v >> 8));
  out.push_back(static_cast<unsigned char>(v));
}

// One chunk: length, type, data, CRC of type and data.
bool Chunk(const gdr_PngEncoder::Sink& sink, const char* type, const unsigned char* data,
           size_t length) {
  std::vector<unsigned char> head;
  Put32(head, static_cast<std::uint32_t>(length));
  head.insert(head.end(), type, type + 4);
  uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(type), 4);
  if (length > 0) crc = crc32(crc, data, static_cast<uInt>(length));
  std::vector<unsigned char> tail;
  Put32(tail, static_cast<std::uint32_t>(crc));
  return sink(head.data(), head.size()) && (length == 0 || sink(data, length)) &&
         sink(tail.data(), tail.size());
}

// Premultiplied to straight alpha.
unsigned char Straight(unsigned v, unsigned a) {
  return a == 0 ? 0 : static_cast<unsigned char>((v * 255 + a / 2) / a);
}
}  // namespace

bool gdr_PngEncoder::Encode(const unsigned char* pixels, int width, int height, int stride,
                            const Sink& sink) {
  bool opaque = true;
  for (int y = 0; y < height && opaque; ++y) {
    const auto* row =
        reinterpret_cast<const std::uint32_t*>(pixels + static_cast<size_t>(y) * stride);
    for (int x = 0; x < width; ++x)
      if ((row[x] >> 24) != 0xFF) {
        opaque = false;
        break;
      }
  }
  const int channels = opaque ? 3 : 4;
  const size_t rowBytes = static_cast<size_t>(width) * channels + 1;  // filter byte first
  std::vector<unsigned char> raw(rowBytes * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    const auto* row =
        reinterpret_cast<const std::uint32_t*>(pixels + static_cast<size_t>(y) * stride);
    unsigned char* out = raw.data() + static_cast<size_t>(y) * rowBytes;
    *out++ = 0;  // no filter: runs of one colour stay runs
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = row[x];
      const unsigned a = p >> 24, r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      if (opaque) {
        *out++ = static_cast<unsigned char>(r);
        *out++ = static_cast<unsigned char>(g);
        *out++ = static_cast<unsigned char>(b);
      } else {
        *out++ = Straight(r, a);
        *out++ = Straight(g, a);
        *out++ = Straight(b, a);
        *out++ = static_cast<unsigned char>(a);
      }
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<unsigned char> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                Z_BEST_SPEED) != Z_OK)
    return false;

  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<unsigned char> header;
  Put32(header, static_cast<std::uint32_t>(width));
  Put32(header, static_cast<std::uint32_t>(height));
  header.push_back(8);                     // bits per channel
  header.push_back(opaque ? 2 : 6);        // RGB or RGBA
  header.insert(header.end(), {0, 0, 0});  // deflate, adaptive filters, not interlaced
  return sink(kSignature, sizeof kSignature) && Chunk(sink, "IHDR", header.data(), header.size()) &&
         Chunk(sink, "IDAT", packed.data(), packedSize) && Chunk(sink, "IEND", nullptr, 0);
}
