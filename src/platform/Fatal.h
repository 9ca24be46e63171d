#pragma once

#include <string>

namespace Vexa {

/// Ends the game after an unrecoverable error: the message and a line end go to
/// standard error, the console waits for Enter when a person is at it, and the
/// process exits with status -1.
[[noreturn]] void fatalError(const std::string& message);

}  // namespace Vexa
