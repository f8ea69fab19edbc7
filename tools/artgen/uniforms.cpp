#include "uniforms.h"

#include <cmath>
#include <stdexcept>
#include <vector>

#include "figure.h"
#include "layout.h"

namespace likentor::artgen {
namespace {

using namespace layout;

const Rgb kBlack{0, 0, 0};
const Rgb kWhiteLight = Bytes(255, 255, 255);

Rgb PartColour(const Palette& p, Part part) {
  switch (part) {
    case Part::kWhite:
      return p.white;
    case Part::kBg:
      return p.bg;
    case Part::kText:
      return p.text;
  }
  return p.white;
}

double NeckBottom(Neck neck) {
  switch (neck) {
    case Neck::kCrew:
      return kCrewBottom;
    case Neck::kVNeck:
      return kVBottom;
    case Neck::kButtons:
      return 111.0;
    case Neck::kPullover:
      return 105.0;
  }
  return kCrewBottom;
}

bool IsV(Neck neck) {
  return neck == Neck::kVNeck || neck == Neck::kButtons;
}

// Which colour trims the collar when the design has no piping of its own.
Part TrimPart(const Design& d) {
  if (d.piping > 0) return d.pipingPart;
  return d.body == Part::kWhite ? Part::kBg : Part::kWhite;
}

void Star(cairo_t* cr, double cx, double cy, double outer, double inner) {
  for (int i = 0; i < 10; ++i) {
    const double a = -M_PI / 2 + i * M_PI / 5;
    const double r = i % 2 == 0 ? outer : inner;
    if (i == 0) {
      cairo_move_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    } else {
      cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    }
  }
  cairo_close_path(cr);
}

void DrawEmblem(cairo_t* cr, const Design& d, const Palette& p) {
  const double cx = kCentreX;
  const double cy = kEmblemY;
  SetColor(cr, PartColour(p, d.emblem));
  if (!d.initial.empty()) {
    cairo_select_font_face(cr, "DejaVu Serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    const double size = d.initial.size() == 1 ? 14.0 : d.initial.size() == 2 ? 11.0 : 8.5;
    cairo_set_font_size(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, d.initial.c_str(), &e);
    cairo_move_to(cr, cx - e.x_bearing - e.width / 2, cy - e.y_bearing - e.height / 2);
    cairo_text_path(cr, d.initial.c_str());
    cairo_fill(cr);
    return;
  }
  switch (d.emblemShape) {
    case 0:
      cairo_arc(cr, cx, cy, 4.6, 0, 2 * M_PI);
      cairo_fill(cr);
      break;
    case 1:
      Star(cr, cx, cy + 0.4, 6.2, 2.6);
      cairo_fill(cr);
      break;
    case 2:
      cairo_move_to(cr, cx, cy - 6);
      cairo_line_to(cr, cx + 5, cy);
      cairo_line_to(cr, cx, cy + 6);
      cairo_line_to(cr, cx - 5, cy);
      cairo_close_path(cr);
      cairo_fill(cr);
      break;
    case 3:
      cairo_set_line_width(cr, 2.0);
      cairo_arc(cr, cx, cy, 4.6, 0, 2 * M_PI);
      cairo_stroke(cr);
      break;
    case 4:
      cairo_rectangle(cr, cx - 6.5, cy - 2.2, 13, 4.4);
      cairo_fill(cr);
      break;
    case 5:
      cairo_move_to(cr, cx - 5, cy - 5.5);
      cairo_line_to(cr, cx + 5, cy - 5.5);
      cairo_curve_to(cr, cx + 5, cy + 1, cx + 3, cy + 4, cx, cy + 6);
      cairo_curve_to(cr, cx - 3, cy + 4, cx - 5, cy + 1, cx - 5, cy - 5.5);
      cairo_close_path(cr);
      cairo_fill(cr);
      break;
    default:
      break;
  }
}

// The two seams of the front panels, from the button down to the band.
void CrownSeams(cairo_t* cr) {
  for (int s : {-1, 1}) {
    cairo_move_to(cr, kCentreX, kCrownTop + 0.5);
    cairo_curve_to(cr, kCentreX + s * 4.5, 22, kCentreX + s * 8.8, 32, kCentreX + s * 10.5,
                   kCrownBand + 0.5);
  }
}

// Faint side seams further back.
void SideSeams(cairo_t* cr) {
  for (int s : {-1, 1}) {
    cairo_move_to(cr, kCentreX, kCrownTop + 0.5);
    cairo_curve_to(cr, kCentreX + s * 11, 19, kCentreX + s * 19, 26, kCentreX + s * 22.5, 40);
  }
}

void DrawCap(cairo_t* cr, const Design& d, const Palette& p, bool shaded) {
  const Part crownPart = d.cap == CapStyle::kTextCrown ? Part::kText : Part::kBg;
  const Part brimPart = d.cap == CapStyle::kContrastBrim ? Part::kText : Part::kBg;
  cairo_save(cr);
  CrownPath(cr);
  SetColor(cr, PartColour(p, crownPart));
  cairo_fill_preserve(cr);
  cairo_clip(cr);
  if (d.cap == CapStyle::kWhitePanels) {
    // The two front panels in white, the rest of the crown in colour.
    cairo_move_to(cr, kCentreX, kCrownTop + 0.5);
    cairo_curve_to(cr, kCentreX - 4.5, 22, kCentreX - 8.8, 32, kCentreX - 10.5, kCrownBand + 2);
    cairo_line_to(cr, kCentreX + 10.5, kCrownBand + 2);
    cairo_curve_to(cr, kCentreX + 8.8, 32, kCentreX + 4.5, 22, kCentreX, kCrownTop + 0.5);
    cairo_close_path(cr);
    SetColor(cr, p.white);
    cairo_fill(cr);
  }
  if (d.cap == CapStyle::kBirdseye) {
    // Piped seams in the second colour.
    cairo_set_line_width(cr, 1.2);
    CrownSeams(cr);
    SetColor(cr, p.text);
    cairo_stroke(cr);
  }
  if (shaded) {
    cairo_set_line_width(cr, 0.8);
    CrownSeams(cr);
    SetColor(cr, kBlack, 0.32);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 0.6);
    SideSeams(cr);
    SetColor(cr, kBlack, 0.16);
    cairo_stroke(cr);
  }
  DrawEmblem(cr, d, p);
  if (shaded) {
    LinearWash(cr, 42, 0, 70, 0, kBlack, 0.0, 0.34);
    LinearWash(cr, 20, 0, 26, 0, kBlack, 0.16, 0.0);
    SoftSpot(cr, 36, 25, 11, 8, kWhiteLight, 0.3);
    LinearWash(cr, 0, 35, 0, kCrownBand + 1, kBlack, 0.0, 0.22);
    // Eyelets on the side panels.
    for (int s : {-1, 1}) {
      SetColor(cr, kBlack, 0.35);
      cairo_arc(cr, kCentreX + s * 13.5, 23.5, 0.65, 0, 2 * M_PI);
      cairo_fill(cr);
    }
  }
  cairo_restore(cr);
  // The button on top.
  cairo_save(cr);
  cairo_arc(cr, kCentreX, kCrownTop + 0.6, 2.0, 0, 2 * M_PI);
  SetColor(cr, PartColour(p, d.cap == CapStyle::kBirdseye ? Part::kText : crownPart));
  cairo_fill(cr);
  cairo_restore(cr);
  if (shaded) {
    cairo_save(cr);
    CrownPath(cr);
    cairo_set_line_width(cr, 1.0);
    SetColor(cr, kBlack, 0.42);
    cairo_stroke(cr);
    cairo_restore(cr);
  }
  // The brim.
  cairo_save(cr);
  BrimPath(cr);
  SetColor(cr, PartColour(p, brimPart));
  cairo_fill_preserve(cr);
  cairo_clip(cr);
  if (shaded) {
    LinearWash(cr, 45, 0, 73, 0, kBlack, 0.0, 0.3);
    SoftSpot(cr, 33, 42.5, 11, 2.5, kWhiteLight, 0.35);
    cairo_set_line_width(cr, 0.5);
    SetColor(cr, kBlack, 0.2);
    BrimFrontEdge(cr, -1.3);
    cairo_stroke(cr);
    BrimFrontEdge(cr, -2.5);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
  if (shaded) {
    cairo_save(cr);
    BrimPath(cr);
    cairo_set_line_width(cr, 0.9);
    SetColor(cr, kBlack, 0.4);
    cairo_stroke(cr);
    cairo_restore(cr);
  }
}

// The tops of block letters on an arch, cut off by the bottom of the picture: it reads as a
// team's chest lettering but spells nothing, so it suits any team.
void DrawLetterTops(cairo_t* cr, const Palette& p, Part part, Part body) {
  SetColor(cr, PartColour(p, part));
  constexpr int kLetters = 7;
  for (int i = 0; i < kLetters; ++i) {
    const double x = 12.5 + i * 9.5;
    const double y = kLetteringTop + 6.0 - 3.0 * std::sin(M_PI * (i + 0.5) / kLetters);
    const double w = 7.6;
    switch (i % 3) {
      case 0:  // a rounded top
        cairo_move_to(cr, x, y + 12);
        cairo_line_to(cr, x, y + 2.5);
        cairo_curve_to(cr, x, y - 0.4, x + w, y - 0.4, x + w, y + 2.5);
        cairo_line_to(cr, x + w, y + 12);
        cairo_close_path(cr);
        break;
      case 1:  // a flat top with two stems
        cairo_rectangle(cr, x, y, w, 12);
        break;
      default:  // a top with a notch
        cairo_move_to(cr, x, y + 12);
        cairo_line_to(cr, x, y);
        cairo_line_to(cr, x + w, y);
        cairo_line_to(cr, x + w, y + 12);
        cairo_close_path(cr);
        break;
    }
    cairo_fill(cr);
    // The counters (holes) of the letters show the shirt through.
    SetColor(cr, PartColour(p, body));
    if (i % 3 == 1) cairo_rectangle(cr, x + 2.6, y + 3.0, w - 5.2, 12);
    if (i % 3 == 2) cairo_rectangle(cr, x + 2.6, y + 2.6, w - 2.6, 2.4);
    if (i % 3 == 0) cairo_rectangle(cr, x + 2.6, y + 3.2, w - 5.2, 12);
    cairo_fill(cr);
    SetColor(cr, PartColour(p, part));
  }
}

void DrawWordmark(cairo_t* cr, const Design& d, const Palette& p) {
  cairo_save(cr);
  cairo_select_font_face(cr, "DejaVu Serif", CAIRO_FONT_SLANT_ITALIC, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 14.0);
  cairo_text_extents_t e;
  cairo_text_extents(cr, d.wordmark.c_str(), &e);
  const double maxWidth = 64.0;
  const double k = std::min(1.0, maxWidth / e.width);
  cairo_translate(cr, kCentreX, kLetteringTop + 1.0);
  cairo_scale(cr, k, 1.0);
  cairo_rotate(cr, -0.06);
  cairo_move_to(cr, -e.x_bearing - e.width / 2, -e.y_bearing);
  cairo_text_path(cr, d.wordmark.c_str());
  SetColor(cr, PartColour(p, d.letterPart));
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 0.9);
  SetColor(cr, PartColour(p, d.pipingPart), 0.9);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void DrawJersey(cairo_t* cr, const Design& d, const Palette& p, bool shaded) {
  const double neckBottom = NeckBottom(d.neck);
  const bool vNeck = IsV(d.neck);
  cairo_save(cr);
  if (vNeck) {
    // The undershirt shows in the V.
    JerseyRegion(cr, 104.0, false);
    SetColor(cr, PartColour(p, d.undershirt));
    cairo_fill(cr);
  }
  JerseyRegion(cr, neckBottom, vNeck);
  SetColor(cr, PartColour(p, d.body));
  cairo_fill_preserve(cr);
  cairo_clip(cr);
  if (d.pinstripes) {
    SetColor(cr, p.text);
    for (double x = 1.5; x < kWidth; x += 4.5) cairo_rectangle(cr, x, 90, 0.9, 50);
    cairo_fill(cr);
  }
  // Sleeves and shoulders.
  for (int s : {-1, 1}) {
    const double c = kCentreX;
    switch (d.sleeves) {
      case Sleeves::kRaglan:
        cairo_move_to(cr, c + s * 14.5, 96);
        cairo_line_to(cr, c + s * 60, 96);
        cairo_line_to(cr, c + s * 60, 140);
        cairo_line_to(cr, c + s * 33, 140);
        cairo_curve_to(cr, c + s * 27, 122, c + s * 19, 108, c + s * 14.5, 96);
        break;
      case Sleeves::kYoke:
        cairo_move_to(cr, c + s * 12, 94);
        cairo_line_to(cr, c + s * 60, 94);
        cairo_line_to(cr, c + s * 60, 111);
        cairo_curve_to(cr, c + s * 40, 110, c + s * 24, 106, c + s * 16, 101.5);
        cairo_line_to(cr, c + s * 12, 101.5);
        break;
      case Sleeves::kSetIn:
        cairo_move_to(cr, c + s * 36, 96);
        cairo_line_to(cr, c + s * 60, 96);
        cairo_line_to(cr, c + s * 60, 140);
        cairo_line_to(cr, c + s * 39.5, 140);
        cairo_curve_to(cr, c + s * 38, 128, c + s * 36.5, 118, c + s * 38, 110);
        break;
      case Sleeves::kPlain:
        continue;
    }
    cairo_close_path(cr);
    SetColor(cr, PartColour(p, d.sleevePart));
    cairo_fill(cr);
  }
  // Piping along the sleeve seams.
  if (d.piping > 0 && d.sleeves != Sleeves::kPlain) {
    SetColor(cr, PartColour(p, d.pipingPart));
    cairo_set_line_width(cr, 1.3);
    for (int s : {-1, 1}) {
      const double c = kCentreX;
      if (d.sleeves == Sleeves::kRaglan) {
        cairo_move_to(cr, c + s * 14.5, 96);
        cairo_curve_to(cr, c + s * 19, 108, c + s * 27, 122, c + s * 33, 140);
      } else if (d.sleeves == Sleeves::kYoke) {
        cairo_move_to(cr, c + s * 16, 101.5);
        cairo_curve_to(cr, c + s * 24, 106, c + s * 40, 110, c + s * 60, 111);
      } else {
        cairo_move_to(cr, c + s * 38, 110);
        cairo_curve_to(cr, c + s * 36.5, 118, c + s * 38, 128, c + s * 39.5, 140);
      }
      cairo_stroke(cr);
    }
  }
  // Front: placket, buttons, lettering.
  const Part trim = TrimPart(d);
  if (d.neck == Neck::kButtons || d.neck == Neck::kPullover) {
    const double top = d.neck == Neck::kButtons ? neckBottom - 1 : neckBottom;
    const double bottom = d.neck == Neck::kButtons ? 140.0 : 119.0;
    if (d.piping > 0) {
      SetColor(cr, PartColour(p, d.pipingPart));
      cairo_rectangle(cr, kCentreX - 3.2, top, 1.3, bottom - top);
      cairo_rectangle(cr, kCentreX + 1.9, top, 1.3, bottom - top);
      if (d.neck == Neck::kPullover) cairo_rectangle(cr, kCentreX - 3.2, bottom - 1.3, 6.4, 1.3);
      cairo_fill(cr);
    }
    if (d.lettering) {
      // Lettering goes round the placket; keep its tops off the buttons.
    }
    const Rgb button = d.body == Part::kWhite ? Mix(p.white, kBlack, 0.25) : p.white;
    for (double y = top + 5; y < std::min(bottom, 136.0); y += 8.5) {
      SetColor(cr, button);
      cairo_arc(cr, kCentreX, y, 1.0, 0, 2 * M_PI);
      cairo_fill(cr);
    }
  }
  if (!d.wordmark.empty()) {
    DrawWordmark(cr, d, p);
  } else if (d.lettering) {
    DrawLetterTops(cr, p, d.letterPart, d.body);
  }
  // The collar band along the neckline, and a second line for double piping.
  SetColor(cr, PartColour(p, trim));
  cairo_set_line_width(cr, vNeck ? 2.4 : 3.0);
  NecklinePath(cr, neckBottom, vNeck);
  cairo_stroke(cr);
  if (d.piping == 2) {
    SetColor(cr, PartColour(p, d.body == Part::kWhite ? Part::kBg : Part::kText));
    cairo_set_line_width(cr, 1.0);
    cairo_save(cr);
    cairo_translate(cr, 0, 2.6);
    NecklinePath(cr, neckBottom, vNeck);
    cairo_restore(cr);
    cairo_stroke(cr);
  }
  if (shaded) {
    LinearWash(cr, 50, 0, 92, 0, kBlack, 0.0, 0.32);
    LinearWash(cr, 0, 98, 0, 112, kWhiteLight, 0.18, 0.0);
    SoftSpot(cr, 22, 110, 18, 6, kWhiteLight, 0.22);
    SoftSpot(cr, 46, 101, 15, 5.5, kBlack, 0.38);
    SoftSpot(cr, 12, 131, 5, 12, kBlack, 0.12);
    SoftSpot(cr, 79, 128, 6, 14, kBlack, 0.16);
    SoftSpot(cr, 30, 124, 6, 9, kBlack, 0.07);
  }
  cairo_restore(cr);
  if (shaded) {
    cairo_save(cr);
    JerseyRegion(cr, neckBottom, vNeck);
    cairo_set_line_width(cr, 1.0);
    SetColor(cr, kBlack, 0.4);
    cairo_stroke(cr);
    cairo_restore(cr);
  }
}

}  // namespace

Design GenericDesign(int number) {
  using C = CapStyle;
  using N = Neck;
  using S = Sleeves;
  using P = Part;
  struct Row {
    C cap;
    P emblem;
    int shape;
    P body;
    bool stripes;
    N neck;
    S sleeves;
    P sleevePart;
    int piping;
    P pipingPart;
    P under;
    bool letters;
    P letterPart;
  };
  static constexpr Row kRows[25] = {
      {C::kSolid, P::kText, 0, P::kWhite, false, N::kButtons, S::kPlain, P::kBg, 1, P::kBg, P::kBg,
       true, P::kBg},
      {C::kContrastBrim, P::kText, 1, P::kWhite, false, N::kButtons, S::kRaglan, P::kBg, 1,
       P::kText, P::kBg, true, P::kText},
      {C::kWhitePanels, P::kBg, 2, P::kWhite, false, N::kPullover, S::kPlain, P::kBg, 1, P::kBg,
       P::kBg, true, P::kBg},
      {C::kSolid, P::kWhite, 3, P::kBg, false, N::kCrew, S::kPlain, P::kBg, 1, P::kText, P::kText,
       true, P::kWhite},
      {C::kSolid, P::kText, 1, P::kWhite, true, N::kButtons, S::kPlain, P::kBg, 0, P::kText, P::kBg,
       false, P::kText},
      {C::kTextCrown, P::kBg, 0, P::kWhite, false, N::kVNeck, S::kRaglan, P::kText, 0, P::kText,
       P::kText, true, P::kBg},
      {C::kBirdseye, P::kText, 5, P::kWhite, false, N::kButtons, S::kYoke, P::kBg, 1, P::kText,
       P::kBg, true, P::kText},
      {C::kSolid, P::kText, 4, P::kBg, false, N::kButtons, S::kRaglan, P::kWhite, 1, P::kText,
       P::kText, true, P::kWhite},
      {C::kContrastBrim, P::kWhite, 2, P::kWhite, false, N::kCrew, S::kSetIn, P::kBg, 2, P::kText,
       P::kBg, true, P::kBg},
      {C::kSolid, P::kText, 3, P::kWhite, true, N::kPullover, S::kPlain, P::kBg, 1, P::kBg, P::kBg,
       true, P::kBg},
      {C::kWhitePanels, P::kText, 1, P::kBg, false, N::kVNeck, S::kPlain, P::kBg, 2, P::kWhite,
       P::kText, true, P::kWhite},
      {C::kSolid, P::kWhite, 0, P::kWhite, false, N::kButtons, S::kSetIn, P::kBg, 2, P::kBg, P::kBg,
       true, P::kText},
      {C::kTextCrown, P::kWhite, 5, P::kBg, false, N::kCrew, S::kRaglan, P::kText, 1, P::kWhite,
       P::kText, true, P::kText},
      {C::kBirdseye, P::kWhite, 2, P::kWhite, true, N::kVNeck, S::kPlain, P::kBg, 1, P::kBg,
       P::kText, false, P::kBg},
      {C::kSolid, P::kText, 2, P::kWhite, false, N::kCrew, S::kYoke, P::kText, 1, P::kBg, P::kBg,
       true, P::kBg},
      {C::kContrastBrim, P::kText, 0, P::kBg, false, N::kButtons, S::kSetIn, P::kText, 1, P::kWhite,
       P::kText, true, P::kWhite},
      {C::kSolid, P::kWhite, 1, P::kWhite, false, N::kPullover, S::kRaglan, P::kText, 2, P::kBg,
       P::kBg, true, P::kText},
      {C::kWhitePanels, P::kBg, 4, P::kWhite, true, N::kButtons, S::kPlain, P::kBg, 0, P::kBg,
       P::kText, true, P::kBg},
      {C::kSolid, P::kText, 5, P::kBg, false, N::kVNeck, S::kYoke, P::kWhite, 1, P::kText,
       P::kWhite, true, P::kText},
      {C::kTextCrown, P::kBg, 3, P::kWhite, false, N::kButtons, S::kPlain, P::kBg, 2, P::kText,
       P::kText, true, P::kText},
      {C::kBirdseye, P::kText, 0, P::kWhite, false, N::kCrew, S::kRaglan, P::kBg, 0, P::kText,
       P::kBg, true, P::kBg},
      {C::kSolid, P::kWhite, 2, P::kBg, true, N::kButtons, S::kPlain, P::kBg, 1, P::kWhite,
       P::kWhite, false, P::kWhite},
      {C::kContrastBrim, P::kBg, 1, P::kWhite, false, N::kVNeck, S::kSetIn, P::kText, 1, P::kBg,
       P::kText, true, P::kText},
      {C::kSolid, P::kText, 4, P::kWhite, false, N::kPullover, S::kYoke, P::kBg, 2, P::kText,
       P::kBg, true, P::kBg},
      {C::kWhitePanels, P::kText, 3, P::kWhite, false, N::kButtons, S::kRaglan, P::kText, 1, P::kBg,
       P::kText, true, P::kText},
  };
  if (number < 1 || number > 25) throw std::out_of_range("design number");
  const Row& r = kRows[number - 1];
  Design d;
  d.cap = r.cap;
  d.emblem = r.emblem;
  d.emblemShape = r.shape;
  d.body = r.body;
  d.pinstripes = r.stripes;
  d.neck = r.neck;
  d.sleeves = r.sleeves;
  d.sleevePart = r.sleevePart;
  d.piping = r.piping;
  d.pipingPart = r.pipingPart;
  d.undershirt = r.under;
  d.lettering = r.letters;
  d.letterPart = r.letterPart;
  // A coloured crown with an emblem of the crown's own colour would hide it.
  if (d.cap == CapStyle::kTextCrown && d.emblem == Part::kText) d.emblem = Part::kWhite;
  if (d.cap != CapStyle::kTextCrown && d.cap != CapStyle::kWhitePanels && d.emblem == Part::kBg) {
    d.emblem = Part::kText;
  }
  return d;
}

void DrawUniform(cairo_t* cr, const Design& design, const Palette& palette, bool shaded) {
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  DrawJersey(cr, design, palette, shaded);
  DrawCap(cr, design, palette, shaded);
}

Templates MakeTemplates(const Design& design) {
  // Two hard-edged renderings (the overlays know only "black or not", so there is no room for
  // soft edges): the shaded greys, and a map of which part owns each pixel.
  const Palette greys{Bytes(246, 246, 244), Bytes(228, 228, 228), Bytes(228, 228, 228)};
  const Palette map{Bytes(255, 0, 0), Bytes(0, 255, 0), Bytes(0, 0, 255)};
  Canvas shade(kWidth, kHeight);
  cairo_set_antialias(shade.cr(), CAIRO_ANTIALIAS_NONE);
  DrawUniform(shade.cr(), design, greys, true);
  Canvas parts(kWidth, kHeight);
  cairo_set_antialias(parts.cr(), CAIRO_ANTIALIAS_NONE);
  DrawUniform(parts.cr(), design, map, false);
  const Image s = shade.ToImage(4);
  const Image m = parts.ToImage(4);
  Templates t{Image(kWidth, kHeight, 3), Image(kWidth, kHeight, 3), Image(kWidth, kHeight, 3)};
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const std::uint8_t* part = m.At(x, y);
      if (part[3] < 128) continue;
      const std::uint8_t* g = s.At(x, y);
      Image* target = part[0] > 128 ? &t.white : part[1] > 128 ? &t.bg : &t.text;
      std::uint8_t* out = target->At(x, y);
      for (int c = 0; c < 3; ++c) {
        const int v = target == &t.white ? g[c] : g[0];
        out[c] = static_cast<std::uint8_t>(std::max(v, 40));
      }
    }
  }
  return t;
}

