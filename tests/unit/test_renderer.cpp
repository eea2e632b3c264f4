// The renderer layer: transforms, colour contrast, polyline thinning, the Cairo and SVG back
// ends, image files, fonts and text extents.
#include <cairo/cairo.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

#include "cmdC_InterruptedException.h"
#include "cmdC_WIP.h"
#include "g3d_Color.h"
#include "g3d_XForm.h"
#include "gdr_ImageWriter.h"
#include "gdr_PngEncoder.h"
#include "gdr_RecordingRenderer.h"
#include "gru_Text3D.h"
#include "omu_ValueErrorException.h"
#include "uti_FileException.h"

namespace fs = std::filesystem;

// Font configuration and Cairo's font caches live as long as the process and are not released
// at exit; the leak checker of the sanitized build is told so.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:cairo_scaled_font_create\nleak:cairo_toy_font_face_create\n";
}

namespace {
const gdr_Color kRed{1, 0, 0};
const gdr_Color kBlue{0, 0, 1};

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Rgb& c) {
  return os << "(" << c.r << "," << c.g << "," << c.b << ")";
}
const Rgb kRedPixel{255, 0, 0};
const Rgb kBluePixel{0, 0, 255};
const Rgb kWhitePixel{255, 255, 255};

// A fresh folder per test, removed afterwards.
class RenderFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("xyp_render_" + std::to_string(getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  size_t FileCount() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }
  static std::string Read(const std::string& path) {
    std::stringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
  }

  // Saves a PNG and decodes it with Cairo's own reader.
  void DrawPng(int width, int height, const std::function<void(gdr_Renderer&)>& draw) {
    const std::string path = Path("picture.png");
    gdr_ImageWriter::Save(cow_String(path), width, height, draw);
    if (image_) cairo_surface_destroy(image_);
    image_ = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(image_), CAIRO_STATUS_SUCCESS);
    ASSERT_EQ(cairo_image_surface_get_width(image_), width);
    ASSERT_EQ(cairo_image_surface_get_height(image_), height);
  }
  // The pixel containing device point (x, y) (origin bottom-left, y up).
  Rgb At(double x, double y) const {
    const int h = cairo_image_surface_get_height(image_);
    const int col = static_cast<int>(std::floor(x));
    const int row = static_cast<int>(std::floor(h - y));
    const unsigned char* data = cairo_image_surface_get_data(image_);
    const uint32_t argb = *reinterpret_cast<const uint32_t*>(
        data + row * cairo_image_surface_get_stride(image_) + col * 4);
    return {static_cast<int>((argb >> 16) & 255), static_cast<int>((argb >> 8) & 255),
            static_cast<int>(argb & 255)};
  }
  ~RenderFiles() override {
    if (image_) cairo_surface_destroy(image_);
  }

  fs::path dir_;
  cairo_surface_t* image_ = nullptr;
};

using RenderImage = RenderFiles;
using RenderWriter = RenderFiles;
}  // namespace

void ExpectPoint(g3d_XForm::Point p, double x, double y) {
  EXPECT_NEAR(p.x, x, 1e-12);
  EXPECT_NEAR(p.y, y, 1e-12);
}

TEST(XForm, ComposesRightFactorFirst) {
  const g3d_XForm t = g3d_XForm::Translation(10, 0);
  const g3d_XForm s = g3d_XForm::Scale(2, 3);
  ExpectPoint((t * s).Apply(1, 1), 12, 3);                // scaled to (2, 3), then moved
  ExpectPoint((s * t).Apply(1, 1), 22, 3);                // moved to (11, 1), then scaled
  EXPECT_EQ(g3d_XForm::Rotation(90).Apply(1, 0).x, 0.0);  // exactly
  ExpectPoint(g3d_XForm::Rotation(90).Apply(1, 0), 0, 1);
  ExpectPoint(g3d_XForm::Rotation(30).Apply(2, 0), std::sqrt(3.0), 1);

  gdr_RecordingRenderer renderer(100, 100);
  renderer.SetTransform(t);
  renderer.PushTransform(s);
  EXPECT_EQ(renderer.Transform(), t * s);
  renderer.PopTransform();
  EXPECT_EQ(renderer.Transform(), t);
}

