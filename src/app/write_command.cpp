#include "app/write_command.h"

#include "app/session.h"

namespace likentor {

BusyError::BusyError(std::string_view busyWith)
    : Error("Likentor is busy with " + std::string(busyWith) + "; try again when it has ended.") {}

WriteCommand::WriteCommand(Session& session, std::string_view name) : session_(session) {
  session_.BeginWrite(name);
}

WriteCommand::~WriteCommand() {
  session_.EndWrite();
}

}  // namespace likentor
