#pragma once
// FynFileAccess: the base of every reader of the block data files. It learns a file's type,
// version and the start of every group once (InitParams) and answers questions about the
// file's structure; it also reads the "ORVENTALIS" property group and inserts new named groups.
// Every call opens the file, reads what it needs and closes it again.
//
// Status codes of the reading calls: 0 success; -1 I/O failure, damaged file, wrong file kind
// or index out of range; -2 no successful InitParams; -3 no event group or event index out of
// range; -4 no "ORVENTALIS" group or no such unit in it. GetErrType/GetErrCode keep the last
// error (-1 and the file error's cause, or -2 and a size when memory ran out).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/fileaccess/fyn_file_io.h"
#include "common/fileaccess/fyn_file_records.h"

namespace fyn {
class ByteReader;
}

enum FynFileStatus : std::int16_t {
  kFynOk = 0,
  kFynError = -1,
  kFynNotInitialised = -2,
  kFynNoEvent = -3,
  kFynNoOVUnit = -4,
};

// File types found by InitParams.
enum FynFileType : std::int16_t { kFynTypeRaw = 0, kFynTypeAna = 1, kFynTypeOther = 2 };

class FynFileAccess {
 public:
  FynFileAccess();
  explicit FynFileAccess(const char* path);
  virtual ~FynFileAccess();
  FynFileAccess(const FynFileAccess&) = delete;
  FynFileAccess& operator=(const FynFileAccess&) = delete;

  // Inserts an empty named group of `size` bytes (header included) before the data group
  // (raw kinds) or before the last group (analysis file) and re-initialises. The file is
  // rebuilt beside itself and renamed into place: on failure it is left as it was.
  // 0 / -1 / -2.
  virtual std::int16_t CreateNewGroupSpace(const char* name, std::uint32_t size);
  // "ORVENTALIS" group: label `index` of unit 4 / the label count / mark `index` of unit 2 /
  // the mark count / the subject record of unit 1. 0 / -1 / -2 / -4.
  virtual std::int16_t GetOVLabelInfo(std::int16_t index, _FynOVLabelInfo* label);
  virtual std::int16_t GetOVLabelNum(std::int16_t* count);
  virtual std::int16_t GetOVMarkInfo(std::int16_t index, std::int16_t* kind, std::uint32_t* position);
  virtual std::int16_t GetOVMarkNum(std::int16_t* count);
  virtual std::int16_t GetOVPatientInfo(_FynOVPatientInfo* info);
  virtual std::int16_t GetErrCode();
  virtual std::int16_t GetErrType();
  // File offset of the first property group called `name` (case-sensitive), or 0 when there
  // is none (still 0 as result). 0 / -1 / -2.
  virtual std::int16_t GetPropGroupAddress(const char* name, std::uint32_t* offset);
  // Raw kinds: the header's event flag, read now. -1 for an analysis file or on I/O failure.
  virtual std::int16_t GetEventFlg();
  // Group count, or -2 before InitParams.
  virtual std::int16_t GetGroupCnt();
  // kFynTypeRaw, kFynTypeAna or kFynTypeOther.
  virtual std::int16_t GetFileType();
  virtual std::uint16_t GetFileVersion();
  // Replaces the path; the object must be initialised again before it reads.
  virtual void SetFilePath(const char* path);
  // Reads the ID and header blocks and locates every group. A file of another type returns 0
  // with GetFileType() 2 and the object not initialised. 0 / -1.
  virtual std::int16_t InitParams();

  // Free comments of the "ORVENTALIS" group into array[0..n-1], n = the stored entry count
  // capped at `capacity` (10 in the program's files). 0 / -1 / -2 / -4 (also when the group
  // has fewer than 6 units or a layout version below 2).
  std::int16_t GetOVFreeCommentInfo(_FynOVFreeCommentInfo* array, int capacity = 10);

  // Copies the ID and header blocks to `target` (written first, so at its start).
  // 0 / -1 / -2.
  std::int16_t CopyHeader(fyn::FynRebuild& target);
  // Appends group `index` unchanged to `target`. 0 / -1 / -2.
  std::int16_t CopyGroup(fyn::FynRebuild& target, std::int16_t index);
  // Allocates a copy buffer of at most 65,534 bytes, halving the size while that fails.
  std::int16_t CreateWkReadMem(std::unique_ptr<unsigned char[]>* buffer, std::uint32_t* size);
  // Appends an empty named group of `size` bytes to `target`. -1 when `size` cannot hold
  // the group's header.
  std::int16_t WriteNewSpace(fyn::FynRebuild& target, const char* name, std::uint32_t size);

  const std::string& GetFilePath() const { return path_; }

 protected:
  bool IsInitialised() const { return initialised_ != 0; }
  // -2 when not initialised, -1 when the file is not of `type`, else 0.
  std::int16_t CheckKind(std::int16_t type) const;
  // Opens the file for reading; on failure records the error and returns false.
  bool OpenRead(fyn::FynFile& file);
  // Records an I/O failure of `file` (-1 and its cause) and returns -1.
  std::int16_t IoFail(const fyn::FynFile& file);
  std::int16_t IoFail(const fyn::FynRebuild& target);
  // Reads the ID and header blocks as stored. 0 / -1.
  std::int16_t ReadHeaderBytes(std::vector<unsigned char>* bytes);
  // Records a damaged item (a length or count that does not fit) and returns -1.
  std::int16_t Damaged();
  // Records an allocation failure (-2 and the size) and returns -1.
  std::int16_t NoMemory(std::uint64_t size);
  bool HasGroup(int index) const { return index >= 0 && index < static_cast<int>(groupStart_.size()); }
  std::uint64_t GroupStart(int index) const { return groupStart_[index]; }
  std::uint64_t GroupLength(int index) const { return groupLength_[index]; }
  // Reads the whole of group `index` into `bytes`. 0 / -1.
  std::int16_t ReadGroup(fyn::FynFile& file, int index, std::vector<unsigned char>* bytes);
  // Reads the channel parameters of one channel from group 2 of a raw-kind file.
  // 0, -1 (I/O failure, channel out of range, damaged group) or -2.
  std::int16_t ReadRawChannelParam(int channel, _FynRawG2Param* param);
  // Index of the data group: the last group, or the one before it when an event group
  // follows. Negative status on failure.
  int DataGroupIndex();

  std::int16_t errType_ = 0;
  std::int16_t errCode_ = 0;

 private:
  std::int16_t FindOVUnit(int unitNumber, std::vector<unsigned char>* group, std::size_t* unitStart,
                          std::size_t* unitLength);
  std::int16_t ReadOVGroup(std::vector<unsigned char>* group, std::uint16_t* unitCount,
                           std::uint16_t* version, std::size_t* firstUnit);

  std::string path_;
  std::vector<std::uint64_t> groupStart_;
  std::vector<std::uint64_t> groupLength_;
  std::int16_t initialised_ = 0;
  std::int16_t groupCount_ = 0;
  std::int16_t fileType_ = kFynTypeOther;
  std::uint16_t itemWord_ = 0;
  std::uint16_t version_ = 0;
  std::uint32_t idLength_ = 0;
  std::uint32_t headerLength_ = 0;
};
