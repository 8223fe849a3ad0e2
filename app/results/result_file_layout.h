#pragma once
// Byte layout of the result analysis file (.raf) and of its two companion files.
//
// The file is, in this order: a 256-byte header ("RAF"), the 9,216-byte information block,
// the 192-byte channel scale block, u32 N (stored epochs), N epoch records of 188 bytes,
// the FFT band values (48 x F bytes per epoch), per epoch the seven per-channel arrays and
// the representative values, the recognition tables, the heart-beat list, the arousal and
// snore tables, the mark-type block, the mark flags and the mark interval lists.
//
// Where writers and readers of older program versions differed, this program settles it
// as follows, so that every file it writes reads back exactly:
//  - a table section (recognition, heart beats, arousal, snore) and a representative-value
//    array is present exactly when its channel field in the stored sleep-disturbance block
//    is 0 or more; a table the document does not hold is written as zeros;
//  - F, the FFT channels, is the number of non-zero FFT flags among the stored channels;
//    version 5 files always hold 12 values per epoch for their one FFT channel;
//  - all ten mark flag arrays and all ten interval lists are stored; a K or T of 0 means
//    no marks at all, any other K must be 10 x E x N and any other T must be E x N;
//  - the raw data path field is 262 bytes; the path is written into the first 260 and the
//    whole field is cleared first;
//  - the 48-byte channel processing records start at block offset 7680 (0x1E00);
//  - a file of more epochs than the open recording holds, or whose counts do not fit the
//    sections, is refused as a whole.
#include <cstddef>
#include <cstdint>

namespace raf {

constexpr std::size_t kHeaderSize = 256;
constexpr char kHeaderText[] = "RAF";
constexpr std::uint32_t kVersion = 9;
constexpr int kOldestReadVersion = 5;

// Information block (version 9), offsets from its start (file offset 256).
constexpr std::size_t kInfoBlockSize = 9216;
constexpr std::size_t kInfoVersion = 0;
constexpr std::size_t kInfoCheckValue = 4;
constexpr std::size_t kInfoMemo[5] = {8, 70, 132, 194, 256};
constexpr std::size_t kMemoFieldSize = 62;
constexpr std::size_t kMemoMaxChars = 60;
constexpr std::size_t kInfoRawPath = 318;
constexpr std::size_t kRawPathFieldSize = 262;
constexpr std::size_t kRawPathTextSize = 260;
constexpr std::size_t kInfoRecordInfo = 580;
constexpr std::size_t kRecordInfoSize = 636;
constexpr std::size_t kInfoStartTimeFlag = 1216;
constexpr std::size_t kInfoStartDateTime = 1218;  // 6 x u16
constexpr std::size_t kInfoChannelCount = 1232;
constexpr std::size_t kInfoEpochSeconds = 1236;
constexpr std::size_t kInfoRangeStart = 1240;
constexpr std::size_t kInfoLastScreenedEpoch = 1244;
constexpr std::size_t kInfoStageType = 1248;
constexpr std::size_t kInfoChDispScale = 1856;
constexpr std::size_t kInfoChDispMode = 2112;
constexpr std::size_t kInfoFftBand = 2368;
constexpr std::size_t kInfoSleepDstrb = 2656;
constexpr std::size_t kInfoWaveForm = 3352;
constexpr std::size_t kInfoLogic = 4136;
constexpr std::size_t kInfoLogicOption = 7656;
constexpr std::size_t kInfoChannelRecords = 7680;
constexpr std::size_t kChannelRecordSize = 48;

// The recording-information area (636 bytes) inside the block.
constexpr std::size_t kRecSubjectName = 0;   // 22
constexpr std::size_t kRecGender = 22;       // u16
constexpr std::size_t kRecAgeYears = 24;     // u32
constexpr std::size_t kRecAgeMonths = 28;    // u32
constexpr std::size_t kRecMemo = 32;         // 62
constexpr std::size_t kRecComments = 94;     // 10 x (22 + 32)
constexpr std::size_t kRecCommentSize = 54;
constexpr std::size_t kRecCommentLabel = 22;
constexpr std::size_t kRecCommentText = 32;

// Channel scale block: f32[32] gains, u16[32] enable flags.
constexpr std::size_t kScaleBlockSize = 192;

// Values of one epoch in the FFT section per FFT channel: 6 powers, 6 ratios.
constexpr std::size_t kFftValuesPerChannel = 12;

constexpr std::size_t kMarkTypeBlockSize = 524;
constexpr int kMarkTypes = 10;

// Most beats the heart-beat list holds per second.
constexpr int kBeatsPerSecond = 20;

// Companion files.
constexpr char kMarksExtension[] = "SDT1";
constexpr char kSettingsExtension[] = "SRM1";
constexpr std::uint16_t kCompanionVersion = 1;
constexpr std::size_t kWaveDetectParamSize = 80;
constexpr std::int32_t kDefaultTimeDivision = 60;

}  // namespace raf
