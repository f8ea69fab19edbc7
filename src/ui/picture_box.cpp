#include "ui/picture_box.h"

namespace likentor {

namespace {

constexpr int kPictureWidth = 90;
constexpr int kPictureHeight = 135;
constexpr const char* kNoPicture = "No picture shown";

}  // namespace

QImage ToQImage(const PngImage& image) {
  if (image.Empty()) return {};
  const QImage::Format format = image.HasAlpha() ? QImage::Format_RGBA8888 : QImage::Format_RGB888;
  QImage out(image.Width(), image.Height(), format);
  const auto bytes = static_cast<std::size_t>(image.RowBytes());
  for (int y = 0; y < image.Height(); ++y) std::copy_n(image.Row(y), bytes, out.scanLine(y));
  return out;
}

QImage ToQImage(const Bitmap& image) {
  if (image.Empty()) return {};
  QImage out(image.Width(), image.Height(), QImage::Format_RGB888);
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      const Rgb p = image.Pixel(x, y);
      out.setPixel(x, y, qRgb(p.r, p.g, p.b));
    }
  }
  return out;
}

PictureBox::PictureBox(const char* name, QWidget* parent) : QLabel(parent) {
  setObjectName(name);
  setAccessibleName(kNoPicture);
  setFrameShape(QFrame::Box);
  setLineWidth(1);
  // The frame lies outside the picture's 90 x 135 pixels.
  setFixedSize(kPictureWidth + 2, kPictureHeight + 2);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setScaledContents(false);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  white.setColor(QPalette::WindowText, QColor(140, 150, 165));
  setPalette(white);
  setAutoFillBackground(true);
}

void PictureBox::ShowPicture(const QImage& image, const QString& description) {
  picture_ = image;
  setPixmap(QPixmap::fromImage(image));
  const QString name = image.isNull()          ? QString(kNoPicture)
                       : description.isEmpty() ? "Picture"
                                               : description;
  setAccessibleName(name);
  setAccessibleDescription(name);
}

void PictureBox::ClearPicture() {
  picture_ = QImage();
  clear();
  setAccessibleName(kNoPicture);
  setAccessibleDescription(QString());
}

}  // namespace likentor
