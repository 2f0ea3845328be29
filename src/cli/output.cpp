// Checked output: buffered write(2) calls, fsync and rename for replaced files, and the hidden
// file of a replacement removed when a signal ends kvr first.
#include "output.h"

#include "messages.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <system_error>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavrin::cli {

namespace {
constexpr std::size_t kBufferSize = 1 << 16;
constexpr int kMostLinks = 40; // as many symbolic links as the kernel follows in one path
constexpr std::array kInterruptions{SIGINT, SIGTERM, SIGHUP};

// The hidden file of the replacement under way (one at a time), for a signal handler to remove:
// the handler may call only async-signal-safe functions, so the path is in place beforehand.
std::array<char, PATH_MAX> pendingPath{};
volatile std::sig_atomic_t pending = 0;

extern "C" void removePendingAndEnd(int signal)
{
    if (pending != 0)
        ::unlink(pendingPath.data());
    ::raise(signal); // the handler was reset to the default on entry, so this ends kvr
}

// Each signal that is not ignored (nohup's SIGHUP stays ignored).
void watchInterruptions()
{
    for (const int signal : kInterruptions) {
        struct sigaction action {};
        if (::sigaction(signal, nullptr, &action) == 0 && action.sa_handler != SIG_IGN) {
            action.sa_handler = removePendingAndEnd;
            action.sa_flags = SA_RESETHAND;
            ::sigemptyset(&action.sa_mask);
            ::sigaction(signal, &action, nullptr);
        }
    }
}

// Makes the hidden file and marks it pending with the interruptions held back, so that no
// signal comes between the two.
int makePending(std::string& temporary)
{
    watchInterruptions();
    sigset_t held, before;
    ::sigemptyset(&held);
    for (const int signal : kInterruptions)
        ::sigaddset(&held, signal);
    ::pthread_sigmask(SIG_BLOCK, &held, &before);
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    const int error = errno;
    if (fd >= 0 && temporary.size() < pendingPath.size()) {
        pendingPath[temporary.copy(pendingPath.data(), pendingPath.size() - 1)] = '\0';
        pending = 1;
    }
    ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
    errno = error;
    return fd;
}

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

// The descriptor that /dev/fd/N or /proc/self/fd/N names (/dev/stdout links to the latter).
std::optional<int> descriptorNamed(std::string_view path)
{
    for (const std::string_view folder : {"/dev/fd/", "/proc/self/fd/"}) {
        if (!path.starts_with(folder))
            continue;
        const std::string_view number = path.substr(folder.size());
        int fd = -1;
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), fd);
        if (error == std::errc() && end == number.data() + number.size() && fd >= 0)
            return fd;
    }
    return std::nullopt;
}

// Where writing to a path lands, followed link by link: a link to a file that is not there yet
// names that file, and a link to /proc/self/fd/N the descriptor.
struct Destination {
    std::string path;
    std::optional<int> descriptor;
};

Destination destinationOf(const std::string& path)
{
    std::string hop = path;
    for (int links = 0; links <= kMostLinks; ++links) {
        if (const auto fd = descriptorNamed(hop))
            return {hop, fd};
        struct stat info {};
        if (::lstat(hop.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return {hop, std::nullopt};
        std::string linked(PATH_MAX, '\0');
        const ssize_t length = ::readlink(hop.c_str(), linked.data(), linked.size());
        if (length < 0)
            throw Error{ErrorKind::Output, path, systemReason(errno)};
        linked.resize(static_cast<std::size_t>(length));
        hop = linked.starts_with('/') ? linked : folderOf(hop).append("/").append(linked);
    }
    throw Error{ErrorKind::Output, path, systemReason(ELOOP)};
}
} // namespace

Output::Output(int fd, std::string name, Descriptor descriptor, std::string temporary, std::string target)
    : fd_(fd), name_(std::move(name)), descriptor_(descriptor), temporary_(std::move(temporary)),
      target_(std::move(target))
{
    buffer_.reserve(kBufferSize);
}

Output::Output(Output&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), name_(std::move(other.name_)), descriptor_(other.descriptor_),
      temporary_(std::move(other.temporary_)), target_(std::move(other.target_)), buffer_(std::move(other.buffer_)),
      finished_(std::exchange(other.finished_, true))
{
}

Output::~Output()
{
    if (finished_)
        return;
    if (fd_ >= 0 && descriptor_ == Descriptor::Owned)
        ::close(fd_);
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str()); // an unfinished replacement leaves nothing behind
        pending = 0;
    }
}

Output Output::standardOutput()
{
    return {STDOUT_FILENO, "standard output", Descriptor::Borrowed};
}

Output Output::file(const std::string& path, const std::vector<std::string>& inputs)
{
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) // a link loop, say
        throw Error{ErrorKind::Output, path, systemReason(errno)};
    if (exists)
        for (const std::string& input : inputs)
            if (sameFile(existing, input))
                throw Error{ErrorKind::Usage, path, sameFileAsInput(input)};
    const Destination destination = destinationOf(path);
    if (destination.descriptor)
        return {*destination.descriptor, path, Descriptor::Borrowed};
    if (exists && !S_ISREG(existing.st_mode)) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            throw Error{ErrorKind::Output, path, systemReason(errno)};
        return {fd, path, Descriptor::Owned};
    }
    // What cp and a shell's > would refuse to overwrite for this user, a rename must not replace.
    if (exists && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        throw Error{ErrorKind::Output, path, systemReason(errno)};
    // The new file keeps the permissions of the one it replaces; mkostemp's 0600 otherwise.
    return replacing(destination.path, path, exists ? existing.st_mode & 07777 : 0666 & ~currentUmask());
}

// Through a symbolic link, the file it names is the one replaced; the link stays.
Output Output::replacing(const std::string& target, const std::string& name, mode_t mode)
{
    std::string temporary = folderOf(target) + "/.kvr-XXXXXX";
    const int fd = makePending(temporary);
    if (fd < 0)
        throw Error{ErrorKind::Output, name, systemReason(errno)};
    ::fchmod(fd, mode);
    return {fd, name, Descriptor::Owned, temporary, target};
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

// A borrowed descriptor's close is checked on a copy: the errors a close reports are the same.
void Output::close()
{
    const int fd = descriptor_ == Descriptor::Owned ? std::exchange(fd_, -1) : ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    if (fd < 0 || (::close(fd) != 0 && errno != EINTR))
        fail(errno);
}

void Output::finish()
{
    flush();
    if (!temporary_.empty() && ::fsync(fd_) != 0)
        fail(errno);
    close();
    if (!temporary_.empty()) {
        if (::rename(temporary_.c_str(), target_.c_str()) != 0)
            fail(errno);
        pending = 0;
    }
    finished_ = true;
}

void Output::fail(int errnum) const
{
    throw Error{ErrorKind::Output, name_, systemReason(errnum)};
}

} // namespace kavrin::cli
