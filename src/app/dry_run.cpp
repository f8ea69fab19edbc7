#include "app/dry_run.h"

#include <algorithm>
#include <cstdio>
#include <iomanip>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <system_error>

#include "app/game_load.h"
#include "app/loaded_game.h"
#include "app/session.h"
#include "app/universal_tables.h"
#include "database/games_table.h"
#include "database/text_file.h"
#include "portrait/artwork_paths.h"
#include "portrait/composition.h"
#include "portrait/png_image.h"
#include "portrait/team_colors.h"
#include "portrait/uniforms.h"

namespace likentor {

namespace fs = std::filesystem;

namespace {

// Clears the players query however the dry run ends.
class QueryClearedOnExit {
 public:
  explicit QueryClearedOnExit(Query& query) : query_(query) {}
  ~QueryClearedOnExit() {
    try {
      query_.Clear();
    } catch (...) {
    }
  }
  QueryClearedOnExit(const QueryClearedOnExit&) = delete;
  QueryClearedOnExit& operator=(const QueryClearedOnExit&) = delete;

 private:
  Query& query_;
};

// The files a run's portraits need, each looked at once: missing, unreadable (with the decoder's
// message) or fine.
class ArtworkCheck {
 public:
  // Counts one portrait that needs `file`. `stopsWhenMissing`: the run cannot do without it.
  void Need(std::string_view what, const fs::path& file, bool stopsWhenMissing,
            std::string_view whenMissing) {
    auto found = problems_.find(file);
    if (found == problems_.end()) {
      std::optional<ArtworkProblem> problem;
      std::error_code ec;
      if (!fs::exists(file, ec)) {
        problem = ArtworkProblem{std::string(what),       file, true, 0, stopsWhenMissing,
                                 std::string(whenMissing)};
      } else {
        try {
          (void)PngImage::Load(file);
        } catch (const Error& error) {
          problem = ArtworkProblem{std::string(what), file, false, 0, true, error.what()};
        }
      }
      found = problems_.emplace(file, std::move(problem)).first;
    }
    if (found->second) ++found->second->players;
  }

  void Add(ArtworkProblem problem) {
    const fs::path key = problem.file.empty() ? fs::path(problem.detail) : problem.file;
    auto found = problems_.find(key);
    if (found == problems_.end()) {
      problems_.emplace(key, std::move(problem));
    } else if (found->second) {
      found->second->players += problem.players;
    }
  }

  std::vector<ArtworkProblem> Problems() const {
    std::vector<ArtworkProblem> list;
    for (const auto& [file, problem] : problems_) {
      if (problem) list.push_back(*problem);
    }
    // What stops the run first, then by kind and file.
    std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
      return a.stopsRun != b.stopsRun ? a.stopsRun : a.what < b.what;
    });
    return list;
  }

 private:
  std::map<fs::path, std::optional<ArtworkProblem>> problems_;
};

void Count(DryRunCounts& counts, const PlannedPlayer& player, bool replaces, bool aged) {
  ++counts.selected;
  if (player.passOver) {
    ++counts.passedOver[static_cast<std::size_t>(*player.passOver)];
  } else {
    ++counts.toMake;
    if (replaces) ++counts.replaces;
    if (aged) ++counts.aged;
  }
}

