#include "app/frame/program_settings.h"

double PaneRowRatio = 0.5;
double PaneColumnRatio = 0.6;
double SavedPaneRowRatio = 0.6;
double SavedPaneColumnRatio = 0.6;

std::int32_t EpochSeconds = 4;
std::int32_t PageSeconds = 28;
