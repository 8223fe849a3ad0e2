#pragma once
// Program-wide settings that have no owning object and are kept in the settings
// file. Dialogs edit them in place; the frame rewrites the file afterwards.
#include <cstdint>

// Share of the outer splitter's height given to the raw wave row (1.0: no bottom row).
extern double PaneRowRatio;
// Share of the bottom row's width given to the trend window (0.0: all to the workspace).
extern double PaneColumnRatio;
// Ratios in force before a window was hidden, restored when it is shown again.
extern double SavedPaneRowRatio;
extern double SavedPaneColumnRatio;

// Epoch and page length in whole seconds; every epoch count is computed from them.
extern std::int32_t EpochSeconds;
extern std::int32_t PageSeconds;
