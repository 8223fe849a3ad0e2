#include "app/video/lyr_workspace_video_location_view.h"

#include <cmath>

std::int32_t LyrWorkspaceVideoLocationView::LabelInterval(double d) {
  if (d > 259200) return 86400;
  if (d > 86400) return 43200;
  if (d > 43200) return 10800;
  if (d > 21600) return 7200;
  if (d > 10800) return 3600;
  if (d > 3600) return 900;
  if (d > 1800) return 600;
  if (d > 600) return 300;
  return 60;
}

double LyrWorkspaceVideoLocationView::FirstTickOffset(std::int64_t base, std::int32_t interval, bool clockDisplay) {
  if (!clockDisplay) base = 0;
  const std::int64_t first = interval > 0 && base % interval > 0 ? base - base % 3600 + 3600 : base;
  return clockDisplay ? static_cast<double>(first - base) : static_cast<double>(first);
}

bool LyrWorkspaceVideoLocationView::XOf(double t, double start, double end, int width, int& x) {
  const double length = end - start;
  if (width <= 0 || !(length > 0.0)) return false;
  x = static_cast<int>(std::floor((t - start) / (length / width)));
  return true;
}
