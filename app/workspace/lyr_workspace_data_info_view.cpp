#include "app/workspace/lyr_workspace_data_info_view.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/subject_preview.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "platform/res/resource_store.h"

namespace {
constexpr std::uint32_t kStrFileName = 2350;
constexpr std::uint32_t kStrResultFileName = 2361;
constexpr std::uint32_t kStrSubject = 2351;
constexpr std::uint32_t kStrGender = 2352;
constexpr std::uint32_t kStrYear = 2353;
constexpr std::uint32_t kStrAge = 2354;
constexpr std::uint32_t kStrMonth = 2355;
constexpr std::uint32_t kStrMale = 2356;
constexpr std::uint32_t kStrFemale = 2357;
constexpr std::uint32_t kStrMemo = 2358;
constexpr std::uint32_t kStrSampling = 61233;

// Name and extension of a path, without its folder.
std::string FileNamePart(const std::string& path) { return std::filesystem::path(path).filename().string(); }
}  // namespace

int LyrWorkspaceDataInfoView::OnCreate() {
  const ui::Rect r = GetClientRect();
  AddControl(ui::ControlKind::ReportList, kListId, {}, r);
  InitList();
  return 0;
}

void LyrWorkspaceDataInfoView::OnSize(std::uint32_t, int cx, int cy) {
  List().Move(draw::RectFromSize(0, 0, cx, cy));
  List().Show(true);
}

void LyrWorkspaceDataInfoView::ClearList() { List().DeleteAllItems(); }

void LyrWorkspaceDataInfoView::InitList() {
  ui::Control list = List();
  list.SetGridLines(true);
  list.SetFullRowSelect(true);
  if (list.GetColumnCount() != 2) SetListColumns({{"", 200}, {"", 200}});
  list.DeleteAllItems();
  list.SetRedraw(false);
}

std::string LyrWorkspaceDataInfoView::GetSamplingRateText(std::span<const int> rates) {
  std::vector<int> distinct;
  for (int r : rates)
    if (std::find(distinct.begin(), distinct.end(), r) == distinct.end()) distinct.push_back(r);
  if (distinct.size() == 1) return std::to_string(distinct.front()) + "Hz";
  std::string text;
  for (int rate : distinct) {
    std::string numbers;
    for (std::size_t c = 0; c < rates.size(); ++c) {
      if (rates[c] != rate) continue;
      if (!numbers.empty()) numbers += ",";
      numbers += std::to_string(c + 1);
    }
    text += numbers + "ch-" + std::to_string(rate) + "Hz/";
  }
  return text;
}

void LyrWorkspaceDataInfoView::UpdateDataInfo() {
  CQLM2_AnalyzerDoc* doc = Doc();
  if (DocumentLoaded == 0 || doc == nullptr) return;
  InitList();
  std::vector<std::string> cells;
  auto row = [&cells](std::string label, std::string value) {
    cells.push_back(std::move(label));
    cells.push_back(std::move(value));
  };
  const LyrRecordInfo& r = doc->RecordInfo;
  const bool hide = HideSubjectName != 0;
  row(res::LoadString(kStrFileName), FileNamePart(r.path));
  if (ResultModifiedState != 0 && !doc->ResultPath.empty())
    row(res::LoadString(kStrResultFileName), FileNamePart(doc->ResultPath));
  if (!r.subjectName.empty()) row(res::LoadString(kStrSubject), hide ? HiddenText(r.subjectName) : r.subjectName);
  if (r.gender != -1) row(res::LoadString(kStrGender), res::LoadString(r.gender == 0 ? kStrMale : kStrFemale));
  if (r.ageYears != 0 || r.ageMonths != 0)
    row(res::LoadString(kStrAge), std::to_string(r.ageYears) + res::LoadString(kStrYear) + " " +
                                      std::to_string(r.ageMonths) + res::LoadString(kStrMonth));
  if (!r.memo.empty()) row(res::LoadString(kStrMemo), r.memo);
  int n = 0;
  for (int i = 0; i < static_cast<int>(r.freeComments.size()); ++i) {
    const auto& c = r.freeComments[static_cast<std::size_t>(i)];
    if (!c.label.empty() || !c.text.empty()) n = i + 1;
  }
  for (int i = 0; i < n; ++i) {
    const auto& c = r.freeComments[static_cast<std::size_t>(i)];
    row(c.label, hide && IsNameLabel(c.label) ? HiddenText(c.text) : c.text);
  }
  std::vector<int> rates;
  const int channels = std::clamp(r.channelCount, 0, 32);
  for (int c = 0; c < channels; ++c) rates.push_back(doc->ChInfo[static_cast<std::size_t>(c)].rate);
  row(res::LoadString(kStrSampling), GetSamplingRateText(rates));
  List().AppendRows(cells, 2);
  List().SetRedraw(true);
}
