#include "app/scoring/lyr_dlg_select_learning_file.h"

LyrDlgSelectLearningFile::LyrDlgSelectLearningFile(ui::Window* parent) : ui::Dialog(kTemplateId, parent) {}

LyrDlgSelectLearningFile::~LyrDlgSelectLearningFile() = default;
