#include "app/scoring/lyr_re_stage_with_episode.h"

#include "app/document/qlm2_analyzer_doc.h"

std::uint32_t UseEpisodeSetting = 0;

std::int8_t LyrReStageWithEpisode::GetStage(int epoch) const {
  if (epoch < 0 || epoch >= static_cast<int>(ReStaged.size())) return 0;
  const int code = static_cast<std::uint8_t>(ReStaged[static_cast<std::size_t>(epoch)]);
  if (code >= 100) return static_cast<std::int8_t>(code);
  const int type = doc_ != nullptr ? doc_->Params.stageType.stageType : 0;
  const int base = code >= 20 ? code - 20 : code;
  const int family = code - base;
  int merged = base;
  if (type == 1 && base == 6) merged = 5;
  if (type == 2 && (base == 4 || base == 6)) merged = base == 4 ? 3 : 5;
  if (type >= 3 && base >= 4 && base <= 6) merged = 3;
  return static_cast<std::int8_t>(merged + family);
}
