#include "app/custom_uniforms.h"

#include "app/loaded_game.h"
#include "app/session.h"

namespace likentor {

namespace {

void StoreUniformFile(Session& session, std::string_view value, std::string_view success,
                      std::string_view failure) {
  Table& teams = session.Game().TeamsTable;
  teams.Edit();
  teams.SetText("custom_uniform_file", value);
  if (teams.Post()) {
    session.UserPrompts().ShowMessage(success);
    return;
  }
  teams.Cancel();
  session.UserPrompts().ShowError(failure);
  session.Log().ReportError(failure);
}

}  // namespace

std::filesystem::path CustomUniformsFolder(const std::filesystem::path& programFolder) {
  return programFolder / "graphics" / "uniforms" / "custom";
}

void SetCustonBtnClick(Session& session) {
  const std::filesystem::path chosen = session.UserPrompts().ChooseFile(
      kUniformFileFilter, CustomUniformsFolder(session.ProgramFolder()));
  if (chosen.empty()) return;
  StoreUniformFile(session, chosen.string(), kCustomUniformSet, kCustomUniformSetError);
}

void UseGenericBtnClick(Session& session) {
  StoreUniformFile(session, kNoCustomUniform, kCustomUniformRemoved, kCustomUniformRemoveError);
}

}  // namespace likentor
