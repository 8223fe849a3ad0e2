#pragma once
// Internal to the platform layer: the scripted answers and the records of what was shown,
// shared by the window code and the testing hooks.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/testing/ui_testing.h"

namespace ui {

struct ScriptedDialog {
  int templateId = 0;
  std::function<void(Dialog&)> script;
};

struct CommonAnswer {
  enum class Kind { File, Folder, Color, Font, Print } kind = Kind::File;
  int result = 0;
  std::vector<std::string> paths;
  std::uint32_t color = 0;
  int fontHeight = 0;
  int fontWeight = 400;
  std::string fontFace;
  std::string printer;
};

struct ScriptState {
  std::deque<int> boxAnswers;
  std::vector<testhooks::ShownBox> shownBoxes;
  std::vector<std::uint32_t> beeps;
  std::deque<ScriptedDialog> dialogs;
  std::vector<int> shownDialogs;
  std::deque<CommonAnswer> commonAnswers;
  std::deque<std::uint32_t> popupAnswers;
  int unanswered = 0;
};

ScriptState& Script();

// Takes the first queued common-dialog answer of that kind; false when none is queued.
bool TakeCommonAnswer(CommonAnswer::Kind kind, CommonAnswer& out);

}  // namespace ui
