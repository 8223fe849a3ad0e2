#include "app/scoring/lyr_dlg_select_learning_file.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "app/scoring/candidate_similarity.h"
#include "app/scoring/learned_staging_strings.h"
#include "app/scoring/learning_sample_file.h"
#include "app/scoring/lyr_dlg_display_items.h"
#include "app/scoring/lyr_dlg_input_item.h"
#include "app/scoring/lyr_dlg_learning.h"
#include "platform/res/resource_store.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/messages.h"

namespace {

using Key = LyrDlgSelectLearningFile::SortKey;
constexpr int kNoColumn = -1;
constexpr std::array<int, 3> kLists = {LyrDlgSelectLearningFile::IDC_RAW_LIST, LyrDlgSelectLearningFile::IDC_CANDIDATES,
                                       LyrDlgSelectLearningFile::IDC_LEARNING_LIST};

// The optional columns in their order, with the display item that shows each.
struct OptionalColumn {
  Key key;
  LearningItem item;
  int titleOffset;  // from kIdsLearningColumnNo
};
constexpr OptionalColumn kOptional[] = {
    {Key::kSortDay, kLiDay, 4},           {Key::kSortNo, kLiNo, 5},           {Key::kSortService, kLiService, 6},
    {Key::kSortEngineer, kLiEngineer, 7}, {Key::kSortDoctor, kLiDoctor, 8},   {Key::kSortEpochTime, kLiEpochTime, 9},
    {Key::kSortName, kLiName, 10},        {Key::kSortId, kLiId, 11},          {Key::kSortAge, kLiAge, 12},
    {Key::kSortSex, kLiSex, 13},          {Key::kSortHeight, kLiHeight, 14},  {Key::kSortWeight, kLiWeight, 15}};

// The Display Item dialog keeps its flags in another order: by item.
constexpr std::pair<LearningItem, DisplayItemFlag> kDisplayItemOf[] = {
    {kLiDay, kItemDay},   {kLiNo, kItemNo},     {kLiService, kItemService}, {kLiEngineer, kItemEngineer},
    {kLiDoctor, kItemDoctor}, {kLiEpochTime, kItemEpochTime}, {kLiName, kItemName}, {kLiId, kItemId},
    {kLiSex, kItemSex},   {kLiHeight, kItemHeight}, {kLiWeight, kItemWeight}, {kLiAge, kItemAge}};

std::string Real(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.1f", v);
  return text;
}

std::string StageTypeText(int type) {
  return type >= 0 && type <= 3 ? res::LoadString(kIdsStageTypeText0 + static_cast<std::uint32_t>(type)) : std::string();
}

std::string Cell(const LearningCandidate& c, int key) {
  switch (key) {
    case Key::kSortFileName: return c.FileName;
    case Key::kSortSimilarity: return std::to_string(c.Similarity);
    case Key::kSortStageType: return StageTypeText(c.StageType);
    case Key::kSortDay: return c.Day;
    case Key::kSortNo: return c.No;
    case Key::kSortService: return c.Service;
    case Key::kSortEngineer: return c.Engineer;
    case Key::kSortDoctor: return c.Doctor;
    case Key::kSortEpochTime: return std::to_string(c.EpochTime);
    case Key::kSortName: return c.Name;
    case Key::kSortId: return c.ID;
    case Key::kSortSex: return c.Sex;
    case Key::kSortHeight: return Real(c.Height);
    case Key::kSortWeight: return Real(c.Weight);
    case Key::kSortAge: return std::to_string(c.Age);
    default: return {};
  }
}

// -1, 0, 1 as a is below, equal to or above b in column `key`.
int Compare(const LearningCandidate& a, const LearningCandidate& b, int key) {
  auto num = [](double x, double y) { return x < y ? -1 : x > y ? 1 : 0; };
  switch (key) {
    case Key::kSortSimilarity: return num(a.Similarity, b.Similarity);
    case Key::kSortStageType: return num(a.StageType, b.StageType);
    case Key::kSortEpochTime: return num(a.EpochTime, b.EpochTime);
    case Key::kSortHeight: return num(a.Height, b.Height);
    case Key::kSortWeight: return num(a.Weight, b.Weight);
    case Key::kSortAge: return num(a.Age, b.Age);
    default: {
      const int c = Cell(a, key).compare(Cell(b, key));
      return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
  }
}

bool IsLearningSampleName(const std::filesystem::path& p) {
  std::string ext = p.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  return ext == ".msf";
}

}  // namespace

LyrDlgSelectLearningFile::LyrDlgSelectLearningFile(ui::Window* parent) : ui::Dialog(kTemplateId, parent) {
  MapCommand(IDC_FOLDER, [this] { OnFolder(); });
  MapCommand(IDC_SELECT, [this] { OnSelect(); });
  MapCommand(IDC_DELETE, [this] { OnDelete(); });
  MapCommand(IDC_PREVIOUS, [this] { OnPrevious(); });
  MapCommand(IDC_REMOVE, [this] { OnRemove(); });
  MapCommand(IDC_INPUT_ITEM, [this] { OnInputItem(); });
  MapCommand(IDC_DISPLAY_ITEM, [this] { OnDisplayItem(); });
  MapNotify(IDC_CANDIDATES, ui::LVN_ITEMCHANGED, [this] { OnCandidateClick(); });
  MapNotify(IDC_LEARNING_LIST, ui::LVN_ITEMCHANGED, [this] { OnLearningClick(); });
  for (int list : kLists) {
    if (list != IDC_RAW_LIST) MapNotify(static_cast<std::uint32_t>(list), ui::LVN_COLUMNCLICK, [this, list] { OnColumnClick(list); });
    MapNotify(static_cast<std::uint32_t>(list), ui::LVN_ENDSCROLL, [this, list] { OnListScrolled(list); });
    MapNotify(static_cast<std::uint32_t>(list), ui::HDN_ITEMCHANGED, [this, list] { MatchColumnWidths(list); });
  }
}

LyrDlgSelectLearningFile::~LyrDlgSelectLearningFile() = default;

bool LyrDlgSelectLearningFile::OnInitDialog() {
  sortFlags_.fill(1);
  candidates_.clear();
  learningCount_ = 0;
  raw_ = CandidateFromInfo(learningInfo, learningInfo.recordingFile);
  SetDlgItemText(IDC_FOLDER_EDIT, modelFolder);
  SetDlgItemText(IDC_MAXIMUM, std::to_string(parameters.pathTableSize));
  for (int list : kLists) Item(list).SetFullRowSelect(true);
  Item(IDC_CANDIDATES).SetMultiSelect(true);
  Item(IDC_LEARNING_LIST).SetMultiSelect(true);
  CreateColumns();
  LoadCandidates();
  FillRawList();
  FillLists();
  return true;
}

// --- Candidates ---------------------------------------------------------------------

void LyrDlgSelectLearningFile::LoadCandidates() {
  candidates_.clear();
  learningCount_ = 0;
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(modelFolder, ec), end; !ec && it != end; it.increment(ec))
    if (it->is_regular_file(ec) && IsLearningSampleName(it->path())) files.push_back(it->path());
  std::sort(files.begin(), files.end());
  // A file that cannot be read is left out alone; the others are listed.
  for (const std::filesystem::path& p : files) {
    LearningFileHeader h;
    std::string message;
    const LearningFileStatus status = ReadLearningFileHeader(p.string(), &h, &message);
    if (status != LearningFileStatus::Ok) {
      if (!message.empty()) LyrAutoStaging::Say(message);
      continue;
    }
    candidates_.push_back(CandidateFromHeader(h, p.filename().string()));
  }
  if (!candidates_.empty()) {
    ComputeSimilarity();
    sortFlags_[kSortSimilarity] = 1;
    SortBy(kSortSimilarity);
  }
  // The learning files named in the open recording's own learning-sample file are chosen
  // at once, up to the maximum number of data.
  for (const LearningCandidate& own : std::vector<LearningCandidate>(candidates_)) {
    if (own.RecordingFileName != raw_.FileName) continue;
    for (const std::string& name : own.LearningFileNames)
      for (LearningCandidate& c : candidates_)
        if (c.FileName == name && c.InLearning == 0 && learningCount_ < parameters.pathTableSize) {
          c.InLearning = 1;
          ++learningCount_;
        }
  }
  for (int id : {IDC_SELECT, IDC_DELETE, IDC_REMOVE, IDC_PREVIOUS}) EnableItem(id, false);
  UpdateOk();
}

