#pragma once

// The window fixture with the grids of the pages: cells set as the grid's editor sets them, rows
// made current as the user does, and pictures compared pixel by pixel.

#include <QImage>
#include <string>

#include "portrait/png_image.h"
#include "ui/data_grid.h"
#include "ui/picture_box.h"
#include "window_fixture.h"

namespace likentor::test {

class PageTest : public WindowTest {
 protected:
  DataGrid* Grid(const char* name) const { return Find<DataGrid>(name); }
  TableModel* Model(const char* grid) const { return Grid(grid)->Model(); }

  // Makes `row` current and types `text` into one of its cells.
  bool SetCell(const char* grid, int row, const char* field, const QString& text) {
    DataGrid* g = Grid(grid);
    g->GoTo(row);
    TableModel* m = g->Model();
    return m->setData(m->index(row, m->FieldIndex(field)), text, Qt::EditRole);
  }
  QString Cell(const char* grid, int row, const char* field) const {
    return Model(grid)->Text(row, field);
  }

  QImage Picture(const char* box) const { return Find<PictureBox>(box)->Picture(); }

  // Every pixel of the picture shown is the PNG's.
  static ::testing::AssertionResult SamePixels(const QImage& shown, const PngImage& png) {
    if (shown.width() != png.Width() || shown.height() != png.Height()) {
      return ::testing::AssertionFailure() << "shown " << shown.width() << "x" << shown.height()
                                           << ", file " << png.Width() << "x" << png.Height();
    }
    for (int y = 0; y < png.Height(); ++y) {
      for (int x = 0; x < png.Width(); ++x) {
        const QColor c = shown.pixelColor(x, y);
        const Rgb p = png.Pixel(x, y);
        if (c.red() != p.r || c.green() != p.g || c.blue() != p.b) {
          return ::testing::AssertionFailure() << "pixel " << x << "," << y << " differs";
        }
      }
    }
    return ::testing::AssertionSuccess();
  }
};

}  // namespace likentor::test
