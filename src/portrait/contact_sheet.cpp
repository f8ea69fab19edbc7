// Drawn with Cairo: it reads and writes PNG itself and sets text anti-aliased in a real font, which
// a sheet meant for judging artwork deserves more than a bitmap font would.

#include "portrait/contact_sheet.h"

#include <cairo.h>

#include <algorithm>
#include <memory>

#include "shell/error.h"

namespace likentor {

namespace {

struct SurfaceFree {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextFree {
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceFree>;
using Context = std::unique_ptr<cairo_t, ContextFree>;

double TextWidth(cairo_t* cr, const std::string& text) {
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text.c_str(), &extents);
  return extents.x_advance;
}

// The caption cut at a UTF-8 character boundary, with an ellipsis, until it fits.
std::string Fitted(cairo_t* cr, std::string text, double width) {
  if (TextWidth(cr, text) <= width) return text;
  while (!text.empty()) {
    do {
      text.pop_back();
    } while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80);
    if (!text.empty() && (static_cast<unsigned char>(text.back()) & 0x80) != 0) text.pop_back();
    const std::string candidate = text + "\u2026";
    if (TextWidth(cr, candidate) <= width) return candidate;
  }
  return "";
}

void DrawCentered(cairo_t* cr, const std::string& text, double centerX, double baseline) {
  cairo_move_to(cr, centerX - TextWidth(cr, text) / 2.0, baseline);
  cairo_show_text(cr, text.c_str());
}

}  // namespace

std::string SheetCaption(const std::string& firstName, const std::string& lastName) {
  if (firstName.empty()) return lastName;
  std::size_t end = 1;
  while (end < firstName.size() && (static_cast<unsigned char>(firstName[end]) & 0xC0) == 0x80) {
    ++end;
  }
  return firstName.substr(0, end) + ". " + lastName;
}

void WriteContactSheet(const std::filesystem::path& file, const std::string& title,
                       const std::vector<SheetEntry>& entries, int columns) {
  if (entries.empty()) throw Error("The contact sheet has no pictures to show.");
  columns = std::max(1, std::min(columns, static_cast<int>(entries.size())));
  const int rows = (static_cast<int>(entries.size()) + columns - 1) / columns;
  const int width = 2 * kSheetMargin + columns * kSheetCellWidth;
  const int height = kSheetTitleHeight + kSheetMargin + rows * kSheetCellHeight;

  Surface sheet(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
  Context cr(cairo_create(sheet.get()));
  cairo_set_source_rgb(cr.get(), 0.16, 0.17, 0.19);
  cairo_paint(cr.get());

  cairo_select_font_face(cr.get(), "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr.get(), 16);
  cairo_set_source_rgb(cr.get(), 0.95, 0.95, 0.95);
  cairo_move_to(cr.get(), kSheetMargin, 24);
  cairo_show_text(cr.get(), Fitted(cr.get(), title, width - 2 * kSheetMargin).c_str());

  cairo_select_font_face(cr.get(), "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                         CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr.get(), 10);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const int column = static_cast<int>(i) % columns;
    const int row = static_cast<int>(i) / columns;
    const double x = kSheetMargin + column * kSheetCellWidth + (kSheetCellWidth - 90) / 2.0;
    const double y = kSheetTitleHeight + row * kSheetCellHeight;

    Surface picture(cairo_image_surface_create_from_png(entries[i].picture.string().c_str()));
    if (cairo_surface_status(picture.get()) == CAIRO_STATUS_SUCCESS) {
      cairo_set_source_surface(cr.get(), picture.get(), x, y);
      cairo_rectangle(cr.get(), x, y, 90, 135);
      cairo_fill(cr.get());
    } else {
      cairo_set_source_rgb(cr.get(), 0.4, 0.4, 0.4);
      cairo_rectangle(cr.get(), x, y, 90, 135);
      cairo_fill(cr.get());
    }
    cairo_set_source_rgb(cr.get(), 0.92, 0.92, 0.92);
    DrawCentered(cr.get(), Fitted(cr.get(), entries[i].caption, kSheetCellWidth - 4), x + 45.0,
                 y + 135 + 13);
  }
  cairo_surface_flush(sheet.get());
  if (cairo_surface_write_to_png(sheet.get(), file.string().c_str()) != CAIRO_STATUS_SUCCESS) {
    throw Error("Cannot write the contact sheet " + file.string() + ".");
  }
}

}  // namespace likentor
