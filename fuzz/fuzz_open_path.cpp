// Fuzz target: the path taken from the command line or a drop, quotes removed.
#include "files/open_path.h"
#include "fuzz_expect.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

using kavrin::fuzz::expect;

// Arguments as the system hands them over: split at NUL, which no argument can hold.
QStringList argumentsOf(const QByteArray& bytes)
{
    QStringList arguments;
    for (const QByteArray& argument : bytes.split('\0'))
        arguments.append(QString::fromUtf8(argument));
    return arguments;
}

void expectCleaned(const QString& path)
{
    const QString cleaned = kavrin::cleanedPath(path);
    expect(!cleaned.contains(u'"'), "a cleaned path holds no double quote");
    expect(cleaned.size() == path.size() - path.count(u'"'), "cleaning removes the quotes and nothing else");
    expect(kavrin::cleanedPath(cleaned) == cleaned, "cleaning twice changes nothing");
    qsizetype at = 0;
    for (const QChar c : cleaned) {
        while (path.at(at) == u'"')
            ++at;
        expect(path.at(at) == c, "the other characters keep their order");
        ++at;
    }
}

void expectCommandLine(const QStringList& arguments)
{
    const QString text = kavrin::commandLineText(arguments);
    if (arguments.size() <= 1) {
        expect(text.isEmpty(), "no arguments give an empty command line");
        expect(kavrin::cleanedPath(kavrin::commandLineText(arguments)).isEmpty(), "no arguments name no path");
        return;
    }
    expect(text == arguments.mid(1).join(u' '), "the command line is the arguments after the program, blank-joined");
    expect(kavrin::cleanedPath(kavrin::commandLineText(arguments)) == kavrin::cleanedPath(text), "the path is the cleaned command line");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    expectCleaned(QString::fromUtf8(bytes));
    expectCommandLine(argumentsOf(bytes));
    expectCommandLine({});
    return 0;
}
