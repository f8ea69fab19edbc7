#include "app/batch_runs.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <optional>

#include "app/loaded_game.h"
#include "app/photo_plan.h"
#include "app/player_photo.h"
#include "app/run_backup.h"
#include "app/run_plan.h"
#include "app/session.h"
#include "app/universal_tables.h"
#include "app/write_command.h"
#include "database/connection.h"
#include "import/game_tables.h"
#include "import/players_fields.h"
#include "portrait/layer_cache.h"
#include "portrait/portrait_pool.h"
#include "shell/error_log.h"
#include "shell/folders.h"

namespace likentor {

namespace {

// Row updates are committed in chunks: a long run costs few disk syncs, and a run that stops keeps
// what it recorded.
constexpr int kRowsPerCommit = 500;
// The backup's records of this many pictures reach the disk at once, before any of them is
// written: a disk sync per picture would cost as much as making it.
constexpr std::size_t kKeptPerSync = 32;

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

// One run: the portraits of the planned players that are not passed over, recorded in order.
// The visits are the players the run's filters select (locked players and those the settings do
// not want are left out); a visit passed over by the scope test leaves the bar where it is.
class PhotoRun {
 public:
  PhotoRun(Session& session, const RunPlan& plan)
      : session_(session),
        plan_(plan),
        lookups_(session),
        layers_(session.ProgramFolder()),
        players_(session.Data(), session.Game().Saved.playersTable) {}

  RunResult Run() {
    RunProgress& progress = session_.Progress();
    std::vector<const PlannedPlayer*> visits;
    for (const PlannedPlayer& player : plan_.players) {
      if (!player.passOver || *player.passOver == PassOver::OutOfScope) visits.push_back(&player);
    }
    if (visits.empty()) return {};
    progress.Report(plan_.status, true, 0);
    visits_ = visits.size();
    // The backup starts before the first picture is written; one that cannot be made stops the
    // run before anything is written over.
    if (plan_.ToMake() > 0 && KeptRuns(session_.ProgramFolder()) > 0) {
      backup_.emplace(session_.ProgramFolder(), session_.LoadedGameName(),
                      session_.Game().Saved.picturesFolder, plan_.title);
    }
    std::optional<Error> failure;
    PortraitPool pool;
    std::size_t visited = 0;
    // Pictures kept and recorded, not yet given to the pool: their records reach the disk
    // together, before any of them is written.
    std::deque<Pending> held;
    const std::size_t holdUpTo = backup_ ? kKeptPerSync : 1;
    const auto submitHeld = [&] {
      if (held.empty()) return;
      if (backup_) backup_->Sync();
      while (!held.empty() && !failure) {
        Pending& next = held.front();
        // A picture kept by the backup shares its file with the kept copy: always a new file.
        pool.Submit(PortraitJob{next.plan.layers, next.plan.output, !next.existed});
        next.plan.layers = PortraitLayers{};
        pending_.push_back(std::move(next));
        held.pop_front();
        while (pool.Full() && !failure) TakeNext(pool, failure);
      }
    };
    try {
      for (; visited < visits.size() && !progress.CancelRequested(); ++visited) {
        const PlannedPlayer& player = *visits[visited];
        if (player.passOver) continue;
        PhotoPlan plan = PlanPlayerPhoto(session_, lookups_, layers_, player.row);
        const bool existed =
            backup_ && backup_->Keep(plan.playerId, plan.output, player.before, false);
        held.push_back(Pending{std::move(plan), &player, visited + 1, existed});
        if (held.size() >= holdUpTo) submitHeld();
        if (failure) break;
      }
      if (!failure) submitHeld();
    } catch (const Error& error) {
      failure = error;
    }
    // Pictures kept but never given to the pool are not written.
    for (const Pending& dropped : held) {
      if (backup_) backup_->Drop(dropped.plan.output, dropped.existed);
    }
    // However the loop ended, the portraits already being made are recorded.
    while (pool.Pending() > 0) TakeNext(pool, failure);
    Commit();
    if (backup_) {
      try {
        backup_->Finish();
      } catch (const Error& error) {
        if (!failure) failure = error;
      }
    }
    if (failure) throw *failure;
    RunResult result{made_, visited < visits.size(), 0, backup_ ? backup_->Replaced() : 0};
    result.players = std::move(madePlayers_);
    if (backup_ && made_ > 0) result.backupFolder = backup_->Folder();
    return result;
  }

 private:
  struct Pending {
    PhotoPlan plan;
    const PlannedPlayer* player;
    std::size_t visit;
    bool existed;
  };

  void TakeNext(PortraitPool& pool, std::optional<Error>& failure) {
    PortraitResult result = pool.TakeNext();
    Pending pending = std::move(pending_.front());
    pending_.pop_front();
    if (!result.written) {
      if (backup_) backup_->Drop(pending.plan.output, pending.existed);
      if (!failure) failure.emplace(result.error);
      return;
    }
    const bool recorded = Record(pending.plan);
    ++made_;
    madePlayers_.push_back(pending.plan.playerId);
    if (backup_) {
      try {
        backup_->Record(pending.plan.output, pending.existed, recorded,
                        FileStamp{result.stamp.size, result.stamp.modified});
      } catch (const Error& error) {
        if (!failure) failure = error;
      }
    }
    session_.Progress().Report(plan_.status, true, ProgressPosition(pending.visit, visits_));
  }

