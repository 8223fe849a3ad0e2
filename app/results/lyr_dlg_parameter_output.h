#pragma once
// "Parameter output" (modal, template 263): the destination of the report of the analysis
// settings in force for the open recording.
#include <cstdint>
#include <string>

#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_PARAMETER_OUTPUT = 263;

class LyrDlgParameterOutput : public ui::Dialog {
 public:
  explicit LyrDlgParameterOutput(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr)
      : ui::Dialog(IDD_PARAMETER_OUTPUT, parent), m_pDoc(doc) {}
  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  // 0 File, 1 Clipboard, 3 Print.
  std::uint16_t m_Destination = 0;
  std::string m_OutputPath;
};
