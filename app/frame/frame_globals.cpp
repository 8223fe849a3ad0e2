#include "app/frame/frame_globals.h"

#include "app/frame/pane_layout.h"

std::int32_t DocumentLoaded = 0;
std::uint16_t ResultModifiedState = 0;
std::int32_t ScreeningRunning = 0;
std::uint16_t ScreeningParameterOnly = 0;
std::uint32_t UtilityHypnogramLoaded = 0;
std::int32_t AnimalOnlyMode = 0;
std::int32_t DsiOnlyMode = 0;
std::int32_t VideoAttached = 0;

std::uint16_t TrendWindowDockState = kDockShown;
std::uint16_t WorkspaceWindowDockState = kDockShown;

std::int32_t ScrollDirection = 0;
std::uint16_t PrintTarget = 0;
std::int32_t PrintInColor = 1;
std::int32_t DividedFftMode = 0;
std::int32_t TimePointPicking = 0;
std::uint16_t RawPreviewMode = 0;
std::int16_t PreviewKind = 0;
std::uint16_t ArousalThresholdPreview = 0;
