#pragma once

// What the window shows of the session: the caption, the status text, the team box and the page.
// Commands change it through the session, which tells the front end's listener at once, so that a
// window never has to poll.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace likentor {

inline constexpr std::string_view kIdleCaption = "Likentor";
inline constexpr std::string_view kLoadedCaptionPrefix = "Likentor: ";
inline constexpr std::string_view kNoGameLoaded = "No game loaded.";

// One entry of the team box: the text shown ("team_name nickname") and the team it stands for, so
// that choosing a team never depends on its place in the list.
struct TeamItem {
  int teamId = 0;
  std::string text;
  bool operator==(const TeamItem&) const = default;
};

struct WindowState {
  std::string caption{kIdleCaption};
  std::string statusText{kNoGameLoaded};
  std::vector<TeamItem> teams;  // the team box, in ascending team id
  int page = 0;                 // the page shown; 0 is the dashboard
};

enum class StateChange { Caption, Status, Teams, Page };

// Called on the thread that made the change, with the state as it now is.
using StateListener = std::function<void(StateChange, const WindowState&)>;

}  // namespace likentor
