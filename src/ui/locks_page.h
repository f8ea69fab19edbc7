#pragma once

// The locks page: lock or unlock the photos of all, active or retired players at once.

#include "ui/done_page.h"

namespace likentor {

class CommandGuard;
class Session;

// The page's note, seven lines; the blanks at the ends of lines 1, 2, 5 and 6 belong to it.
extern const char* const kLocksNote;

class LocksPage : public DonePage {
  Q_OBJECT

 public:
  LocksPage(Session& session, CommandGuard& commands, QWidget* parent);
};

}  // namespace likentor
