#include "samplegame/pictures.h"

#include <array>
#include <bit>
#include <cstdint>

#include "samplegame/image_files.h"
#include "samplegame/sample_random.h"

namespace likentor::samplegame {

namespace {

struct Rgb {
  std::uint8_t r, g, b;
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

Rgb ParseColor(const std::string& text) {
  if (text.size() < 7) return {128, 128, 128};
  const auto channel = [&](std::size_t at) {
    return static_cast<std::uint8_t>(HexDigit(text[at]) * 16 + HexDigit(text[at + 1]));
  };
  return {channel(1), channel(3), channel(5)};
}

// A round emblem: a ring in the second colour around a disc in the first, crossed by a band.
// Outside the ring the RGBA logos are transparent and the RGB ones white.
Image DrawEmblem(Rgb main, Rgb trim, bool alpha) {
  Image image(60, 60, alpha);
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 60; ++x) {
      const double dx = x - 29.5;
      const double dy = y - 29.5;
      const double d2 = dx * dx + dy * dy;
      if (d2 > 28.0 * 28.0) {
        image.Set(x, y, 255, 255, 255, 0);
      } else if (d2 > 23.0 * 23.0 || (y >= 26 && y <= 33)) {
        image.Set(x, y, trim.r, trim.g, trim.b);
      } else {
        image.Set(x, y, main.r, main.g, main.b);
      }
    }
  }
  return image;
}

// A head-and-shoulders silhouette in the colours derived from `seed`.
Image DrawPortrait(std::uint64_t seed) {
  static constexpr std::array<Rgb, 5> kSkin = {
      {{241, 194, 125}, {224, 172, 105}, {198, 134, 66}, {141, 85, 36}, {92, 56, 28}}};
  const std::uint64_t h = Mix64(seed);
  const Rgb skin = kSkin[h % kSkin.size()];
  const Rgb back = {static_cast<std::uint8_t>(90 + (h >> 8) % 120),
                    static_cast<std::uint8_t>(90 + (h >> 16) % 120),
                    static_cast<std::uint8_t>(90 + (h >> 24) % 120)};
  const Rgb shirt = {static_cast<std::uint8_t>((h >> 32) % 200),
                     static_cast<std::uint8_t>((h >> 40) % 200),
                     static_cast<std::uint8_t>((h >> 48) % 200)};
  Image image(90, 135, false);
  for (int y = 0; y < 135; ++y) {
    for (int x = 0; x < 90; ++x) {
      const double hx = (x - 45) / 21.0;
      const double hy = (y - 58) / 27.0;
      const bool head = hx * hx + hy * hy <= 1.0;
      const bool body = y >= 92 && (x - 45) * (x - 45) <= (y - 70) * (y - 70) * 2;
      const Rgb c = head ? skin : (body ? shirt : back);
      image.Set(x, y, c.r, c.g, c.b);
    }
  }
  return image;
}

bool IsPlainAscii(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

int ExistingPicturesOf(const Player& player) {
  int files = 0;
  if (player.id % 101 == 17) files |= kPlayerIdPng;
  if (player.id % 211 == 31) files |= kPlayerIdJpg;
  if (IsPlainAscii(player.firstName) && IsPlainAscii(player.lastName)) {
    if (player.id % 113 == 23) files |= kNameJpg;
    if (player.id % 307 == 45) files |= kNamePng;
  }
  return files;
}

PictureCounts WritePictures(const World& world, const std::filesystem::path& imagesFolder) {
  PictureCounts counts;
  for (const auto& team : world.teams) {
    const auto file = imagesFolder / team.logoFile;
    if (team.logoKind == LogoKind::Gif) {
      WriteTinyGif(file);
    } else {
      // Even teams get RGBA logos, odd ones RGB: both kinds reach the logo code.
      WritePng(file, DrawEmblem(ParseColor(team.backgroundColor), ParseColor(team.textColor),
                                team.id % 2 == 0));
    }
    ++counts.logos;
  }
  for (const auto& league : world.leagues) {
    WritePng(imagesFolder / league.logoFile, DrawEmblem(Rgb{0, 40, 104}, Rgb{255, 255, 255}, true));
    ++counts.logos;
  }
  for (const auto& p : world.players) {
    const int files = ExistingPicturesOf(p);
    if (files == 0) continue;
    const Image portrait = DrawPortrait(static_cast<std::uint64_t>(p.id));
    const std::string byId = "Player_" + std::to_string(p.id);
    const std::string byName = p.firstName + "_" + p.lastName;
    if (files & kPlayerIdPng) WritePng(imagesFolder / (byId + ".png"), portrait);
    if (files & kPlayerIdJpg) WriteJpeg(imagesFolder / (byId + ".jpg"), portrait, 85);
    if (files & kNameJpg) WriteJpeg(imagesFolder / (byName + ".jpg"), portrait, 85);
    if (files & kNamePng) WritePng(imagesFolder / (byName + ".png"), portrait);
    counts.playerPictures += std::popcount(static_cast<unsigned>(files));
  }
  WriteJpeg(imagesFolder / "default_player_photo.jpg", DrawPortrait(0), 85);
  return counts;
}

}  // namespace likentor::samplegame
