#include "app/universal_tables.h"

#include "app/session.h"

namespace likentor {

// The shared tables are added by their own module; until then these steps have nothing to do.

void CreateUniversalTables(Session& /*session*/) {}

void RebuildMissingTables(Session& /*session*/) {}

void ActivateUniversalTables(Session& /*session*/) {}

void DeActivateUniversalTables(Session& /*session*/) {}

}  // namespace likentor
