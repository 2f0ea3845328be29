// Where kvr writes: standard output, or a named file. A regular file is replaced whole (a
// temporary file beside it, then a rename), so a failed write leaves the old file as it was; a
// device or a FIFO is written in place and never replaced. Every write is checked, through to
// the close; failures throw an output Error.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kavrin::cli {

class Output {
public:
    static Output standardOutput();
    // Refuses, before touching anything, a path that is the same file as one of the inputs.
    static Output file(const std::string& path, const std::vector<std::string>& inputs);

    Output(Output&& other) noexcept;
    Output& operator=(Output&&) = delete;
    ~Output();

    void write(std::string_view text);
    // Writes what is buffered now, so that a reader waiting on the other end gets it.
    void flush();
    // Writes what is buffered, closes, and puts a replaced file in place.
    void finish();

private:
    Output(int fd, std::string name, std::string temporary = {}, std::string target = {});
    [[noreturn]] void fail(int errnum) const;

    int fd_;
    std::string name_;      // as the user wrote it, or "standard output"
    std::string temporary_; // the file written, when it is to replace target_; else empty
    std::string target_;
    std::string buffer_;
    bool finished_ = false;
};

} // namespace kavrin::cli
