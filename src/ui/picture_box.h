#pragma once

// A 90 x 135 picture box: pictures are shown at their own size from the top-left corner and
// clipped, never scaled. A screen reader reads what the picture shows ("Portrait of Sean Smith"),
// or that it shows none. And the conversion of the portrait library's images for it.

#include <QImage>
#include <QLabel>

#include "app/portrait_types.h"

namespace likentor {

QImage ToQImage(const PngImage& image);
QImage ToQImage(const Bitmap& image);

class PictureBox : public QLabel {
  Q_OBJECT

 public:
  PictureBox(const char* name, QWidget* parent);

  // `description` says what the picture shows, for screen readers ("Picture" when none is given).
  void ShowPicture(const QImage& image, const QString& description = QString());
  void ClearPicture();
  // The picture shown (null when none).
  QImage Picture() const { return picture_; }

 private:
  QImage picture_;
};

}  // namespace likentor
