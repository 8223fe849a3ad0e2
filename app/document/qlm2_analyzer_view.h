#pragma once
// The view of the document template. The visible panes are the main frame's own
// views, so this view draws nothing.
#include "platform/ui/document.h"

class CQLM2_AnalyzerView : public ui::View {};
