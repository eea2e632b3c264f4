#pragma once
// Saves a drawing as a PNG image, an SVG or a PDF document, chosen by the file name's extension
// (".png", ".svg", ".pdf", in any case).
#include <functional>
#include <string>

#include "cow_String.h"
#include "gdr_Renderer.h"

class gdr_ImageWriter {
 public:
  static constexpr int kMaxSize = 16384;
  enum Format { PNG, SVG, PDF };

  // The format of a file name; omu_ValueErrorException naming "fileName" for any other
  // extension, and for a name holding a NUL byte ("embedded null byte").
  static Format FormatOf(const cow_String& path);

  // Draws a width x height viewport (pixels for PNG, points for SVG and PDF): fills it with the
  // renderer's background, calls `draw`, and writes the result to `path`. The path is expected
  // to have passed the caller's checks (uti_PreCheckFile).
  //
  // Refused before anything is created: an unknown extension, a width or height outside
  // 1 ... kMaxSize, a name holding a NUL byte (omu_ValueErrorException naming "fileName",
  // "width" or "height" and the value), a target (links followed) that exists and is not a
  // regular file (uti_FileException: EISDIR for a folder, EINVAL otherwise). The output goes to
  // a temporary file of a short name in the target's folder, which replaces the target only
  // when complete: whatever fails (the drawing raises, the user interrupts it
  // (cmdC_InterruptedException, asked every so often while drawing), Cairo reports an error
  // (nex_Exception), the disk fills up (uti_FileException with the error number and the path)),
  // an existing file keeps its content and no temporary file is left behind. A link is written
  // through: the file it points to gets the new content and the link stays a link. A replaced
  // file keeps its permissions.
  static void Save(const cow_String& path, int width, int height,
                   const std::function<void(gdr_Renderer&)>& draw);

  // Draws as Save does and returns what Save would write, byte for byte, in memory. The same
  // refusals of the size (omu_ValueErrorException) and the same errors from drawing.
  static std::string Encode(Format format, int width, int height,
                            const std::function<void(gdr_Renderer&)>& draw);
};
