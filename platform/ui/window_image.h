#pragma once
// A window as it shows now, captured into an image: its own painting and that of every
// window, control and bar inside it (bitmap output of the frame's windows).
#include "platform/draw/image.h"
#include "platform/ui/geometry.h"

namespace ui {

class Window;

// The window's client area with everything inside it, 32 bits per pixel; a null image for a
// window that has not been created or has no size.
draw::Image RenderWindowImage(const Window& window);
// A part of the window's client area as the window alone paints it, without the windows and
// controls inside it (what shows through a control drawn transparently); 32 bits per pixel, a
// null image when the part lies outside the window.
draw::Image RenderWindowBackground(const Window& window, const Rect& part);

}  // namespace ui
