#include "import/players_fields.h"

#include <string>

namespace likentor {

const std::vector<FieldDef>& PlayersTableFields() {
  static const std::vector<FieldDef> fields = {
      {std::string(kPlayerIdField), FieldType::Integer, 0, true},
      {std::string(kFirstNameField), FieldType::Text, 20, true},
      {std::string(kLastNameField), FieldType::Text, 30, true},
      {std::string(kNationIdField), FieldType::Integer, 0, true},
      {std::string(kRetiredField), FieldType::Boolean, 0, false},
      {std::string(kTeamIdField), FieldType::Integer, 0, false},
      {std::string(kPositionField), FieldType::Integer, 0, false},
      {std::string(kEthnicityField), FieldType::Integer, 0, false},
      {std::string(kBackgroundField), FieldType::Integer, 0, false},
      {std::string(kFaceField), FieldType::Integer, 0, false},
      {std::string(kUniformTeamIdField), FieldType::Integer, 0, false},
      {std::string(kHairColorField), FieldType::Integer, 0, false},
      {std::string(kHairStyleField), FieldType::Integer, 0, false},
      {std::string(kFacialHairStyleField), FieldType::Integer, 0, false},
      {std::string(kAccessoryField), FieldType::Integer, 0, false},
      {std::string(kCareerAbField), FieldType::Integer, 0, false},
      {std::string(kCareerIpField), FieldType::Integer, 0, false},
      {std::string(kLockedField), FieldType::Boolean, 0, false},
      {std::string(kUpdateRequiredField), FieldType::Boolean, 0, false},
      {std::string(kRetiredAsTeamField), FieldType::Integer, 0, false},
      {std::string(kHandField), FieldType::Integer, 0, false},
      {std::string(kCareerSeasonsField), FieldType::Integer, 0, false},
      {std::string(kAgeStepField), FieldType::Integer, 0, false},
  };
  return fields;
}

}  // namespace likentor
