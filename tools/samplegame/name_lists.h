#pragma once

#include <span>
#include <string>
#include <utility>

#include "samplegame/nation_list.h"
#include "samplegame/sample_random.h"

namespace likentor::samplegame {

// Naming traditions from which players' names are drawn; a nation draws from one or a mix of them.
enum class Culture {
  Anglo,
  Hispanic,
  Japanese,
  Korean,
  Chinese,
  Dutch,
  German,
  Italian,
  French,
  Portuguese,
  Nordic,
  EasternEuropean,
  MiddleEastern,
  African,
  SouthAsian,
  SoutheastAsian,
  Pacific,
};
inline constexpr int kCultureCount = 17;

// The name lists in UTF-8; every name fits Windows-1252.
std::span<const char* const> FirstNames(Culture culture);
std::span<const char* const> LastNames(Culture culture);
// Nicknames a few players carry (field 3 of the players export).
std::span<const char* const> Nicknames();

// The naming tradition of one player of the nation, drawn from the nation's mix.
Culture DrawCulture(const Nation& nation, SampleRandom& random);
// First and last name of a player of that tradition.
std::pair<std::string, std::string> DrawName(Culture culture, SampleRandom& random);

}  // namespace likentor::samplegame
