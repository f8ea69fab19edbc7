// Player search rules and escaping, the current-photo order, and leaving the player page.

#include <gtest/gtest.h>

#include <set>

#include "app/navigation.h"
#include "app/player_search.h"
#include "commands_fixture.h"
#include "import/players_fields.h"
#include "samplegame/image_files.h"

namespace likentor {
namespace {

using test::PlayerRow;

class PlayerSearchTest : public test::CommandsFixture {
 protected:
  void AddNamedPlayers() {
    AddPlayer({1, "John", "Smith"});
    AddPlayer({2, "Joe", "Smythe"});
    AddPlayer({3, "Jo Ann", "Jones"});
    AddPlayer({4, "Mary", "Smith"});
    AddPlayer({5, "Sean", "O'Neill"});
    AddPlayer({6, "Pat", "50%Off"});
    AddPlayer({7, "Pat", "50Off"});
    AddPlayer({8, "Lu", "A_b"});
    AddPlayer({9, "Lu", "Axb"});
    AddPlayer({10, "Ty", "Back\\slash"});
    AddPlayer({1234, "Hal", "Other"});
  }

  // The ids the search found, or nothing (with the message checked) when it found none.
  std::set<int> Found(const PlayerSearch& search) {
    prompts_.ClearHistory();
    session_.ShowPage(kDashboardPage);
    std::set<int> ids;
    Query& players = session_.Game().PlayersQuery;
    if (!PlayerSearchBtnClick(session_, search)) {
      EXPECT_EQ(prompts_.Texts(ScriptedPrompts::Kind::Message),
                std::vector<std::string>{"No matches found."});
      EXPECT_FALSE(players.IsOpen());
      EXPECT_TRUE(players.Sql().empty());
      EXPECT_EQ(session_.Window().page, kDashboardPage);
      return ids;
    }
    EXPECT_TRUE(prompts_.History().empty());
    EXPECT_EQ(session_.Window().page, kPlayerPage);
    const int first = players.GetInt(kPlayerIdField);
    for (players.First(); !players.Eof(); players.Next())
      ids.insert(players.GetInt(kPlayerIdField));
    EXPECT_EQ(first, *ids.begin());  // the first row is current after the search
    return ids;
  }
};

TEST_F(PlayerSearchTest, TheRulesInTheirOrder) {
  AddNamedPlayers();
  // The id wins over the names.
  EXPECT_EQ(Found({"", "Smith", 1234}), std::set<int>{1234});
  EXPECT_EQ(Found({"John", "", 1234}), std::set<int>{1234});
  EXPECT_EQ(Found({"", "", 77}), std::set<int>{});
  // Prefixes of the last name, of the first name, and of both together.
  EXPECT_EQ(Found({"", "Sm", 0}), (std::set<int>{1, 2, 4}));
  EXPECT_EQ(Found({"Jo", "", 0}), (std::set<int>{1, 2, 3}));
  EXPECT_EQ(Found({"Jo", "Sm", 0}), (std::set<int>{1, 2}));
  // A trailing blank is part of the text.
  EXPECT_EQ(Found({"Jo ", "", 0}), std::set<int>{3});
  // Nothing given.
  EXPECT_EQ(Found({"", "", 0}), std::set<int>{});
}

TEST_F(PlayerSearchTest, TypedTextMatchesItselfOnly) {
  AddNamedPlayers();
  EXPECT_EQ(Found({"", "O'Neill", 0}), std::set<int>{5});
  EXPECT_EQ(Found({"Sean", "O'", 0}), std::set<int>{5});
  EXPECT_EQ(Found({"", "50%", 0}), std::set<int>{6});
  EXPECT_EQ(Found({"", "A_", 0}), std::set<int>{8});
  EXPECT_EQ(Found({"", "Back\\", 0}), std::set<int>{10});
  EXPECT_EQ(Found({"", "%", 0}), std::set<int>{});
  EXPECT_EQ(Found({"", "' OR '1'='1", 0}), std::set<int>{});
  EXPECT_EQ(PlayerSearchSql("g", {"O'N", "5%_", 0}),
            (std::vector<std::string>{"SELECT *", "FROM \"g_players.db\"",
                                      "WHERE first_name LIKE 'O''N%' ESCAPE '\\'",
                                      "AND last_name LIKE '5\\%\\_%' ESCAPE '\\'"}));
  EXPECT_EQ(PlayerSearchSql("g", {"A", "B", -3}),
            (std::vector<std::string>{"SELECT *", "FROM \"g_players.db\"", "WHERE player_id=-3"}));
}

TEST_F(PlayerSearchTest, WithoutALoadedGameTheSearchIsRefused) {
  AddNamedPlayers();
  session_.SetLoadedGameName("");
  prompts_.ClearHistory();
  EXPECT_FALSE(PlayerSearchBtnClick(session_, {"", "Smith", 0}));
  EXPECT_EQ(prompts_.Texts(ScriptedPrompts::Kind::Message),
            std::vector<std::string>{"Load a game first!"});
  EXPECT_FALSE(session_.Game().PlayersQuery.IsOpen());
  EXPECT_EQ(session_.Window().page, kDashboardPage);
}

TEST_F(PlayerSearchTest, DonePostsAPendingEditAndClosesTheQuery) {
  AddNamedPlayers();
  ASSERT_EQ(Found({"", "Sm", 0}), (std::set<int>{1, 2, 4}));
  Query& players = session_.Game().PlayersQuery;
  // "Locked?" ticked on the first row, then moved on: posted by the move.
  players.First();
  players.Edit();
  players.SetBool(kLockedField, true);
  players.Next();
  // Ticked on the second row, then Done.
  players.Edit();
  players.SetBool(kLockedField, true);
  PlayerDoneClick(session_);
  EXPECT_FALSE(players.IsOpen());
  EXPECT_TRUE(players.Sql().empty());
  EXPECT_EQ(session_.Window().page, kDashboardPage);
  const auto locked = Column(PlayersTableName(kGame), "locked");
  EXPECT_EQ(locked.at(1), "true");
  EXPECT_EQ(locked.at(2), "true");
  EXPECT_EQ(locked.at(4), "false");

  // A refused post keeps the page, the query and the edit.
  ASSERT_EQ(Found({"Mary", "", 0}), std::set<int>{4});
  RefuseUpdates(PlayersTableName(kGame), "NEW.player_id = 4");
  players.Edit();
  players.SetBool(kLockedField, true);
  EXPECT_THROW(PlayerDoneClick(session_), Error);
  EXPECT_TRUE(players.InEdit());
  EXPECT_EQ(session_.Window().page, kPlayerPage);
  // A new search discards it.
  EXPECT_EQ(Found({"John", "", 0}), std::set<int>{1});
  EXPECT_EQ(Column(PlayersTableName(kGame), "locked").at(4), "false");
}

// Flat-coloured pictures, each of its own colour, so the picture shown tells which file it was.
class CurrentPhotoTest : public test::CommandsFixture {
 protected:
  void WritePicture(const std::string& name, std::uint8_t red) {
    const bool png = name.ends_with(".png");
    samplegame::Image image(6, 4, false);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 6; ++x) image.Set(x, y, red, 40, 200);
    }
    if (png) {
      samplegame::WritePng(Pictures() / name, image);
    } else {
      samplegame::WriteJpeg(Pictures() / name, image, 95);
    }
  }

