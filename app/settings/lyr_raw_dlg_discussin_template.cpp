// The Logic window's template files: "Load..." and "Save..." of .ltf files.
#include <optional>

#include "app/document/mode_ini.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/settings/logic_dialog_strings.h"
#include "app/settings/lyr_raw_dlg_discussin.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_io.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"

namespace {

// The path chosen in the file dialog of logic templates, or nothing when it was cancelled.
std::optional<std::string> AskTemplatePath(bool open, ui::Window* parent) {
  ui::FileDialog dlg(open, "LTF", {}, ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT | ui::OFN_FILEMUSTEXIST,
                     res::LoadString(kStrLogicTemplateFilter), parent);
  dlg.SetInitialFolder(LastFolderPath);
  if (dlg.DoModal() != ui::IDOK) return std::nullopt;
  LastFolderPath = dlg.GetFolderPath();
  return dlg.GetPathName();
}

std::string WithPath(std::uint32_t id, const std::string& path) {
  std::string text = res::LoadString(id);
  const std::size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, path);
  return text;
}

void Warn(const std::string& text) {
  ui::MessageBeep(ui::MB_ICONEXCLAMATION);
  ui::MessageBox(text, ui::MB_OK | ui::MB_ICONEXCLAMATION);
}

}  // namespace

void LyrRawDlgDiscussin::OnBTemplateRead() {
  if (GetConditionSet() == nullptr) return;
  if (const std::optional<std::string> path = AskTemplatePath(true, this)) LoadTemplateFile(*path);
}

void LyrRawDlgDiscussin::OnBTemplateSave() {
  if (GetConditionSet() == nullptr) return;
  if (!CheckCountField() || !ValidateConditions()) return;
  if (const std::optional<std::string> path = AskTemplatePath(false, this)) SaveTemplateFile(*path);
}

void LyrRawDlgDiscussin::SaveTemplateFile(const std::string& path) {
  LogicConditionSet set;
  CopyConditionSet(set);
  const std::string bytes =
      BuildLogicTemplate(m_pDoc->Params.stageType.stageType, set, UsedCount(), m_pDoc->Params.logicOption);
  if (!sys::WriteFileAtomic(path, bytes)) Warn(WithPath(kStrLogicFileNotWritten, path));
}

void LyrRawDlgDiscussin::LoadTemplateFile(const std::string& path) {
  LogicCondition* target = GetConditionSet();
  if (target == nullptr) return;
  const std::optional<std::string> bytes = sys::ReadWholeFile(path);
  if (!bytes) {
    Warn(WithPath(kStrLogicFileNotOpened, path));
    return;
  }
  LogicTemplate t;
  switch (ParseLogicTemplate(*bytes, m_pDoc->Params.stageType.stageType, ChannelCount(), t)) {
    case LogicTemplateStatus::ok:
      break;
    case LogicTemplateStatus::wrongStageType:
      Warn(res::LoadString(kStrInvalidStageType));
      return;
    case LogicTemplateStatus::damaged:
      Warn(res::LoadString(kStrLogicVersionDifferent) + "\n" + path);
      return;
  }

  bool modeSwitchedOff = false;
  if (!CheckAnimalOnlyLogic(t.set, t.option)) {
    if (ui::MessageBox(res::LoadString(kStrAnimalOnlyOff), ui::MB_OKCANCEL | ui::MB_ICONQUESTION) != ui::IDOK) return;
    AnimalOnlyMode = 0;
    WriteModeIni(ModeSwitches{AnimalOnlyMode, DsiOnlyMode});
    modeSwitchedOff = true;
  }

  for (int i = 0; i < kLogicTemplateRecords; ++i) target[i] = t.set[static_cast<std::size_t>(i)];
  savedSet_ = t.set;
  m_pDoc->Params.logicOption = t.option;

  if (modeSwitchedOff) {
    EndDialog(kLogicReopenCode);
    return;
  }
  m_LastUsed = static_cast<std::int16_t>(CountUsedConditions(t.set) - 1);
  filling_ = true;
  SetDlgItemInt(IDC_LOGIC_COUNT, UsedCount());
  Item(IDC_LOGIC_COUNT_SPIN).SetPos(std::max(1, UsedCount()));
  filling_ = false;
  SyncRecognitionChannels();
  FillParameterCombos();
  FillConditionList();
  UpdateMoveButtons();
}
