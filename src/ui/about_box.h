#pragma once

// Help > About: a modeless box with the logo, the product name, the credits and the legal notice.
// It lives from start-up to exit; "OK" only hides it.

#include <QDialog>
#include <QPixmap>

namespace likentor {

inline constexpr const char* kAboutCaption = "About Likentor";
inline constexpr const char* kProductName = "Vask Likentor";

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  AboutBox(const QPixmap& logo, QWidget* parent);
};

}  // namespace likentor
