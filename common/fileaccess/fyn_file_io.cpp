#include "common/fileaccess/fyn_file_io.h"

#include <limits>

#include "platform/system/binary_file.h"
#include "platform/system/code_page.h"
#include "platform/system/file_io.h"
#include "platform/system/locale.h"

namespace fyn {

namespace {

std::int16_t CauseOf(const sys::FileError& error) {
  const auto cause = static_cast<std::int16_t>(error.cause);
  return cause != kCauseNone ? cause : kCauseGeneric;
}

}  // namespace

FynFile::FynFile() : file_(std::make_unique<sys::BinaryFile>()) {}

FynFile::~FynFile() { Close(); }

bool FynFile::Open(const std::string& path, Mode mode) {
  Close();
  unsigned flags = sys::BinaryFile::kRead;
  if (mode == Mode::Write) flags = sys::BinaryFile::kReadWrite;
  if (mode == Mode::Create) flags = sys::BinaryFile::kReadWrite | sys::BinaryFile::kCreate;
  if (file_->Open(path, flags)) return true;
  cause_ = CauseOf(file_->LastError());
  return false;
}

void FynFile::Close() {
  if (file_->IsOpen()) file_->Close();
}

bool FynFile::IsOpen() const { return file_->IsOpen(); }

bool FynFile::Read(void* buffer, std::size_t n) {
  if (file_->ReadExact(buffer, n)) return true;
  cause_ = CauseOf(file_->LastError());
  return false;
}

bool FynFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t n) {
  return Seek(offset) && Read(buffer, n);
}

bool FynFile::Write(const void* buffer, std::size_t n) {
  if (file_->Write(buffer, n)) return true;
  cause_ = CauseOf(file_->LastError());
  return false;
}

bool FynFile::WriteAt(std::uint64_t offset, const void* buffer, std::size_t n) {
  return Seek(offset) && Write(buffer, n);
}

bool FynFile::Seek(std::uint64_t offset) {
  if (offset > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
    cause_ = kCauseBadSeek;
    return false;
  }
  if (file_->Seek(static_cast<std::int64_t>(offset))) return true;
  cause_ = CauseOf(file_->LastError());
  return false;
}

bool FynFile::SeekToEnd() {
  if (file_->SeekToEnd()) return true;
  cause_ = CauseOf(file_->LastError());
  return false;
}

std::uint64_t FynFile::Position() const { return file_->Position(); }

bool FynFile::Length(std::uint64_t* length) {
  if (!file_->IsOpen()) {
    cause_ = kCauseGeneric;
    return false;
  }
  *length = file_->Length();
  return true;
}

std::int16_t FynFile::cause() const { return cause_; }

FynRebuild::FynRebuild(const std::string& target)
    : writer_(std::make_unique<sys::AtomicFileWriter>(target)) {}

FynRebuild::~FynRebuild() = default;

bool FynRebuild::IsOpen() const { return writer_->IsOpen(); }
bool FynRebuild::Write(const void* buffer, std::size_t n) { return writer_->Write(buffer, n); }
bool FynRebuild::Commit() { return writer_->Commit(); }
void FynRebuild::Abort() { writer_->Abort(); }
std::int16_t FynRebuild::cause() const { return CauseOf(writer_->LastError()); }

std::string DecodeFileText(std::string_view stored, std::size_t capacity) {
  const sys::CodePage cp = sys::AnsiCodePage();
  return sys::ToUtf8(stored.substr(0, sys::CharBoundaryAtOrBelow(stored, capacity, cp)), cp);
}

std::string EncodeFileText(std::string_view text) { return sys::FromUtf8(text, sys::AnsiCodePage()); }

}  // namespace fyn
