#pragma once
// The parameter bar's first value field doubles as the measure of the raw page's stage-history
// strip: the strip is as high as the field's client area and written in the field's font.
#include "platform/draw/gdi.h"

class CMainFrame;

struct StageHistoryField {
  int height = 0;
  draw::LogFont font;
};

// The field's height and font; false when there is no frame, no parameter bar or no field.
bool GetStageHistoryField(const CMainFrame* frame, StageHistoryField* out);
