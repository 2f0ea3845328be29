// Reading lines with read(2), so that a descriptor that cannot be read is an error, not an end.
#include "line_reader.h"

#include "messages.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include <unistd.h>

namespace kavrin::cli {

bool LineReader::fill()
{
    if (atEnd_)
        return false;
    while (true) {
        const ssize_t got = ::read(fd_, buffer_, sizeof buffer_);
        if (got > 0) {
            begin_ = 0;
            end_ = static_cast<std::size_t>(got);
            return true;
        }
        if (got == 0) {
            atEnd_ = true;
            return false;
        }
        if (errno != EINTR)
            throw Error{ErrorKind::Input, name_, systemReason(errno)};
    }
}

void LineReader::skipToLineEnd()
{
    while (begin_ < end_ || fill()) {
        const auto* newline = static_cast<const char*>(std::memchr(buffer_ + begin_, '\n', end_ - begin_));
        if (newline) {
            begin_ = static_cast<std::size_t>(newline - buffer_) + 1;
            return;
        }
        begin_ = end_;
    }
}

LineReader::Read LineReader::next(std::string& line)
{
    if (std::exchange(skipping_, false))
        skipToLineEnd();
    line.clear();
    const bool first = number_ == 0;
    const std::size_t longest = kLongestLine + (first ? kByteOrderMark.size() : 0);
    bool any = false;
    while (begin_ < end_ || fill()) {
        any = true;
        const char* start = buffer_ + begin_;
        const auto* newline = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
        const std::size_t length = newline ? static_cast<std::size_t>(newline - start) : end_ - begin_;
        if (line.size() + length > longest) {
            skipping_ = true;
            line.clear();
            ++number_;
            return Read::TooLong;
        }
        line.append(start, length);
        begin_ += length;
        if (newline) {
            ++begin_;
            break;
        }
    }
    if (!any)
        return Read::End;
    ++number_;
    if (first && line.starts_with(kByteOrderMark))
        line.erase(0, kByteOrderMark.size());
    return line.size() > kLongestLine ? Read::TooLong : Read::Line;
}

} // namespace kavrin::cli
