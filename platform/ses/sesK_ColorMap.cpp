#include "sesK_ColorMap.h"

#include "nex_Exception.h"
#include "omi_Assert.h"
#include "omi_Singleton.h"
#include "omu_Arguments.h"
#include "omu_ValueErrorException.h"
#include "uti_Quoted.h"

namespace {

struct NamedColor {
  const char* name;
  unsigned char r, g, b;
};

// The X11 colour names. A name of several words is listed once, with its spaces; X11 also knows it
// without them ("dark olive green" and "DarkOliveGreen"), and the table gets both spellings.
// The numbered shades (SlateBlue1..4) and the grey ramp (gray0..100) are listed below.
constexpr NamedColor kNamed[] = {
    {"snow", 255, 250, 250},
    {"ghost white", 248, 248, 255},
    {"white smoke", 245, 245, 245},
    {"gainsboro", 220, 220, 220},
    {"floral white", 255, 250, 240},
    {"old lace", 253, 245, 230},
    {"linen", 250, 240, 230},
    {"antique white", 250, 235, 215},
    {"papaya whip", 255, 239, 213},
    {"blanched almond", 255, 235, 205},
    {"bisque", 255, 228, 196},
    {"peach puff", 255, 218, 185},
    {"navajo white", 255, 222, 173},
    {"moccasin", 255, 228, 181},
    {"cornsilk", 255, 248, 220},
    {"ivory", 255, 255, 240},
    {"lemon chiffon", 255, 250, 205},
    {"seashell", 255, 245, 238},
    {"honeydew", 240, 255, 240},
    {"mint cream", 245, 255, 250},
    {"azure", 240, 255, 255},
    {"alice blue", 240, 248, 255},
    {"lavender", 230, 230, 250},
    {"lavender blush", 255, 240, 245},
    {"misty rose", 255, 228, 225},
    {"white", 255, 255, 255},
    {"black", 0, 0, 0},
    {"dark slate gray", 47, 79, 79},
    {"dark slate grey", 47, 79, 79},
    {"dim gray", 105, 105, 105},
    {"dim grey", 105, 105, 105},
    {"slate gray", 112, 128, 144},
    {"slate grey", 112, 128, 144},
    {"light slate gray", 119, 136, 153},
    {"light slate grey", 119, 136, 153},
    {"gray", 190, 190, 190},
    {"grey", 190, 190, 190},
    {"x11 gray", 190, 190, 190},
    {"x11 grey", 190, 190, 190},
    {"web gray", 128, 128, 128},
    {"web grey", 128, 128, 128},
    {"light grey", 211, 211, 211},
    {"light gray", 211, 211, 211},
    {"midnight blue", 25, 25, 112},
    {"navy", 0, 0, 128},
    {"navy blue", 0, 0, 128},
    {"cornflower blue", 100, 149, 237},
    {"dark slate blue", 72, 61, 139},
    {"slate blue", 106, 90, 205},
    {"medium slate blue", 123, 104, 238},
    {"light slate blue", 132, 112, 255},
    {"medium blue", 0, 0, 205},
    {"royal blue", 65, 105, 225},
    {"blue", 0, 0, 255},
    {"dodger blue", 30, 144, 255},
    {"deep sky blue", 0, 191, 255},
    {"sky blue", 135, 206, 235},
    {"light sky blue", 135, 206, 250},
    {"steel blue", 70, 130, 180},
    {"light steel blue", 176, 196, 222},
    {"light blue", 173, 216, 230},
    {"powder blue", 176, 224, 230},
    {"pale turquoise", 175, 238, 238},
    {"dark turquoise", 0, 206, 209},
    {"medium turquoise", 72, 209, 204},
    {"turquoise", 64, 224, 208},
    {"cyan", 0, 255, 255},
    {"aqua", 0, 255, 255},
    {"light cyan", 224, 255, 255},
    {"cadet blue", 95, 158, 160},
    {"medium aquamarine", 102, 205, 170},
    {"aquamarine", 127, 255, 212},
    {"dark green", 0, 100, 0},
    {"dark olive green", 85, 107, 47},
    {"dark sea green", 143, 188, 143},
    {"sea green", 46, 139, 87},
    {"medium sea green", 60, 179, 113},
    {"light sea green", 32, 178, 170},
    {"pale green", 152, 251, 152},
    {"spring green", 0, 255, 127},
    {"lawn green", 124, 252, 0},
    {"green", 0, 255, 0},
    {"lime", 0, 255, 0},
    {"x11 green", 0, 255, 0},
    {"web green", 0, 128, 0},
    {"chartreuse", 127, 255, 0},
    {"medium spring green", 0, 250, 154},
    {"green yellow", 173, 255, 47},
    {"lime green", 50, 205, 50},
    {"yellow green", 154, 205, 50},
    {"forest green", 34, 139, 34},
    {"olive drab", 107, 142, 35},
    {"dark khaki", 189, 183, 107},
    {"khaki", 240, 230, 140},
    {"pale goldenrod", 238, 232, 170},
    {"light goldenrod yellow", 250, 250, 210},
    {"light yellow", 255, 255, 224},
    {"yellow", 255, 255, 0},
    {"gold", 255, 215, 0},
    {"light goldenrod", 238, 221, 130},
    {"goldenrod", 218, 165, 32},
    {"dark goldenrod", 184, 134, 11},
    {"rosy brown", 188, 143, 143},
    {"indian red", 205, 92, 92},
    {"saddle brown", 139, 69, 19},
    {"sienna", 160, 82, 45},
    {"peru", 205, 133, 63},
    {"burlywood", 222, 184, 135},
    {"beige", 245, 245, 220},
    {"wheat", 245, 222, 179},
    {"sandy brown", 244, 164, 96},
    {"tan", 210, 180, 140},
    {"chocolate", 210, 105, 30},
    {"firebrick", 178, 34, 34},
    {"brown", 165, 42, 42},
    {"dark salmon", 233, 150, 122},
    {"salmon", 250, 128, 114},
    {"light salmon", 255, 160, 122},
    {"orange", 255, 165, 0},
    {"dark orange", 255, 140, 0},
    {"coral", 255, 127, 80},
    {"light coral", 240, 128, 128},
    {"tomato", 255, 99, 71},
    {"orange red", 255, 69, 0},
    {"red", 255, 0, 0},
    {"hot pink", 255, 105, 180},
    {"deep pink", 255, 20, 147},
    {"pink", 255, 192, 203},
    {"light pink", 255, 182, 193},
    {"pale violet red", 219, 112, 147},
    {"maroon", 176, 48, 96},
    {"x11 maroon", 176, 48, 96},
    {"web maroon", 128, 0, 0},
    {"medium violet red", 199, 21, 133},
    {"violet red", 208, 32, 144},
    {"magenta", 255, 0, 255},
    {"fuchsia", 255, 0, 255},
    {"violet", 238, 130, 238},
    {"plum", 221, 160, 221},
    {"orchid", 218, 112, 214},
    {"medium orchid", 186, 85, 211},
    {"dark orchid", 153, 50, 204},
    {"dark violet", 148, 0, 211},
    {"blue violet", 138, 43, 226},
    {"purple", 160, 32, 240},
    {"x11 purple", 160, 32, 240},
    {"web purple", 128, 0, 128},
    {"medium purple", 147, 112, 219},
    {"thistle", 216, 191, 216},
    {"dark grey", 169, 169, 169},
    {"dark gray", 169, 169, 169},
    {"dark blue", 0, 0, 139},
    {"dark cyan", 0, 139, 139},
    {"dark magenta", 139, 0, 139},
    {"dark red", 139, 0, 0},
    {"light green", 144, 238, 144},
    {"crimson", 220, 20, 60},
    {"indigo", 75, 0, 130},
    {"olive", 128, 128, 0},
    {"rebecca purple", 102, 51, 153},
    {"silver", 192, 192, 192},
    {"teal", 0, 128, 128},
};

// The numbered shades: each family has four, "<family>1" to "<family>4", brightest first.
struct ColorFamily {
  const char* name;
  unsigned char rgb[4][3];
};

constexpr ColorFamily kFamilies[] = {
    {"snow", {{255, 250, 250}, {238, 233, 233}, {205, 201, 201}, {139, 137, 137}}},
    {"seashell", {{255, 245, 238}, {238, 229, 222}, {205, 197, 191}, {139, 134, 130}}},
    {"AntiqueWhite", {{255, 239, 219}, {238, 223, 204}, {205, 192, 176}, {139, 131, 120}}},
    {"bisque", {{255, 228, 196}, {238, 213, 183}, {205, 183, 158}, {139, 125, 107}}},
    {"PeachPuff", {{255, 218, 185}, {238, 203, 173}, {205, 175, 149}, {139, 119, 101}}},
    {"NavajoWhite", {{255, 222, 173}, {238, 207, 161}, {205, 179, 139}, {139, 121, 94}}},
    {"LemonChiffon", {{255, 250, 205}, {238, 233, 191}, {205, 201, 165}, {139, 137, 112}}},
    {"cornsilk", {{255, 248, 220}, {238, 232, 205}, {205, 200, 177}, {139, 136, 120}}},
    {"ivory", {{255, 255, 240}, {238, 238, 224}, {205, 205, 193}, {139, 139, 131}}},
    {"honeydew", {{240, 255, 240}, {224, 238, 224}, {193, 205, 193}, {131, 139, 131}}},
    {"LavenderBlush", {{255, 240, 245}, {238, 224, 229}, {205, 193, 197}, {139, 131, 134}}},
    {"MistyRose", {{255, 228, 225}, {238, 213, 210}, {205, 183, 181}, {139, 125, 123}}},
    {"azure", {{240, 255, 255}, {224, 238, 238}, {193, 205, 205}, {131, 139, 139}}},
    {"SlateBlue", {{131, 111, 255}, {122, 103, 238}, {105, 89, 205}, {71, 60, 139}}},
    {"RoyalBlue", {{72, 118, 255}, {67, 110, 238}, {58, 95, 205}, {39, 64, 139}}},
    {"blue", {{0, 0, 255}, {0, 0, 238}, {0, 0, 205}, {0, 0, 139}}},
    {"DodgerBlue", {{30, 144, 255}, {28, 134, 238}, {24, 116, 205}, {16, 78, 139}}},
    {"SteelBlue", {{99, 184, 255}, {92, 172, 238}, {79, 148, 205}, {54, 100, 139}}},
    {"DeepSkyBlue", {{0, 191, 255}, {0, 178, 238}, {0, 154, 205}, {0, 104, 139}}},
    {"SkyBlue", {{135, 206, 255}, {126, 192, 238}, {108, 166, 205}, {74, 112, 139}}},
    {"LightSkyBlue", {{176, 226, 255}, {164, 211, 238}, {141, 182, 205}, {96, 123, 139}}},
    {"SlateGray", {{198, 226, 255}, {185, 211, 238}, {159, 182, 205}, {108, 123, 139}}},
    {"LightSteelBlue", {{202, 225, 255}, {188, 210, 238}, {162, 181, 205}, {110, 123, 139}}},
    {"LightBlue", {{191, 239, 255}, {178, 223, 238}, {154, 192, 205}, {104, 131, 139}}},
    {"LightCyan", {{224, 255, 255}, {209, 238, 238}, {180, 205, 205}, {122, 139, 139}}},
    {"PaleTurquoise", {{187, 255, 255}, {174, 238, 238}, {150, 205, 205}, {102, 139, 139}}},
    {"CadetBlue", {{152, 245, 255}, {142, 229, 238}, {122, 197, 205}, {83, 134, 139}}},
    {"turquoise", {{0, 245, 255}, {0, 229, 238}, {0, 197, 205}, {0, 134, 139}}},
    {"cyan", {{0, 255, 255}, {0, 238, 238}, {0, 205, 205}, {0, 139, 139}}},
    {"DarkSlateGray", {{151, 255, 255}, {141, 238, 238}, {121, 205, 205}, {82, 139, 139}}},
    {"aquamarine", {{127, 255, 212}, {118, 238, 198}, {102, 205, 170}, {69, 139, 116}}},
    {"DarkSeaGreen", {{193, 255, 193}, {180, 238, 180}, {155, 205, 155}, {105, 139, 105}}},
    {"SeaGreen", {{84, 255, 159}, {78, 238, 148}, {67, 205, 128}, {46, 139, 87}}},
    {"PaleGreen", {{154, 255, 154}, {144, 238, 144}, {124, 205, 124}, {84, 139, 84}}},
    {"SpringGreen", {{0, 255, 127}, {0, 238, 118}, {0, 205, 102}, {0, 139, 69}}},
    {"green", {{0, 255, 0}, {0, 238, 0}, {0, 205, 0}, {0, 139, 0}}},
    {"chartreuse", {{127, 255, 0}, {118, 238, 0}, {102, 205, 0}, {69, 139, 0}}},
    {"OliveDrab", {{192, 255, 62}, {179, 238, 58}, {154, 205, 50}, {105, 139, 34}}},
    {"DarkOliveGreen", {{202, 255, 112}, {188, 238, 104}, {162, 205, 90}, {110, 139, 61}}},
    {"khaki", {{255, 246, 143}, {238, 230, 133}, {205, 198, 115}, {139, 134, 78}}},
    {"LightGoldenrod", {{255, 236, 139}, {238, 220, 130}, {205, 190, 112}, {139, 129, 76}}},
    {"LightYellow", {{255, 255, 224}, {238, 238, 209}, {205, 205, 180}, {139, 139, 122}}},
    {"yellow", {{255, 255, 0}, {238, 238, 0}, {205, 205, 0}, {139, 139, 0}}},
    {"gold", {{255, 215, 0}, {238, 201, 0}, {205, 173, 0}, {139, 117, 0}}},
    {"goldenrod", {{255, 193, 37}, {238, 180, 34}, {205, 155, 29}, {139, 105, 20}}},
    {"DarkGoldenrod", {{255, 185, 15}, {238, 173, 14}, {205, 149, 12}, {139, 101, 8}}},
    {"RosyBrown", {{255, 193, 193}, {238, 180, 180}, {205, 155, 155}, {139, 105, 105}}},
    {"IndianRed", {{255, 106, 106}, {238, 99, 99}, {205, 85, 85}, {139, 58, 58}}},
    {"sienna", {{255, 130, 71}, {238, 121, 66}, {205, 104, 57}, {139, 71, 38}}},
    {"burlywood", {{255, 211, 155}, {238, 197, 145}, {205, 170, 125}, {139, 115, 85}}},
    {"wheat", {{255, 231, 186}, {238, 216, 174}, {205, 186, 150}, {139, 126, 102}}},
    {"tan", {{255, 165, 79}, {238, 154, 73}, {205, 133, 63}, {139, 90, 43}}},
    {"chocolate", {{255, 127, 36}, {238, 118, 33}, {205, 102, 29}, {139, 69, 19}}},
    {"firebrick", {{255, 48, 48}, {238, 44, 44}, {205, 38, 38}, {139, 26, 26}}},
    {"brown", {{255, 64, 64}, {238, 59, 59}, {205, 51, 51}, {139, 35, 35}}},
    {"salmon", {{255, 140, 105}, {238, 130, 98}, {205, 112, 84}, {139, 76, 57}}},
    {"LightSalmon", {{255, 160, 122}, {238, 149, 114}, {205, 129, 98}, {139, 87, 66}}},
    {"orange", {{255, 165, 0}, {238, 154, 0}, {205, 133, 0}, {139, 90, 0}}},
    {"DarkOrange", {{255, 127, 0}, {238, 118, 0}, {205, 102, 0}, {139, 69, 0}}},
    {"coral", {{255, 114, 86}, {238, 106, 80}, {205, 91, 69}, {139, 62, 47}}},
    {"tomato", {{255, 99, 71}, {238, 92, 66}, {205, 79, 57}, {139, 54, 38}}},
    {"OrangeRed", {{255, 69, 0}, {238, 64, 0}, {205, 55, 0}, {139, 37, 0}}},
    {"red", {{255, 0, 0}, {238, 0, 0}, {205, 0, 0}, {139, 0, 0}}},
    {"DeepPink", {{255, 20, 147}, {238, 18, 137}, {205, 16, 118}, {139, 10, 80}}},
    {"HotPink", {{255, 110, 180}, {238, 106, 167}, {205, 96, 144}, {139, 58, 98}}},
    {"pink", {{255, 181, 197}, {238, 169, 184}, {205, 145, 158}, {139, 99, 108}}},
    {"LightPink", {{255, 174, 185}, {238, 162, 173}, {205, 140, 149}, {139, 95, 101}}},
    {"PaleVioletRed", {{255, 130, 171}, {238, 121, 159}, {205, 104, 137}, {139, 71, 93}}},
    {"maroon", {{255, 52, 179}, {238, 48, 167}, {205, 41, 144}, {139, 28, 98}}},
    {"VioletRed", {{255, 62, 150}, {238, 58, 140}, {205, 50, 120}, {139, 34, 82}}},
    {"magenta", {{255, 0, 255}, {238, 0, 238}, {205, 0, 205}, {139, 0, 139}}},
    {"orchid", {{255, 131, 250}, {238, 122, 233}, {205, 105, 201}, {139, 71, 137}}},
    {"plum", {{255, 187, 255}, {238, 174, 238}, {205, 150, 205}, {139, 102, 139}}},
    {"MediumOrchid", {{224, 102, 255}, {209, 95, 238}, {180, 82, 205}, {122, 55, 139}}},
    {"DarkOrchid", {{191, 62, 255}, {178, 58, 238}, {154, 50, 205}, {104, 34, 139}}},
    {"purple", {{155, 48, 255}, {145, 44, 238}, {125, 38, 205}, {85, 26, 139}}},
    {"MediumPurple", {{171, 130, 255}, {159, 121, 238}, {137, 104, 205}, {93, 71, 139}}},
    {"thistle", {{255, 225, 255}, {238, 210, 238}, {205, 181, 205}, {139, 123, 139}}},
};

// The grey ramp: level of "gray<N>" (and "grey<N>") for N = 0..100, N percent of full white as
// X11 rounds it.
constexpr unsigned char kGrayLevels[101] = {
    0,   3,   5,   8,   10,  13,  15,  18,  20,  23,  26,  28,  31,  33,  36,  38,  41,
    43,  46,  48,  51,  54,  56,  59,  61,  64,  66,  69,  71,  74,  77,  79,  82,  84,
    87,  89,  92,  94,  97,  99,  102, 105, 107, 110, 112, 115, 117, 120, 122, 125, 127,
    130, 133, 135, 138, 140, 143, 145, 148, 150, 153, 156, 158, 161, 163, 166, 168, 171,
    173, 176, 179, 181, 184, 186, 189, 191, 194, 196, 199, 201, 204, 207, 209, 212, 214,
    217, 219, 222, 224, 227, 229, 232, 235, 237, 240, 242, 245, 247, 250, 252, 255};

constexpr std::string_view kDefault = "default";

// Lower case of ASCII letters only; other bytes (UTF-8 included) are kept as they are.
constexpr char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "#RRGGBB": '#' and exactly six hexadecimal digits.
bool ParseHex(std::string_view text, unsigned char rgb[3]) {
  if (text.size() != 7 || text[0] != '#') return false;
  int digits[6];
  for (std::size_t i = 0; i < 6; ++i)
    if ((digits[i] = HexDigit(text[i + 1])) < 0) return false;
  for (std::size_t i = 0; i < 3; ++i)
    rgb[i] = static_cast<unsigned char>(digits[2 * i] * 16 + digits[2 * i + 1]);
  return true;
}

// The longest name of the table is well below this; longer text is no colour name.
constexpr std::size_t kMaxName = 32;

// Lower-cases `text` into `buffer`; false when it is too long to be a name.
bool LowerInto(std::string_view text, char (&buffer)[kMaxName], std::string_view& lowered) {
  if (text.size() > kMaxName) return false;
  for (std::size_t i = 0; i < text.size(); ++i) buffer[i] = Lower(text[i]);
  lowered = std::string_view(buffer, text.size());
  return true;
}

bool IsDefault(std::string_view text) {
  if (text.size() != kDefault.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (Lower(text[i]) != kDefault[i]) return false;
  return true;
}

}  // namespace

sesK_ColorMap& sesK_ColorMap::Instance() {
  return omi_Singleton<sesK_ColorMap>::Instance();
}

void sesK_ColorMap::Finalize() {
  omi_Singleton<sesK_ColorMap>::Finalize();
}

void sesK_ColorMap::Add(std::string_view name, Rgb rgb) {
  std::string key;
  key.reserve(name.size());
  for (char c : name) key += Lower(c);
  OMI_ASSERT(key.size() <= kMaxName && "colour name longer than the lookup buffer");
  auto [it, inserted] = names_.emplace(std::move(key), rgb);
  // A name met twice must mean the same colour, or the table has a typing error.
  OMI_ASSERT((inserted || it->second == rgb) && "colour name listed twice with different values");
}

sesK_ColorMap::sesK_ColorMap() {
  names_.reserve(1024);
  for (const NamedColor& c : kNamed) {
    const Rgb rgb{c.r, c.g, c.b};
    const std::string_view name(c.name);
    Add(name, rgb);
    if (name.find(' ') != std::string_view::npos) {
      std::string joined;
      for (char ch : name)
        if (ch != ' ') joined += ch;
      Add(joined, rgb);
    }
  }
  for (const ColorFamily& f : kFamilies) {
    for (int shade = 0; shade < 4; ++shade) {
      const Rgb rgb{f.rgb[shade][0], f.rgb[shade][1], f.rgb[shade][2]};
      Add(std::string(f.name) + static_cast<char>('1' + shade), rgb);
    }
  }
  for (int n = 0; n <= 100; ++n) {
    const unsigned char v = kGrayLevels[n];
    const std::string number = std::to_string(n);
    Add("gray" + number, Rgb{v, v, v});
    Add("grey" + number, Rgb{v, v, v});
  }
}

bool sesK_ColorMap::Lookup(const cow_String& name, unsigned char rgb[3]) const {
  const std::string_view text = name.View();
  if (!text.empty() && text[0] == '#') return ParseHex(text, rgb);
  char buffer[kMaxName] = {};  // zeroed: -O3 cannot see that only written bytes are read
  std::string_view key;
  if (!LowerInto(text, buffer, key)) return false;
  auto it = names_.find(key);
  if (it == names_.end()) return false;
  rgb[0] = it->second[0];
  rgb[1] = it->second[1];
  rgb[2] = it->second[2];
  return true;
}

bool sesK_ColorMap::IsColor(const cow_String& name) const {
  if (IsDefault(name.View())) return true;
  unsigned char rgb[3];
  return Lookup(name, rgb);
}

bool sesK_ColorMap::ProcessColorArg(omu_Arguments& args, cow_String& color, const char* keyword) {
  // Read into a local first, so that a refused value leaves the caller's colour as it was.
  cow_String text;
  if (!args.Get(text, keyword)) return false;
  if (!IsColor(text))
    NEX_THROW(omu_ValueErrorException(cow_String(keyword) + ": unknown colour " +
                                      uti_Quoted(text.View(), 80) +
                                      " (an X11 colour name such as 'Red', '#RRGGBB', or "
                                      "'Default')"));
  color = text;
  return true;
}