TEST(RenderColor, ContrastingColorReplacesOnlyInvisibleColours) {
  const gdr_Color white = gdr_Color::White();
  const gdr_Color black = gdr_Color::Black();
  EXPECT_EQ(g3d_Color::GetContrastingColor(white, white), black);
  EXPECT_EQ(g3d_Color::GetContrastingColor({0.9, 0.9, 0.9}, white), black);
  EXPECT_EQ(g3d_Color::GetContrastingColor(black, black), white);
  EXPECT_EQ(g3d_Color::GetContrastingColor({0.05, 0.05, 0.1}, {0.1, 0.1, 0.1}), white);
  EXPECT_EQ(g3d_Color::GetContrastingColor(kRed, white), kRed);
  EXPECT_EQ(g3d_Color::GetContrastingColor({1, 1, 0}, white), (gdr_Color{1, 1, 0}));
  EXPECT_EQ(g3d_Color::GetContrastingColor(white, black), white);
  EXPECT_EQ(gdr_Color::FromBytes(255, 0, 51), (gdr_Color{1.0, 0.0, 0.2}));
}

TEST(RenderPolyline, PixelColumnKeepsFirstExtremesAndLast) {
  gdr_RecordingRenderer renderer(100, 100);
  // Column 10 holds five points; the lowest comes before the highest.
  const float x[] = {10.1f, 10.3f, 10.5f, 10.7f, 10.9f, 20.5f};
  const float y[] = {50, 20, 80, 30, 60, 50};
  renderer.DrawPolyline(x, y, 6, false);
  ASSERT_EQ(renderer.records.size(), 1u);
  const std::vector<gdr_Point> expected = {
      {x[0], 50}, {x[1], 20}, {x[2], 80}, {x[4], 60}, {x[5], 50}};
  EXPECT_EQ(renderer.records[0].points, expected);

  // The highest first: kept in drawing order.
  const float y2[] = {50, 80, 20, 30, 60, 50};
  renderer.DrawPolyline(x, y2, 6, false);
  ASSERT_EQ(renderer.records.size(), 2u);
  EXPECT_EQ(renderer.records[1].points,
            (std::vector<gdr_Point>{{x[0], 50}, {x[1], 80}, {x[2], 20}, {x[4], 60}, {x[5], 50}}));
}

TEST(RenderPolyline, MillionPointsCostAFewPointsPerColumnWithTheSameExtent) {
  const size_t n = 1000000;
  std::vector<float> x(n), y(n);
  double lo = INFINITY, hi = -INFINITY;
  for (size_t i = 0; i < n; ++i) {
    x[i] = static_cast<float>(i) / n;
    y[i] = static_cast<float>(std::sin(i * 0.01) * (1.0 + i % 7));
    lo = std::min(lo, 10.0 * y[i] + 100);
    hi = std::max(hi, 10.0 * y[i] + 100);
  }
  gdr_RecordingRenderer renderer(200, 200);
  renderer.SetTransform(g3d_XForm::Translation(0, 100) * g3d_XForm::Scale(200, 10));
  renderer.DrawPolyline(x.data(), y.data(), n, false);
  ASSERT_EQ(renderer.records.size(), 1u);
  const auto& points = renderer.records[0].points;
  EXPECT_LE(points.size(), 4u * 200);
  double outLo = INFINITY, outHi = -INFINITY;
  for (const gdr_Point& p : points) {
    outLo = std::min(outLo, p.y);
    outHi = std::max(outHi, p.y);
  }
  EXPECT_NEAR(outLo, lo, 1e-9);
  EXPECT_NEAR(outHi, hi, 1e-9);
}