  // The red sample of the picture shown, and whether it was shown as a PNG.
  std::pair<int, bool> Shown(const std::optional<PlayerPicture>& preview) {
    if (!preview) return {-1, false};
    if (const auto* png = std::get_if<PngImage>(&preview->image)) {
      return {png->Pixel(2, 2).r, true};
    }
    return {std::get<Bitmap>(preview->image).Pixel(2, 2).r, false};
  }
};

TEST_F(CurrentPhotoTest, TheFirstFileThatExistsInOrder) {
  AddPlayer({42, "Ann", "Lee"});
  ASSERT_TRUE(PlayerSearchBtnClick(session_, {"", "", 42}));
  std::optional<PlayerPicture> preview;

  // Nothing at all, not even the default picture: the load error, and the preview is cleared.
  WritePicture("Player_42.png", 250);
  SeeCurrentPhotoBtnClick(session_, preview);
  std::filesystem::remove(Pictures() / "Player_42.png");
  EXPECT_THROW(SeeCurrentPhotoBtnClick(session_, preview), Error);
  EXPECT_FALSE(preview.has_value());

  // Each file added in turn comes before those added earlier.
  const std::pair<std::string, std::uint8_t> files[] = {{"default_player_photo.jpg", 40},
                                                        {"Player_42.jpg", 80},
                                                        {"Ann_Lee.jpg", 120},
                                                        {"Ann_Lee.png", 160},
                                                        {"Player_42.png", 200}};
  for (const auto& [name, red] : files) {
    SCOPED_TRACE(name);
    WritePicture(name, red);
    SeeCurrentPhotoBtnClick(session_, preview);
    ASSERT_TRUE(preview.has_value());
    EXPECT_EQ(preview->file, Pictures() / name);
    const auto [shownRed, asPng] = Shown(preview);
    EXPECT_NEAR(shownRed, red, 6);  // JPEG is lossy
    EXPECT_EQ(asPng, name.ends_with(".png"));
  }
  EXPECT_EQ(
      CurrentPhotoCandidates(Pictures(), 42, "Ann", "Lee"),
      (std::vector<std::filesystem::path>{Pictures() / "Player_42.png", Pictures() / "Ann_Lee.png",
                                          Pictures() / "Ann_Lee.jpg", Pictures() / "Player_42.jpg",
                                          Pictures() / "default_player_photo.jpg"}));
}

}  // namespace
}  // namespace likentor
