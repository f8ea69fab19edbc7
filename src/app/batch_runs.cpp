#include "app/batch_runs.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <optional>

#include "app/loaded_game.h"
#include "app/photo_plan.h"
#include "app/player_photo.h"
#include "app/session.h"
#include "app/universal_tables.h"
#include "import/game_tables.h"
#include "portrait/layer_cache.h"
#include "portrait/portrait_pool.h"

namespace likentor {

namespace {

// Row updates are committed in chunks: a long run costs few disk syncs, and a run that stops keeps
// what it recorded.
constexpr int kRowsPerCommit = 500;

std::string FromLine(std::string_view game) {
  return "From " + QuoteSqlName(PlayersTableName(game));
}

// i / visits * 100, rounded to the nearest whole number, halves to the even neighbour.
int ProgressPosition(std::size_t visit, std::size_t visits) {
  return static_cast<int>(
      std::nearbyint(static_cast<double>(visit) / static_cast<double>(visits) * 100.0));
}

// The state of the window between commands, put back however the run ends: the players query
// closed and without SQL, the bar hidden at 0, the loaded game's status text, and no cancel
// request left over for the next run.
class IdleOnExit {
 public:
  explicit IdleOnExit(Session& session) : session_(session) {}
  ~IdleOnExit() {
    try {
      session_.Game().PlayersQuery.Clear();
      session_.Progress().Report(session_.Window().statusText, false, 0);
      session_.Progress().EndRun();
    } catch (...) {
      // Nothing to add to a failure already on its way; the state is reset as far as it went.
    }
  }
  IdleOnExit(const IdleOnExit&) = delete;
  IdleOnExit& operator=(const IdleOnExit&) = delete;

 private:
  Session& session_;
};

// One run: the portraits of the selected rows that pass the scope test, recorded in order.
class PhotoRun {
 public:
  PhotoRun(Session& session, std::string status, int levelScope)
      : session_(session),
        status_(std::move(status)),
        levelScope_(levelScope),
        lookups_(session),
        layers_(session.ProgramFolder()),
        players_(session.Data(), session.Game().Saved.playersTable) {}

  RunResult Run(std::vector<PhotoRow> rows) {
    RunProgress& progress = session_.Progress();
    if (rows.empty()) return {};
    progress.Report(status_, true, 0);
    visits_ = rows.size();
    std::optional<Error> failure;
    PortraitPool pool;
    std::size_t visited = 0;
    try {
      for (; visited < rows.size() && !progress.CancelRequested(); ++visited) {
        const std::size_t i = visited;
        if (!InScope(rows[i])) continue;
        PhotoPlan plan = PlanPlayerPhoto(session_, lookups_, layers_, rows[i]);
        pool.Submit(PortraitJob{plan.layers, plan.output});
        plan.layers = PortraitLayers{};
        pending_.push_back(Pending{std::move(plan), i + 1});
        while (pool.Full() && !failure) TakeNext(pool, failure);
        if (failure) break;
      }
    } catch (const Error& error) {
      failure = error;
    }
    // However the loop ended, the portraits already being made are recorded.
    while (pool.Pending() > 0) TakeNext(pool, failure);
    Commit();
    if (failure) throw *failure;
    return RunResult{made_, visited < rows.size()};
  }

 private:
  struct Pending {
    PhotoPlan plan;
    std::size_t visit;
  };

  // In scope unless the scope index is at least 1, the player has a team, and that team's row
  // has a level above the index. A team without a row (or without a level) is in scope.
  bool InScope(const PhotoRow& row) {
    if (levelScope_ < 1 || row.teamId == 0) return true;
    const TeamLooks* team = lookups_.Team(row.teamId);
    return team == nullptr || !team->level || *team->level <= levelScope_;
  }

  void TakeNext(PortraitPool& pool, std::optional<Error>& failure) {
    PortraitResult result = pool.TakeNext();
    Pending pending = std::move(pending_.front());
    pending_.pop_front();
    if (!result.written) {
      if (!failure) failure.emplace(result.error);
      return;
    }
    Record(pending.plan);
    ++made_;
    session_.Progress().Report(status_, true, ProgressPosition(pending.visit, visits_));
  }

  void Record(const PhotoPlan& plan) {
    if (!transaction_) {
      transaction_.emplace(session_.Data(), players_.TableName());
      uncommitted_ = 0;
    }
    if (!players_.Locate("player_id", plan.playerId)) {
      session_.Log().ReportError(kPhotoPostError);
      return;
    }
    players_.Edit();
    RecordPhoto(players_, plan);
    if (!players_.Post()) {
      players_.Cancel();
      session_.Log().ReportError(kPhotoPostError);
    }
    if (++uncommitted_ >= kRowsPerCommit) Commit();
  }

  void Commit() {
    if (!transaction_) return;
    transaction_->Commit();
    transaction_.reset();
  }