void LyrDlgSelectLearningFile::ComputeSimilarity() {
  const SimilarityResult r = ComputeSimilarities(candidates_, raw_, displayItems, parameters.cumulativeThreshold,
                                                 parameters.selectionLimit);
  if (!r.failure.empty()) LyrAutoStaging::Say(r.failure);
  for (std::size_t i = 0; i < candidates_.size(); ++i) candidates_[i].Similarity = r.candidates[i];
  raw_.Similarity = r.raw;
}

void LyrDlgSelectLearningFile::SortBy(int key) {
  // Selection of the first greatest (flag 1) or smallest (flag 0) remaining: equal values
  // keep their order.
  const int direction = sortFlags_[static_cast<std::size_t>(key)] == 1 ? 1 : -1;
  std::vector<LearningCandidate> rest = std::move(candidates_);
  candidates_.clear();
  while (!rest.empty()) {
    std::size_t pick = 0;
    for (std::size_t i = 1; i < rest.size(); ++i)
      if (Compare(rest[i], rest[pick], key) == direction) pick = i;
    candidates_.push_back(std::move(rest[pick]));
    rest.erase(rest.begin() + static_cast<long>(pick));
  }
}

// --- Lists ----------------------------------------------------------------------------

void LyrDlgSelectLearningFile::CreateColumns() {
  columns_ = {kNoColumn, kSortFileName, kSortSimilarity, kSortStageType};
  for (const OptionalColumn& o : kOptional)
    if (displayItems[static_cast<std::size_t>(o.item)] == 1) columns_.push_back(o.key);
  for (int list : kLists) {
    ui::Control l = Item(list);
    l.DeleteAllItems();
    while (l.GetColumnCount() > 0) l.DeleteColumn(0);
    int col = 0;
    auto add = [&](int titleOffset, int width) {
      l.InsertColumn(col++, res::LoadString(kIdsLearningColumnNo + static_cast<std::uint32_t>(titleOffset)), width);
    };
    add(0, 30);
    add(1, 100);
    add(2, 50);
    add(3, 100);
    for (const OptionalColumn& o : kOptional)
      if (displayItems[static_cast<std::size_t>(o.item)] == 1) add(o.titleOffset, 80);
  }
}

