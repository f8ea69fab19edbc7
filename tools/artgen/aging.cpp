#include "aging.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <string>
#include <utility>

#include "facial_hair.h"
#include "layout.h"
#include "paint.h"
#include "rng.h"

namespace likentor::artgen {

namespace fs = std::filesystem;
using namespace layout;

namespace {

// A crease reads on every skin tone as a dark line with a faint light edge below it.
constexpr Rgb kCrease = Bytes(58, 32, 24);
constexpr Rgb kCreaseLight = Bytes(255, 236, 220);
constexpr Rgb kGrey = Bytes(206, 204, 200);
constexpr Rgb kSheen = Bytes(255, 228, 204);
constexpr Rgb kThinStrand = Bytes(72, 62, 56);

void Crease(cairo_t* cr, const std::vector<Pt>& points, double width, double alpha) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  std::vector<Pt> lit = points;
  for (Pt& p : lit) p.y += width * 0.9;
  SmoothOpen(cr, lit);
  SetColor(cr, kCreaseLight, alpha * 0.35);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
  SmoothOpen(cr, points);
  SetColor(cr, kCrease, alpha);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

// Both sides of the face: s = -1 the viewer's left, +1 the right.
template <typename Draw>
void BothSides(Draw draw) {
  draw(-1.0);
  draw(1.0);
}

void EyeLines(cairo_t* cr, int step) {
  const double c = kCentreX;
  const double alpha = 0.16 + 0.09 * step;
  BothSides([&](double s) {
    // Crow's feet fan out from beyond the widest outer eye corner (±14.5) and stay inside the
    // narrowest cheek (±20).
    const int lines = step + 1;
    for (int i = 0; i < lines; ++i) {
      const double spread = (i - (lines - 1) / 2.0) * 1.6;
      const double y0 = kEyeY + spread * 0.6;
      Crease(cr,
             {{c + s * 15.4, y0},
              {c + s * 17.0, y0 + spread * 0.5},
              {c + s * (17.6 + 0.4 * step), y0 + spread}},
             0.55, alpha);
    }
    // The lower lid's fold, below every eye shape.
    if (step >= 2) {
      Crease(cr,
             {{c + s * 6.6, kEyeY + 3.6}, {c + s * 10.0, kEyeY + 4.5}, {c + s * 13.4, kEyeY + 3.4}},
             0.5, alpha * 0.75);
    }
  });
}

void MouthLines(cairo_t* cr, int step) {
  const double c = kCentreX;
  const double alpha = 0.14 + 0.1 * step;
  BothSides([&](double s) {
    // From beside the widest nostril down past the widest mouth's corner.
    Crease(cr, {{c + s * 7.4, kNoseTipMin}, {c + s * 9.6, 76.0}, {c + s * 10.6, kMouthY + 1.5}},
           0.6 + 0.1 * step, alpha);
    if (step >= 3) {
      // The marionette line below the mouth's corner.
      Crease(cr, {{c + s * 9.2, kMouthY + 3.0}, {c + s * 9.8, kMouthY + 6.5}}, 0.5, alpha * 0.7);
    }
  });
}

// Grey strands at the temples, where the hair shows below the brim: kept inside the narrowest
// temple (±20.5), so they lie on the hair or the skin of every face and never beside a head.
void GreyTemples(cairo_t* cr, int step) {
  const double c = kCentreX;
  Rng rng("aging temples", static_cast<std::uint64_t>(step));
  // At the last step the hair there is thinner: fewer strands, farther apart.
  const int strands = step >= 3 ? 12 : 5 + 6 * step;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  BothSides([&](double s) {
    for (int i = 0; i < strands; ++i) {
      const double x = c + s * rng.Range(17.6, 19.6);
      const double y = rng.Range(46.0, 48.5);
      const double length = rng.Range(2.0, 3.0 + step);
      cairo_move_to(cr, x, y);
      cairo_line_to(cr, x + s * rng.Range(-0.6, 0.3), y + length);
      SetColor(cr, kGrey, rng.Range(0.22, 0.3 + 0.08 * step));
      cairo_set_line_width(cr, 0.4);
      cairo_stroke(cr);
    }
  });
}

// Thinner hair at the temples at the last step: the hairline's corner below the brim recedes. The
// skin that shows there catches the light (a warm sheen, which reads as bare skin on every skin
// tone and over any hair colour, where a flat colour would read as a patch), fading out into the
// hair; across it a few sparse strands combed back, dark and grey, so the hair there reads as
// thin rather than gone.
void ThinTemples(cairo_t* cr) {
  const double c = kCentreX;
  Rng rng("aging thinning", 3);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  BothSides([&](double s) {
    // The receded corner: strongest at the top outer corner, none by the sideburn and inward.
    cairo_pattern_t* p =
        cairo_pattern_create_radial(c + s * 19.6, 46.2, 0.3, c + s * 19.2, 46.6, 3.4);
    cairo_pattern_add_color_stop_rgba(p, 0, kSheen.r, kSheen.g, kSheen.b, 0.34);
    cairo_pattern_add_color_stop_rgba(p, 0.55, kSheen.r, kSheen.g, kSheen.b, 0.16);
    cairo_pattern_add_color_stop_rgba(p, 1, kSheen.r, kSheen.g, kSheen.b, 0.0);
    cairo_set_source(cr, p);
    cairo_move_to(cr, c + s * 16.8, 44.0);
    cairo_line_to(cr, c + s * 20.4, 44.0);
    cairo_line_to(cr, c + s * 20.4, 50.8);
    cairo_curve_to(cr, c + s * 19.2, 50.4, c + s * 17.6, 48.4, c + s * 16.8, 46.0);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Sparse strands across it, combed back and up.
    for (int i = 0; i < 6; ++i) {
      const double x = c + s * (17.4 + 0.5 * i + rng.Range(-0.15, 0.15));
      const double y = rng.Range(48.4, 50.2);
      cairo_move_to(cr, x, y);
      cairo_line_to(cr, x + s * rng.Range(0.6, 1.1), y - rng.Range(2.0, 3.0));
      SetColor(cr, i % 2 == 0 ? kThinStrand : kGrey, rng.Range(0.3, 0.42));
      cairo_set_line_width(cr, 0.35);
      cairo_stroke(cr);
    }
  });
}

std::uint32_t PixelHash(int x, int y, int salt) {
  std::uint64_t h = (static_cast<std::uint64_t>(x) << 32) ^ static_cast<std::uint32_t>(y) ^
                    (static_cast<std::uint64_t>(salt) << 48);
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdULL;
  h ^= h >> 33;
  return static_cast<std::uint32_t>(h);
}

}  // namespace

Image MakeAgeFace(int step) {
  Canvas canvas(kWidth, kHeight);
  cairo_t* cr = canvas.cr();
  EyeLines(cr, step);
  MouthLines(cr, step);
  GreyTemples(cr, step);
  if (step >= 3) ThinTemples(cr);
  return canvas.ToImage(4);
}

Image MakeGreyFacialHair(std::string_view location, int step) {
  // The style's own strands in grey, laid over it with a share of its cover that grows with the
  // step: at 90 x 135 a greying beard reads as a lighter, cooler beard, first at the chin and the
  // corners of the mouth. A faint per-pixel draw keeps the grey from looking painted on.
  Image grey = MakeFacialHair(location, HairColour::kBrown);
  const double share = 0.1 + 0.22 * step;
  for (int y = 0; y < grey.height; ++y) {
    for (int x = 0; x < grey.width; ++x) {
      std::uint8_t* p = grey.At(x, y);
      if (p[3] == 0) continue;
      const double lum = (p[0] * 0.3 + p[1] * 0.59 + p[2] * 0.11) / 255.0;
      const int light = std::min(235, static_cast<int>(138 + lum * 190));
      // Canvas y of the pixel: the chin (y 86 and below) greys first, the cheeks last.
      const double canvasY = y + kHairY;
      const double chin = std::clamp((canvasY - 70.0) / 20.0, 0.0, 1.0);
      const double jitter = 0.8 + 0.4 * ((PixelHash(x, y / 2, 7) % 1000) / 1000.0);
      const double cover = std::clamp(share * (0.7 + 0.5 * chin) * jitter, 0.0, 0.92);
      p[0] = static_cast<std::uint8_t>(light);
      p[1] = static_cast<std::uint8_t>(light);
      p[2] = static_cast<std::uint8_t>(std::min(255, light + 3));
      p[3] = static_cast<std::uint8_t>(p[3] * cover);
    }
  }
  return grey;
}

int WriteAgeLayers(const fs::path& graphics, int step) {
  fs::create_directories(graphics / "aging");
  WritePng(MakeAgeFace(step), graphics / "aging" / ("face " + std::to_string(step) + ".png"));
  int files = 1;
  for (const FacialHairStyle& style : kFacialHairStyles) {
    WritePng(MakeGreyFacialHair(style.location, step),
             graphics / "facial hair" / style.location / ("grey " + std::to_string(step) + ".png"));
    ++files;
  }
  return files;
}

void WriteAgeSheet(const fs::path& programFolder, const fs::path& out, int face, int scale) {
  const fs::path g = programFolder / "graphics";
  const std::string number = Digits(face, 7);
  const Image uniform = ReadPng(g / "uniforms" / "default.png");
  const Image bill = ReadPng(g / "uniforms" / "bill underside.png");
  // One row per face folder, each with a facial-hair style of its own ("" for none).
  const std::pair<const char*, const char*> rows[] = {{"caucasian", "full beard"},
                                                      {"african", "goatee"},
                                                      {"asian", ""},
                                                      {"east indian", "moustache"}};
  const int gap = 4;
  const int cellW = (kWidth + gap) * scale;
  const int cellH = (kHeight + gap) * scale;
  Canvas sheet(cellW * (kAgeLayerSteps + 1), cellH * static_cast<int>(std::size(rows)));
  cairo_t* cr = sheet.cr();
  SetColor(cr, Bytes(255, 255, 255));
  cairo_paint(cr);
  for (std::size_t row = 0; row < std::size(rows); ++row) {
    const Image faceImage = ReadPng(g / "faces" / rows[row].first / (number + ".png"));
    const std::string style = rows[row].second;
    Image hair;
    if (!style.empty()) hair = ReadPng(g / "facial hair" / style / "brown.png");
    for (int step = 0; step <= kAgeLayerSteps; ++step) {
      Canvas one(kWidth, kHeight);
      cairo_t* c = one.cr();
      SetColor(c, Bytes(120, 134, 150));
      cairo_paint(c);
      PaintImage(c, faceImage, kFaceX, kFaceY);
      if (step > 0) PaintImage(c, MakeAgeFace(step), 0, 0);
      PaintImage(c, uniform, 0, 0);
      PaintImage(c, bill, 0, 0);
      if (!style.empty()) {
        PaintImage(c, hair, kHairX, kHairY);
        if (step > 0) PaintImage(c, MakeGreyFacialHair(style, step), kHairX, kHairY);
      }
      cairo_surface_flush(cairo_get_target(c));
      cairo_save(cr);
      cairo_translate(cr, step * cellW, static_cast<double>(row) * cellH);
      cairo_scale(cr, scale, scale);
      cairo_set_source_surface(cr, cairo_get_target(c), 0, 0);
      cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
      cairo_paint(cr);
      cairo_restore(cr);
    }
  }
  WritePng(sheet.ToImage(3), out);
}

}  // namespace likentor::artgen
