#pragma once

// Help > "Likentor Help": the guide for players (docs/guide.md), built into the program as a Qt
// resource so that it is there wherever the program runs, and shown in a window of its own with
// no browser and no network.

#include <QDialog>
#include <QString>

class QTextBrowser;

namespace likentor {

// The guide's Markdown text.
QString GuideText();

class HelpWindow : public QDialog {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent);
  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};

}  // namespace likentor