TEST(RenderPolyline, NonFinitePointsBreakTheLineClosedShapesStayClosedFarPointsAreClipped) {
  gdr_RecordingRenderer renderer(100, 100);
  const float nx[] = {0, 10, 20, 30, 40, INFINITY, 60, 70};
  const float ny[] = {5, 5, NAN, 5, 5, 5, 5, 5};
  renderer.SetTransform(g3d_XForm::Translation(1, 0));
  renderer.DrawPolyline(nx, ny, 8, true);
  // Non-finite points break the line into three pieces; the last one carries the closing segment
  // back to the first point.
  ASSERT_EQ(renderer.records.size(), 3u);
  const std::vector<std::vector<gdr_Point>> expected = {
      {{1, 5}, {11, 5}}, {{31, 5}, {41, 5}}, {{61, 5}, {71, 5}, {1, 5}}};
  for (size_t k = 0; k < 3; ++k) {
    EXPECT_FALSE(renderer.records[k].closed);
    EXPECT_EQ(renderer.records[k].points, expected[k]) << k;
  }
  renderer.SetTransform(g3d_XForm());  // a closed shape stays closed
  renderer.records.clear();
  const float x[] = {10, 90, 90, 10};
  const float y[] = {10, 10, 90, 90};
  renderer.DrawPolyline(x, y, 4, true);
  ASSERT_EQ(renderer.records.size(), 1u);
  EXPECT_TRUE(renderer.records[0].closed);
  EXPECT_EQ(renderer.records[0].points.size(), 4u);

  renderer.records.clear();
  const float fx[] = {50, 1e30f, 50};
  const float fy[] = {50, 50, 20};
  renderer.DrawPolyline(fx, fy, 3, false);
  ASSERT_EQ(renderer.records.size(), 2u);  // out to the margin, and back in from it
  for (const auto& r : renderer.records)
    for (const gdr_Point& p : r.points) EXPECT_LT(std::fabs(p.x), 1000.0);
  EXPECT_EQ(renderer.records[0].points.front(), (gdr_Point{50, 50}));
  EXPECT_EQ(renderer.records[1].points.back(), (gdr_Point{50, 20}));

  // A line between two points far outside on either side still crosses the viewport at its
  // height, and a far rectangle around the viewport still covers it.
  renderer.records.clear();
  renderer.DrawLine(-1e30, 30.5, 1e30, 30.5);
  renderer.FillRectangle(-1e30, -1e30, 1e30, 1e30);
  ASSERT_EQ(renderer.records.size(), 2u);
  const auto& line = renderer.records[0].points;
  ASSERT_EQ(line.size(), 2u);
  EXPECT_LT(line[0].x, 0.0);
  EXPECT_GT(line[1].x, 100.0);
  EXPECT_EQ(line[0].y, 30.5);
  EXPECT_EQ(line[1].y, 30.5);
  double lowX = 1e9, highX = -1e9;
  for (const gdr_Point& p : renderer.records[1].points) {
    lowX = std::min(lowX, p.x);
    highX = std::max(highX, p.x);
  }
  EXPECT_LT(lowX, 0.0);
  EXPECT_GT(highX, 100.0);
}

TEST_F(RenderImage, LinesAndRectanglesLandOnTheirPixels) {
  DrawPng(200, 100, [](gdr_Renderer& r) {
    r.SetTransform(g3d_XForm::Scale(100, 100));  // world 0..1 fills the left half
    r.SetColor(kRed);
    r.SetLineWidth(3);
    r.DrawLine(0.1, 0.1, 0.9, 0.9);
    r.SetColor(kBlue);
    r.FillRectangle(0.55, 0.05, 0.95, 0.25);
    // Rotated: a diamond reaching 42.4 along the axes from (150, 50).
    r.SetTransform(g3d_XForm::Translation(150, 50) * g3d_XForm::Rotation(45) *
                   g3d_XForm::Scale(30, 30));
    r.FillRectangle(-1, -1, 1, 1);
  });
  // On the line, before it starts, 3.5 units off it (it is 3 wide); in and around the rectangle;
  // in the diamond, and inside the unrotated square but outside the diamond.
  const struct {
    double x, y;
    Rgb pixel;
  } cases[] = {{20.5, 20.5, kRedPixel},   {50.5, 50.5, kRedPixel},   {80.5, 80.5, kRedPixel},
               {5.5, 5.5, kWhitePixel},   {50.5, 55.5, kWhitePixel}, {20.5, 80.5, kWhitePixel},
               {75.5, 15.5, kBluePixel},  {75.5, 30.5, kWhitePixel}, {50.5, 15.5, kWhitePixel},
               {150.5, 50.5, kBluePixel}, {188.5, 50.5, kBluePixel}, {175.5, 75.5, kWhitePixel}};
  for (const auto& c : cases) EXPECT_EQ(At(c.x, c.y), c.pixel) << c.x << ", " << c.y;
}

TEST_F(RenderImage, DashedLineHasGapsWhereItsPatternSays) {
  const double width = 2;
  const std::vector<double> dash = gdr_Renderer::DashPattern(g3d_DASHED, width);
  ASSERT_EQ(dash.size(), 2u);
  DrawPng(100, 100, [&](gdr_Renderer& r) {
    r.SetColor(kRed);
    r.SetLineWidth(width);
    r.SetLineStyle(g3d_DASHED);
    r.DrawLine(0, 70.5, 100, 70.5);
    r.SetLineStyle(g3d_SOLID);
    r.DrawLine(0, 30.5, 100, 30.5);
  });
  const double period = dash[0] + dash[1];
  for (double start = 0; start + period < 100; start += period) {
    EXPECT_EQ(At(start + dash[0] / 2, 70.5), kRedPixel) << start;
    EXPECT_EQ(At(start + dash[0] + dash[1] / 2, 70.5), kWhitePixel) << start;
    EXPECT_EQ(At(start + dash[0] + dash[1] / 2, 30.5), kRedPixel) << start;
  }
}

