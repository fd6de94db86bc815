#include "common/line_reader.h"

#include <cstring>

#include "common/exclusive_file.h"

namespace suite {

LineReader::LineReader(ExclusiveFile& file, int64_t startOffset, size_t blockSize)
    : file_(file), blockSize_(blockSize < 1 ? 1 : blockSize), bufferOffset_(startOffset) {
  buffer_.resize(blockSize_);
}

bool LineReader::Fill() {
  if (textEnded_) return false;
  // Keep the unfinished line; move it to the front, or grow when it fills the buffer.
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    bufferOffset_ += static_cast<int64_t>(begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  // Doubling keeps a line of any length linear in its size.
  if (buffer_.size() - end_ < blockSize_ / 2 + 1) buffer_.resize(buffer_.size() * 2);
  const ssize_t got = file_.Read(buffer_.data() + end_, buffer_.size() - end_);
  if (got < 0) {
    failed_ = true;
    textEnded_ = true;
    return false;
  }
  if (got == 0) {
    textEnded_ = true;
    return false;
  }
  size_t length = static_cast<size_t>(got);
  if (const void* eof = std::memchr(buffer_.data() + end_, 0x1A, length)) {
    length = static_cast<size_t>(static_cast<const char*>(eof) - (buffer_.data() + end_));
    textEnded_ = true;
  }
  end_ += length;
  return length > 0;
}

bool LineReader::Next(TextLine& line) {
  for (;;) {
    const char* start = buffer_.data() + begin_;
    const size_t available = end_ - begin_;
    if (const void* found = std::memchr(start + scanned_, '\n', available - scanned_)) {
      const char* lf = static_cast<const char*>(found);
      size_t length = static_cast<size_t>(lf - start);
      const size_t consumed = length + 1;
      if (length > 0 && start[length - 1] == '\r') --length;
      line.text = std::string_view(start, length);
      line.offset = bufferOffset_ + static_cast<int64_t>(begin_);
      begin_ += consumed;
      scanned_ = 0;
      return true;
    }
    scanned_ = available;
    if (!Fill()) {
      if (textEnded_ && begin_ < end_ && !failed_) {  // the last line, without LF
        line.text = std::string_view(buffer_.data() + begin_, end_ - begin_);
        line.offset = bufferOffset_ + static_cast<int64_t>(begin_);
        begin_ = end_;
        scanned_ = 0;
        return true;
      }
      return false;
    }
  }
}

}  // namespace suite