Image MakeBillUnderside() {
  Canvas canvas(kWidth, kHeight);
  cairo_t* cr = canvas.cr();
  // Shadow of the brim on the brow: strongest under the middle, gone towards the temples.
  cairo_save(cr);
  BrimFrontEdge(cr, 2.0);
  cairo_line_to(cr, kCentreX + kBrimHalfWidth, 62);
  cairo_line_to(cr, kCentreX - kBrimHalfWidth, 62);
  cairo_close_path(cr);
  cairo_clip(cr);
  SoftSpot(cr, kCentreX, kUndersideBottom - 1.5, 21, 8.5, Bytes(30, 18, 12), 0.55);
  cairo_restore(cr);
  // The underside itself: a dark crescent below the front edge, lighter where the light catches
  // its left end.
  cairo_save(cr);
  BrimFrontEdge(cr, -0.4);
  cairo_save(cr);
  cairo_translate(cr, 0, 0);
  cairo_restore(cr);
  const double l = kCentreX - kBrimHalfWidth;
  const double r = kCentreX + kBrimHalfWidth;
  cairo_curve_to(cr, r - 5.0, kUndersideBottom - 0.5, l + 5.0, kUndersideBottom - 0.5, l,
                 kBrimTipY);
  cairo_close_path(cr);
  cairo_pattern_t* p = cairo_pattern_create_linear(l, 0, r, 0);
  cairo_pattern_add_color_stop_rgb(p, 0.0, 0.30, 0.33, 0.30);
  cairo_pattern_add_color_stop_rgb(p, 0.35, 0.20, 0.23, 0.21);
  cairo_pattern_add_color_stop_rgb(p, 1.0, 0.11, 0.12, 0.11);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  cairo_restore(cr);
  return canvas.ToImage(4);
}

