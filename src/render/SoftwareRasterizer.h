#pragma once

namespace Vexa {

/// Whether the current context draws through one of Mesa's software rasterizers
/// (llvmpipe, softpipe). They pay per sample for what graphics hardware does
/// almost for free, so the game leaves out anisotropic filtering and the window's
/// multisampling there. Needs a current context; false without one.
bool softwareRasterizer();

}  // namespace Vexa
