#pragma once
// Bitmaps on the system clipboard. Needs the running application (false / a null image
// without one).
#include "platform/draw/image.h"

namespace draw {

// Replaces the clipboard's contents by the image.
bool SetClipboardImage(const Image& image);
// The bitmap on the clipboard, or a null image.
Image GetClipboardImage();

}  // namespace draw