  // Stores the portrait's values on the player's row; false when the row was not changed.
  bool Record(const PhotoPlan& plan) {
    if (!transaction_) {
      transaction_.emplace(session_.Data(), players_.TableName());
      uncommitted_ = 0;
    }
    if (!players_.Locate(kPlayerIdField, plan.playerId)) {
      session_.Log().ReportError(kPhotoPostError);
      return false;
    }
    players_.Edit();
    RecordPhoto(players_, plan);
    const bool posted = PostOrCancel(players_, session_.Log(), kPhotoPostError);
    if (++uncommitted_ >= kRowsPerCommit) Commit();
    return posted;
  }

  void Commit() {
    if (!transaction_) return;
    transaction_->Commit();
    transaction_.reset();
  }

  Session& session_;
  const RunPlan& plan_;
  PhotoLookups lookups_;
  LayerCache layers_;
  Table players_;
  std::optional<TableTransaction> transaction_;
  int uncommitted_ = 0;
  std::optional<RunBackup> backup_;
  std::deque<Pending> pending_;
  std::size_t visits_ = 0;
  int made_ = 0;
  std::vector<int> madePlayers_;
};

int Finish(Session& session, const RunResult& result) {
  ShowRunMessage(session.UserPrompts(), result);
  return result.made;
}

// A run's result with the errors it logged.
template <typename Run>
RunResult CountingErrors(Session& session, Run run) {
  const ErrorLog& log = session.Log();
  const int before = log.Reported();
  const int unwrittenBefore = log.Unwritten();
  RunResult result = run();
  result.errors = log.Reported() - before;
  if (result.errors > 0) {
    result.unwritten = log.Unwritten() - unwrittenBefore;
    result.errorsFile = log.File();
  }
  return result;
}

}  // namespace

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
    const std::string errors = ErrorsToSee(result.errorsFile, result.errors, result.unwritten);
    return (result.stopped ? "Stopped after " + count + " photos, with " + errors
                           : "Created " + count + " photos with " + errors) +
           KeptSentence(result.kept);
  }
  return (result.stopped ? "Stopped after " + count + " photos."
                         : "Successfully created " + count + " photos.") +
         KeptSentence(result.kept);
}

std::string KeptSentence(int kept) {
  if (kept <= 0) return "";
  // Appended piece by piece: GCC 12 at -O3 reports a false overlap for the chained form.
  std::string sentence = " ";
  sentence.append(std::to_string(kept));
  sentence.append(kept == 1 ? " earlier picture was kept" : " earlier pictures were kept");
  sentence.append("; Tools > Undo Last Run brings them back.");
  return sentence;
}

void ShowRunMessage(Prompts& prompts, const RunResult& result) {
  if (result.errors > 0) {
    prompts.ShowError(RunMessage(result));
  } else {
    prompts.ShowMessage(RunMessage(result));
  }
}

RunResult MakeUniversePhotos(Session& session, const UniverseRequest& request) {
  const WriteCommand writing(session, kPhotoRunCommand);
  RequireLoadedGame(session);
  IdleOnExit idle(session);
  session.Progress().Report(kUniverseStatus, false, 0);
  return CountingErrors(session, [&] {
    const RunPlan plan = PlanRun(session, RunChoice::Universe(request));
    return PhotoRun(session, plan).Run();
  });
}

RunResult MakeTeamPhotos(Session& session, int teamId) {
  const WriteCommand writing(session, kPhotoRunCommand);
  RequireLoadedGame(session);
  const RunChoice choice = RunChoice::Team(teamId);
  // The team is checked (and the status text made) before the idle state is set up.
  const std::vector<TeamItem>& teams = session.Window().teams;
  const auto item = std::find_if(teams.begin(), teams.end(),
                                 [teamId](const TeamItem& t) { return t.teamId == teamId; });
  if (item == teams.end()) {
    throw Error("There is no team " + std::to_string(teamId) + " in " + session.LoadedGameName() +
                ".");
  }
  IdleOnExit idle(session);
  session.Progress().Report("Creating photos for " + item->text + "...", false, 0);
  return CountingErrors(session, [&] {
    const RunPlan plan = PlanRun(session, choice);
    return PhotoRun(session, plan).Run();
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

void FlagTeamForNewPortraits(const std::filesystem::path& programFolder, std::string_view game,
                             int teamId) {
  Database data(DataFolder(programFolder));
  const std::string table = PlayersTableName(game);
  data.ConnectionFor(table).Execute(
      "UPDATE " + QuoteSqlName(table) +
      " SET update_required='true' WHERE team_id=" + std::to_string(teamId));
}

}  // namespace likentor
