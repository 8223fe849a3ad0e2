#include "app/scoring/lyr_re_stage_with_episode.h"

#include <algorithm>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/table_memory.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

// Stands for the settings of unscored epochs, so that unscored stretches are never episodes
// in practice.
constexpr std::int32_t kUnscoredSetting = 10000;
// Added to an epoch's code when it lies outside every episode.
constexpr int kOutsideMark = 100;

}  // namespace

int LyrReStageWithEpisode::StageType() const { return doc_ != nullptr ? doc_->Params.stageType.stageType : 0; }

int LyrReStageWithEpisode::DocStage(int epoch) const {
  const int code = doc_ != nullptr ? doc_->EpochTables.GetStage(StageType(), epoch, 0) : 0;
  return code > 20 ? code - 20 : code;
}

int LyrReStageWithEpisode::EpisodeRow(int stageType, int code) {
  if (code > 20) code -= 20;
  switch (stageType) {
    case 0:
      return code >= 1 && code <= 10 ? code - 1 : 6;
    case 1:
      if (code >= 1 && code <= 5) return code - 1;
      return code >= 7 && code <= 10 ? code - 2 : 5;
    case 2:
      if (code >= 1 && code <= 3) return code - 1;
      if (code == 5) return 3;
      return code >= 7 && code <= 10 ? code - 3 : 4;
    case 3:
      if (code >= 1 && code <= 3) return code - 1;
      return code >= 7 && code <= 10 ? code - 4 : 3;
    default:
      return code >= 7 && code <= 10 ? code - 7 : 0;
  }
}

int LyrReStageWithEpisode::SecondsToEpochs(std::int32_t seconds, int epochSeconds) {
  if (epochSeconds < 1) return 0;
  int epochs = seconds / epochSeconds;
  if (seconds % epochSeconds > 0) ++epochs;
  return epochs;
}

int LyrReStageWithEpisode::EpisodeEpochs(int code) const {
  const std::int32_t seconds =
      code == 0 ? kUnscoredSetting : StageEpisodeRules[static_cast<std::size_t>(EpisodeRow(StageType(), code))].first;
  return SecondsToEpochs(seconds, EpochSeconds);
}

int LyrReStageWithEpisode::DetectEpochs(int code) const {
  const std::int32_t seconds =
      code == 0 ? kUnscoredSetting : StageEpisodeRules[static_cast<std::size_t>(EpisodeRow(StageType(), code))].second;
  return SecondsToEpochs(seconds, EpochSeconds);
}

int LyrReStageWithEpisode::AllowedInterruptions(int code) const {
  if (code == 0) return kUnscoredSetting;
  return static_cast<std::int16_t>(StageEpisodeRules[static_cast<std::size_t>(EpisodeRow(StageType(), code))].third);
}

int LyrReStageWithEpisode::AllocateReStage() {
  FreeReStage();
  const int count = doc_ != nullptr ? std::max(doc_->GetDivNum(EpochSeconds), 0) : 0;
  if (!tablemem::AllocZeroed(ReStaged, static_cast<std::size_t>(count))) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBox(tablemem::OutOfMemoryMessage("LyrReStageWithEpisode::AllocateReStage"), ui::MB_ICONEXCLAMATION);
    return 0;
  }
  for (int e = 0; e < count; ++e) ReStaged[static_cast<std::size_t>(e)] = static_cast<std::int8_t>(DocStage(e));
  return 1;
}

int LyrReStageWithEpisode::FreeReStage() {
  ReStaged.clear();
  ReStaged.shrink_to_fit();
  return 1;
}

std::int8_t LyrReStageWithEpisode::GetStage(int epoch) const {
  if (epoch < 0 || epoch >= static_cast<int>(ReStaged.size())) return 0;
  const int code = static_cast<std::uint8_t>(ReStaged[static_cast<std::size_t>(epoch)]);
  if (code >= 100) return static_cast<std::int8_t>(code);
  const int type = StageType();
  const int base = code >= 20 ? code - 20 : code;
  const int family = code - base;
  int merged = base;
  if (type == 1 && base == 6) merged = 5;
  if (type == 2 && (base == 4 || base == 6)) merged = base == 4 ? 3 : 5;
  if (type >= 3 && base >= 4 && base <= 6) merged = 3;
  return static_cast<std::int8_t>(merged + family);
}

// The episode that begins at start, when its run is long enough, and how far it reaches: up to
// the start of the next episode (a run that reaches its own episode length and has at least
// two epochs), or to the end of its own run when no further episode follows. firstLen is the
// length of the first run after it when the stage changed before the next episode.
LyrReStageWithEpisode::Episode LyrReStageWithEpisode::FindEpisode(int start) const {
  const int count = static_cast<int>(stages_.size());
  const int runs = static_cast<int>(runStart_.size());
  const int k = runOf_[static_cast<std::size_t>(start)];
  Episode ep;
  ep.stage = Stage(start);
  const int runEnd = runStart_[static_cast<std::size_t>(k)] + runLength_[static_cast<std::size_t>(k)] - 1;
  ep.end = runEnd;
  ep.next = runEnd + 1;
  if (runEnd - start + 1 < EpisodeLength(ep.stage) || ep.next >= count) return ep;

  ep.found = true;
  const int q = nextEpisodeRun_[static_cast<std::size_t>(k + 1)];
  if (q == k + 1) return ep;
  // The stage changed after the first run unless that run lasts to the end of the recording.
  if (q >= 0 || k + 2 < runs) ep.firstLen = runLength_[static_cast<std::size_t>(k + 1)];
  if (q >= 0) ep.end = runStart_[static_cast<std::size_t>(q)] - 1;
  return ep;
}

