#include "app/custom_uniforms.h"

#include <functional>
#include <system_error>

#include "app/loaded_game.h"
#include "app/navigation.h"
#include "app/session.h"
#include "app/write_command.h"
#include "database/stored_path.h"
#include "portrait/png_image.h"
#include "portrait/uniforms.h"

namespace likentor {

namespace {

void StoreUniformFile(Session& session, int teamId, std::string_view value,
                      std::string_view failure) {
  if (session.LoadedGameName().empty()) throw Error(std::string(kLoadGameFirst));
  Table& teams = session.Game().TeamsTable;
  // Moving to another team posts what is pending on the current one, as any move of the cursor.
  const bool onTeam = teams.RecordCount() > 0 && teams.GetInt("team_id", 0) == teamId;
  if (!onTeam && !teams.Locate("team_id", teamId)) {
    throw Error("The saved game " + session.LoadedGameName() + " has no team " +
                std::to_string(teamId) + ".");
  }
  if (!teams.InEdit()) teams.Edit();
  teams.SetText("custom_uniform_file", value);
  if (!PostOrCancel(teams, session.Log(), failure)) throw Error(std::string(failure));
}

// A file that is there must be a picture the composition can lay on a portrait: a regular file,
// a PNG that decodes, 90 x 135. A file not there yet is let through: the team wears the generic
// uniform until it is.
void CheckUniformPicture(const std::filesystem::path& file) {
  const auto refuse = [&file](const std::string& why) {
    throw Error("Cannot use \"" + file.string() + "\" as a custom uniform: " + why + ".");
  };
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(file, ec);
  if (status.type() == std::filesystem::file_type::not_found) return;
  if (ec) refuse("it cannot be read (" + ec.message() + ")");
  if (!std::filesystem::is_regular_file(status)) refuse("it is not a file");
  const PngImage picture = PngImage::Load(file);  // the load error names the file and the fault
  if (picture.Width() != kUniformWidth || picture.Height() != kUniformHeight) {
    refuse("it is " + std::to_string(picture.Width()) + " x " + std::to_string(picture.Height()) +
           " pixels, not " + std::to_string(kUniformWidth) + " x " +
           std::to_string(kUniformHeight));
  }
}

int CurrentTeam(Session& session) {
  return session.Game().TeamsTable.GetInt("team_id");
}

}  // namespace

void SetCustomUniform(Session& session, int teamId, const std::filesystem::path& file) {
  const WriteCommand writing(session, kUniformCommand);
  if (session.LoadedGameName().empty()) throw Error(std::string(kLoadGameFirst));
  CheckUniformPicture(file);
  const int fieldSize = TextFieldSize(session.Game().TeamsTable, "custom_uniform_file");
  const std::optional<std::string> stored = PathToStore(session.ProgramFolder(), file, fieldSize);
  if (!stored) {
    throw Error("Cannot store the custom uniform \"" + file.string() +
                "\": its path is longer than the " + std::to_string(fieldSize) +
                " characters that the teams table holds.");
  }
  StoreUniformFile(session, teamId, *stored, kCustomUniformSetError);
}

void ClearCustomUniform(Session& session, int teamId) {
  const WriteCommand writing(session, kUniformCommand);
  StoreUniformFile(session, teamId, kNoCustomUniform, kCustomUniformRemoveError);
}

namespace {

// The two buttons, for the team that `team` gives once the command goes ahead.
void SetCustomFor(Session& session, const std::function<int()>& team) {
  const std::filesystem::path chosen = session.UserPrompts().ChooseFile(
      kUniformFileFilter, CustomUniformsFolder(session.ProgramFolder()));
  if (chosen.empty()) return;
  try {
    SetCustomUniform(session, team(), chosen);
  } catch (const Error& refused) {
    session.UserPrompts().ShowError(refused.what());
    return;
  }
  session.UserPrompts().ShowMessage(kCustomUniformSet);
}

void UseGenericFor(Session& session, const std::function<int()>& team) {
  try {
    ClearCustomUniform(session, team());
  } catch (const Error& refused) {
    session.UserPrompts().ShowError(refused.what());
    return;
  }
  session.UserPrompts().ShowMessage(kCustomUniformRemoved);
}

}  // namespace

void SetCustonBtnClick(Session& session) {
  SetCustomFor(session, [&session] { return CurrentTeam(session); });
}

void UseGenericBtnClick(Session& session) {
  UseGenericFor(session, [&session] { return CurrentTeam(session); });
}

void SetCustonBtnClick(Session& session, int teamId) {
  SetCustomFor(session, [teamId] { return teamId; });
}

void UseGenericBtnClick(Session& session, int teamId) {
  UseGenericFor(session, [teamId] { return teamId; });
}

}  // namespace likentor