TEST_F(RenderImage, MarkersAreCentredWhereAsked) {
  DrawPng(100, 100, [](gdr_Renderer& r) {
    r.SetColor(kBlue);
    r.DrawMarker(30.5, 60.5, g3d_FILLED_SQUARE, 20);
    r.DrawMarker(70.5, 30.5, g3d_DEFAULT_MARKER, 20);
  });
  for (const auto& [cx, cy] : {std::pair{30.5, 60.5}, std::pair{70.5, 30.5}}) {
    EXPECT_EQ(At(cx, cy), kBluePixel);
    for (const auto& [dx, dy] :
         {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
      EXPECT_EQ(At(cx + 7 * dx, cy + 7 * dy), kBluePixel) << cx << " " << dx << " " << dy;
      EXPECT_EQ(At(cx + 12 * dx, cy + 12 * dy), kWhitePixel) << cx << " " << dx << " " << dy;
    }
  }
  EXPECT_EQ(At(30.5 + 8, 60.5 + 8), kBluePixel);   // a square's corner
  EXPECT_EQ(At(70.5 + 8, 30.5 + 8), kWhitePixel);  // beyond a circle's rim
}

TEST_F(RenderImage, TextLandsInsideItsExtentAndAZeroSizeDrawsNothing) {
  gru_Text3D text(cow_String("-*-helvetica-bold-r-*-*-*-120-*-*-*-*-iso8859-1"));
  float lo[2], hi[2];
  text.QueryExtent("HHHH", lo, hi);
  const double size = 30;
  const double width = (hi[0] - lo[0]) * size / (hi[1] - lo[1]);
  DrawPng(200, 100, [&](gdr_Renderer& r) {
    r.SetColor(kBlue);
    r.SetTransform(text.Position(50, 50, 0));  // zero size: refused
    text.Draw(r, "HHHH");
    r.SetTransform(g3d_XForm());
    r.DrawText("HHHH", text.Font(), g3d_XForm::Scale(0, 30));  // singular: refused
    r.SetTransform(text.Position(50, 50, NAN));
    text.Draw(r, "HHHH");
    r.SetTransform(text.Position(150, 50, size));
    text.Draw(r, "HHHH");
    r.SetTransform(text.Position(150, 50, 0.01f));
    text.Draw(r, "caf\xe9");  // not UTF-8: drawn as Latin-1, Cairo is not put into an error state
    r.SetTransform(g3d_XForm());
    r.FillRectangle(40, 10, 60, 20);  // drawing after the refused texts still works
  });
  EXPECT_EQ(At(50.5, 15.5), kBluePixel);
  // The ink's bounding box: within the placed extent, and spanning most of it.
  int inked = 0;
  double box[4] = {200, 100, 0, 0};
  for (int px = 0; px < 200; ++px)
    for (int py = 25; py < 100; ++py)
      if (!(At(px + 0.5, py + 0.5) == kWhitePixel)) {
        ++inked;
        box[0] = std::min<double>(box[0], px), box[1] = std::min<double>(box[1], py);
        box[2] = std::max<double>(box[2], px + 1), box[3] = std::max<double>(box[3], py + 1);
      }
  EXPECT_GT(inked, 100);
  EXPECT_GE(box[0], 150 - width / 2 - 1);
  EXPECT_LT(box[0], 150 - width / 3);
  EXPECT_LE(box[2], 150 + width / 2 + 1);
  EXPECT_GT(box[2], 150 + width / 3);
  EXPECT_GE(box[1], 50 - size / 2 - 1);
  EXPECT_LE(box[3], 50 + size / 2 + 1);
}

TEST_F(RenderImage, ExtremeTextTransformsDoNotStopLaterText) {
  const char* block = "\xe2\x96\x88";  // a full block: ink over the whole glyph cell
  gru_Text3D text;
  auto later = [&](gdr_Renderer& r) {
    r.SetColor(kRed);
    r.SetTransform(g3d_XForm::Translation(60, 60) * g3d_XForm::Scale(20, 20));
    text.Draw(r, block);
  };
  DrawPng(100, 100, [&](gdr_Renderer& r) {
    r.SetColor(kBlue);
    // An em of 70000 units (beyond what the font scaler takes) covering the viewport.
    r.SetTransform(g3d_XForm::Translation(-5000, -5000) * g3d_XForm::Scale(7e4, 7e4));
    text.Draw(r, block);
    // Stretched 40 to 1.
    r.SetColor(kRed);
    r.SetTransform(g3d_XForm::Translation(0, 20) * g3d_XForm::Scale(400, 10));
    text.Draw(r, block);
    later(r);
  });
  EXPECT_EQ(At(30.5, 80.5), kBluePixel);
  EXPECT_EQ(At(50.5, 22.5), kRedPixel);
  EXPECT_EQ(At(50.5, 40.5), kBluePixel);
  EXPECT_EQ(At(65.5, 65.5), kRedPixel);
  DrawPng(100, 100, later);  // and the next picture
  EXPECT_EQ(At(65.5, 65.5), kRedPixel);
  EXPECT_EQ(At(30.5, 30.5), kWhitePixel);
}

TEST_F(RenderWriter, SvgKeepsTextAsEscapedTextElements) {
  const std::string path = Path("plot.SVG");
  gdr_ImageWriter::Save(cow_String(path), 300, 200, [](gdr_Renderer& r) {
    gru_Text3D text(cow_String("-*-times-bold-i-*-*-*-140-*-*-*-*-iso8859-1"));
    r.SetTransform(text.Position("a<b & c", 150, 100, 20));
    text.Draw(r, "a<b & c");
    r.SetTransform(text.Position("x", 150, 50, 20));
    text.Draw(r, "caf\xe9 \x01");  // Latin-1 and a control character
    r.SetTransform(g3d_XForm());
    r.SetLineStyle(g3d_DOTTED);
    r.DrawLine(0, 10, 300, 10);
  });
  const std::string svg = Read(path);
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_NE(svg.find("width=\"300\" height=\"200\" viewBox=\"0 0 300 200\""), std::string::npos);
  const std::regex element(
      R"(<text [^>]*font-family="DejaVu Serif, serif"[^>]*>a&lt;b &amp; c</text>)");
  EXPECT_TRUE(std::regex_search(svg, element)) << svg;
  EXPECT_NE(svg.find("font-weight=\"bold\""), std::string::npos);
  EXPECT_NE(svg.find("font-style=\"italic\""), std::string::npos);
  EXPECT_EQ(svg.find("a<b"), std::string::npos);
  EXPECT_NE(svg.find(">caf\xc3\xa9  </text>"), std::string::npos);
  EXPECT_NE(svg.find("stroke-dasharray=\"1 3\""), std::string::npos);
  EXPECT_NE(svg.find("<path d=\"M0,190 L300,190\""), std::string::npos);  // y flipped
}

TEST_F(RenderWriter, PdfPageHasTheRequestedSize) {
  const std::string path = Path("plot.pdf");
  gdr_ImageWriter::Save(cow_String(path), 420, 297, [](gdr_Renderer& r) {
    r.DrawLine(0, 0, 420, 297);
    gru_Text3D().Draw(r, "label");
  });
  const std::string pdf = Read(path);
  EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);
  std::smatch box;
  ASSERT_TRUE(
      std::regex_search(pdf, box, std::regex(R"(/MediaBox\s*\[\s*0\s+0\s+(\S+)\s+(\S+)\s*\])")));
  EXPECT_DOUBLE_EQ(std::stod(box[1]), 420.0);
  EXPECT_DOUBLE_EQ(std::stod(box[2]), 297.0);
}

