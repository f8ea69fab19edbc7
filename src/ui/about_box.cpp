#include "ui/about_box.h"

#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>
#include <string>

#include "shell/version.h"

namespace likentor {

namespace {

constexpr const char* kCredits =
    "Thanks to the players of the league community who tried the first versions, sent their "
    "saved games and told us what looked wrong.\n\n"
    "Thanks to everyone who drew faces, caps and jerseys by hand before the artwork kit learnt "
    "to draw itself.";

constexpr const char* kLegalNotice =
    "Likentor is an independent program. It is not made, endorsed or supported by the makers of "
    "the baseball game whose saved leagues it works on.\n\n"
    "It comes with no warranty of any kind: you use it at your own risk.\n\n"
    "Likentor writes into your saved games' folders.\n"
    "BACK UP YOUR FILES.";

QLabel* Caption(const char* text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  return label;
}

}  // namespace

AboutBox::AboutBox(const QPixmap& logo, QWidget* parent) : QDialog(parent) {
  setObjectName("AboutBox");
  setWindowTitle(kAboutCaption);
  setModal(false);
  resize(352, 547);
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);

  auto* panel = new QFrame(this);
  panel->setObjectName("AboutPanel");
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Raised);
  panel->setLineWidth(2);

  auto* logoLabel = new QLabel(panel);
  logoLabel->setObjectName("ProgramIcon");
  logoLabel->setFixedSize(89, 89);
  logoLabel->setScaledContents(true);
  logoLabel->setPixmap(logo);
  logoLabel->setAccessibleName("Likentor logo");

  auto* product = new QLabel(kProductName, panel);
  product->setObjectName("ProductName");
  QFont big = product->font();
  big.setPointSizeF(big.pointSizeF() * 1.6);
  big.setBold(true);
  product->setFont(big);
  product->setAccessibleName(kProductName);

  auto* version =
      new QLabel("Version " + QString::fromStdString(std::string(kProgramVersion)), panel);
  version->setObjectName("Version");

  auto* credits = new QPlainTextEdit(kCredits, panel);
  credits->setObjectName("Comments");
  credits->setReadOnly(true);
  credits->setAccessibleName("Special Thanks:");

  auto* legal = new QTextEdit(panel);
  legal->setObjectName("LegalInfo");
  legal->setReadOnly(true);
  legal->setPlainText(kLegalNotice);
  legal->selectAll();
  legal->setAlignment(Qt::AlignHCenter);
  legal->moveCursor(QTextCursor::Start);
  legal->setAccessibleName("Legal Info:");

  auto* top = new QHBoxLayout;
  top->addWidget(logoLabel, 0, Qt::AlignTop);
  top->addSpacing(8);
  auto* names = new QVBoxLayout;
  names->addStretch(1);
  names->addWidget(product);
  names->addWidget(version);
  names->addStretch(1);
  top->addLayout(names, 1);

  auto* inside = new QVBoxLayout(panel);
  inside->addLayout(top);
  inside->addSpacing(8);
  inside->addWidget(Caption("Special Thanks:", panel));
  inside->addWidget(credits, 1);
  inside->addSpacing(4);
  inside->addWidget(Caption("Legal Info:", panel));
  inside->addWidget(legal, 1);

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OKButton");
  ok->setAccessibleName("OK");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::hide);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(panel, 1);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
}

}  // namespace likentor
