#pragma once

// The pages of the main window and the commands that need a loaded game. The window shows the page
// that the session's WindowState::page names; these commands only decide which one.

#include <string_view>

namespace likentor {

class Session;

// The pages in their order in the window's page stack.
enum Page : int {
  kDashboardPage = 0,
  kUniformsPage = 1,
  kPlayerPage = 2,
  kInstallPage = 3,
  kLocksPage = 4,
  kNationsPage = 5,
  kFacialHairPage = 6,
  kAccessoriesPage = 7,
  kPortraitsPage = 8,
};

inline constexpr std::string_view kLoadGameFirst = "Load a game first!";

// The game-loaded guard: true when a game is loaded; otherwise shows the plain message "Load a game
// first!" and answers false, and the page does not change.
bool GameLoadedGuard(Session& session);
// The same test for work that asks nothing: Error "Load a game first!" when no game is loaded.
void RequireLoadedGame(const Session& session);

// Tools > Custom Uniforms, Manage Locked Photos, Ethnicity Data, Facial Hair Data (and the
// dashboard buttons that share them): the guard, then the page.
void CustomUniforms1Click(Session& session);
void ManageLockedPhotos1Click(Session& session);
void EthnicityData1Click(Session& session);
void HairData1Click(Session& session);

// Pages that leave with nothing but showing the dashboard (the player page's Done closes its query
// and lives in player_search.h).
void UniformsDoneClick(Session& session);
void LocksDoneClick(Session& session);

}  // namespace likentor
