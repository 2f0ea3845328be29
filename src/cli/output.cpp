// Checked output: buffered write(2) calls, fsync and rename for replaced files.
#include "output.h"

#include "messages.h"

#include <cerrno>
#include <cstdlib>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavrin::cli {

namespace {
constexpr std::size_t kBufferSize = 1 << 16;

bool sameFile(const struct stat& a, const std::string& path)
{
    struct stat b {};
    return ::stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}
} // namespace

Output::Output(int fd, std::string name, std::string temporary, std::string target)
    : fd_(fd), name_(std::move(name)), temporary_(std::move(temporary)), target_(std::move(target))
{
    buffer_.reserve(kBufferSize);
}

Output::Output(Output&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), name_(std::move(other.name_)), temporary_(std::move(other.temporary_)),
      target_(std::move(other.target_)), buffer_(std::move(other.buffer_)),
      finished_(std::exchange(other.finished_, true))
{
}

Output::~Output()
{
    if (finished_)
        return;
    if (fd_ >= 0 && fd_ != STDOUT_FILENO)
        ::close(fd_);
    if (!temporary_.empty())
        ::unlink(temporary_.c_str()); // an unfinished replacement leaves nothing behind
}

Output Output::standardOutput()
{
    return {STDOUT_FILENO, "standard output"};
}

Output Output::file(const std::string& path, const std::vector<std::string>& inputs)
{
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists)
        for (const std::string& input : inputs)
            if (sameFile(existing, input))
                throw Error{ErrorKind::Usage, path, sameFileAsInput(input)};
    if (exists && !S_ISREG(existing.st_mode)) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            throw Error{ErrorKind::Output, path, systemReason(errno)};
        return {fd, path};
    }
    // Through a symbolic link, the file it points to is the one replaced; the link stays.
    std::string target = path;
    if (exists) {
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (resolved == nullptr)
            throw Error{ErrorKind::Output, path, systemReason(errno)};
        target = resolved;
        std::free(resolved);
    }
    std::string temporary = folderOf(target) + "/.kvr-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        throw Error{ErrorKind::Output, path, systemReason(errno)};
    // The new file keeps the permissions of the one it replaces; mkostemp's 0600 otherwise.
    ::fchmod(fd, exists ? existing.st_mode & 07777 : 0666 & ~currentUmask());
    return {fd, path, temporary, target};
}

void Output::write(std::string_view text)
{
    buffer_.append(text);
    if (buffer_.size() >= kBufferSize)
        flush();
}

void Output::flush()
{
    std::size_t done = 0;
    while (done < buffer_.size()) {
        const ssize_t wrote = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            fail(wrote < 0 ? errno : EIO);
        done += static_cast<std::size_t>(wrote);
    }
    buffer_.clear();
}

void Output::finish()
{
    flush();
    if (!temporary_.empty() && ::fsync(fd_) != 0)
        fail(errno);
    if (::close(std::exchange(fd_, -1)) != 0 && errno != EINTR)
        fail(errno);
    if (!temporary_.empty() && ::rename(temporary_.c_str(), target_.c_str()) != 0)
        fail(errno);
    finished_ = true;
}

void Output::fail(int errnum) const
{
    throw Error{ErrorKind::Output, name_, systemReason(errnum)};
}

} // namespace kavrin::cli
