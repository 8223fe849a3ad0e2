#pragma once
// A window as it shows now, captured into an image: its own painting and that of every
// window, control and bar inside it (bitmap output of the frame's windows).
#include "platform/draw/image.h"

namespace ui {

class Window;

// The window's client area with everything inside it, 32 bits per pixel; a null image for a
// window that has not been created or has no size.
draw::Image RenderWindowImage(const Window& window);

}  // namespace ui
