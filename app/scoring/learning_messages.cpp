#include "app/scoring/learning_messages.h"

#include "app/scoring/learned_staging_strings.h"
#include "app/scoring/lyr_auto_staging.h"
#include "platform/res/resource_store.h"

std::string CodedText(std::uint32_t textId, int code) {
  return res::LoadString(textId) + " : " + std::to_string(code);
}

void SayLearningFailure(int code) { LyrAutoStaging::Say(CodedText(kIdsLearningFailure, code)); }

void SayLearningWarning(int code) { LyrAutoStaging::Say(CodedText(kIdsLearningWarning, code)); }
