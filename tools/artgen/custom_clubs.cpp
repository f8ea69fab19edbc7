// The thirty custom home uniforms that teams with known names get at import: each in its
// club's colours with a plain initial and wordmark set in a stock typeface (no club artwork).
#include "uniforms.h"

namespace likentor::artgen {

const std::array<CustomClub, 30> kCustomClubs{{
    {"Orioles_home.png", "B", "Orioles", Bytes(223, 80, 20), Bytes(39, 37, 31), 0},
    {"Red Sox_home.png", "B", "Red Sox", Bytes(189, 48, 57), Bytes(12, 35, 64), 1},
    {"Yankees_home.png", "NY", "", Bytes(20, 38, 74), Bytes(20, 38, 74), 12},
    {"Mets_home.png", "NY", "Mets", Bytes(0, 45, 114), Bytes(252, 89, 16), 13},
    {"Devil Rays_home.png", "TB", "Devil Rays", Bytes(0, 94, 60), Bytes(30, 30, 30), 3},
    {"Blue Jays_home.png", "T", "Blue Jays", Bytes(19, 74, 142), Bytes(29, 45, 92), 2},
    {"White Sox_home.png", "C", "Sox", Bytes(39, 37, 31), Bytes(150, 160, 168), 14},
    {"Cubs_home.png", "C", "Cubs", Bytes(14, 51, 134), Bytes(204, 52, 51), 15},
    {"Indians_home.png", "C", "Indians", Bytes(12, 35, 64), Bytes(227, 25, 55), 0},
    {"Tigers_home.png", "D", "Tigers", Bytes(12, 35, 64), Bytes(250, 70, 22), 6},
    {"Royals_home.png", "KC", "Royals", Bytes(0, 70, 135), Bytes(189, 155, 96), 3},
    {"Twins_home.png", "TC", "Twins", Bytes(0, 43, 92), Bytes(211, 17, 69), 16},
    {"Angels_home.png", "A", "Angels", Bytes(186, 0, 33), Bytes(0, 50, 99), 1},
    {"Dodgers_home.png", "LA", "Dodgers", Bytes(0, 90, 156), Bytes(239, 62, 66), 4},
    {"Athletics_home.png", "A", "Athletics", Bytes(0, 72, 58), Bytes(239, 178, 30), 8},
    {"Mariners_home.png", "S", "Mariners", Bytes(12, 44, 86), Bytes(0, 112, 112), 2},
    {"Rangers_home.png", "T", "Rangers", Bytes(0, 50, 120), Bytes(192, 17, 31), 5},
    {"Braves_home.png", "A", "Braves", Bytes(19, 39, 79), Bytes(206, 17, 65), 0},
    {"Marlins_home.png", "F", "Marlins", Bytes(0, 119, 135), Bytes(30, 30, 30), 11},
    {"Phillies_home.png", "P", "Phillies", Bytes(232, 24, 40), Bytes(0, 45, 114), 17},
    {"Nationals_home.png", "W", "Nationals", Bytes(171, 0, 3), Bytes(20, 34, 90), 6},
    {"Reds_home.png", "C", "Reds", Bytes(198, 1, 31), Bytes(30, 30, 30), 9},
    {"Astros_home.png", "H", "Astros", Bytes(150, 36, 44), Bytes(40, 36, 34), 2},
    {"Brewers_home.png", "M", "Brewers", Bytes(18, 40, 75), Bytes(182, 146, 46), 7},
    {"Pirates_home.png", "P", "Pirates", Bytes(39, 37, 31), Bytes(253, 184, 39), 1},
    {"Cardinals_home.png", "STL", "Cardinals", Bytes(196, 30, 58), Bytes(12, 35, 64), 3},
    {"Diamondbacks_home.png", "A", "D-backs", Bytes(167, 25, 48), Bytes(40, 36, 34), 5},
    {"Rockies_home.png", "CR", "Rockies", Bytes(51, 51, 102), Bytes(30, 30, 30), 10},
    {"Padres_home.png", "SD", "Padres", Bytes(0, 45, 98), Bytes(162, 170, 173), 4},
    {"Giants_home.png", "SF", "Giants", Bytes(39, 37, 31), Bytes(253, 90, 30), 7},
}};

}  // namespace likentor::artgen
