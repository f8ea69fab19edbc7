#pragma once

// A 90 x 135 picture box: pictures are shown at their own size from the top-left corner and
// clipped, never scaled. And the conversion of the portrait library's images for it.

#include <QImage>
#include <QLabel>
#include <functional>

#include "portrait/bitmap.h"
#include "portrait/png_image.h"

namespace likentor {

class Session;

QImage ToQImage(const PngImage& image);
QImage ToQImage(const Bitmap& image);

class PictureBox : public QLabel {
  Q_OBJECT

 public:
  PictureBox(const char* name, QWidget* parent);

  void ShowPicture(const QImage& image);
  void ClearPicture();
  // The picture shown (null when none).
  QImage Picture() const { return picture_; }

 private:
  QImage picture_;
};

// Runs a command of a page: a failure that escapes it is shown in an error box and the window
// goes on.
void RunCommand(Session& session, const std::function<void()>& command);

}  // namespace likentor
