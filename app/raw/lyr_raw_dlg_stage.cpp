#include "app/raw/lyr_raw_dlg_stage.h"

#include <cstdio>
#include <utility>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "platform/draw/dc.h"
#include "platform/res/resource_store.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {
constexpr std::uint32_t kStrStageSets[4] = {9755, 9756, 9757, 9758};
constexpr std::uint32_t kStrClearedFree = 9759;
constexpr int kFreeCodeBase = 8;    // free stages 8, 9, 10
constexpr int kParallelOffset = 20;  // the same stages as 28, 29, 30

// The first `count` characters of UTF-8 text.
std::string FirstCharacters(const std::string& text, int count) {
  std::size_t i = 0;
  for (int n = 0; n < count && i < text.size(); ++n) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
  }
  return text.substr(0, i);
}
}  // namespace

// ---- Stage ----------------------------------------------------------------------------------

LyrRawDlgStage::LyrRawDlgStage(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(kTemplateId, parent), doc_(doc) {}

bool LyrRawDlgStage::OnInitDialog() {
  for (int k = 0; k < 4; ++k) SetDlgItemText(kRegular[k], res::LoadString(kStrStageSets[k]));
  const int type = doc_ != nullptr ? doc_->Params.stageType.stageType : StageTypeWords[0];
  const int free = doc_ != nullptr ? doc_->Params.stageType.sharedInUse : StageTypeWords[1];
  for (int k = 0; k < 4; ++k) CheckDlgButton(kRegular[k], (type >= 0 && type < 3 ? type : 3) == k ? 1 : 0);
  const int f = free >= 0 && free <= 2 ? free : 3;
  CheckDlgButton(kFreeNo, f == 0 ? 1 : 0);
  for (int k = 0; k < 3; ++k) CheckDlgButton(kFree[k], f == k + 1 ? 1 : 0);
  return true;
}

void LyrRawDlgStage::ClearRemovedFreeStages(CQLM2_AnalyzerDoc& doc, int n) {
  const int type = doc.Params.stageType.stageType;
  auto removed = [n](int code) {
    return (code >= kFreeCodeBase + n && code <= kFreeCodeBase + 2) ||
           (code >= kFreeCodeBase + kParallelOffset + n && code <= kFreeCodeBase + kParallelOffset + 2);
  };
  LyrEpochParameter& tables = doc.EpochTables;
  for (int e = 0; e < tables.EpochCount(); ++e)
    if (removed(tables.GetStage(type, e, 0))) tables.SetStage(e, 0);
  for (auto& set : doc.Params.logic.sets)
    for (LogicCondition& c : set)
      if (removed(c.stage)) c.stage = 1;
}

void LyrRawDlgStage::OnOK() {
  int n = 3;
  if (IsDlgButtonChecked(kFreeNo) != 0) n = 0;
  for (int k = 0; k < 3; ++k)
    if (IsDlgButtonChecked(kFree[k]) != 0) n = k + 1;
  int type = 3;
  for (int k = 0; k < 4; ++k)
    if (IsDlgButtonChecked(kRegular[k]) != 0) type = k;

  if (doc_ != nullptr) {
    StageTypeParam& st = doc_->Params.stageType;
    const int current = st.sharedInUse;
    if (n < current) {
      std::string names;
      for (int k = n; k < current && k < StageTypeParam::kFreeStageCount; ++k) names += st.shared[static_cast<std::size_t>(k)].name + " ";
      const std::string fmt = res::LoadString(kStrClearedFree);
      std::string text(fmt.size() + names.size() + 16, '\0');
      const int len = std::snprintf(text.data(), text.size(), fmt.c_str(), names.c_str());
      text.resize(len > 0 ? static_cast<std::size_t>(len) : 0u);
      if (ui::MessageBox(text, ui::MB_OKCANCEL) != ui::IDOK) {
        EndDialog(ui::IDOK);
        return;
      }
      ClearRemovedFreeStages(*doc_, n);
    }
    st.stageType = static_cast<std::uint16_t>(type);
    st.sharedInUse = static_cast<std::uint16_t>(n);
  }
  StageTypeWords[0] = static_cast<std::uint16_t>(type);
  StageTypeWords[1] = static_cast<std::uint16_t>(n);
  EndDialog(ui::IDOK);
}

// ---- Detail ---------------------------------------------------------------------------------

LyrRawDlgStageDetail::LyrRawDlgStageDetail(std::string title, StageRecord* record, ui::Window* parent)
    : ui::Dialog(kTemplateId, parent), title_(std::move(title)), record_(record) {}

bool LyrRawDlgStageDetail::OnInitDialog() {
  MapCommand(kSetColour, [this] { ChooseColour(); });
  if (record_ == nullptr) return true;
  SetDlgItemText(kTitle, title_);
  Item(kName).SetLimitText(2);
  SetDlgItemText(kName, record_->name);
  colour_ = record_->colour;
  Item(kSwatch).SetOverlayPainter([this](draw::Dc& dc, const ui::Rect& client) {
    dc.FillSolidRect(client, colour_);
  });
  for (const int id : {kLineWeight, kShowOrder}) {
    ui::Control list = Item(id);
    list.ResetContent();
    for (int v = 1; v <= 10; ++v) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "%2d", v);
      list.AddString(buf);
    }
  }
  const auto select = [this](int id, int value) { Item(id).SetCurSel(value >= 1 && value <= 10 ? value - 1 : -1); };
  select(kLineWeight, record_->lineWeight);
  select(kShowOrder, record_->showOrder);
  CheckDlgButton(kShowHypnogram, record_->showInHypnogram == 1 ? 1 : 0);
  CheckDlgButton(kLineBetween, record_->lineBetweenStages == 1 ? 1 : 0);
  for (int d = 0; d <= 9; ++d) CheckDlgButton(kKeyFirst + 2 * d, record_->key == 2000u + static_cast<unsigned>(d) ? 1 : 0);
  return true;
}

void LyrRawDlgStageDetail::ChooseColour() {
  std::uint32_t chosen = 0;  // the chooser starts from black
  if (ui::ChooseColor(this, chosen) != ui::IDOK) return;
  colour_ = chosen;
  Item(kSwatch).Invalidate();
}

void LyrRawDlgStageDetail::OnOK() {
  if (record_ != nullptr) {
    record_->name = FirstCharacters(GetDlgItemText(kName), 2);
    record_->colour = colour_;
    const int weight = Item(kLineWeight).GetCurSel();
    if (weight >= 0) record_->lineWeight = static_cast<std::uint16_t>(weight + 1);
    const int order = Item(kShowOrder).GetCurSel();
    if (order >= 0) record_->showOrder = static_cast<std::uint16_t>(order + 1);
    record_->showInHypnogram = IsDlgButtonChecked(kShowHypnogram) != 0 ? 1u : 0u;
    record_->lineBetweenStages = IsDlgButtonChecked(kLineBetween) != 0 ? 1 : 0;
    for (int d = 0; d <= 9; ++d)
      if (IsDlgButtonChecked(kKeyFirst + 2 * d) != 0) record_->key = 2000u + static_cast<unsigned>(d);
  }
  EndDialog(ui::IDOK);
}
