// Where kvr writes: standard output, or a named file. A regular file is replaced whole (a
// temporary file beside it, then a rename), so a failed write leaves the old file as it was; a
// device or a FIFO is written in place and never replaced, and a name for one of kvr's own open
// descriptors (/dev/stdout, /dev/fd/N) is written through that descriptor. Every write is
// checked, through to the close; failures throw an output Error.
#pragma once

#include <string>
#include <string_view>
#include <vector>
#include <sys/types.h>

namespace kavrin::cli {

class Output {
public:
    static Output standardOutput();
    // Refuses, before touching anything, a path that is the same file as one of the inputs, and
    // a file the user may not write.
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
    // A borrowed descriptor is the process's own (standard output, /dev/fd/N): written, and its
    // close checked on a copy, but left open for whatever writes to it next.
    enum class Descriptor { Owned, Borrowed };

    Output(int fd, std::string name, Descriptor descriptor, std::string temporary = {}, std::string target = {});
    static Output replacing(const std::string& target, const std::string& name, mode_t mode);
    void close();
    [[noreturn]] void fail(int errnum) const;

    int fd_;
    std::string name_;      // as the user wrote it, or "standard output"
    Descriptor descriptor_;
    std::string temporary_; // the file written, when it is to replace target_; else empty
    std::string target_;
    std::string buffer_;
    bool finished_ = false;
};

} // namespace kavrin::cli
