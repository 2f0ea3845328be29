// Lines of puzzles from a file or standard input, read in bounded memory.
#pragma once

#include <cstring>
#include <string>
#include <string_view>
#include <utility>

namespace kavrin::cli {

// A puzzle line is 81 characters with a line end and maybe blanks around; anything much longer
// is refused as soon as it is seen, without being held.
inline constexpr std::size_t kLongestLine = 1024;
// Some editors begin a text file with it; it is no part of the first line.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Nothing but blanks and a CR: no puzzle, and no failure either.
inline bool isBlank(std::string_view line)
{
    return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

class LineReader {
public:
    enum class Read { Line, TooLong, End };

    // Reads the open file descriptor; the name stands in errors for it.
    LineReader(int fd, std::string name) : fd_(fd), name_(std::move(name)) {}

    // The next line without its line end (the first without a byte-order mark). A line longer than kLongestLine is reported as TooLong
    // as soon as that is known; the next call skips what is left of it. Throws an input Error
    // when the descriptor cannot be read.
    Read next(std::string& line);
    // Whether the next line (or its failure) can be returned without waiting for the input.
    bool lineInHand() const
    {
        return atEnd_ || (!skipping_ && std::memchr(buffer_ + begin_, '\n', end_ - begin_) != nullptr);
    }
    // The number of the line last returned, from 1.
    long long number() const { return number_; }

private:
    bool fill();
    void skipToLineEnd();

    int fd_;
    std::string name_;
    char buffer_[65536];
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
    bool skipping_ = false;
    long long number_ = 0;
};

} // namespace kavrin::cli
