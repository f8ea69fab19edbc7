#include "sheet.h"

#include <string>
#include <vector>

#include "faces.h"
#include "facial_hair.h"
#include "layout.h"
#include "paint.h"
#include "rng.h"
#include "uniforms.h"

namespace likentor::artgen {
namespace fs = std::filesystem;
namespace {

using namespace layout;

constexpr int kColumns = 20;
constexpr int kGap = 4;
constexpr int kHeader = 22;

struct Section {
  std::string title;
  std::vector<Image> tiles;
};

struct TeamColours {
  Rgb bg, text;
};
const TeamColours kSampleColours[] = {
    {Bytes(20, 40, 90), Bytes(200, 30, 40)}, {Bytes(190, 20, 30), Bytes(255, 255, 255)},
    {Bytes(0, 90, 50), Bytes(240, 180, 30)}, {Bytes(0, 0, 0), Bytes(250, 100, 20)},
    {Bytes(90, 40, 130), Bytes(20, 20, 20)}, {Bytes(0, 120, 140), Bytes(230, 230, 230)},
    {Bytes(120, 20, 30), Bytes(20, 40, 90)}, {Bytes(250, 200, 0), Bytes(0, 60, 140)},
};

class Kit {
 public:
  explicit Kit(fs::path graphics) : g_(std::move(graphics)) {}
  Image Background(int n) const { return ReadPng(g_ / "backgrounds" / (Digits(n, 5) + ".png")); }
  Image Face(std::string_view folder, int n) const {
    return ReadPng(g_ / "faces" / folder / (Digits(n, 7) + ".png"));
  }
  Templates Generic(int design) const {
    const fs::path dir = g_ / "uniforms" / "generic" / Digits(design, 2);
    return {ReadBmp(dir / "white.bmp"), ReadBmp(dir / "bg.bmp"), ReadBmp(dir / "text.bmp")};
  }
  Image Png(const fs::path& relative) const { return ReadPng(g_ / relative); }