TEST_F(RenderWriter, RefusalsAndFailuresLeaveTheOldFileAlone) {
  const std::string old = Path("old.png");
  std::ofstream(old) << "old content";
  auto message = [](const std::function<void()>& f) -> std::string {
    try {
      f();
    } catch (const omu_ValueErrorException& e) {
      return e.what();
    }
    return "no error";
  };
  const std::string bmp = message([&] { gdr_ImageWriter::Save(Path("x.bmp"), 10, 10, {}); });
  EXPECT_NE(bmp.find("fileName"), std::string::npos) << bmp;
  EXPECT_NE(bmp.find("x.bmp"), std::string::npos) << bmp;
  const std::string w = message([&] { gdr_ImageWriter::Save(old, 0, 10, {}); });
  EXPECT_NE(w.find("width: 0"), std::string::npos) << w;
  const std::string h = message([&] { gdr_ImageWriter::Save(old, 10, 16385, {}); });
  EXPECT_NE(h.find("height: 16385"), std::string::npos) << h;
  // The system would see the name up to its NUL only, and replace the old file.
  const std::string nul =
      message([&] { gdr_ImageWriter::Save(old + std::string("\0.png", 5), 10, 10, {}); });
  EXPECT_NE(nul.find("embedded null byte"), std::string::npos) << nul;
  EXPECT_THROW(
      gdr_ImageWriter::Save(old, 10, 10, [](gdr_Renderer&) { throw std::runtime_error("stop"); }),
      std::runtime_error);
  EXPECT_EQ(Read(old), "old content");
  EXPECT_EQ(FileCount(), 1u);  // no temporary file, no image
  gdr_ImageWriter::Save(old, 10, 10, {});
  EXPECT_EQ(Read(old).substr(1, 3), "PNG");
  EXPECT_EQ(FileCount(), 1u);
}

