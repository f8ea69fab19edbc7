#pragma once

// The player page: the players a search found, their pictures and a new portrait for one.

#include <QLabel>

#include "ui/done_page.h"

namespace likentor {

// "N players found.": what a search found, for the status bar and the page.
QString MatchesText(int count);

class PlayerPage : public DonePage {
  Q_OBJECT

 public:
  explicit PlayerPage(QWidget* parent);

  // The number of players the last search found.
  void ShowMatches(int count);

 private:
  QLabel* matches_;
};

}  // namespace likentor