std::vector<std::string> LyrDlgSelectLearningFile::RowCells(const LearningCandidate& c, const std::string& number) const {
  std::vector<std::string> cells;
  for (int key : columns_) cells.push_back(key == kNoColumn ? number : Cell(c, key));
  return cells;
}

void LyrDlgSelectLearningFile::FillRawList() {
  filling_ = true;
  ui::Control l = Item(IDC_RAW_LIST);
  l.DeleteAllItems();
  l.AppendRows(RowCells(raw_, ""), static_cast<int>(columns_.size()));
  filling_ = false;
}

void LyrDlgSelectLearningFile::FillLists() {
  filling_ = true;
  std::vector<std::string> candidateCells, learningCells;
  int candidateRows = 0, learningRows = 0;
  for (const LearningCandidate& c : candidates_) {
    std::vector<std::string> row =
        RowCells(c, std::to_string(c.InLearning == 1 ? ++learningRows : ++candidateRows));
    std::vector<std::string>& into = c.InLearning == 1 ? learningCells : candidateCells;
    into.insert(into.end(), row.begin(), row.end());
  }
  for (int list : {IDC_CANDIDATES, IDC_LEARNING_LIST}) {
    ui::Control l = Item(list);
    l.SetRedraw(false);
    l.DeleteAllItems();
    l.AppendRows(list == IDC_CANDIDATES ? candidateCells : learningCells, static_cast<int>(columns_.size()));
    l.SetRedraw(true);
  }
  filling_ = false;
}

void LyrDlgSelectLearningFile::UpdateOk() { EnableItem(ui::IDOK, learningCount_ >= 1); }

