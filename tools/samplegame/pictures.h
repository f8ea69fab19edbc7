#pragma once

#include <filesystem>

#include "samplegame/sample_world.h"

namespace likentor::samplegame {

// Pictures that a player already has in the picture folder, as bits.
enum PictureFile : int {
  kPlayerIdPng = 1,  // "Player_<id>.png"
  kPlayerIdJpg = 2,  // "Player_<id>.jpg"
  kNameJpg = 4,      // "<first>_<last>.jpg"
  kNamePng = 8,      // "<first>_<last>.png"
};
// Which of them the generator writes for a player: by id (id mod 101 = 17 gives the .png, id mod
// 211 = 31 the .jpg), and by name only for players whose names are plain ASCII (id mod 113 = 23 the
// .jpg, id mod 307 = 45 the .png).
int ExistingPicturesOf(const Player& player);

struct PictureCounts {
  int logos = 0;
  int playerPictures = 0;  // default_player_photo.jpg not counted
};

// Team and league logos, the players' existing pictures and default_player_photo.jpg.
PictureCounts WritePictures(const World& world, const std::filesystem::path& imagesFolder);

}  // namespace likentor::samplegame
