#pragma once
// String-table ids of the human report and the parameter output
// (resources/<lang>/strings/human_report.tsv).
#include <cstdint>

constexpr std::uint32_t kIdsReportInformation = 64801;
constexpr std::uint32_t kIdsReportAnalysisParameters = 64802;
constexpr std::uint32_t kIdsReportSleepStageData = 64803;
constexpr std::uint32_t kIdsReportRespiration = 64804;
constexpr std::uint32_t kIdsReportHeartRate = 64805;
constexpr std::uint32_t kIdsReportOximetry = 64806;
constexpr std::uint32_t kIdsReportBodyPosition = 64807;
constexpr std::uint32_t kIdsReportEegArousal = 64808;
constexpr std::uint32_t kIdsReportCpap = 64809;
constexpr std::uint32_t kIdsReportSnoring = 64810;
constexpr std::uint32_t kIdsReportPlms = 64811;
constexpr std::uint32_t kIdsReportPrintedDay = 64812;
constexpr std::uint32_t kIdsReportRecordTimes = 64813;
constexpr std::uint32_t kIdsReportChannels = 64814;
constexpr std::uint32_t kIdsReportDataProcessing = 64815;
constexpr std::uint32_t kIdsAllEpochsMustBeSpecified = 64816;
constexpr std::uint32_t kIdsAlreadyExistsReplace = 64817;
constexpr std::uint32_t kIdsReportNotWritten = 64818;
constexpr std::uint32_t kIdsFailureInSetParam = 64820;
constexpr std::uint32_t kIdsNoPrinter = 64821;

// Shared texts of other tables.
constexpr std::uint32_t kIdsFileNotSelected = 2253;
constexpr std::uint32_t kIdsNotSpecified = 2311;
constexpr std::uint32_t kIdsContradictionIn = 61203;
constexpr std::uint32_t kIdsStartLessEqual = 61205;
constexpr std::uint32_t kIdsTime = 61220;
constexpr std::uint32_t kIdsTextOutputComplete = 63475;
