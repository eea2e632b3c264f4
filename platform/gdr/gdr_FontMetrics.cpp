#include "gdr_FontMetrics.h"

#include <cairo.h>

#include <map>
#include <mutex>
#include <tuple>

#include "gdr_Renderer.h"
#include "nex_Exception.h"

namespace {
// Glyphs are measured at this size and scaled down: FreeType keeps metrics in 1/64 of a pixel,
// which at size 1 would round every advance.
constexpr double kMeasureSize = 1024.0;

struct Measurer {
  cairo_scaled_font_t* font = nullptr;
  double ascent = 0.0;
  double descent = 0.0;
};

using Key = std::tuple<std::string, bool, bool>;

std::mutex& CacheMutex() {
  static std::mutex mutex;
  return mutex;
}

// Scaled fonts live as long as the process: there are at most a dozen (three faces, four
// styles).
const Measurer& Get(const gru_Font& font) {
  static std::map<Key, Measurer> cache;
  std::lock_guard<std::mutex> lock(CacheMutex());
  const Key key{font.FaceName().Std(), font.IsBold(), font.IsItalic()};
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;

  cairo_font_face_t* face = cairo_toy_font_face_create(
      font.FaceName().CStr(), font.IsItalic() ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
      font.IsBold() ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_matrix_t size;
  cairo_matrix_t identity;
  cairo_matrix_init_scale(&size, kMeasureSize, kMeasureSize);
  cairo_matrix_init_identity(&identity);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_scaled_font_t* scaled = cairo_scaled_font_create(face, &size, &identity, options);
  cairo_font_options_destroy(options);
  cairo_font_face_destroy(face);  // the scaled font keeps its own reference
  const cairo_status_t status = cairo_scaled_font_status(scaled);
  if (status != CAIRO_STATUS_SUCCESS) {
    cairo_scaled_font_destroy(scaled);
    NEX_THROW(nex_Exception(cow_String("Cannot load the font ") + font.FaceName() + ": " +
                            cairo_status_to_string(status)));
  }
  cairo_font_extents_t extents;
  cairo_scaled_font_extents(scaled, &extents);
  Measurer m{scaled, extents.ascent / kMeasureSize, extents.descent / kMeasureSize};
  return cache.emplace(key, m).first->second;
}
}  // namespace

void gdr_FontMetrics::FontExtents(const gru_Font& font, double& ascent, double& descent) {
  const Measurer& m = Get(font);
  ascent = m.ascent;
  descent = m.descent;
}

double gdr_FontMetrics::Advance(const gru_Font& font, const cow_String& text) {
  // Only valid UTF-8 may reach the font: anything else would put it into an error state for good.
  const std::string utf8 = gdr_Renderer::TextToUtf8(text);
  if (utf8.empty()) return 0.0;
  const Measurer& m = Get(font);
  cairo_text_extents_t extents;
  cairo_scaled_font_text_extents(m.font, utf8.c_str(), &extents);
  const cairo_status_t status = cairo_scaled_font_status(m.font);
  if (status != CAIRO_STATUS_SUCCESS)
    NEX_THROW(nex_Exception(cow_String("Cannot measure text in the font ") + font.FaceName() +
                            ": " + cairo_status_to_string(status)));
  return extents.x_advance / kMeasureSize;
}
