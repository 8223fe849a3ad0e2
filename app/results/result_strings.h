#pragma once
// String-table ids of the result-file texts (resources/<lang>/strings/results.tsv).
#include <cstdint>

constexpr std::uint32_t kIdsCannotOpenFile = 61401;
constexpr std::uint32_t kIdsVersionDifferent = 61402;
constexpr std::uint32_t kIdsFailToMakeFile = 61403;
constexpr std::uint32_t kIdsErrorSavingFile = 61404;
constexpr std::uint32_t kIdsFailToGetMemory = 2522;
constexpr std::uint32_t kIdsFailToReadResult = 61406;
constexpr std::uint32_t kIdsFailToGetResultMemory = 61407;
constexpr std::uint32_t kIdsRawDataDiffers = 61408;
constexpr std::uint32_t kIdsChannelCountDiffers = 61409;
constexpr std::uint32_t kIdsChannelCountContinue = 61410;
constexpr std::uint32_t kIdsDataLengthDiffers = 61411;
constexpr std::uint32_t kIdsLengthOfData = 61412;
constexpr std::uint32_t kIdsRawPathDiffers = 61413;
constexpr std::uint32_t kIdsHumanSettingsInAnimalMode = 61414;
constexpr std::uint32_t kIdsRawDataMissing = 61416;
constexpr std::uint32_t kIdsSpecifyRawData = 61417;
constexpr std::uint32_t kIdsCompanionNotWritten = 61418;
constexpr std::uint32_t kIdsResultFileFilter = 61419;
constexpr std::uint32_t kIdsSaveChangesAndOpen = 2309;
