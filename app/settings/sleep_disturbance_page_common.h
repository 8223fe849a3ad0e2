#pragma once
// What the two pages of the sleep-disturbance setup share: the channel lists ("None", then the
// recording's channels), the number texts, the checks that refuse a negative value, and the
// colour swatches.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

// Control ids and string ids of the setup window, its pages and the confirmation.
inline constexpr std::uint32_t IDS_SD_NONE = 2064;
inline constexpr std::uint32_t IDS_SD_PEAK_DETECT_LEVEL = 2080;
inline constexpr std::uint32_t IDS_SD_AMPLITUDE_100 = 2164;
inline constexpr std::uint32_t IDS_SD_NORMAL_DETECT_LEVEL = 2176;
inline constexpr std::uint32_t IDS_SD_AUTO = 2303;
inline constexpr std::uint32_t IDS_SD_TAB_RESP = 2317;
inline constexpr std::uint32_t IDS_SD_TAB_MOVE = 2318;
inline constexpr std::uint32_t IDS_SD_THRESHOLD_LEVEL = 2335;
inline constexpr std::uint32_t IDS_SD_RESULT_INVALID = 2374;
inline constexpr std::uint32_t IDS_SD_ERROR = 63310;
inline constexpr std::uint32_t IDS_SD_TEMPLATE_FILTER = 63311;
inline constexpr std::uint32_t IDS_SD_TEMPLATE_NOT_OPENED = 63312;
inline constexpr std::uint32_t IDS_SD_TEMPLATE_CUT_SHORT = 63313;
inline constexpr std::uint32_t IDS_SD_TEMPLATE_NOT_WRITTEN = 63314;
inline constexpr std::uint32_t IDS_SD_MEASURE_FAILED = 63315;
// "Cannot open the file. The version is different." (the text of the result files' refusal).
inline constexpr std::uint32_t IDS_SD_VERSION_DIFFERENT = 61402;

// Detector kinds of the "Cursor..." buttons (PreviewKind) and of the page groups.
enum SleepDisturbanceKind : int {
  kSdAirflow = 11,
  kSdRespC = 12,
  kSdRespA = 13,
  kSdLMLeft = 14,
  kSdLMRight = 15,
  kSdECG = 17,
  kSdSnore = 18,
  kSdArousal = 19,
  kSdSpO2 = 21,
};

namespace sdpage {

// Channels of the open recording (0 without a document).
int ChannelCount(const CQLM2_AnalyzerDoc* doc);
// A channel the recording does not have becomes none (-1) in the block; the combo is filled
// with "None" and the channel names and shows the block's channel.
void LoadChannelCombo(const ui::Dialog& page, int comboId, const CQLM2_AnalyzerDoc* doc, std::int32_t* channel);
// The combo's choice into the field ("None" gives -1); false when nothing is chosen (the field
// is kept) or "None" is.
bool SelectChannel(const ui::Dialog& page, int comboId, std::int32_t* field);

std::string Format(const char* format, double value);
void SetNumber(const ui::Dialog& page, int id, double value, const char* format = "%.3f");
// An edit's text as the system reads numbers: leading number, else 0.
double ReadNumber(const ui::Dialog& page, int id);
// The edit into the field; an edit that still shows the field as SetNumber wrote it keeps the
// stored value, so that the digits the text does not show are not lost by an OK.
void StoreNumber(const ui::Dialog& page, int id, double* field, const char* format = "%.3f");

// The first edit of the list whose number is negative (or, with a word limit, above it):
// beep, "ERROR", the focus on it and false.
bool CheckNotNegative(ui::Dialog& page, std::initializer_list<int> ids);
bool CheckWord(ui::Dialog& page, int id, double highest);
void ReportError(ui::Dialog& page, int focusId);

// A static that shows a colour: painted over with the colour the getter gives.
void AttachSwatch(const ui::Dialog& page, int staticId, std::function<std::uint32_t()> colour);
// Standard colour choice into the field; true when a colour was chosen.
bool ChooseColour(ui::Dialog& page, std::uint32_t* field);

}  // namespace sdpage
