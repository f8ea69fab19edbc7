#include "ui/player_page.h"

namespace likentor {

PlayerPage::PlayerPage(QWidget* parent) : DonePage("PlayerPage", "Player", "PlayerDone", parent) {
  matches_ = new QLabel(this);
  matches_->setObjectName("PlayerMatches");
  auto* note = new QLabel(
      "The players' grid and pictures are not in the window yet. Until they are, the command line "
      "lists the players a search finds (likentor search NAME) and makes one player's portrait "
      "(likentor photos NAME --player ID).",
      this);
  note->setWordWrap(true);
  Body()->addWidget(matches_);
  Body()->addWidget(note);
  Body()->addStretch(1);
}

void PlayerPage::ShowMatches(int count) {
  matches_->setText(MatchesText(count));
}

QString MatchesText(int count) {
  return count == 1 ? QString("1 player found.") : QString("%1 players found.").arg(count);
}

}  // namespace likentor
