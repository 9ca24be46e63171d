#pragma once

#include <string>

namespace Vexa {
class Window;
}

namespace Vexa::replay {

/// Writes the window's finished but not yet presented picture, the back buffer
/// of the default framebuffer, as an opaque PNG. Ends the program with
/// "could not write image " and the path when that fails.
void writeScreenshot(const Window& window, const std::string& path);

}  // namespace Vexa::replay
