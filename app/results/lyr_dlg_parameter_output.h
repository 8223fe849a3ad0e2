#pragma once
// "Parameter output" (modal, template 263): the report of the analysis settings in force for
// the open recording (record times, channel processing, wave-form recognition, the staging
// logic and the mark auto-detection), as delimited text to a file or the clipboard, or as a
// fixed-width page on the default printer.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/draw/print.h"
#include "platform/system/clock.h"
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_PARAMETER_OUTPUT = 263;

// The parameter report's text, built without a window.
namespace paramout {
// Delimited lines for a file or the clipboard (each "\n"-ended; sections separated by an empty
// line), the delimiter taken from the program-wide setting.
std::string DelimitedText(CQLM2_AnalyzerDoc& doc);
// Fixed-width lines of the printed page, without line ends.
std::vector<std::string> PrintLines(CQLM2_AnalyzerDoc& doc, const sys::LocalTime& now);
}  // namespace paramout

// The hidden text view the report is printed through: straight to the default printer, no
// print dialog, one page, the text moved in by +150 and +100 device units.
class LyrParameterOutputDummyView {
 public:
  explicit LyrParameterOutputDummyView(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  // Opens the job on the default printer; null (status set) when there is none.
  std::unique_ptr<draw::PrintJob> OnPreparePrinting(draw::PrintStatus* status);
  // Draws the text inside the page rectangle, moved in from its left and top edges.
  void OnPrint(draw::Dc& dc, draw::Rect rect);
  // Prints one page; false when no job could be opened or the job broke off.
  bool OnFilePrint(draw::PrintStatus* status);

  // Where a print job is opened (tests give a preview job).
  static std::function<std::unique_ptr<draw::PrintJob>(const draw::PageSetup&, draw::PrintStatus*)> OpenJob;

 private:
  std::vector<std::string> lines_;
};

class LyrDlgParameterOutput : public ui::Dialog {
 public:
  static constexpr int kPath = 2801, kPathText = 2802, kComma = 2803, kTab = 2804;
  static constexpr int kFile = 2805, kClipboard = 2806, kPrint = 2807;

  explicit LyrDlgParameterOutput(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;
  // 1 when the report was built and delivered; 0 after a failure.
  int OutputParameter();

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  // 0 File, 1 Clipboard, 3 Print.
  std::uint16_t m_Destination = 0;
  std::string m_OutputPath;
  // The clock of the printed header (tests fix it).
  static sys::LocalTime (*Now)();

 private:
  void OnPath();
  void SetDestination(std::uint16_t destination);
};