namespace {
// The error number of the file error a save raises, 0 when it saves.
int SaveRefusal(const std::string& path, std::string* shown = nullptr) {
  try {
    gdr_ImageWriter::Save(cow_String(path), 10, 10, {});
    return 0;
  } catch (const uti_FileException& e) {
    if (shown) *shown = e.Path().Std();
    return e.Errno();
  }
}

bool IsPng(const std::string& content) {
  return content.substr(0, 4) == "\x89PNG";
}
}  // namespace

TEST_F(RenderWriter, LinksAndLongNamesAreWrittenThroughAndOtherKindsOfFileRefused) {
  // A link to a regular file in another folder: the target gets the picture and keeps its
  // permissions, the link stays a link, and no temporary file is left in either folder.
  fs::create_directory(Path("images"));
  const std::string target = Path("images/target.png");
  std::ofstream(target) << "old";
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("images/target.png", Path("link.png"));
  fs::create_symlink("images/created.png", Path("dangling.png"));
  for (const char* link : {"link.png", "dangling.png"}) {
    ASSERT_EQ(SaveRefusal(Path(link)), 0) << link;
    EXPECT_TRUE(fs::is_symlink(Path(link))) << link;
    EXPECT_TRUE(IsPng(Read(Path(link)))) << link;
  }
  EXPECT_EQ(fs::status(target).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(FileCount(), 3u);
  EXPECT_EQ(std::distance(fs::directory_iterator(Path("images")), {}), 2);

  // Anything else that exists is refused before anything is written, and stays what it was: a
  // FIFO, a folder, a device node (root only: it stands for /dev/null), directly or through
  // links.
  ASSERT_EQ(mkfifo(Path("fifo.png").c_str(), 0600), 0);
  fs::create_directory(Path("folder.png"));
  const bool device =
      geteuid() == 0 && mknod(Path("null.png").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;
  fs::create_symlink("fifo.png", Path("to_fifo.png"));
  fs::create_symlink("to_fifo.png", Path("to_to_fifo.png"));
  fs::create_symlink("null.png", Path("to_null.png"));
  const size_t files = FileCount();
  struct Case {
    const char* name;
    int error;
    mode_t kind;
  };
  for (const Case& c :
       {Case{"fifo.png", EINVAL, S_IFIFO}, Case{"to_fifo.png", EINVAL, S_IFIFO},
        Case{"to_to_fifo.png", EINVAL, S_IFIFO}, Case{"folder.png", EISDIR, S_IFDIR},
        Case{"null.png", EINVAL, S_IFCHR}, Case{"to_null.png", EINVAL, S_IFCHR}}) {
    if (c.kind == S_IFCHR && !device) continue;
    std::string shown;
    EXPECT_EQ(SaveRefusal(Path(c.name), &shown), c.error) << c.name;
    EXPECT_EQ(shown, Path(c.name));
    struct stat info;
    ASSERT_EQ(stat(Path(c.name).c_str(), &info), 0) << c.name;
    EXPECT_EQ(info.st_mode & S_IFMT, c.kind) << c.name;
  }
  EXPECT_EQ(FileCount(), files);

  // Every name the folder takes is saved: the temporary file's name does not grow with the
  // target's.
  const std::string longest = std::string(251, 'n') + ".png";
  ASSERT_EQ(SaveRefusal(Path(longest.c_str())), 0);
  EXPECT_TRUE(IsPng(Read(Path(longest.c_str()))));
  EXPECT_EQ(SaveRefusal(Path(("n" + longest).c_str())), ENAMETOOLONG);
  EXPECT_EQ(FileCount(), files + 1);
}

namespace {
int interruptChecks = 0;
bool InterruptOnThirdCheck() {
  return ++interruptChecks >= 3;
}
}  // namespace

TEST_F(RenderWriter, AnInterruptionStopsTheDrawingAndLeavesTheOldFile) {
  // Each drawing holds many more units of work than three questions need: markers, one long
  // polyline, many short lines (the pieces of a clipped curve, the segments of an id map).
  const std::vector<std::pair<const char*, std::function<void(gdr_Renderer&)>>> drawings = {
      {"markers",
       [](gdr_Renderer& r) {
         for (int i = 0; i < 100000; ++i) r.DrawMarker(i % 50, i % 47, g3d_FILLED_CIRCLE, 4);
       }},
      {"polyline",
       [](gdr_Renderer& r) {
         std::vector<float> x(1000000), y(1000000);
         for (size_t i = 0; i < x.size(); ++i) {
           x[i] = static_cast<float>(i) * 5e-5f;
           y[i] = static_cast<float>(i % 40);
         }
         r.DrawPolyline(x.data(), y.data(), x.size(), false);
       }},
      {"lines",
       [](gdr_Renderer& r) {
         for (int i = 0; i < 200000; ++i) r.DrawLine(i % 50, 0, i % 50, 40);
       }},
  };
  const std::string old = Path("old.png"), oldSvg = Path("old.svg"), oldPdf = Path("old.pdf");
  for (const std::string& path : {old, oldSvg, oldPdf}) std::ofstream(path) << "old content";
  for (const std::string& path : {old, oldSvg, oldPdf}) {
    for (const auto& [what, draw] : drawings) {
      interruptChecks = 0;
      cmdC_WIP::SetInterruptCheck(&InterruptOnThirdCheck);
      EXPECT_THROW(gdr_ImageWriter::Save(cow_String(path), 50, 50, draw), cmdC_InterruptedException)
          << path << " " << what;
      cmdC_WIP::SetInterruptCheck(nullptr);
      EXPECT_EQ(interruptChecks, 3) << path << " " << what;  // it stopped at the third
      EXPECT_EQ(Read(path), "old content") << path << " " << what;
      EXPECT_EQ(FileCount(), 3u) << path << " " << what;  // no temporary file left
    }
  }
  // Renderers outside image files (scenes, id maps) draw to their end.
  interruptChecks = 0;
  cmdC_WIP::SetInterruptCheck(&InterruptOnThirdCheck);
  gdr_RecordingRenderer recording(50, 50);
  EXPECT_NO_THROW(drawings[0].second(recording));
  cmdC_WIP::SetInterruptCheck(nullptr);
  EXPECT_EQ(interruptChecks, 0);
  // And the next save draws the whole picture.
  gdr_ImageWriter::Save(cow_String(old), 50, 50, drawings[0].second);
  EXPECT_TRUE(IsPng(Read(old)));
}

TEST(Font, ParsesDescriptionsAndMapsFamilies) {
  struct Case {
    const char* description;
    const char* face;
    bool bold, italic;
    double points;
  };
  for (const Case& c :
       {Case{"-*-courier-medium-r-*-*-*-100-*-*-*-*-iso8859-1", "DejaVu Sans Mono", false, false,
             10},
        Case{"-*-helvetica-bold-o-*-*-*-120-*-*-*-*-iso8859-1", "DejaVu Sans", true, true, 12},
        Case{"-adobe-Times-DemiBold-I-normal--*-140-*-*-p-*-iso8859-1", "DejaVu Serif", true, true,
             14},
        Case{"-*-times-medium-r-*-*-*-*-*-*-*-*-iso8859-1", "DejaVu Serif", false, false, 10}}) {
    const gru_Font f{cow_String(c.description)};
    EXPECT_TRUE(f.IsParsed()) << c.description;
    EXPECT_EQ(f.FaceName(), c.face) << c.description;
    EXPECT_EQ(f.IsBold(), c.bold) << c.description;
    EXPECT_EQ(f.IsItalic(), c.italic) << c.description;
    EXPECT_DOUBLE_EQ(f.PointSize(), c.points) << c.description;
  }
  // The same font at another size: the point size field says so, a pixel size is dropped.
  const gru_Font sized{cow_String("-*-helvetica-bold-o-*-*-17-120-*-*-*-*-iso8859-1")};
  const gru_Font smaller{sized.DescriptionAt(7.24)};
  EXPECT_EQ(smaller.Description(), "-*-helvetica-bold-o-*-*-*-72-*-*-*-*-iso8859-1");
  EXPECT_TRUE(smaller.IsParsed());
  EXPECT_DOUBLE_EQ(smaller.PointSize(), 7.2);
  EXPECT_TRUE(smaller.IsBold() && smaller.IsItalic());
  for (const char* bad :
       {"", "courier", "-*-courier-bold-r-*", "-*--medium-r-*-*-*-100-*-*-*-*-iso8859-1"}) {
    const gru_Font f{cow_String(bad)};
    EXPECT_FALSE(f.IsParsed()) << bad;
    EXPECT_EQ(f.Description(), gru_Font::kDefaultDescription) << bad;
    EXPECT_EQ(f.FaceName(), "DejaVu Sans Mono") << bad;
    EXPECT_FALSE(f.IsBold() || f.IsItalic()) << bad;
  }
}

TEST(Text3D, ExtentHasFontHeightGrowsWithTheTextAndIsPlacedCentred) {
  gru_Text3D text(cow_String("-*-helvetica-medium-r-*-*-*-120-*-*-*-*-iso8859-1"));
  float a0[2], a1[2], g0[2], g1[2];
  text.QueryExtent("a", a0, a1);
  text.QueryExtent("Ag", g0, g1);
  EXPECT_EQ(a0[0], 0.0f);
  EXPECT_EQ(a0[1], g0[1]);
  EXPECT_EQ(a1[1], g1[1]);
  EXPECT_LT(a0[1], 0.0f);
  EXPECT_GT(a1[1], 0.5f);
  EXPECT_LT(a1[1] - a0[1], 1.5f);
  EXPECT_GT(g1[0], a1[0]);
  EXPECT_GT(a1[0], 0.3f);

  gru_Text3D mono;  // every glyph of a fixed font advances alike
  float m0[2], m1[2], n0[2], n1[2];
  mono.QueryExtent("i", m0, m1);
  mono.QueryExtent("iWiW", n0, n1);
  EXPECT_NEAR(n1[0], 4 * m1[0], 1e-4);

  // Position centres the extent at the requested height.
  float lo[2], hi[2];
  mono.QueryExtent("Label", lo, hi);  // also the text that Position places
  for (const g3d_XForm& xf : {mono.Position(30, 40, 12), mono.Position("Label", 30, 40, 12)}) {
    const g3d_XForm::Point a = xf.Apply(lo[0], lo[1]);
    const g3d_XForm::Point b = xf.Apply(hi[0], hi[1]);
    EXPECT_NEAR(b.y - a.y, 12.0, 1e-5);
    EXPECT_NEAR((a.x + b.x) / 2, 30.0, 1e-5);
    EXPECT_NEAR((a.y + b.y) / 2, 40.0, 1e-5);
    EXPECT_NEAR((b.x - a.x) / (b.y - a.y), (hi[0] - lo[0]) / (hi[1] - lo[1]), 1e-5);
  }
  const g3d_XForm::Point c = mono.CenterAtOrigin(5).Apply((lo[0] + hi[0]) / 2, (lo[1] + hi[1]) / 2);
  EXPECT_NEAR(c.x, 0.0, 1e-6);
  EXPECT_NEAR(c.y, 0.0, 1e-6);
  EXPECT_EQ(mono.Position(1, 2, -3).Determinant(), 0.0);

  // Draw hands the renderer's transform on as the text's own placement.
  gdr_RecordingRenderer renderer(100, 100);
  renderer.SetTransform(mono.Position(50, 50, 10));
  mono.Draw(renderer, "Label");
  const auto texts = renderer.OfKind(gdr_RecordingRenderer::TEXT);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].textToDevice, mono.Position(50, 50, 10));
  EXPECT_EQ(texts[0].text, "Label");
  renderer.SetTransform(mono.Position(50, 50, 0));
  mono.Draw(renderer, "Label");
  EXPECT_EQ(renderer.OfKind(gdr_RecordingRenderer::TEXT).size(), 1u);
}

