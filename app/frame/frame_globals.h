#pragma once
// Program-wide run-time state that is not stored in the settings file: what is
// open, what runs, and how the trend and workspace windows are docked.
#include <cstdint>

// 1 while a recording is open in the document.
extern std::int32_t DocumentLoaded;
// Result state: 0 nothing to save, 1 results saved or just opened, 2 results changed since.
extern std::uint16_t ResultModifiedState;
// The result-file code knows the same state by this name.
inline std::uint16_t& ResultSaveState = ResultModifiedState;
// Screening run state: 0 idle, 1 running, 2 paused.
extern std::int32_t ScreeningRunning;
// 0 while a run stages epochs, 1 while it only computes parameters.
extern std::uint16_t ScreeningParameterOnly;
// 1 once the utility hypnogram window has loaded a result file.
extern std::uint32_t UtilityHypnogramLoaded;
// Modes of the mode ini file: animal-only display and DSI-only File > Open.
extern std::int32_t AnimalOnlyMode;
extern std::int32_t DsiOnlyMode;
// 1 when a video's play range was edited and not saved.
extern std::int32_t VideoAttached;

// Dock states of the trend and workspace windows (DockState values of pane_layout.h).
extern std::uint16_t TrendWindowDockState;
extern std::uint16_t WorkspaceWindowDockState;

extern std::int32_t ScrollDirection;
// 0 while drawing for the screen, otherwise printing or bitmap output.
extern std::uint16_t PrintTarget;
extern std::int32_t PrintInColor;
// Non-zero while the raw rows show their divided-page FFT panes.
extern std::int32_t DividedFftMode;
extern std::int32_t TimePointPicking;
// 1 while the raw view is in a pick or marking mode started by a settings dialog.
extern std::uint16_t RawPreviewMode;
extern std::int16_t PreviewKind;
// 1 while the sleep-disturbance confirmation tunes the arousal threshold: the raw page then
// recognises arousal on the shown page only.
extern std::uint16_t ArousalThresholdPreview;
