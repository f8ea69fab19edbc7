#include "ui/done_page.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>

namespace likentor {

DonePage::DonePage(const char* pageName, const QString& title, const char* doneName,
                   QWidget* parent)
    : QWidget(parent) {
  setObjectName(pageName);
  setAccessibleName(title);

  auto* heading = new QLabel(title, this);
  heading->setObjectName(QString(pageName) + "Title");
  QFont font = heading->font();
  font.setPointSizeF(font.pointSizeF() * 1.4);
  font.setBold(true);
  heading->setFont(font);

  done_ = new QPushButton("Done", this);
  done_->setObjectName(doneName);
  done_->setAccessibleName("Done");
  connect(done_, &QPushButton::clicked, this, &DonePage::DoneClicked);

  body_ = new QVBoxLayout;
  auto* strip = new QHBoxLayout;
  strip->addStretch(1);
  strip->addWidget(done_);
  strip->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addLayout(body_, 1);
  layout->addLayout(strip);
}

void DonePage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Done was made before the page's own controls, which put it first in the Tab order: it goes
  // after the last of them, as it stands below them.
  QWidget* last = nullptr;
  for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
    if (isAncestorOf(w) && w != done_ && w->focusPolicy() != Qt::NoFocus) last = w;
  }
  if (last != nullptr) setTabOrder(last, done_);
}

}  // namespace likentor