void LyrDlgSelectLearningFile::AfterMove() {
  for (LearningCandidate& c : candidates_) c.Selected = 0;
  FillLists();
  for (int id : {IDC_SELECT, IDC_DELETE, IDC_REMOVE, IDC_PREVIOUS}) EnableItem(id, false);
  UpdateOk();
}

// --- Handlers --------------------------------------------------------------------------

void LyrDlgSelectLearningFile::OnCandidateClick() {
  if (filling_) return;
  EnableItem(IDC_DELETE, false);
  ui::Control list = Item(IDC_CANDIDATES);
  int row = 0, selected = 0;
  for (LearningCandidate& c : candidates_) {
    if (c.InLearning == 1) continue;
    c.Selected = list.IsSelected(row++) ? 1 : 0;
    selected += c.Selected;
  }
  for (LearningCandidate& c : candidates_) c.PreviousMark = 0;
  int marked = 0;
  for (const LearningCandidate& s : candidates_) {
    if (s.Selected != 1 || s.InLearning == 1) continue;
    for (LearningCandidate& c : candidates_)
      if (&c != &s && c.PreviousMark == 0 &&
          std::find(s.LearningFileNames.begin(), s.LearningFileNames.end(), c.FileName) != s.LearningFileNames.end()) {
        c.PreviousMark = 1;
        ++marked;
      }
  }
  if (selected == 0) {
    for (int id : {IDC_SELECT, IDC_REMOVE, IDC_PREVIOUS}) EnableItem(id, false);
    return;
  }
  EnableItem(IDC_REMOVE, true);
  EnableItem(IDC_SELECT, selected + learningCount_ <= parameters.pathTableSize);
  EnableItem(IDC_PREVIOUS, marked > 0 && marked + learningCount_ <= parameters.pathTableSize);
}

void LyrDlgSelectLearningFile::OnLearningClick() {
  if (filling_) return;
  EnableItem(IDC_SELECT, false);
  EnableItem(IDC_PREVIOUS, false);
  ui::Control list = Item(IDC_LEARNING_LIST);
  int row = 0, selected = 0;
  for (LearningCandidate& c : candidates_) {
    if (c.InLearning != 1) continue;
    c.Selected = list.IsSelected(row++) ? 1 : 0;
    selected += c.Selected;
  }
  EnableItem(IDC_DELETE, selected > 0);
  if (selected == 0) EnableItem(IDC_REMOVE, false);
}

void LyrDlgSelectLearningFile::OnSelect() {
  for (LearningCandidate& c : candidates_)
    if (c.Selected == 1 && c.InLearning == 0 && learningCount_ < parameters.pathTableSize) {
      c.InLearning = 1;
      c.PreviousMark = 0;
      ++learningCount_;
    }
  AfterMove();
}

void LyrDlgSelectLearningFile::OnDelete() {
  for (LearningCandidate& c : candidates_)
    if (c.Selected == 1 && c.InLearning == 1) {
      c.InLearning = 0;
      c.PreviousMark = 0;
      --learningCount_;
    }
  AfterMove();
}

void LyrDlgSelectLearningFile::OnPrevious() {
  for (LearningCandidate& c : candidates_)
    if (c.PreviousMark == 1 && c.InLearning == 0 && learningCount_ < parameters.pathTableSize) {
      c.InLearning = 1;
      c.PreviousMark = 0;
      ++learningCount_;
    }
  for (LearningCandidate& c : candidates_) c.PreviousMark = 0;
  AfterMove();
}

void LyrDlgSelectLearningFile::OnRemove() {
  std::erase_if(candidates_, [](const LearningCandidate& c) { return c.Selected == 1 && c.InLearning == 0; });
  AfterMove();
}

void LyrDlgSelectLearningFile::OnFolder() {
  std::string folder = modelFolder;
  if (ui::BrowseForFolder(this, res::LoadString(kIdsLearningColumnNo + 1), folder) != ui::IDOK) return;
  modelFolder = folder;
  SetDlgItemText(IDC_FOLDER_EDIT, modelFolder);
  LoadCandidates();
  FillRawList();
  FillLists();
}

