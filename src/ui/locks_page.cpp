#include "ui/locks_page.h"

#include <QGridLayout>
#include <QPlainTextEdit>

#include "app/photo_locks.h"
#include "ui/command_guard.h"

namespace likentor {

const char* const kLocksNote =
    "Note: The following controls perform batch lock/unlock operations.  \n"
    "It is recommended that you only use these functions if you are 100% \n"
    "sure that you know what they do.\n"
    "\n"
    "To lock or unlock the photo of an individual player, go back to the \n"
    "home page and search for the player under \"Player at a Time.\"  The \n"
    "photo can then be locked or unlocked from the player page.";

namespace {

struct LockButton {
  const char* name;
  const char* text;
  LockScope scope;
  bool locked;
  int row;
  int column;
};

// Two rows of three: the lock row above the unlock row, each all, active, retired.
constexpr LockButton kButtons[] = {
    {"Button8", "Lock All", LockScope::All, true, 0, 0},
    {"Button5", "Lock All Active", LockScope::Active, true, 0, 1},
    {"Button4", "Lock All Retired", LockScope::Retired, true, 0, 2},
    {"Button1", "Unlock All", LockScope::All, false, 1, 0},
    {"Button2", "Unlock All Active", LockScope::Active, false, 1, 1},
    {"Button3", "Unlock All Retired", LockScope::Retired, false, 1, 2},
};

}  // namespace

LocksPage::LocksPage(Session& session, CommandGuard& commands, QWidget* parent)
    : DonePage("LocksPage", "Lock/Unlock Photos", "LocksDone", parent) {
  auto* memo = new QPlainTextEdit(this);
  memo->setObjectName("LocksMemo");
  memo->setAccessibleName("Note");
  memo->setPlainText(kLocksNote);
  memo->setReadOnly(true);
  memo->setFrameShape(QFrame::NoFrame);
  memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo->viewport()->setAutoFillBackground(false);
  const QFontMetrics metrics(memo->font());
  memo->setFixedHeight(metrics.lineSpacing() * 7 + 12);

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(12);
  grid->setVerticalSpacing(8);
  grid->addWidget(memo, 0, 0, 1, 3);
  for (const LockButton& b : kButtons) {
    auto* button = new QPushButton(b.text, this);
    button->setObjectName(b.name);
    button->setAccessibleName(b.text);
    button->setMinimumSize(97, 25);
    // Each asks first, naming how many players it changes, and ends with that count.
    connect(button, &QPushButton::clicked, this,
            [&session, &commands, scope = b.scope, locked = b.locked] {
              commands.Write([&] { AskAndSetPhotoLocks(session, scope, locked); });
            });
    grid->addWidget(button, b.row + 1, b.column);
  }
  // Done stands under the middle of the buttons, with the page's content.
  grid->addWidget(DoneButton(), 3, 1);
  grid->setRowMinimumHeight(3, 40);
  grid->setAlignment(DoneButton(), Qt::AlignBottom);
  grid->setColumnStretch(3, 1);
  memo->setMinimumWidth(
      metrics.horizontalAdvance(
          "It is recommended that you only use these functions if you are 100% ") +
      16);
  Body()->addLayout(grid);
  Body()->addStretch(1);
}

}  // namespace likentor
