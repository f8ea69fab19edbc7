#pragma once

// The shared tables the appearance draws read, made by hand in a test's store with only the fields
// the draws use, and the six of them open in the order the draws take them.

#include <string>

#include "database/table_store.h"
#include "portrait/appearance.h"

namespace likentor::test {

inline void CreateFacialHairStyles(Database& db) {
  db.CreateTable("facial_hair.db", {{"facial_hair_id", FieldType::AutoIncrement, 0, true},
                                    {"location", FieldType::Text, 25, true},
                                    {"frequency", FieldType::Integer, 0, true}});
}

// Nations with their four ethnicity weights, the four face tables and the facial-hair styles,
// empty.
inline void CreateLookTables(Database& db) {
  db.CreateTable("nations.db", {{"nation_id", FieldType::Integer, 0, true},
                                {"caucasian", FieldType::Integer, 0, false},
                                {"african", FieldType::Integer, 0, false},
                                {"east_indian", FieldType::Integer, 0, false},
                                {"asian", FieldType::Integer, 0, false}});
  for (const char* name :
       {"faces_african.db", "faces_asian.db", "faces_caucasian.db", "faces_east_indian.db"}) {
    db.CreateTable(name, {{"face_id", FieldType::AutoIncrement, 0, true},
                          {"file_location", FieldType::Text, 100, true}});
  }
  CreateFacialHairStyles(db);
}

struct LookTables {
  Table nations, african, asian, caucasian, eastIndian, facialHair;

  void Open(Database& db) {
    nations.Open(db, "nations.db");
    african.Open(db, "faces_african.db");
    asian.Open(db, "faces_asian.db");
    caucasian.Open(db, "faces_caucasian.db");
    eastIndian.Open(db, "faces_east_indian.db");
    facialHair.Open(db, "facial_hair.db");
  }
  AppearanceTables Tables() {
    return AppearanceTables{nations, african, asian, caucasian, eastIndian, facialHair};
  }
};

}  // namespace likentor::test
