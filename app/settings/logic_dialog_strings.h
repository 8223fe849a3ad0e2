#pragma once
// String ids of the Logic window and its template files.
#include <cstdint>

inline constexpr std::uint32_t kStrNotSpecified = 2311;
inline constexpr std::uint32_t kStrIsNotSpecified = 2342;
inline constexpr std::uint32_t kStrLogicVersionDifferent = 2278;
inline constexpr std::uint32_t kStrInvalidStageType = 2283;
inline constexpr std::uint32_t kStrLogicColumns = 2503;
inline constexpr std::uint32_t kStrLogicColumnWidths = 2504;
inline constexpr std::uint32_t kStrCountRange = 2529;
inline constexpr std::uint32_t kStrBoundsEqual = 2530;
inline constexpr std::uint32_t kStrBoundsSwapped = 2531;
inline constexpr std::uint32_t kStrAnimalOnlyOff = 2535;
inline constexpr std::uint32_t kStrCheckFft = 64240;
inline constexpr std::uint32_t kStrSettingFft = 64241;
inline constexpr std::uint32_t kStrChannelNo = 64242;
inline constexpr std::uint32_t kStrLogicTemplateFilter = 64243;
inline constexpr std::uint32_t kStrLogicFileNotOpened = 64244;
inline constexpr std::uint32_t kStrLogicFileNotWritten = 64245;

// Icon of the arrow between the clauses and the stage.
inline constexpr std::uint32_t kLogicArrowIcon = 307;