  Session& session_;
  std::string status_;
  int levelScope_;
  PhotoLookups lookups_;
  LayerCache layers_;
  Table players_;
  std::optional<TableTransaction> transaction_;
  int uncommitted_ = 0;
  std::deque<Pending> pending_;
  std::size_t visits_ = 0;
  int made_ = 0;
};

// Opens the players query on the lines and takes the selected rows, in the selection's order.
std::vector<PhotoRow> Select(Session& session, const std::vector<std::string>& lines) {
  Query& query = session.Game().PlayersQuery;
  query.Clear();
  for (const std::string& line : lines) query.Add(line);
  query.Open(session.Data());
  std::vector<PhotoRow> rows;
  rows.reserve(static_cast<std::size_t>(query.RecordCount()));
  for (query.First(); !query.Eof(); query.Next()) rows.push_back(ReadPhotoRow(query));
  return rows;
}

void RequireLoadedGame(const Session& session) {
  if (session.LoadedGameName().empty()) throw Error(std::string(kLoadGameFirst));
}

int Finish(Session& session, const RunResult& result) {
  ShowRunMessage(session.UserPrompts(), result);
  return result.made;
}

// A run's result with the errors it logged.
template <typename Run>
RunResult CountingErrors(Session& session, Run run) {
  const int before = session.Log().Reported();
  RunResult result = run();
  result.errors = session.Log().Reported() - before;
  return result;
}

}  // namespace

std::vector<std::string> UniverseSelection(std::string_view game, const UniverseFilters& filters) {
  std::vector<std::string> lines{"SELECT *", FromLine(game), "WHERE update_required='true'"};
  if (filters.createActivePhotos && !filters.createRetiredPhotos) {
    lines.emplace_back("AND retired<>'true'");
  } else if (!filters.createActivePhotos && filters.createRetiredPhotos) {
    lines.emplace_back("AND retired='true'");
  }
  lines.push_back("AND ( career_ab >= " + std::to_string(filters.abMinimum) +
                  " OR career_ip >= " + std::to_string(filters.ipMinimum) + " )");
  lines.emplace_back("AND locked<>'true'");
  return lines;
}

std::vector<std::string> TeamSelection(std::string_view game, int teamId) {
  return {"SELECT *", FromLine(game),
          "WHERE team_id=" + std::to_string(teamId) + " AND update_required='true'",
          "AND locked<>'true'"};
}

UniverseFilters ReadUniverseFilters(Session& session) {
  const Table& games = session.Universal().GamesTable;
  UniverseFilters filters;
  filters.createActivePhotos = games.GetBool("create_active_photos");
  filters.createRetiredPhotos = games.GetBool("create_retired_photos");
  filters.abMinimum = games.GetInt("active_ab_minimum");
  filters.ipMinimum = games.GetInt("active_ip_minimum");
  return filters;
}

std::string RunMessage(const RunResult& result) {
  const std::string count = std::to_string(result.made);
  if (result.errors > 0) {
    const std::string errors = ErrorCount(result.errors) + "; see the errors log.";
    return result.stopped ? "Stopped after " + count + " photos, with " + errors
                          : "Created " + count + " photos with " + errors;
  }
  return result.stopped ? "Stopped after " + count + " photos."
                        : "Successfully created " + count + " photos.";
}

void ShowRunMessage(Prompts& prompts, const RunResult& result) {
  if (result.errors > 0) {
    prompts.ShowError(RunMessage(result));
  } else {
    prompts.ShowMessage(RunMessage(result));
  }
}

RunResult MakeUniversePhotos(Session& session, const UniverseRequest& request) {
  RequireLoadedGame(session);
  IdleOnExit idle(session);
  session.Progress().Report(kUniverseStatus, false, 0);
  // Neither active nor retired players wanted: nobody is selected.
  if (!request.filters.createActivePhotos && !request.filters.createRetiredPhotos) return {};
  return CountingErrors(session, [&] {
    std::vector<PhotoRow> rows =
        Select(session, UniverseSelection(session.LoadedGameName(), request.filters));
    return PhotoRun(session, std::string(kUniverseStatus), request.levelScope).Run(std::move(rows));
  });
}

RunResult MakeTeamPhotos(Session& session, int teamId) {
  RequireLoadedGame(session);
  const std::vector<TeamItem>& teams = session.Window().teams;
  const auto item = std::find_if(teams.begin(), teams.end(),
                                 [teamId](const TeamItem& t) { return t.teamId == teamId; });
  if (item == teams.end()) {
    throw Error("There is no team " + std::to_string(teamId) + " in " + session.LoadedGameName() +
                ".");
  }
  const std::string status = "Creating photos for " + item->text + "...";
  IdleOnExit idle(session);
  session.Progress().Report(status, false, 0);
  return CountingErrors(session, [&] {
    std::vector<PhotoRow> rows = Select(session, TeamSelection(session.LoadedGameName(), teamId));
    return PhotoRun(session, status, 0).Run(std::move(rows));
  });
}

int UniverseGoBtnClick(Session& session, int levelScopeIndex) {
  if (!GameLoadedGuard(session)) return 0;
  return Finish(session,
                MakeUniversePhotos(session, {ReadUniverseFilters(session), levelScopeIndex}));
}

int TeamGoBtnClick(Session& session, int teamItemIndex) {
  if (!GameLoadedGuard(session)) return 0;
  const std::vector<TeamItem>& teams = session.Window().teams;
  if (teamItemIndex < 0 || teamItemIndex >= static_cast<int>(teams.size())) {
    session.UserPrompts().ShowMessage(kPickTeamFirst);
    return 0;
  }
  return Finish(session,
                MakeTeamPhotos(session, teams[static_cast<std::size_t>(teamItemIndex)].teamId));
}

}  // namespace likentor