std::string JsonText(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (u < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

void JsonCounts(std::ostream& out, const DryRunCounts& counts) {
  out << "\"selected\": " << counts.selected << ", \"to_make\": " << counts.toMake
      << ", \"replaces\": " << counts.replaces << ", \"aged\": " << counts.aged
      << ", \"passed_over\": {";
  for (std::size_t i = 0; i < kAllPassOvers.size(); ++i) {
    out << (i > 0 ? ", " : "") << JsonText(PassOverKey(kAllPassOvers[i])) << ": "
        << counts.passedOver[i];
  }
  out << "}, \"passed_over_total\": " << counts.PassedOver();
}

// Characters, not bytes, of a UTF-8 text: what a terminal's columns count.
std::size_t Columns(std::string_view text) {
  std::size_t n = 0;
  for (const char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

// The text cut to `width` columns ("~" marks a cut) and padded with blanks to it.
std::string PaddedName(std::string name, std::size_t width) {
  if (Columns(name) > width) {
    std::size_t end = 0;
    for (std::size_t kept = 0; end < name.size(); ++end) {
      if ((static_cast<unsigned char>(name[end]) & 0xC0) != 0x80 && kept++ == width - 1) break;
    }
    name = name.substr(0, end) + "~";
  }
  return name + std::string(width - Columns(name), ' ');
}

std::string Plural(int n, std::string_view one, std::string_view many) {
  return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

}  // namespace

int DryRunCounts::PassedOver() const {
  int sum = 0;
  for (const int n : passedOver) sum += n;
  return sum;
}

void OpenGameForDryRun(Session& session, std::string_view name) {
  OpenLoadedGame(session, name);
  Table& games = session.Universal().GamesTable;
  if (!games.Locate("universe_name", TruncateUtf8(name, kUniverseNameSize))) {
    throw Error("The saved game \"" + std::string(name) +
                "\" has no settings row in games.db: load it first.");
  }
}

DryRunSummary DryRun(Session& session, const RunChoice& choice) {
  const std::string& game = session.LoadedGameName();
  if (game.empty()) throw Error(std::string(kLoadGameFirst));
  Query& query = session.Game().PlayersQuery;
  QueryClearedOnExit cleared(query);
  const RunPlan plan = PlanRun(session, choice);
  query.Clear();

  DryRunSummary summary;
  summary.game = game;
  summary.title = plan.title;
  if (!choice.teamId) summary.scope = LevelScopeName(choice.universe.levelScope);
  summary.keptRuns = KeptRuns(session.ProgramFolder());
  const fs::path& program = session.ProgramFolder();
  PhotoLookups lookups(session, false);

  std::map<int, std::string> teamNames;
  for (const TeamItem& item : session.Window().teams) teamNames[item.teamId] = item.text;
  std::map<int, DryRunTeam> teams;
  ArtworkCheck artwork;
  std::map<std::pair<int, std::string>, ColourProblem> colours;
  std::set<int> designsChecked;

  for (const PlannedPlayer& player : plan.players) {
    const PhotoRow& row = player.row;
    const fs::path output = PortraitFile(lookups.PicturesFolder(), row.playerId);
    std::error_code ec;
    const bool replaces = !player.passOver && fs::exists(output, ec);
    const bool aged = PortraitAgeStep(row, lookups.PlayersAge()) != row.ageStep;
    Count(summary.total, player, replaces, aged);
    DryRunTeam& team = teams[row.teamId];
    team.teamId = row.teamId;
    Count(team.counts, player, replaces, aged);
    if (player.passOver) continue;

    artwork.Need("face", lookups.PortraitFace(program, row), true,
                 "the run stops at this player's portrait");
    // The age layers the portrait draws over the face and the facial hair.
    if (const int step = PortraitAgeStep(row, lookups.PlayersAge());
        step > 0 && lookups.FaceAges(row.ethnicity, row.face)) {
      artwork.Need("age layer", AgeFaceFile(program, step), false, "portraits are made without it");
      const std::string* location =
          row.facialHairStyle != 0 ? lookups.FacialHairLocation(row.facialHairStyle) : nullptr;
      if (location != nullptr && *location != "none" &&
          fs::exists(FacialHairFile(program, *location, row.hairColor == 2), ec)) {
        artwork.Need("grey facial hair", GreyFacialHairFile(program, *location, step), false,
                     "portraits are made without it");
      }
    }
    const int uniformTeam = row.retired ? row.retiredAsTeam : row.teamId;
    const TeamLooks* looks = uniformTeam != 0 ? lookups.Team(uniformTeam) : nullptr;
    if (looks == nullptr) {
      artwork.Need("uniform", DefaultUniformFile(program), true,
                   "the run stops at the first portrait in it");
      continue;
    }
    // The colour texts are read for every portrait of a team, custom uniform or not.
    for (const auto& [field, text] :
         {std::pair<std::string, std::string>{"background_color_id", looks->backgroundColor},
          {"text_color_id", looks->textColor}}) {
      std::optional<bool> stops;
      try {
        if (!ParseColorText(text)) stops = false;
      } catch (const Error&) {
        stops = true;
      }
      if (!stops) continue;
      ColourProblem& problem = colours[{uniformTeam, field}];
      problem.teamId = uniformTeam;
      problem.team = looks->owner.substr(0, looks->owner.find(" in "));
      problem.field = field;
      problem.text = text;
      problem.stopsRun = *stops;
      ++problem.players;
    }
    bool customDrawn = false;
    if (!looks->customUniformFile.empty() && looks->customUniformFile != "none") {
      const fs::path custom = looks->customUniformFile;
      artwork.Need("custom uniform", custom, false, "the team's generic uniform is drawn instead");
      std::error_code missing;
      customDrawn = fs::exists(custom, missing);
    }
    if (!customDrawn) {
      const int design = GenericDesign(uniformTeam);
      if (designsChecked.insert(design).second) {
        try {
          (void)LoadUniformTemplates(program, design);
        } catch (const Error& error) {
          artwork.Add({"uniform template", {}, false, 1, true, error.what()});
        }
      }
      if (lookups.UseLogos() && IsPngLogoName(looks->logoFile)) {
        artwork.Need("logo", lookups.PicturesFolder() / looks->logoFile, false,
                     "the uniform is drawn without it");
      }
    }
  }
  if (summary.total.toMake > 0) {
    // Each portrait may draw any of the backgrounds: a missing one concerns all of them.
    for (int b = 1; b <= kBackgroundCount; ++b) {
      artwork.Need("background", BackgroundFile(program, b), true,
                   "the run stops when it draws this background");
    }
    artwork.Need("bill underside", BillUndersideFile(program), true,
                 "the run stops at its first portrait");
  }

  summary.artwork = artwork.Problems();
  for (ArtworkProblem& problem : summary.artwork) {
    if (problem.what == "background" || problem.what == "bill underside") {
      problem.players = summary.total.toMake;
    }
  }
  for (auto& [key, problem] : colours) summary.colours.push_back(problem);
  for (auto& [id, team] : teams) {
    const auto name = teamNames.find(id);
    team.name = id == 0                   ? "no team"
                : name != teamNames.end() ? name->second
                                          : "team " + std::to_string(id);
    summary.teams.push_back(std::move(team));
  }
  summary.notes = lookups.Problems();
  return summary;
}

std::string DryRunText(const DryRunSummary& s) {
  std::ostringstream out;
  const DryRunCounts& t = s.total;
  out << "Dry run of the photos for " << s.title;
  if (!s.scope.empty()) out << " (" << s.scope << ")";
  out << " of " << s.game << ": nothing was written.\n\n";
  // The figures in one column, each total above the figures it sums.
  const auto figure = [&out](int n, std::string_view words) {
    out << std::right << std::setw(7) << n << "  " << words << '\n';
  };
  figure(t.selected, "players need a new photo");
  figure(t.toMake, "photos it would make");
  std::string writesOver = "  of them write over an earlier picture";
  if (t.replaces > 0) {
    writesOver += s.keptRuns > 0 ? " (each kept first; Undo Last Run brings them back)"
                                 : " (not kept: the runs kept are set to 0)";
  }
  figure(t.replaces, writesOver);
  figure(t.aged, "  of them aged since the last photo");
  figure(t.PassedOver(), "players skipped:");
  for (const PassOver reason : kAllPassOvers) {
    figure(t.PassedOver(reason), "  skipped: " + std::string(PassOverText(reason)));
  }

  if (!s.teams.empty()) {
    std::size_t width = 5;
    for (const DryRunTeam& team : s.teams) width = std::max(width, Columns(team.name));
    width = std::min<std::size_t>(width, 40);
    const auto line = [&](const std::string& name, const DryRunCounts& c) {
      out << PaddedName(name, width) << std::right << std::setw(12) << c.selected << std::setw(6)
          << c.toMake << std::setw(10) << c.replaces << std::setw(8)
          << c.PassedOver(PassOver::Locked) << std::setw(12) << c.PassedOver(PassOver::NotSelected)
          << std::setw(15) << c.PassedOver(PassOver::BelowMinimum) << std::setw(13)
          << c.PassedOver(PassOver::OutOfScope) << '\n';
    };
    out << '\n'
        << std::left << std::setw(static_cast<int>(width)) << "Team" << std::right << std::setw(12)
        << "Need photo" << std::setw(6) << "Make" << std::setw(10) << "Replaces" << std::setw(8)
        << "Locked" << std::setw(12) << "Not chosen" << std::setw(15) << "Below minimum"
        << std::setw(13) << "Below level" << '\n';
    for (const DryRunTeam& team : s.teams) line(team.name, team.counts);
    line("Total", t);
  }

  out << '\n';
  if (s.artwork.empty()) {
    out << "Artwork: every file the portraits need is there and can be read.\n";
  } else {
    out << "Artwork that is missing or cannot be read:\n";
    for (const ArtworkProblem& p : s.artwork) {
      out << "  " << p.what << ' ';
      if (!p.file.empty()) out << p.file.string() << ' ';
      out << (p.file.empty() ? ""
              : p.missing    ? "is missing"
                             : "cannot be read")
          << " (" << Plural(p.players, "portrait", "portraits") << "): " << p.detail << '\n';
    }
  }
  if (s.colours.empty()) {
    out << "Team colours: every uniform team's colour texts give a colour.\n";
  } else {
    out << "Team colours that give no colour:\n";
    for (const ColourProblem& c : s.colours) {
      out << "  " << c.team << ": " << c.field << " \"" << c.text << "\" "
          << (c.stopsRun ? "is not a colour; the run stops at the first portrait in it"
                         : "is too short; the default colour is used")
          << " (" << Plural(c.players, "portrait", "portraits") << ")\n";
    }
  }
  for (const std::string& note : s.notes) out << note << '\n';
  return out.str();
}

std::string DryRunJson(const DryRunSummary& s) {
  std::ostringstream out;
  out << "{\n  \"game\": " << JsonText(s.game) << ",\n  \"run\": " << JsonText(s.title)
      << ",\n  \"backups\": " << (s.keptRuns > 0 ? "true" : "false") << ",\n  \"total\": {";
  JsonCounts(out, s.total);
  out << "},\n  \"teams\": [";
  for (std::size_t i = 0; i < s.teams.size(); ++i) {
    out << (i > 0 ? "," : "") << "\n    {\"team_id\": " << s.teams[i].teamId
        << ", \"name\": " << JsonText(s.teams[i].name) << ", ";
    JsonCounts(out, s.teams[i].counts);
    out << '}';
  }
  out << (s.teams.empty() ? "" : "\n  ") << "],\n  \"artwork\": [";
  for (std::size_t i = 0; i < s.artwork.size(); ++i) {
    const ArtworkProblem& p = s.artwork[i];
    out << (i > 0 ? "," : "") << "\n    {\"what\": " << JsonText(p.what)
        << ", \"file\": " << JsonText(p.file.string()) << ", \"problem\": "
        << JsonText(p.file.empty() ? "unreadable"
                    : p.missing    ? "missing"
                                   : "unreadable")
        << ", \"portraits\": " << p.players
        << ", \"stops_run\": " << (p.stopsRun ? "true" : "false")
        << ", \"detail\": " << JsonText(p.detail) << '}';
  }
  out << (s.artwork.empty() ? "" : "\n  ") << "],\n  \"colours\": [";
  for (std::size_t i = 0; i < s.colours.size(); ++i) {
    const ColourProblem& c = s.colours[i];
    out << (i > 0 ? "," : "") << "\n    {\"team_id\": " << c.teamId
        << ", \"team\": " << JsonText(c.team) << ", \"field\": " << JsonText(c.field)
        << ", \"text\": " << JsonText(c.text)
        << ", \"stops_run\": " << (c.stopsRun ? "true" : "false")
        << ", \"portraits\": " << c.players << '}';
  }
  out << (s.colours.empty() ? "" : "\n  ") << "],\n  \"notes\": [";
  for (std::size_t i = 0; i < s.notes.size(); ++i) {
    out << (i > 0 ? ", " : "") << JsonText(s.notes[i]);
  }
  out << "]\n}\n";
  return out.str();
}

}  // namespace likentor
