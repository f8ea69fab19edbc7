#include "app/run_plan.h"

#include <algorithm>
#include <map>

#include "app/aging.h"
#include "app/loaded_game.h"
#include "app/session.h"
#include "import/game_tables.h"
#include "import/players_fields.h"
#include "import/players_table.h"

namespace likentor {

namespace {

std::string FromLine(std::string_view game) {
  return "From " + QuoteSqlName(PlayersTableName(game));
}

std::optional<int> OptionalInt(const Cursor& players, std::string_view field) {
  if (players.IsNull(field)) return std::nullopt;
  return players.GetInt(field);
}

bool Reaches(const std::optional<int>& total, int minimum) {
  return total && *total >= minimum;
}

}  // namespace

std::string_view PassOverText(PassOver reason) {
  switch (reason) {
    case PassOver::Locked:
      return "locked";
    case PassOver::NotSelected:
      return "active or retired players not chosen";
    case PassOver::BelowMinimum:
      return "below the minimums";
    case PassOver::OutOfScope:
      return "below the level chosen";
  }
  return "";
}

std::string_view PassOverKey(PassOver reason) {
  switch (reason) {
    case PassOver::Locked:
      return "locked";
    case PassOver::NotSelected:
      return "not_selected";
    case PassOver::BelowMinimum:
      return "below_minimum";
    case PassOver::OutOfScope:
      return "out_of_scope";
  }
  return "";
}

int RunPlan::ToMake() const {
  return static_cast<int>(std::count_if(players.begin(), players.end(),
                                        [](const PlannedPlayer& p) { return !p.passOver; }));
}

int RunPlan::PassedOver(PassOver reason) const {
  return static_cast<int>(std::count_if(players.begin(), players.end(),
                                        [reason](const auto& p) { return p.passOver == reason; }));
}

namespace {

std::string Flagged(std::string_view alsoWhere) {
  const std::string flagged = "update_required='true'";
  return alsoWhere.empty() ? flagged : "(" + flagged + " OR " + std::string(alsoWhere) + ")";
}

}  // namespace

std::vector<std::string> UniverseSelection(std::string_view game, std::string_view alsoWhere) {
  return {"SELECT *", FromLine(game), "WHERE " + Flagged(alsoWhere)};
}

std::vector<std::string> TeamSelection(std::string_view game, int teamId,
                                       std::string_view alsoWhere) {
  return {"SELECT *", FromLine(game),
          "WHERE team_id=" + std::to_string(teamId) + " AND " + Flagged(alsoWhere)};
}

std::optional<PassOver> PassOverReason(const RunChoice& choice, const PlannedPlayer& player,
                                       std::optional<int> teamLevel) {
  // A locked picture may be the user's own: no run replaces it.
  if (player.locked) return PassOver::Locked;
  if (choice.teamId) return std::nullopt;  // a team run has no other test
  const UniverseFilters& filters = choice.universe.filters;
  const bool wanted = player.row.retired ? filters.createRetiredPhotos : filters.createActivePhotos;
  // Both boxes cleared: nobody is wanted.
  if (!wanted) return PassOver::NotSelected;
  if (!Reaches(player.careerAb, filters.abMinimum) &&
      !Reaches(player.careerIp, filters.ipMinimum)) {
    return PassOver::BelowMinimum;
  }
  // In scope unless the scope index is at least 1, the player has a team, and that team's row has
  // a level above the index. A team without a row (or without a level) is in scope.
  const int scope = choice.universe.levelScope;
  if (scope >= 1 && player.row.teamId != 0 && teamLevel && *teamLevel > scope) {
    return PassOver::OutOfScope;
  }
  return std::nullopt;
}

RunPlan PlanRun(Session& session, const RunChoice& choice) {
  const std::string& game = session.LoadedGameName();
  if (game.empty()) throw Error(std::string(kLoadGameFirst));
  RunPlan plan;
  if (choice.teamId) {
    const std::vector<TeamItem>& teams = session.Window().teams;
    const int teamId = *choice.teamId;
    const auto item = std::find_if(teams.begin(), teams.end(),
                                   [teamId](const TeamItem& t) { return t.teamId == teamId; });
    if (item == teams.end()) {
      throw Error("There is no team " + std::to_string(teamId) + " in " + game + ".");
    }
    plan.title = item->text;
    plan.status = "Creating photos for " + item->text + "...";
  } else {
    plan.title = "entire universe";
    plan.status = std::string(kUniverseStatus);
  }

  std::string aged;
  if (choice.withAged) {
    aged = AgedCondition(session.Data(), session.Game().Saved, PlayersAgeSetting(session, game))
               .value_or("");
  }
  Query& query = session.Game().PlayersQuery;
  query.Clear();
  for (const std::string& line :
       choice.teamId ? TeamSelection(game, *choice.teamId, aged) : UniverseSelection(game, aged)) {
    query.Add(line);
  }
  query.Open(session.Data());
  plan.players.reserve(static_cast<std::size_t>(query.RecordCount()));
  for (query.First(); !query.Eof(); query.Next()) {
    PlannedPlayer player;
    player.row = ReadPhotoRow(query);
    player.careerAb = OptionalInt(query, kCareerAbField);
    player.careerIp = OptionalInt(query, kCareerIpField);
    player.locked = query.GetBool(kLockedField);
    player.before = ReadRowValues(query);
    plan.players.push_back(std::move(player));
  }

  // The team levels, each team looked up once.
  std::map<int, std::optional<int>> levels;
  Table& teams = session.Game().TeamsTable;
  for (PlannedPlayer& player : plan.players) {
    std::optional<int> level;
    if (!choice.teamId && choice.universe.levelScope >= 1 && player.row.teamId != 0) {
      auto found = levels.find(player.row.teamId);
      if (found == levels.end()) {
        std::optional<int> teamLevel;
        if (teams.IsOpen() && teams.Locate("team_id", player.row.teamId) &&
            !teams.IsNull("level")) {
          teamLevel = teams.GetInt("level");
        }
        found = levels.emplace(player.row.teamId, teamLevel).first;
      }
      level = found->second;
    }
    player.passOver = PassOverReason(choice, player, level);
  }
  return plan;
}

}  // namespace likentor
