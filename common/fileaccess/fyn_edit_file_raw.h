#pragma once
// FynEditFileRaw changes the per-channel parameters (group 2) of an existing raw recording:
// calibration, draw rate, names, comments and unit texts. It keeps a local copy of group 2,
// lets the caller change it channel by channel, and rebuilds the file with the new group 2
// and every other group copied byte for byte. The rebuilt file is written beside the
// recording and renamed into place, so a failure leaves the recording as it was.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/fileaccess/fyn_file_access.h"

class FynEditFileRaw : public FynFileAccess {
 public:
  // Stores the path and runs InitParams at once.
  explicit FynEditFileRaw(const char* path);
  ~FynEditFileRaw() override;

  // Reads the channel count and the local copy of group 2. 1 success, 0 failure.
  int Init();
  // Channel count from group 1. 0 / -1.
  int GetChannels();
  // Reads group 2 into the local copy, walking by the stored lengths and keeping any bytes
  // it does not know. 0 / -1.
  int ReadParamToLocal();

  // Setters: 1, or 0 (nothing changed) when `ch` is not a channel of the local copy.
  int SetChannelName(int ch, const char* name);
  int SetChannelComment(int ch, const char* comment);
  int SetCalUnit(int ch, const char* unit);
  int SetCalFlag(int ch, std::int16_t flag);
  int SetCalTopVoltage(int ch, std::uint16_t sample);
  int SetCalBottomVoltage(int ch, std::uint16_t sample);
  int SetCalTopNumber(int ch, double physical);
  int SetCalBottomNumber(int ch, double physical);
  // Stores the draw rate and sets the channel's draw-rate flag to 1.
  int SetDrawRate(int ch, double rate);

  // Rebuilds the file with the local group 2. 0 rebuilt; -2 when the editor holds no local
  // copy (nothing is written); -1 or the copy status on failure, the recording untouched.
  int RebuildRawFile();
  // Puts the finished rebuild in place of the edited file. 0 / -1.
  int SaveTempFile(fyn::FynRebuild& rebuilt);

 private:
  struct Channel {
    std::string name;  // stored (code-page) bytes
    std::string comment;
    std::string tail1;  // bytes of sub-unit 1 after the known fields
    std::uint16_t channelWord = 0;
    double fullScale = 0.0;
    std::uint16_t calFlag = 0;
    std::uint16_t calTopSample = 0;
    std::uint16_t calBottomSample = 0;
    double calTopPhysical = 0.0;
    double calBottomPhysical = 0.0;
    std::string unit;
    std::uint16_t drawRateFlag = 0;
    bool hasDrawRate = true;
    double drawRate = 0.0;
    std::string tail2;
    std::array<std::uint16_t, 3> words{};
    std::string tail3;
    std::uint16_t subUnitCount = 3;
    std::string unitTail;  // further sub-units after sub-unit 3
  };
  Channel* ChannelAt(int ch);
  std::vector<unsigned char> BuildGroup2() const;

  std::int32_t channels_ = 0;
  std::vector<Channel> local_;
  std::string groupTail_;
  bool loaded_ = false;
};
