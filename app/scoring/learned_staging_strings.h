#pragma once
// String-table ids of the learned staging's texts (resources/<lang>/strings/learned_staging.tsv).
// The coded messages are the same English text in both languages.
#include <cstdint>

constexpr std::uint32_t kIdsStagingError7000 = 63801;
constexpr std::uint32_t kIdsStagingError7013 = 63802;
constexpr std::uint32_t kIdsStagingError7040 = 63804;
constexpr std::uint32_t kIdsStagingError7060 = 63805;
constexpr std::uint32_t kIdsStagingError7090Counts = 63806;
constexpr std::uint32_t kIdsStagingError7090List = 63807;
constexpr std::uint32_t kIdsIniMissing1063 = 63811;
constexpr std::uint32_t kIdsIniUnreadable1053 = 63812;
constexpr std::uint32_t kIdsIniBadTag1033 = 63813;
constexpr std::uint32_t kIdsIniBadEnd1033 = 63814;
constexpr std::uint32_t kIdsIniParameter1043 = 63815;
constexpr std::uint32_t kIdsIniMissing1023 = 63816;
constexpr std::uint32_t kIdsIniUnwritable1003 = 63817;
constexpr std::uint32_t kIdsLearningFailure1070 = 63818;
constexpr std::uint32_t kIdsLearningComplete = 63819;
constexpr std::uint32_t kIdsMsfVersion2013 = 63821;     // "%s": the file's full path
constexpr std::uint32_t kIdsMsfCountFailed2013 = 63822;
constexpr std::uint32_t kIdsMsfLoadFailed2013 = 63823;
constexpr std::uint32_t kIdsMsfMissing3023 = 63824;
constexpr std::uint32_t kIdsMsfUnreadable3023 = 63825;

// The learning run and the choice of its files.
constexpr std::uint32_t kIdsLearningFailure = 63840;      // "Learning Failure !!"; shown as "%s : %d"
constexpr std::uint32_t kIdsLearningFailure3043 = 63841;
constexpr std::uint32_t kIdsLearningWarning = 63842;      // "Warning !!"; shown as "%s : %d"
constexpr std::uint32_t kIdsLearningWarning4040 = 63843;
constexpr std::uint32_t kIdsMdlpcTableSet = 63844;
constexpr std::uint32_t kIdsDifferentStageType = 63845;   // "%s": the learning file's name
constexpr std::uint32_t kIdsDialogError = 63846;          // "Dialog Error !!"; shown as "%s : %d"
constexpr std::uint32_t kIdsStageTypeText0 = 63850;       // four texts, 63850 .. 63853
constexpr std::uint32_t kIdsLearningColumnNo = 63855;     // column titles, 63855 .. 63870