// The runs of the document's stages, and for each run the first run from it on that can begin
// a following episode.
void LyrReStageWithEpisode::FindRuns() {
  const int count = static_cast<int>(stages_.size());
  runStart_.clear();
  runLength_.clear();
  runOf_.assign(stages_.size(), 0);
  for (int e = 0; e < count; ++e) {
    if (e == 0 || Stage(e) != Stage(e - 1)) {
      runStart_.push_back(e);
      runLength_.push_back(0);
    }
    ++runLength_.back();
    runOf_[static_cast<std::size_t>(e)] = static_cast<int>(runStart_.size()) - 1;
  }
  const int runs = static_cast<int>(runStart_.size());
  nextEpisodeRun_.assign(static_cast<std::size_t>(runs) + 1, -1);
  for (int j = runs - 1; j >= 0; --j) {
    const int length = runLength_[static_cast<std::size_t>(j)];
    const bool begins = length >= std::max(2, EpisodeLength(Stage(runStart_[static_cast<std::size_t>(j)])));
    nextEpisodeRun_[static_cast<std::size_t>(j)] = begins ? j : nextEpisodeRun_[static_cast<std::size_t>(j) + 1];
  }
}

// Marks epochs from..to-1 as outside every episode. Unscored epochs stay 0 and an epoch already
// marked is not marked twice, so a value never leaves the range of the codes.
void LyrReStageWithEpisode::MarkOutside(int from, int to) {
  const int count = static_cast<int>(ReStaged.size());
  for (int i = std::max(from, 0); i < to && i < count; ++i) {
    std::int8_t& v = ReStaged[static_cast<std::size_t>(i)];
    if (v > 0 && v < kOutsideMark) v = static_cast<std::int8_t>(v + kOutsideMark);
  }
}

// A first run after the episode at least as long as the stage's detect-interruption length is a
// real interruption: the whole stretch up to the next episode lies outside. 1 when so.
int LyrReStageWithEpisode::MarkInterruption(int stage, int next, int end, int firstLen) {
  if (firstLen < DetectEpochs(stage)) return 0;
  MarkOutside(next, end + 1);
  return 1;
}

// Short interruptions after an episode belong to it: the stretch takes the episode's stage up to
// the epoch at which the allowed number of interruptions is reached; the rest of the stretch,
// after any epochs of the episode's own stage, lies outside.
void LyrReStageWithEpisode::AbsorbShortInterruptions(int stage, int next, int end) {
  // An empty stretch (the episode's scan reached the end of the recording) has nothing to absorb.
  if (next > end) return;
  const int allowed = AllowedInterruptions(stage);
  int resume = next;
  if (allowed >= 1) {
    ReStaged[static_cast<std::size_t>(next)] = static_cast<std::int8_t>(stage);
    int interruptions = 1;
    int prev = Stage(next);
    resume = end + 1;
    for (int i = next + 1; i <= end; ++i) {
      ReStaged[static_cast<std::size_t>(i)] = static_cast<std::int8_t>(stage);
      const int t = Stage(i);
      if (t == prev) continue;
      if (t != stage) ++interruptions;
      prev = t;
      if (interruptions >= allowed) {
        resume = std::min(i + 1, end + 1);
        break;
      }
    }
  }
  while (resume <= end && ReStaged[static_cast<std::size_t>(resume)] == stage) ++resume;
  MarkOutside(resume, end + 1);
}

int LyrReStageWithEpisode::ReStage() {
  if (ReStaged.empty()) return 0;
  const int count = static_cast<int>(ReStaged.size());
  // The walk compares the document's stages, not the sequence it rewrites.
  stages_.resize(ReStaged.size());
  for (int e = 0; e < count; ++e) stages_[static_cast<std::size_t>(e)] = static_cast<std::int8_t>(DocStage(e));
  for (int code = 0; code <= 20; ++code) episodeEpochs_[static_cast<std::size_t>(code)] = EpisodeEpochs(code);
  FindRuns();
  bool first = true;
  bool anyFound = false;
  int e = 0;
  while (e < count) {
    const Episode ep = FindEpisode(e);
    if (ep.found) {
      anyFound = true;
      if (first && ep.stage != 0) {
        MarkOutside(0, e);
        first = false;
      }
      if (ep.firstLen > 0 && MarkInterruption(ep.stage, ep.next, ep.end, ep.firstLen) == 0)
        AbsorbShortInterruptions(ep.stage, ep.next, ep.end);
    }
    e = ep.end + 1;
  }
  if (!anyFound) MarkOutside(0, count);
  stages_ = {};
  runStart_ = {};
  runLength_ = {};
  runOf_ = {};
  nextEpisodeRun_ = {};
  return 1;
}