Image MakeDefaultUniform() {
  Design d;
  d.cap = CapStyle::kSolid;
  d.emblemShape = -1;
  d.body = Part::kWhite;
  d.neck = Neck::kButtons;
  d.piping = 1;
  d.pipingPart = Part::kBg;
  d.undershirt = Part::kBg;
  d.lettering = false;
  const Palette grey{Bytes(214, 214, 216), Bytes(118, 120, 124), Bytes(90, 92, 96)};
  Canvas canvas(kWidth, kHeight);
  DrawUniform(canvas.cr(), d, grey, true);
  return canvas.ToImage(4);
}

Image MakeCustomUniform(const CustomClub& club) {
  Design d;
  const int s = club.style;
  d.cap = s % 5 == 3 ? CapStyle::kContrastBrim : CapStyle::kSolid;
  const double gap = std::abs(club.primary.r - club.secondary.r) +
                     std::abs(club.primary.g - club.secondary.g) +
                     std::abs(club.primary.b - club.secondary.b);
  d.emblem = gap < 0.6 ? Part::kWhite : Part::kText;
  d.body = Part::kWhite;
  d.pinstripes = s >= 10;
  d.neck = s % 4 == 1 ? Neck::kPullover : Neck::kButtons;
  d.sleeves = s % 6 == 2 ? Sleeves::kRaglan : Sleeves::kPlain;
  d.sleevePart = Part::kBg;
  d.piping = s % 3 == 0 ? 1 : 0;
  d.pipingPart = Part::kText;
  d.undershirt = Part::kBg;
  d.lettering = !club.wordmark.empty();
  d.letterPart = Part::kBg;
  d.initial = std::string(club.initial);
  d.wordmark = std::string(club.wordmark);
  const Palette palette{Bytes(244, 243, 238), club.primary, club.secondary};
  Canvas canvas(kWidth, kHeight);
  DrawUniform(canvas.cr(), d, palette, true);
  return canvas.ToImage(4);
}

Image TintGeneric(const Templates& t, Rgb bg, Rgb text) {
  Image out = t.white;
  auto overlay = [&out](const Image& tmpl, Rgb colour) {
    int cr = static_cast<int>(std::lround(colour.r * 255));
    int cg = static_cast<int>(std::lround(colour.g * 255));
    int cb = static_cast<int>(std::lround(colour.b * 255));
    if (cr == 0 && cg == 0 && cb == 0) cr = cg = cb = 48;
    for (int y = 0; y < out.height; ++y) {
      for (int x = 0; x < out.width; ++x) {
        const double k = tmpl.At(x, y)[0] / 255.0;
        const int v[3] = {static_cast<int>(std::lround(cr * k)),
                          static_cast<int>(std::lround(cg * k)),
                          static_cast<int>(std::lround(cb * k))};
        if (v[0] == 0 && v[1] == 0 && v[2] == 0) continue;
        std::uint8_t* p = out.At(x, y);
        for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(v[c]);
      }
    }
  };
  overlay(t.bg, bg);
  overlay(t.text, text);
  return out;
}

}  // namespace likentor::artgen
