#pragma once
// String-table ids of the result-file texts (resources/<lang>/strings/results.tsv).
#include <cstdint>

constexpr std::uint32_t kIdsCannotOpenFile = 61001;
constexpr std::uint32_t kIdsVersionDifferent = 61002;
constexpr std::uint32_t kIdsFailToMakeFile = 61003;
constexpr std::uint32_t kIdsErrorSavingFile = 61004;
constexpr std::uint32_t kIdsFailToGetMemory = 2522;
constexpr std::uint32_t kIdsFailToReadResult = 61006;
constexpr std::uint32_t kIdsFailToGetResultMemory = 61007;
constexpr std::uint32_t kIdsRawDataDiffers = 61008;
constexpr std::uint32_t kIdsChannelCountDiffers = 61009;
constexpr std::uint32_t kIdsChannelCountContinue = 61010;
constexpr std::uint32_t kIdsDataLengthDiffers = 61011;
constexpr std::uint32_t kIdsLengthOfData = 61012;
constexpr std::uint32_t kIdsRawPathDiffers = 61013;
constexpr std::uint32_t kIdsHumanSettingsInAnimalMode = 61014;
constexpr std::uint32_t kIdsRawDataMissing = 61016;
constexpr std::uint32_t kIdsSpecifyRawData = 61017;
constexpr std::uint32_t kIdsCompanionNotWritten = 61018;
constexpr std::uint32_t kIdsResultFileFilter = 61019;
constexpr std::uint32_t kIdsSaveChangesAndOpen = 2309;
