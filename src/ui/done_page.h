#pragma once

// A page of the page stack that the user leaves with its "Done" button: a title at the top, the
// page's own content in Body(), and "Done" at the bottom, last in the page's Tab order too.

#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

namespace likentor {

class DonePage : public QWidget {
  Q_OBJECT

 public:
  // `pageName` and `doneName` are the object names of the page and of its Done button.
  DonePage(const char* pageName, const QString& title, const char* doneName, QWidget* parent);

  QPushButton* DoneButton() const { return done_; }

 signals:
  void DoneClicked();

 protected:
  // Where a page puts its content, between the title and the Done button.
  QVBoxLayout* Body() const { return body_; }
  void showEvent(QShowEvent* event) override;

 private:
  QVBoxLayout* body_;
  QPushButton* done_;
};

}  // namespace likentor