void LyrDlgSelectLearningFile::OnInputItem() {
  LyrDlgInputItem dlg(this);
  dlg.record = raw_;
  if (dlg.DoModal() != ui::IDOK) return;
  raw_ = dlg.record;
  ComputeSimilarity();
  sortFlags_[kSortSimilarity] = 1;
  SortBy(kSortSimilarity);
  FillRawList();
  FillLists();
}

void LyrDlgSelectLearningFile::OnDisplayItem() {
  LyrDlgDisplayItem dlg(this);
  for (const auto& [item, flag] : kDisplayItemOf)
    dlg.m_Flags[static_cast<std::size_t>(flag)] = displayItems[static_cast<std::size_t>(item)];
  if (dlg.DoModal() != ui::IDOK) return;
  for (const auto& [item, flag] : kDisplayItemOf)
    displayItems[static_cast<std::size_t>(item)] = dlg.m_Flags[static_cast<std::size_t>(flag)];
  CreateColumns();
  FillRawList();
  FillLists();
}

void LyrDlgSelectLearningFile::OnColumnClick(int listId) {
  const int col = Item(listId).ClickedColumn();
  if (col < 0 || static_cast<std::size_t>(col) >= columns_.size() || columns_[static_cast<std::size_t>(col)] == kNoColumn)
    return;
  const auto key = static_cast<std::size_t>(columns_[static_cast<std::size_t>(col)]);
  sortFlags_[key] = sortFlags_[key] == 1 ? 0 : 1;
  SortBy(static_cast<int>(key));
  FillLists();
}

void LyrDlgSelectLearningFile::OnListScrolled(int listId) {
  const int pos = Item(listId).GetScrollX();
  if (pos != lastScrollX_) {
    const int by = pos - lastScrollX_;
    for (int other : kLists)
      if (other != listId) Item(other).SetScrollX(Item(other).GetScrollX() + by);
    lastScrollX_ = pos;
  }
  MatchColumnWidths(listId);
}

void LyrDlgSelectLearningFile::MatchColumnWidths(int listId) {
  const ui::Control from = Item(listId);
  for (int col = 0; col < from.GetColumnCount(); ++col)
    for (int other : kLists)
      if (other != listId && Item(other).GetColumnWidth(col) != from.GetColumnWidth(col))
        Item(other).SetColumnWidth(col, from.GetColumnWidth(col));
}

// --- OK -------------------------------------------------------------------------------------

void LyrDlgSelectLearningFile::OnOK() {
  for (const LearningCandidate& c : candidates_) {
    if (c.InLearning != 1 || c.StageType == raw_.StageType) continue;
    std::string message = res::LoadString(kIdsDifferentStageType);
    if (const std::size_t at = message.find("%s"); at != std::string::npos) message.replace(at, 2, c.FileName);
    LyrAutoStaging::Say(message);
    return;
  }
  std::vector<LyrStagingModel> learned;
  for (const LearningCandidate& c : candidates_) {
    if (c.InLearning != 1) continue;
    LyrStagingModel m;
    m.featureCount = kLearningFeatureCount;
    m.featureChosen = modelTemplate.featurePresent;
    m.stageType = raw_.StageType;
    m.classCount = modelTemplate.classCount;
    m.fileName = c.FileName;
    learned.push_back(std::move(m));
  }
  LyrDlgLearning dlg(this);
  dlg.learningSetCount = static_cast<std::int32_t>(learned.size());
  dlg.pathTableSize = parameters.pathTableSize;
  dlg.cutPointLimit = parameters.cutPointLimit;
  dlg.sampleLimit = parameters.sampleLimit;
  dlg.significanceLevel = parameters.significanceLevel;
  dlg.confidenceFactor = parameters.confidenceFactor;
  dlg.modelFolder = modelFolder;
  dlg.models = learned.data();
  if (dlg.DoModal() != ui::IDOK) {
    for (LyrStagingModel& m : learned)
      if (m.topNode) LyrAutoStaging::FreeNode(m.topNode.get());
    return;
  }
  selectionCount = static_cast<std::int32_t>(candidates_.size());
  treeCount = static_cast<std::int32_t>(learned.size());
  models = std::move(learned);
  InfoFromCandidate(raw_, &learningInfo);
  EndDialog(ui::IDOK);
}
