#include "app/navigation.h"

#include <string>

#include "app/loaded_game.h"
#include "app/session.h"
#include "shell/error.h"

namespace likentor {

namespace {

void ShowGuardedPage(Session& session, Page page) {
  if (GameLoadedGuard(session)) session.ShowPage(page);
}

}  // namespace

bool GameLoadedGuard(Session& session) {
  if (!session.LoadedGameName().empty()) return true;
  session.UserPrompts().ShowMessage(kLoadGameFirst);
  return false;
}

void RequireLoadedGame(const Session& session) {
  if (session.LoadedGameName().empty()) throw Error(std::string(kLoadGameFirst));
}

void CustomUniforms1Click(Session& session) {
  ShowGuardedPage(session, kUniformsPage);
}

void ManageLockedPhotos1Click(Session& session) {
  ShowGuardedPage(session, kLocksPage);
}

void EthnicityData1Click(Session& session) {
  ShowGuardedPage(session, kNationsPage);
}

void HairData1Click(Session& session) {
  ShowGuardedPage(session, kFacialHairPage);
}

void UniformsDoneClick(Session& session) {
  session.ShowPage(kDashboardPage);
}

void LocksDoneClick(Session& session) {
  session.ShowPage(kDashboardPage);
}

}  // namespace likentor
