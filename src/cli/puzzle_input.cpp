// Reading a command's puzzle from its argument.
#include "puzzle_input.h"

#include "files/puzzle_file.h"
#include "files/puzzle_line.h"
#include "messages.h"
#include "line_reader.h"
#include "model/square.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstddef>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <variant>

namespace kavrin::cli {

namespace {
// Closes the descriptor when reading is over, however it ends.
class OpenFile {
public:
    explicit OpenFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY))
    {
        if (fd_ < 0)
            throw Error{ErrorKind::Input, path, systemReason(errno)};
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() { ::close(fd_); }
    int fd() const { return fd_; }

private:
    int fd_;
};

Board readKvrFile(const std::string& path)
{
    const OpenFile file(path);
    PuzzleBytes bytes{};
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(file.fd(), bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw Error{ErrorKind::Input, path, systemReason(errno)};
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    if (got < bytes.size())
        throw Error{ErrorKind::Input, path, notAPuzzleFile(got)};
    Board board;
    applyPuzzle(board, *decodePuzzle(bytes));
    return board;
}

// Meant as a puzzle line rather than a file: 81 characters, or only digits, dots and blanks.
bool looksLikeLine(const std::string& text)
{
    return text.size() == kSquareCount || (!text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == '.' || c == ' ' || c == '\t';
    }));
}
// The line's board, or an input Error naming the source with the line's reason.
Board boardFromLine(std::string_view line, const std::string& source)
{
    auto parsed = parsePuzzleLine(line);
    if (const auto* reason = std::get_if<std::string>(&parsed))
        throw Error{ErrorKind::Input, source, *reason};
    return std::get<Board>(std::move(parsed));
}

} // namespace

bool isKvrPath(const std::string& path)
{
    if (path.size() < 4)
        return false;
    std::string extension = path.substr(path.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".kvr";
}

std::string firstPuzzleLine(int fd, const std::string& name)
{
    LineReader reader(fd, name);
    std::string line;
    for (LineReader::Read read = reader.next(line); read != LineReader::Read::End; read = reader.next(line)) {
        if (read == LineReader::Read::TooLong)
            throw Error{ErrorKind::Input, name + ", line " + std::to_string(reader.number()), lineTooLong()};
        if (!isBlank(line))
            return line;
    }
    throw Error{ErrorKind::Input, name, noPuzzleLine()};
}

Board readPuzzle(const std::string& argument)
{
    if (argument == "-")
        return boardFromLine(firstPuzzleLine(STDIN_FILENO, "standard input"), "standard input");
    struct stat info {};
    if (::stat(argument.c_str(), &info) != 0 && looksLikeLine(argument))
        return boardFromLine(argument, "puzzle line");
    if (isKvrPath(argument))
        return readKvrFile(argument);
    const OpenFile file(argument);
    return boardFromLine(firstPuzzleLine(file.fd(), argument), argument);
}

} // namespace kavrin::cli