TEST(RenderPng, EncoderKeepsOpaqueAndTranslucentPixels) {
  // ARGB32 premultiplied, native byte order: opaque red, opaque white, half-transparent blue
  // (premultiplied 0x80), fully transparent.
  const std::uint32_t pixels[4] = {0xFFFF0000u, 0xFFFFFFFFu, 0x80000080u, 0x00000000u};
  for (int count : {2, 4}) {  // the first two alone are opaque (RGB), all four need alpha
    std::string bytes;
    ASSERT_TRUE(gdr_PngEncoder::Encode(reinterpret_cast<const unsigned char*>(pixels), count, 1,
                                       count * 4, [&bytes](const unsigned char* data, size_t n) {
                                         bytes.append(reinterpret_cast<const char*>(data), n);
                                         return true;
                                       }));
    const std::string path = ::testing::TempDir() + "encoder.png";
    std::ofstream(path, std::ios::binary) << bytes;
    cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    ASSERT_EQ(cairo_image_surface_get_width(image), count);
    const auto* read = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(image));
    for (int i = 0; i < count; ++i) EXPECT_EQ(read[i], pixels[i]) << i;
    cairo_surface_destroy(image);
    std::remove(path.c_str());
  }
  EXPECT_FALSE(gdr_PngEncoder::Encode(reinterpret_cast<const unsigned char*>(pixels), 1, 1, 4,
                                      [](const unsigned char*, size_t) { return false; }));
}
