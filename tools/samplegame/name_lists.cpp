#include "samplegame/name_lists.h"

#include <array>
#include <string_view>

namespace likentor::samplegame {

namespace {

constexpr const char* kAngloFirst[] = {
    "Michael", "James",   "John",     "Robert",  "David",  "William", "Richard", "Joseph", "Thomas",
    "Chris",   "Daniel",  "Matthew",  "Anthony", "Mark",   "Steven",  "Paul",    "Andrew", "Joshua",
    "Kevin",   "Brian",   "Ryan",     "Jason",   "Justin", "Brandon", "Tyler",   "Kyle",   "Eric",
    "Adam",    "Nathan",  "Zach",     "Travis",  "Chase",  "Cody",    "Dustin",  "Derek",  "Trevor",
    "Garrett", "Austin",  "Hunter",   "Colton",  "Bryce",  "Logan",   "Mason",   "Wyatt",  "Carson",
    "Cole",    "Blake",   "Grant",    "Spencer", "Trent",  "Brett",   "Clay",    "Dallas", "Dwight",
    "Marcus",  "Darnell", "Terrance", "Andre",   "Jamal",  "Reggie",  "Lamar",   "Cedric", "Tony",
    "Sean",    "Patrick", "Connor",   "Liam",    "Brady",  "Jake",    "Luke",    "Max",    "Sam",
    "Ben",     "Jack",    "Drew",     "Shane",   "Corey",  "Jeff",    "Scott",   "Greg"};
constexpr const char* kAngloLast[] = {
    "Smith",     "Johnson",  "Williams", "Brown",    "Jones",    "Miller",   "Davis",
    "Wilson",    "Anderson", "Taylor",   "Thomas",   "Moore",    "Martin",   "Jackson",
    "Thompson",  "White",    "Harris",   "Clark",    "Lewis",    "Robinson", "Walker",
    "Young",     "Allen",    "King",     "Wright",   "Scott",    "Hill",     "Green",
    "Adams",     "Baker",    "Nelson",   "Carter",   "Mitchell", "Roberts",  "Turner",
    "Phillips",  "Campbell", "Parker",   "Evans",    "Edwards",  "Collins",  "Stewart",
    "Morris",    "Murphy",   "Cook",     "Rogers",   "Morgan",   "Cooper",   "Peterson",
    "Bailey",    "Reed",     "Kelly",    "Howard",   "Cox",      "Ward",     "Richardson",
    "Watson",    "Brooks",   "Wood",     "James",    "Bennett",  "Gray",     "Hughes",
    "Price",     "Sanders",  "Myers",    "Long",     "Ross",     "Foster",   "Powell",
    "Jenkins",   "Perry",    "Russell",  "Sullivan", "Bell",     "Coleman",  "Butler",
    "Henderson", "Barnes",   "Fisher",   "Graham",   "Hayes",    "Wallace",  "Woods",
    "Cole",      "West",     "Jordan",   "Reynolds", "Hamilton", "Ford",     "Wells",
    "Tucker",    "Porter",   "Hunter",   "Hicks",    "Crawford", "Boyd",     "Mason",
    "Warren",    "Dixon",    "Burns",    "Gordon",   "Shaw",     "Holmes",   "Rice",
    "Hunt",      "Black",    "Daniels",  "Palmer",   "Mills",    "Grant",    "Knight",
    "Ferguson",  "Stone",    "Hawkins",  "Dunn",     "Perkins",  "Hudson",   "Spencer",
    "Stephens",  "Payne",    "Pierce",   "Berry",    "Matthews", "Arnold",   "Willis",
    "Watkins",   "Olson",    "Carroll",  "Duncan",   "Snyder",   "Hart",     "Cunningham",
    "Bradley",   "Lane",     "Andrews",  "Harper",   "Fox",      "Riley",    "Armstrong",
    "O'Neill",   "O'Brien",  "O'Connor", "O'Malley", "O'Hara",   "McDonald", "McCarthy",
    "McBride",   "D'Angelo", "D'Amico",  "LaRoche",  "DeWitt",   "Van Horn"};

constexpr const char* kHispanicFirst[] = {
    "José",      "Luis",      "Carlos",  "Juan",    "Miguel",  "Pedro",   "Jesús",   "Rafael",
    "Manuel",    "Francisco", "Jorge",   "Roberto", "Ramón",   "Andrés",  "Martín",  "Julián",
    "Sebastián", "Adrián",    "Germán",  "Rubén",   "Joaquín", "Nicolás", "Iván",    "Óscar",
    "Darío",     "Simón",     "Tomás",   "Víctor",  "Ángel",   "Héctor",  "Félix",   "Eduardo",
    "Alexis",    "Yordano",   "Wilmer",  "Elvis",   "Freddy",  "Johan",   "Yunior",  "Starling",
    "Raúl",      "Gerardo",   "Alberto", "Enrique", "Ricardo", "Alfonso", "Ernesto", "Fernando"};
constexpr const char* kHispanicLast[] = {
    "Peña",      "Nuñez",     "Núñez",      "Martínez", "Hernández", "Rodríguez", "González",
    "Pérez",     "Sánchez",   "Ramírez",    "Gómez",    "Díaz",      "Jiménez",   "Muñoz",
    "Álvarez",   "Gutiérrez", "Báez",       "Castillo", "Reyes",     "Cruz",      "Morales",
    "Ortiz",     "Rivera",    "Torres",     "Vásquez",  "Ramos",     "Guerrero",  "Encarnación",
    "Beltré",    "Peguero",   "Félix",      "Almonte",  "Acuña",     "Ibáñez",    "Suárez",
    "Fernández", "Domínguez", "Santana",    "Soto",     "Mejía",     "Marte",     "Polanco",
    "Tejada",    "Valdez",    "Cabrera",    "Santiago", "Ordóñez",   "Quiñones",  "Avilés",
    "Colón",     "Rosario",   "De la Cruz", "De León",  "Herrera",   "Medina",    "Aguilar",
    "Vargas",    "Castro",    "Mendoza",    "Salazar"};

constexpr const char* kJapaneseFirst[] = {
    "Hiroshi", "Takashi", "Kenji",  "Daisuke", "Yuki",  "Kazuo",   "Masahiro", "Koji",
    "Shinji",  "Tetsuya", "Yusuke", "Ryota",   "Kenta", "Takeshi", "Haruki",   "Sho",
    "Daiki",   "Kohei",   "Naoki",  "Tomoya",  "Akira", "Hideo",   "Yoshio",   "Makoto"};
constexpr const char* kJapaneseLast[] = {
    "Sato",      "Suzuki",    "Takahashi", "Tanaka",   "Watanabe", "Ito",      "Yamamoto",
    "Nakamura",  "Kobayashi", "Kato",      "Yoshida",  "Yamada",   "Sasaki",   "Yamaguchi",
    "Matsumoto", "Inoue",     "Kimura",    "Hayashi",  "Shimizu",  "Yamazaki", "Mori",
    "Abe",       "Ikeda",     "Hashimoto", "Ishikawa", "Ogawa",    "Okada",    "Fujita",
    "Goto",      "Kondo",     "Murakami",  "Nishimura"};

constexpr const char* kKoreanFirst[] = {"Min-jun",   "Seo-jun",  "Ji-hoon",   "Hyun-woo",
                                        "Dong-hyun", "Jae-won",  "Sung-min",  "Kyung-ho",
                                        "Tae-hyun",  "Jung-ho",  "Byung-ho",  "Seung-hwan",
                                        "Woo-jin",   "Sang-woo", "Jin-young", "Hyun-soo"};
constexpr const char* kKoreanLast[] = {"Kim",  "Lee",   "Park", "Choi", "Jung", "Kang", "Cho",
                                       "Yoon", "Jang",  "Lim",  "Han",  "Oh",   "Seo",  "Shin",
                                       "Kwon", "Hwang", "Ahn",  "Song", "Ryu",  "Hong"};

constexpr const char* kChineseFirst[] = {"Wei",      "Jian",    "Hao",     "Chien-Ming", "Yu-Cheng",
                                         "Chih-Wei", "Wei-Yin", "Kuo-Hui", "Tsung-Che",  "Po-Yu",
                                         "Zhi-Hao",  "Ming",    "Jun",     "Tao",        "Lei",
                                         "Chen-Yu",  "Kai",     "Long"};
constexpr const char* kChineseLast[] = {
    "Wang", "Li",   "Zhang", "Liu",   "Chen", "Yang", "Huang", "Zhao", "Wu",    "Zhou", "Lin",
    "Kuo",  "Tsai", "Hsu",   "Chang", "Lo",   "Hu",   "Cheng", "Sung", "Tseng", "Lai",  "Hung"};

constexpr const char* kDutchFirst[] = {"Kenley",  "Andruw", "Jurickson", "Wladimir", "Sidney",
                                       "Hensley", "Didi",   "Shairon",   "Jair",     "Dwayne",
                                       "Rick",    "Roger",  "Randolph",  "Jeroen",   "Bas",
                                       "Sander",  "Daan",   "Koen",      "Ruud",     "Jonathan"};
constexpr const char* kDutchLast[] = {
    "Jansen", "Martis", "Balentien", "Profar",       "Simmons",  "Gregorius", "Schoop",
    "Kemp",   "Bakker", "de Vries",  "van den Berg", "de Jong",  "Visser",    "Smit",
    "Mulder", "Meijer", "Dekker",    "Janga",        "Rosalina", "Bernadina", "Isenia",
    "Statia", "Halman", "Duursma",   "Croes"};

constexpr const char* kGermanFirst[] = {"Hans",    "Jürgen",   "Günther", "Jörg",   "Sönke",
                                        "Max",     "Lukas",    "Felix",   "Stefan", "Tobias",
                                        "Florian", "Matthias", "Andreas", "Uwe",    "Dieter"};
constexpr const char* kGermanLast[] = {"Müller", "Schäfer",  "Schröder",   "Köhler",   "Weiß",
                                       "Groß",   "Fischer",  "Becker",     "Hoffmann", "Krüger",
                                       "Jäger",  "Wagner",   "Zimmermann", "Schulz",   "Neumann",
                                       "Braun",  "Hartmann", "Lange",      "Vogel",    "Böhm"};

constexpr const char* kItalianFirst[] = {
    "Giuseppe", "Marco",   "Luca",    "Alessandro", "Niccolò",   "Matteo",   "Lorenzo",
    "Giovanni", "Antonio", "Stefano", "Davide",     "Francesco", "Riccardo", "Fabio"};
constexpr const char* kItalianLast[] = {
    "Rossi",   "Russo",    "Bianchi", "Romano",  "Colombo",  "Ricci",   "Marino",
    "Greco",   "D'Angelo", "D'Amico", "De Luca", "Esposito", "Galli",   "Conti",
    "Mancini", "Lombardi", "Fabbri",  "Caruso",  "Ferrara",  "Santoro", "Gallo"};

constexpr const char* kFrenchFirst[] = {"François", "Jérôme", "Frédéric", "Gaël",   "Rémi",
                                        "Stéphane", "Benoît", "Loïc",     "Noël",   "Mathieu",
                                        "Olivier",  "Julien", "Pierre",   "Étienne"};
constexpr const char* kFrenchLast[] = {
    "Lefèvre",   "Bélanger",  "Gagné",    "Côté",       "Lévesque", "Bérubé",
    "Thériault", "Pelletier", "Leclerc",  "Dubois",     "Moreau",   "Girard",
    "Tremblay",  "Roy",       "Gauthier", "Desrosiers", "Benoît",   "Joseph"};

constexpr const char* kPortugueseFirst[] = {"João",    "José",     "Antônio", "Luís",   "Sérgio",
                                            "Fábio",   "Thiago",   "Gonçalo", "Rafael", "Bruno",
                                            "Gabriel", "Leonardo", "André",   "Vítor"};
constexpr const char* kPortugueseLast[] = {
    "Gonçalves", "Conceição", "Araújo",  "Magalhães", "Silva",    "Santos",     "Oliveira",
    "Souza",     "Pereira",   "Costa",   "Rodrigues", "Almeida",  "Nascimento", "Lima",
    "Carvalho",  "Ferreira",  "Ribeiro", "Yamamoto",  "Nakamura", "Tanaka"};

constexpr const char* kNordicFirst[] = {"Søren",  "Bjørn", "Åke",   "Jørgen", "Mikael",
                                        "Lars",   "Erik",  "Sven",  "Björn",  "Magnus",
                                        "Anders", "Jussi", "Mikko", "Rasmus", "Oskar"};
constexpr const char* kNordicLast[] = {
    "Åberg",   "Øster",    "Sørensen", "Ødegaard", "Lindqvist", "Johansson", "Nielsen", "Håkansson",
    "Jönsson", "Virtanen", "Mäkinen",  "Häkkinen", "Larsen",    "Berg",      "Eriksson"};

constexpr const char* kEasternFirst[] = {
    "Jakub",  "Tomáš",  "Lukáš", "Marek", "Piotr", "Pavel",  "Dmitri",  "Ivan",     "Andrei",
    "Zoltán", "László", "Milan", "Goran", "Zoran", "Bogdan", "Nikolai", "Vladimir", "Sergei"};
constexpr const char* kEasternLast[] = {
    "Šimek",     "Žák",   "Novák",     "Horváth",    "Kovács",    "Dvorak",
    "Kowalski",  "Nowak", "Petrov",    "Ivanov",     "Kuznetsov", "Popescu",
    "Nagy",      "Tóth",  "Szabó",     "Kiss",       "Markovic",  "Petrovic",
    "Jovanovic", "Babic", "Kovalenko", "Shevchenko", "Georgiev",  "Dimitrov"};

constexpr const char* kMiddleEasternFirst[] = {
    "Ahmed",  "Mohamed", "Omar", "Youssef", "Karim", "Tarek", "Samir", "Rami",
    "Khalid", "Hassan",  "Ali",  "Mehmet",  "Emre",  "Murat", "Reza",  "Dariush"};
constexpr const char* kMiddleEasternLast[] = {"Haddad",   "Khoury", "Nasser",  "Saleh",  "Mansour",
                                              "Farouk",   "Aziz",   "Hamdan",  "Yilmaz", "Kaya",
                                              "Demir",    "Sahin",  "Öztürk",  "Çelik",  "Karimi",
                                              "Hosseini", "Rahimi", "Ben Ali", "Aydin",  "Haddadi"};

constexpr const char* kAfricanFirst[] = {"Kwame",  "Kofi",   "Emeka",    "Chidi",    "Oluwaseun",
                                         "Tunde",  "Jabari", "Baraka",   "Themba",   "Sipho",
                                         "Thabo",  "Moussa", "Ibrahim",  "Amadou",   "Samuel",
                                         "Daniel", "Joseph", "Emmanuel", "Blessing", "Tendai"};
constexpr const char* kAfricanLast[] = {
    "Okafor", "Adeyemi", "Mensah",  "Boateng", "Owusu",  "Diallo", "Traoré", "Keita",
    "Ndlovu", "Dlamini", "Mokoena", "Kamara",  "Koroma", "Mwangi", "Otieno", "Banda",
    "Phiri",  "Abebe",   "Haile",   "Diop",    "Ndiaye", "Koné",   "Touré",  "Nkosi"};

constexpr const char* kSouthAsianFirst[] = {"Rahul",  "Arjun", "Vikram", "Rohan",  "Aditya",
                                            "Sanjay", "Ravi",  "Anil",   "Imran",  "Faisal",
                                            "Rajesh", "Karan", "Dinesh", "Ashwin", "Rinku"};
constexpr const char* kSouthAsianLast[] = {"Patel",    "Sharma", "Singh",   "Kumar",    "Gupta",
                                           "Reddy",    "Rao",    "Iyer",    "Nair",     "Khan",
                                           "Chaudhry", "Mehta",  "Desai",   "Joshi",    "Perera",
                                           "Fernando", "Rahman", "Hossain", "Shrestha", "Bose"};

constexpr const char* kSoutheastAsianFirst[] = {"Somchai", "Anan", "Minh", "Tuan",  "Duc",
                                                "Huy",     "Budi", "Agus", "Arif",  "Hafiz",
                                                "Rizal",   "Aung", "Kyaw", "Sokha", "Nattapong"};
constexpr const char* kSoutheastAsianLast[] = {
    "Nguyen",  "Tran",   "Le",      "Pham", "Hoang", "Phan", "Vu",  "Wongsawat", "Srisuk",
    "Santoso", "Wijaya", "Hidayat", "Tan",  "Lim",   "Ong",  "Win", "Chea",      "Sok"};

constexpr const char* kPacificFirst[] = {"Sione", "Tevita", "Viliami", "Semisi", "Manu",
                                         "Ioane", "Tasi",   "Keoni",   "Kainoa", "Tama",
                                         "Afa",   "Junior", "Kekoa",   "Lopaka"};
constexpr const char* kPacificLast[] = {
    "Tuilagi", "Fonoti", "Tupou", "Faleolo", "Taufa", "Leota",  "Moala", "Fifita",
    "Vaipulu", "Aumua",  "Tago",  "Sapolu",  "Mahe",  "Kahale", "Aguon", "Quitugua"};

constexpr const char* kNicknames[] = {"Ace",    "Bubba", "Chico",  "Doc",    "Flash",  "Hoss",
                                      "Lefty",  "Moose", "Pudge",  "Rocket", "Slim",   "Smoky",
                                      "Sparky", "Tex",   "Whitey", "Cookie", "Boomer", "Dutch"};

struct Lists {
  std::span<const char* const> first;
  std::span<const char* const> last;
};

constexpr std::array<Lists, kCultureCount> kLists = {{
    {kAngloFirst, kAngloLast},
    {kHispanicFirst, kHispanicLast},
    {kJapaneseFirst, kJapaneseLast},
    {kKoreanFirst, kKoreanLast},
    {kChineseFirst, kChineseLast},
    {kDutchFirst, kDutchLast},
    {kGermanFirst, kGermanLast},
    {kItalianFirst, kItalianLast},
    {kFrenchFirst, kFrenchLast},
    {kPortugueseFirst, kPortugueseLast},
    {kNordicFirst, kNordicLast},
    {kEasternFirst, kEasternLast},
    {kMiddleEasternFirst, kMiddleEasternLast},
    {kAfricanFirst, kAfricanLast},
    {kSouthAsianFirst, kSouthAsianLast},
    {kSoutheastAsianFirst, kSoutheastAsianLast},
    {kPacificFirst, kPacificLast},
}};

struct CultureShare {
  Culture culture;
  int weight;
};

struct NationCultures {
  std::string_view abbreviation;
  std::array<CultureShare, 2> shares;  // a weight of 0 leaves the second one out
};

using C = Culture;
// Nations whose players' names do not simply follow their region's default.
constexpr NationCultures kNationCultures[] = {
    {"USA", {{{C::Anglo, 82}, {C::Hispanic, 18}}}},
    {"CAN", {{{C::Anglo, 80}, {C::French, 20}}}},
    {"GBR", {{{C::Anglo, 1}, {C::Anglo, 0}}}},
    {"IRL", {{{C::Anglo, 1}, {C::Anglo, 0}}}},
    {"AUS", {{{C::Anglo, 1}, {C::Anglo, 0}}}},
    {"NZL", {{{C::Anglo, 80}, {C::Pacific, 20}}}},
    {"RSA", {{{C::Anglo, 50}, {C::African, 50}}}},
    {"PHI", {{{C::Hispanic, 60}, {C::SoutheastAsian, 40}}}},
    {"GUM", {{{C::Hispanic, 50}, {C::Pacific, 50}}}},
    {"NMI", {{{C::Hispanic, 50}, {C::Pacific, 50}}}},
    {"BRA", {{{C::Portuguese, 1}, {C::Portuguese, 0}}}},
    {"POR", {{{C::Portuguese, 1}, {C::Portuguese, 0}}}},
    {"CPV", {{{C::Portuguese, 1}, {C::Portuguese, 0}}}},
    {"ANG", {{{C::Portuguese, 60}, {C::African, 40}}}},
    {"MOZ", {{{C::Portuguese, 60}, {C::African, 40}}}},
    {"ESP", {{{C::Hispanic, 1}, {C::Hispanic, 0}}}},
    {"JPN", {{{C::Japanese, 1}, {C::Japanese, 0}}}},
    {"KOR", {{{C::Korean, 1}, {C::Korean, 0}}}},
    {"PRK", {{{C::Korean, 1}, {C::Korean, 0}}}},
    {"CHN", {{{C::Chinese, 1}, {C::Chinese, 0}}}},
    {"TPE", {{{C::Chinese, 1}, {C::Chinese, 0}}}},
    {"HKG", {{{C::Chinese, 1}, {C::Chinese, 0}}}},
    {"MAC", {{{C::Chinese, 1}, {C::Chinese, 0}}}},
    {"SGP", {{{C::Chinese, 70}, {C::SoutheastAsian, 30}}}},
    {"NED", {{{C::Dutch, 1}, {C::Dutch, 0}}}},
    {"CUW", {{{C::Dutch, 1}, {C::Dutch, 0}}}},
    {"ARU", {{{C::Dutch, 70}, {C::Hispanic, 30}}}},
    {"SXM", {{{C::Dutch, 50}, {C::Anglo, 50}}}},
    {"BEL", {{{C::French, 50}, {C::Dutch, 50}}}},
    {"GER", {{{C::German, 1}, {C::German, 0}}}},
    {"AUT", {{{C::German, 1}, {C::German, 0}}}},
    {"SUI", {{{C::German, 60}, {C::French, 40}}}},
    {"LIE", {{{C::German, 1}, {C::German, 0}}}},
    {"LUX", {{{C::German, 50}, {C::French, 50}}}},
    {"ITA", {{{C::Italian, 1}, {C::Italian, 0}}}},
    {"SMR", {{{C::Italian, 1}, {C::Italian, 0}}}},
    {"MLT", {{{C::Italian, 1}, {C::Italian, 0}}}},
    {"FRA", {{{C::French, 1}, {C::French, 0}}}},
    {"MON", {{{C::French, 1}, {C::French, 0}}}},
    {"HAI", {{{C::French, 1}, {C::French, 0}}}},
    {"GLP", {{{C::French, 1}, {C::French, 0}}}},
    {"MTQ", {{{C::French, 1}, {C::French, 0}}}},
    {"TAH", {{{C::French, 40}, {C::Pacific, 60}}}},
    {"NCL", {{{C::French, 60}, {C::Pacific, 40}}}},
    {"DEN", {{{C::Nordic, 1}, {C::Nordic, 0}}}},
    {"NOR", {{{C::Nordic, 1}, {C::Nordic, 0}}}},
    {"SWE", {{{C::Nordic, 1}, {C::Nordic, 0}}}},
    {"FIN", {{{C::Nordic, 1}, {C::Nordic, 0}}}},
    {"ISL", {{{C::Nordic, 1}, {C::Nordic, 0}}}},
    {"FRO", {{{C::Nordic, 1}, {C::Nordic, 0}}}},
    {"GRL", {{{C::Nordic, 1}, {C::Nordic, 0}}}},
    {"TUR", {{{C::MiddleEastern, 1}, {C::MiddleEastern, 0}}}},
    {"IRI", {{{C::MiddleEastern, 1}, {C::MiddleEastern, 0}}}},
    {"ISR", {{{C::MiddleEastern, 50}, {C::EasternEuropean, 50}}}},
    {"ALG", {{{C::MiddleEastern, 1}, {C::MiddleEastern, 0}}}},
    {"MAR", {{{C::MiddleEastern, 1}, {C::MiddleEastern, 0}}}},
    {"TUN", {{{C::MiddleEastern, 1}, {C::MiddleEastern, 0}}}},
    {"LBA", {{{C::MiddleEastern, 1}, {C::MiddleEastern, 0}}}},
    {"EGY", {{{C::MiddleEastern, 1}, {C::MiddleEastern, 0}}}},
    {"IND", {{{C::SouthAsian, 1}, {C::SouthAsian, 0}}}},
    {"PAK", {{{C::SouthAsian, 1}, {C::SouthAsian, 0}}}},
    {"BAN", {{{C::SouthAsian, 1}, {C::SouthAsian, 0}}}},
    {"SRI", {{{C::SouthAsian, 1}, {C::SouthAsian, 0}}}},
    {"NEP", {{{C::SouthAsian, 1}, {C::SouthAsian, 0}}}},
    {"MDV", {{{C::SouthAsian, 1}, {C::SouthAsian, 0}}}},
    {"MRI", {{{C::SouthAsian, 60}, {C::French, 40}}}},
    {"TTO", {{{C::Anglo, 50}, {C::SouthAsian, 50}}}},
    {"GUY", {{{C::Anglo, 50}, {C::SouthAsian, 50}}}},
    {"FIJ", {{{C::Pacific, 60}, {C::SouthAsian, 40}}}},
    {"SUR", {{{C::Dutch, 60}, {C::SouthAsian, 40}}}},
};

Culture RegionDefault(int region) {
  switch (region) {
    case 1:
      return C::African;
    case 2:
      return C::SoutheastAsian;
    case 3:
      return C::EasternEuropean;
    case 4:
      return C::Anglo;
    case 5:
      return C::Pacific;
    default:
      return C::Hispanic;
  }
}

}  // namespace

std::span<const char* const> FirstNames(Culture culture) {
  return kLists[static_cast<std::size_t>(culture)].first;
}

std::span<const char* const> LastNames(Culture culture) {
  return kLists[static_cast<std::size_t>(culture)].last;
}

std::span<const char* const> Nicknames() {
  return kNicknames;
}

Culture DrawCulture(const Nation& nation, SampleRandom& random) {
  for (const auto& entry : kNationCultures) {
    if (entry.abbreviation != nation.abbreviation) continue;
    const int weights[2] = {entry.shares[0].weight, entry.shares[1].weight};
    return entry.shares[random.Weighted(weights)].culture;
  }
  // Spanish-speaking Central America and the Caribbean use Spanish names; the others of the
  // region default to English ones.
  static constexpr std::string_view kHispanicNorth[] = {"DOM", "CUB", "PUR", "MEX", "PAN",
                                                        "NCA", "CRC", "ESA", "GUA", "HON"};
  for (auto abbr : kHispanicNorth) {
    if (abbr == nation.abbreviation) return C::Hispanic;
  }
  static constexpr std::string_view kArabAsia[] = {"BRN", "IRQ", "JOR", "KUW", "LBN", "OMA", "PLE",
                                                   "QAT", "KSA", "SYR", "UAE", "YEM", "AFG"};
  for (auto abbr : kArabAsia) {
    if (abbr == nation.abbreviation) return C::MiddleEastern;
  }
  return RegionDefault(nation.region);
}

std::pair<std::string, std::string> DrawName(Culture culture, SampleRandom& random) {
  const auto first = FirstNames(culture);
  const auto last = LastNames(culture);
  return {first[random.Below(first.size())], last[random.Below(last.size())]};
}

}  // namespace likentor::samplegame
