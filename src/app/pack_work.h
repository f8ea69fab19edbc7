#pragma once

// The steps of an install and an uninstall that the journal (pack_journal.h) names, shared by the
// commands and by the start of a later command that finds their journal. Each may be run again
// after it was stopped at any point and ends as one uninterrupted run would.

#include "app/pack_journal.h"

namespace likentor {

class Session;

// Takes an install back: its catalogue rows, its records and its files (made whole or not).
void TakeBackInstall(Session& session, const PackJournal& journal);
// Carries an uninstall out, or on from where it was stopped. Returns how many players were given
// a new look (those a stopped run had already changed are not counted again).
int CarryOutUninstall(Session& session, const PackJournal& journal);

// At the start of a command that writes: finishes the work a journal names, logging what was done.
// Error when that work cannot be done (the journal then stays for the next start).
void FinishStoppedPackWork(Session& session);

}  // namespace likentor
