#pragma once

#include <stdexcept>
#include <string>

namespace likentor {

// A failure that ends an operation. The message is the one the user sees: the window shows it in an
// error box, the command line prints it to stderr and exits 1.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace likentor