 private:
  fs::path g_;
};

struct Player {
  int background;
  std::string_view folder;
  int face;
  int design;  // 0: default uniform, -1: custom
  int club;    // custom uniform index
  TeamColours colours;
  std::string_view hair;  // facial hair style, empty for none
  bool blonde;
  int accessory;  // 0 none
};

Image Compose(const Kit& kit, const Player& p) {
  Image canvas = kit.Background(p.background);
  DrawLayer(canvas, kit.Face(p.folder, p.face), kFaceX, kFaceY);
  if (p.design > 0) {
    TransOverlay(canvas, TintGeneric(kit.Generic(p.design), p.colours.bg, p.colours.text));
  } else if (p.design < 0) {
    DrawLayer(canvas,
              kit.Png(fs::path("uniforms") / "custom" / "MLB" /
                      std::string(kCustomClubs[static_cast<std::size_t>(p.club)].file)),
              0, 0);
  } else {
    DrawLayer(canvas, kit.Png("uniforms/default.png"), 0, 0);
  }
  DrawLayer(canvas, kit.Png("uniforms/bill underside.png"), 0, 0);
  if (!p.hair.empty()) {
    DrawLayer(canvas,
              kit.Png(fs::path("facial hair") / std::string(p.hair) /
                      (p.blonde ? "blonde.png" : "brown.png")),
              kHairX, kHairY);
  }
  if (p.accessory > 0) {
    DrawLayer(canvas, kit.Png(fs::path("accessories") / (Digits(p.accessory, 5) + ".png")), 0, 0);
  }
  return canvas;
}

Image OnGrey(const Image& layer, int x, int y) {
  Image canvas(kWidth, kHeight, 3);
  for (std::uint8_t& v : canvas.pixels) v = 200;
  DrawLayer(canvas, layer, x, y);
  return canvas;
}

}  // namespace

void DrawLayer(Image& canvas, const Image& layer, int x, int y) {
  for (int ly = 0; ly < layer.height; ++ly) {
    const int cy = y + ly;
    if (cy < 0 || cy >= canvas.height) continue;
    for (int lx = 0; lx < layer.width; ++lx) {
      const int cx = x + lx;
      if (cx < 0 || cx >= canvas.width) continue;
      const std::uint8_t* s = layer.At(lx, ly);
      std::uint8_t* d = canvas.At(cx, cy);
      BlendOver(d, s, layer.channels == 4 ? s[3] : 255);
    }
  }
}

void TransOverlay(Image& canvas, const Image& bitmap) {
  for (int y = 0; y < std::min(canvas.height, bitmap.height); ++y) {
    for (int x = 0; x < std::min(canvas.width, bitmap.width); ++x) {
      const std::uint8_t* s = bitmap.At(x, y);
      if (s[0] == 0 && s[1] == 0 && s[2] == 0) continue;
      std::uint8_t* d = canvas.At(x, y);
      for (int c = 0; c < 3; ++c) d[c] = s[c];
    }
  }
}

void WriteSheet(const fs::path& programFolder, const fs::path& out) {
  const Kit kit(programFolder / "graphics");
  std::vector<Section> sections;
  Rng rng("sheet", 0);

  // A team's worth of portraits, as the program composes them.
  Section portraits{"Portraits (background, face, uniform, bill underside, facial hair, accessory)",
                    {}};
  for (int i = 0; i < 16; ++i) {
    Player p{};
    const EthnicityInfo& e = kEthnicities[static_cast<std::size_t>(rng.Below(4))];
    p.folder = e.folder;
    p.face = 1 + rng.Below(e.count);
    p.background = 1 + rng.Below(69);
    p.design = i % 6 == 5 ? -1 : (i == 12 ? 0 : 1 + rng.Below(25));
    p.club = rng.Below(30);
    p.colours = kSampleColours[rng.Below(8)];
    p.hair = rng.Chance(0.45) ? kFacialHairStyles[static_cast<std::size_t>(rng.Below(14))].location
                              : std::string_view();
    p.blonde = rng.Chance(0.3);
    p.accessory = i >= 12 ? i - 11 : 0;
    portraits.tiles.push_back(Compose(kit, p));
  }
  sections.push_back(std::move(portraits));

  Section backgrounds{"Backgrounds 1-69", {}};
  for (int b = 1; b <= 69; ++b) backgrounds.tiles.push_back(kit.Background(b));
  sections.push_back(std::move(backgrounds));

  for (const EthnicityInfo& e : kEthnicities) {
    Section faces{"Faces: " + std::string(e.folder) + " (60 of " + std::to_string(e.count) + ")",
                  {}};
    for (int i = 0; i < 60; ++i) {
      const int n = 1 + static_cast<int>((static_cast<long>(i) * e.count) / 60);
      faces.tiles.push_back(OnGrey(kit.Face(e.folder, n), kFaceX, kFaceY));
    }
    sections.push_back(std::move(faces));
  }

  const Image previewFace = kit.Png("uniforms/previewface.png");
  const Image underside = kit.Png("uniforms/bill underside.png");
  Section generic{"Generic designs 01-25, tinted", {}};
  for (int d = 1; d <= 25; ++d) {
    Image tile = previewFace;
    const TeamColours& c = kSampleColours[(d - 1) % 8];
    TransOverlay(tile, TintGeneric(kit.Generic(d), c.bg, c.text));
    DrawLayer(tile, underside, 0, 0);
    generic.tiles.push_back(std::move(tile));
  }
  for (int d = 1; d <= 5; ++d) {  // the same designs in other colours
    Image tile = previewFace;
    const TeamColours& c = kSampleColours[(d + 3) % 8];
    TransOverlay(tile, TintGeneric(kit.Generic(d * 5), c.text, c.bg));
    DrawLayer(tile, underside, 0, 0);
    generic.tiles.push_back(std::move(tile));
  }
  sections.push_back(std::move(generic));

  Section custom{"Custom uniforms, default uniform", {}};
  for (const CustomClub& club : kCustomClubs) {
    Image tile = previewFace;
    DrawLayer(tile, kit.Png(fs::path("uniforms/custom/MLB") / std::string(club.file)), 0, 0);
    DrawLayer(tile, underside, 0, 0);
    custom.tiles.push_back(std::move(tile));
  }
  {
    Image tile = previewFace;
    DrawLayer(tile, kit.Png("uniforms/default.png"), 0, 0);
    DrawLayer(tile, underside, 0, 0);
    custom.tiles.push_back(std::move(tile));
  }
  sections.push_back(std::move(custom));

  // Every style in both colours, on different faces to show the fit.
  Section hair{"Facial hair: every style, brown and blonde, on different jaws", {}};
  int k = 0;
  for (const FacialHairStyle& s : kFacialHairStyles) {
    for (bool blonde : {false, true}) {
      const EthnicityInfo& e = kEthnicities[static_cast<std::size_t>(k % 4)];
      Player p{1 + (k * 7) % 69, e.folder, 1 + (k * 97) % e.count,
               1 + k % 25,       0,        kSampleColours[k % 8],
               s.location,       blonde,   0};
      hair.tiles.push_back(Compose(kit, p));
      ++k;
    }
  }
  sections.push_back(std::move(hair));

  Section previews{"Accessories 1-4 alone; preview faces; bill underside", {}};
  for (int a = 1; a <= 4; ++a) {
    previews.tiles.push_back(
        OnGrey(kit.Png(fs::path("accessories") / (Digits(a, 5) + ".png")), 0, 0));
  }
  previews.tiles.push_back(previewFace);
  previews.tiles.push_back(kit.Png("facial hair/previewface.png"));
  previews.tiles.push_back(OnGrey(underside, 0, 0));
  sections.push_back(std::move(previews));

  int height = kGap;
  for (const Section& s : sections) {
    const int rows = (static_cast<int>(s.tiles.size()) + kColumns - 1) / kColumns;
    height += kHeader + rows * (kHeight + kGap);
  }
  const int width = kGap + kColumns * (kWidth + kGap);
  Canvas sheet(width, height);
  cairo_t* cr = sheet.cr();
  SetColor(cr, Bytes(236, 236, 236));
  cairo_paint(cr);
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 13);
  int y = kGap;
  for (const Section& s : sections) {
    SetColor(cr, Bytes(40, 40, 40));
    cairo_move_to(cr, kGap, y + 15);
    cairo_show_text(cr, s.title.c_str());
    y += kHeader;
    for (std::size_t i = 0; i < s.tiles.size(); ++i) {
      const int col = static_cast<int>(i) % kColumns;
      const int row = static_cast<int>(i) / kColumns;
      PaintImage(cr, s.tiles[i], kGap + col * (kWidth + kGap), y + row * (kHeight + kGap));
    }
    y += (static_cast<int>(s.tiles.size()) + kColumns - 1) / kColumns * (kHeight + kGap);
  }
  WritePng(sheet.ToImage(3), out);
}

}  // namespace likentor::artgen
