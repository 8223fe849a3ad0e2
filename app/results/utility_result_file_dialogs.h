#pragma once
// The file dialogs of the hypnogram utility window's result files: choosing a file to load
// and the name and memos of a file written back.
#include "app/results/utility_result_file.h"

namespace ui {
class Window;
}

// Open dialog of result files (memo preview, starting in the last folder); the chosen file is
// loaded into the next slot. Returns its slot, or -1 (nine loaded, cancelled, refused).
int OpenUtilityResultFile(UtilityResultFiles& files, int displayMinutes, ui::Window* parent, ResultFileUi& ui);

// Save dialog for the file of `slot`: its path proposed, its memos to edit; the file is written
// beside the chosen name and renamed into place. true once written; false when cancelled or
// failed (said through `ui`).
bool SaveUtilityResultFile(UtilityResultFiles& files, int slot, ui::Window* parent, ResultFileUi& ui);
