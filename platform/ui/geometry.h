#pragma once
// Points, sizes and rectangles in pixels: the drawing layer's records, shared so that window
// code and painting use one type. Right and bottom are exclusive.
#include "platform/draw/geometry.h"

namespace ui {
using draw::Point;
using draw::Rect;
using draw::Size;
}  // namespace ui
