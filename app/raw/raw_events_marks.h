#pragma once
// The range popup of the raw page and what its event and mark commands write: respiratory
// events every 0.25 s, limb movements, snore and arousal every 0.1 s, the ten mark types and
// the detected-wave ("Seizure") flags every 0.1 s.
#include <cstdint>
#include <memory>

class CQLM2_AnalyzerDoc;
namespace ui {
class Menu;
}

namespace rawevents {

// Command ids of the popup.
inline constexpr std::uint32_t kCmdOsas = 32842, kCmdMsas = 32843, kCmdCsas = 32844, kCmdHypopnea = 33045,
                               kCmdRespClear = 32845;
inline constexpr std::uint32_t kCmdLmLeft = 32836, kCmdLmLeftClear = 32837, kCmdLmRight = 32838,
                               kCmdLmRightClear = 32839, kCmdLmBoth = 32840, kCmdLmBothClear = 32841;
inline constexpr std::uint32_t kCmdSnore = 33031, kCmdSnoreClear = 33033, kCmdArousal = 33032,
                               kCmdArousalClear = 33034;
inline constexpr std::uint32_t kCmdMarkFirst = 33130;       // Mark n at 33129 + n
inline constexpr std::uint32_t kCmdMarkClearFirst = 33141;  // clear n at 33140 + n
inline constexpr std::uint32_t kCmdMarkAllClear = 33151;
inline constexpr std::uint32_t kCmdSeizure = 33099, kCmdSeizureClear = 33100;

// The popup for the document as it stands: the stage submenu of the current stage type and
// the SAS, LM, Snore, Arousal, Mark, MarkClear and Seizure submenus that the channels and
// tables offer. Without any sleep-disturbance submenu the stage submenu is the popup itself.
std::unique_ptr<ui::Menu> BuildEventPopup(const CQLM2_AnalyzerDoc& doc);

// Mark type (0..9) of the offered type numbered n (1..10), -1 when fewer are offered. A type
// is offered when the mark table has points, its array exists and its on and display flags
// are 1.
int OfferedMarkType(const CQLM2_AnalyzerDoc& doc, int n);
bool MarkTypeOffered(const CQLM2_AnalyzerDoc& doc, int type);

// Position in samples at rate R to a table point of the given length in seconds (truncated).
std::int64_t PointOfPosition(std::int64_t position, std::uint32_t rate, double pointSeconds);

}  // namespace rawevents
