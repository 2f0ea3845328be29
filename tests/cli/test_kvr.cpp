// kvr end to end: what each command prints and exits with, batches on several threads, and
// files that fail without harm.
#include "test_files.h"

#include <QDir>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using kavrin::test::contents;
using kavrin::test::writeFile;

namespace {
struct Run {
    int code;
    QString out;
    QString err;
};

// Runs kvr; `setUp` runs in the child before kvr starts (limits, closed descriptors), and a
// standard output file, when named, takes the place of the pipe.
Run kvr(const QStringList& args, const QByteArray& input = {}, const std::function<void()>& setUp = {},
        const QString& outputFile = {})
{
    QProcess p;
    if (setUp)
        p.setChildProcessModifier(setUp);
    if (!outputFile.isEmpty())
        p.setStandardOutputFile(outputFile);
    p.start(QStringLiteral(KVR_PATH), args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

// Files may grow to 100 bytes only: a write past that fails as on a full disk.
void smallFileLimit()
{
    const rlimit limit{100, 100};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::signal(SIGXFSZ, SIG_IGN);
}

const QString kEasy = "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";
const QString kEasySolution = "534678912672195348198342567859761423426853791713924856961537284287419635345286179";
// The easy puzzle without its last row's 8: two solutions, told apart by the 7 and 9 swapped.
const QString kMany = "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5.........";
const QString kManyFirst = "534678192672195348198342567859761423426853971713924856961537284287419635345286719";
const QString kEmpty(81, '.');

// The puzzle as a .kvr file in the folder.
QString kvrOf(const QString& puzzle, const QTemporaryDir& dir)
{
    QString path = dir.filePath("puzzle.kvr");
    QProcess::execute(QStringLiteral(KVR_PATH), {"convert", puzzle, path});
    return path;
}
} // namespace

class KvrTest : public QObject {
    Q_OBJECT
private slots:
    void commands_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out"); // contained in standard output
        QTest::addColumn<QString>("err"); // contained in standard error
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: kvr" << "";
        QTest::newRow("command help") << QStringList{"count", "--help"} << 0 << "Usage: kvr count" << "";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "kvr 1." << "";
        QTest::newRow("solve") << QStringList{"solve", kEasy} << 0 << kEasySolution << "";
        QTest::newRow("solve, first of many") << QStringList{"solve", kMany} << 0 << kManyFirst << "";
        QTest::newRow("solve refused") << QStringList{"solve", "55" + QString(79, '.')} << 1 << "55"
                                       << "Please check entries.";
        QTest::newRow("check solved") << QStringList{"check", kEasySolution} << 0 << "3- Puzzle solved." << "";
        QTest::newRow("check unsolved") << QStringList{"check", kEasy} << 1
                                        << "3- Correct this errors:\n\nError at square 1,1" << "";
        QTest::newRow("show") << QStringList{"show", kEasy} << 0 << "| 5 3 . | . 7 . | . . . |" << "";
        QTest::newRow("count unique") << QStringList{"count", kEasy} << 0 << kEasy + ":1:" + kEasySolution + "\n" << "";
        QTest::newRow("count many") << QStringList{"count", kMany} << 1 << kMany + ":2+:" + kManyFirst << "";
        QTest::newRow("count exactly two") << QStringList{"count", "--limit", "3", kMany} << 1
                                           << kMany + ":2:" + kManyFirst << "";
        QTest::newRow("count none") << QStringList{"count", "55" + QString(79, '0')} << 1
                                    << "55" + QString(79, '.') + ":0:\n" << "";
        QTest::newRow("count empty grid") << QStringList{"count", "--limit", "1000", kEmpty} << 1
                                          << kEmpty + ":1000+:123456789456789123789123456" << "";
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2 << "" << "unknown command: frobnicate";
        QTest::newRow("unknown option") << QStringList{"generate", "--fast"} << 2 << "" << "--fast";
        QTest::newRow("bad number") << QStringList{"generate", "-n", "x"} << 2 << ""
                                    << "-n: needs a whole number of at least 1, not 'x'";
        QTest::newRow("bad limit") << QStringList{"count", "--limit", "0"} << 2 << ""
                                   << "--limit: needs a whole number of at least 1, not '0'";
        QTest::newRow("missing file") << QStringList{"show", "/no/such.kvr"} << 2 << ""
                                      << "kvr: /no/such.kvr: No such file or directory";
        QTest::newRow("bad line") << QStringList{"show", QString(80, '.') + "x"} << 2 << "" << "character 81 ('x')";
        QTest::newRow("control byte shown escaped")
            << QStringList{"show", QString(80, '.') + "\x1b"} << 2 << "" << "character 81 ('\\x1b')";
        QTest::newRow("no command") << QStringList{} << 2 << "" << "Try 'kvr --help'.";
        QTest::newRow("explain") << QStringList{"rate", "--explain", kEasy} << 0
                                 << "1. row 3: 5 can only go in column 7 [hidden-single]\n" << "";
        QTest::newRow("explain, the verdict") << QStringList{"rate", "--explain", kEasy} << 0
                                              << "\n51. row 9: 6 can only go in column 6 [hidden-single]\n"
                                                 "grade: easy (the hardest step: hidden-single)\n" << "";
        QTest::newRow("explain many") << QStringList{"rate", "--explain", kMany} << 1
                                      << "more than one solution, so no grade\n" << "";
        QTest::newRow("symmetry alone") << QStringList{"generate", "--symmetry", "mirror"} << 2 << ""
                                        << "--symmetry requires --difficulty";
        QTest::newRow("no such grade") << QStringList{"generate", "--difficulty", "fiendish"} << 2 << ""
                                       << "fiendish not in {easy,medium,hard,expert}";
    }
    void commands()
    {
        QFETCH(QStringList, args);
        const Run r = kvr(args);
        QTEST(r.code, "code");
        QFETCH(QString, out);
        QFETCH(QString, err);
        QVERIFY2(r.out.contains(out), qPrintable(r.out));
        QVERIFY2(r.err.contains(err), qPrintable(r.err));
    }

    // Lines that solve, fail, are refused or are not puzzles, in one batch: every thread count
    // gives the same bytes, the same messages in the same order, and the worst status.
    void jobsChangeNothing_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("code");
        QTest::newRow("solve") << "solve" << 2;
        QTest::newRow("count") << "count" << 2;
        QTest::newRow("rate") << "rate" << 2;
    }
    void jobsChangeNothing()
    {
        const Run generated = kvr({"generate", "-n", "300", "--seed", "7"});
        QCOMPARE(generated.err.count("failed attempt"), 300);
        QByteArray input = generated.out.toUtf8();
        for (const QString& odd : {kMany, "55" + QString(79, '.'), QString(80, '.'), QString(), kEmpty, kEasy})
            input += (odd + "\n").toUtf8();
        QFETCH(QString, command);
        const Run one = kvr({command, "-"}, input);
        QTEST(one.code, "code");
        QVERIFY(one.err.contains("kvr: line 303: a puzzle line has 81 characters, this one has 80\n"));
        QCOMPARE(one.out.count('\n'), 304);
        for (const char* jobs : {"2", "5", "0"}) {
            const Run many = kvr({command, "--jobs", jobs, "-"}, input);
            QCOMPARE(many.out, one.out);
            QCOMPARE(many.err, one.err);
            QCOMPARE(many.code, one.code);
        }
    }

    // Standard output that cannot take the bytes: every command says so and exits with 3, with
    // no pointer to the help, since nothing was wrong with the command line.
    void fullOutput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("show") << QStringList{"show", kEasy};
        QTest::newRow("check") << QStringList{"check", kEasy};
        QTest::newRow("solve") << QStringList{"solve", kEasy};
        QTest::newRow("count a batch") << QStringList{"count", "-"};
        QTest::newRow("generate") << QStringList{"generate", "--seed", "1"};
        QTest::newRow("convert to standard output") << QStringList{"convert", kEasy, "-"};
        QTest::newRow("help") << QStringList{"solve", "--help"};
    }
    void fullOutput()
    {
        QFETCH(QStringList, args);
        const Run r = kvr(args, (kEasy + "\n").toUtf8(), {}, "/dev/full");
        QCOMPARE(r.code, 3);
        QCOMPARE(r.err.section('\n', -2), "kvr: standard output: No space left on device\n");
    }

    // Whatever makes a command fail, an output file that was there stays byte for byte, and no
    // temporary file is left beside it.
    void failureLeavesOutputWhole_data()
    {
        QTest::addColumn<QString>("in"); // "OUT" and "LINK" stand for those files
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("limited");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("err");
        QTest::newRow("input a folder") << "." << QStringList{"convert", "IN", "OUT"} << false << 2 << "Is a directory";
        QTest::newRow("input no puzzle") << QString(81, 'x') << QStringList{"convert", "IN", "OUT"} << false << 2 << "is not a digit";
        QTest::newRow("onto itself") << "OUT" << QStringList{"convert", "IN", "OUT"} << false << 2
                                     << "is the same file as the input";
        QTest::newRow("onto itself through a link") << "LINK" << QStringList{"convert", "IN", "OUT"} << false << 2
                                                    << "is the same file as the input";
        QTest::newRow("disk full") << kEasy << QStringList{"convert", "IN", "OUT"} << true << 3 << "File too large";
        QTest::newRow("generate two into one") << "" << QStringList{"generate", "-n", "2", "-o", "OUT"} << false << 2
                                               << "-o writes one grid";
        QTest::newRow("generate, disk full") << "" << QStringList{"generate", "-o", "OUT"} << true << 3
                                             << "File too large";
    }
    void failureLeavesOutputWhole()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath("old.kvr"), link = dir.filePath("link.kvr");
        QCOMPARE(kvr({"convert", kEasySolution, out}).code, 0);
        const QByteArray before = contents(out);
        QVERIFY(QFile::link(out, link));
        QFETCH(QString, in);
        QFETCH(QStringList, args);
        args.replaceInStrings("IN", in == "OUT" ? out : in == "LINK" ? link : in);
        args.replaceInStrings("OUT", out);
        QFETCH(bool, limited);
        const Run r = kvr(args, {}, limited ? smallFileLimit : std::function<void()>());
        QTEST(r.code, "code");
        QFETCH(QString, err);
        QVERIFY2(r.err.contains(err), qPrintable(r.err));
        QCOMPARE(contents(out), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    // A FIFO is written in place, never replaced by a file.
    void fifoIsWrittenInPlace()
    {
        QTemporaryDir dir;
        const QByteArray fifo = QFile::encodeName(dir.filePath("fifo"));
        QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
        const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(reader >= 0);
        QCOMPARE(kvr({"convert", kEasy, QString::fromUtf8(fifo)}).code, 0);
        char bytes[200] = {};
        const ssize_t got = ::read(reader, bytes, sizeof bytes);
        ::close(reader);
        QCOMPARE(QByteArray(bytes, int(got)), (kEasy + "\n").toUtf8());
        struct stat info {};
        QVERIFY(::stat(fifo.constData(), &info) == 0 && S_ISFIFO(info.st_mode));
    }

    void inputThatCannotBeRead_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("stdinFile"); // "closed" closes it
        QTest::addColumn<QString>("err");
        QTest::newRow("standard input a folder") << QStringList{"solve", "-"} << "/" << "kvr: standard input: Is a directory\n";
        QTest::newRow("standard input closed") << QStringList{"show", "-"} << "closed"
                                               << "kvr: standard input: Bad file descriptor\n";
        QTest::newRow("argument a folder") << QStringList{"check", "/"} << "" << "kvr: /: Is a directory\n";
        QTest::newRow("line of the wrong length") << QStringList{"show", QString(80, '.')} << ""
                                                  << "kvr: puzzle line: a puzzle line has 81 characters, this one has 80\n";
        QTest::newRow("empty file") << QStringList{"show", "/dev/null"} << "" << "kvr: /dev/null: holds no puzzle line\n";
    }
    void inputThatCannotBeRead()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, stdinFile);
        QProcess p;
        if (stdinFile == "closed")
            p.setChildProcessModifier([] { ::close(STDIN_FILENO); });
        else if (!stdinFile.isEmpty())
            p.setStandardInputFile(stdinFile);
        p.start(QStringLiteral(KVR_PATH), args);
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 2);
        QTEST(QString::fromUtf8(p.readAllStandardError()), "err");
    }

    // A line with no end in sight is refused without waiting for it, and a batch goes on after it.
    void longLineRefusedAtOnce()
    {
        QProcess p;
        p.start(QStringLiteral(KVR_PATH), {"show", "-"});
        p.write(QByteArray(1 << 20, '1'));
        QVERIFY(p.waitForFinished(20000)); // standard input is still open
        QCOMPARE(p.exitCode(), 2);
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()),
                 "kvr: standard input, line 1: a puzzle line has 81 characters, this one has more than 1024\n");
        const Run batch = kvr({"solve", "-"}, QByteArray(5 << 20, '1') + "\n" + kEasy.toUtf8() + "\n");
        QCOMPARE(batch.code, 2);
        QCOMPARE(batch.out, kEasySolution + "\n");
        QCOMPARE(batch.err, "kvr: line 1: a puzzle line has 81 characters, this one has more than 1024\n");
    }

    // A .kvr file's solver digits are no givens: a puzzle line leaves them out and says so.
    void lossyConversionSaysSo_data()
    {
        QTest::addColumn<bool>("all");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("err");
        QTest::newRow("givens only") << false << "5...7" + kEasy.mid(5)
                                     << "3 digits placed by a solver left out; --all keeps them";
        QTest::newRow("--all") << true << "534.7.8.." + kEasy.mid(9) << "";
    }
    void lossyConversionSaysSo()
    {
        QTemporaryDir dir;
        const QString in = dir.filePath("Half Solved.KVR"), out = dir.filePath("line.txt");
        QByteArray bytes = contents(kvrOf(kEasy, dir));
        // Square 1 keeps its fixed 5; squares 2, 3 and 7 hold a solver's 3, 4 and 8.
        bytes.replace(3, 6, QByteArray("\x03\x00\x00\x04\x00\x00", 6));
        bytes.replace(18, 3, QByteArray("\x08\x00\x00", 3));
        QVERIFY(writeFile(in, bytes));
        QFETCH(bool, all);
        const Run r = kvr(all ? QStringList{"convert", "--all", in, out} : QStringList{"convert", in, out});
        QCOMPARE(r.code, 0);
        QFETCH(QString, line);
        QCOMPARE(QString::fromUtf8(contents(out)), line + "\n");
        QCOMPARE(kvr({"convert", out, "-"}).out, line + "\n"); // and the line file reads back
        QFETCH(QString, err);
        QCOMPARE(r.err, err.isEmpty() ? err : "kvr: " + in + ": " + err + "\n");
    }

    // kvr rate prints the pinned grades and steps of the known puzzles, every one.
    void rateKnownPuzzles()
    {
        QFile file(QStringLiteral(KAVRIN_TEST_DATA "/grades.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        QString expected;
        QByteArray puzzles;
        while (!file.atEnd())
            if (const QString line = QString::fromUtf8(file.readLine()); !line.startsWith('#')) {
                expected += line;
                puzzles += line.section(':', 0, 0).toUtf8() + "\n";
            }
        const Run r = kvr({"rate", "-"}, puzzles);
        QCOMPARE(r.code, 1); // the table holds puzzles with no and with many solutions
        QCOMPARE(r.out, expected);
    }

    // Distinct, of the grade asked for, the same from the same seed; -o keeps the givens alone.
    void generateDifficulty()
    {
        QTemporaryDir dir;
        const QString saved = dir.filePath("one.kvr");
        const QStringList args{"generate", "--difficulty", "hard", "-n", "6", "--seed", "11"};
        const Run made = kvr(args);
        QCOMPARE(made.code, 0);
        const QStringList puzzles = made.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(QSet<QString>(puzzles.begin(), puzzles.end()).size(), 6);
        QCOMPARE(kvr(args).out, made.out);
        const Run rated = kvr({"rate", "-"}, made.out.toUtf8());
        QCOMPARE(rated.out.count(":hard:"), 6);
        const Run one = kvr({"generate", "--difficulty", "expert", "--seed", "5", "-o", saved});
        QCOMPARE(one.code, 0);
        const QByteArray bytes = contents(saved);
        QCOMPARE(bytes.size(), 243);
        for (int s = 0; s < 81; ++s) {
            const char digit = bytes[qsizetype{3} * s];
            QCOMPARE(digit == 0 ? '.' : char('0' + digit), one.out[s].toLatin1());
            QCOMPARE(bytes.mid(3 * s + 1, 2), QByteArray(digit == 0 ? "\0\0" : "\xFF\xFF", 2));
        }
    }

    void shortKvrFileIsNamed()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("short.kvr");
        QVERIFY(writeFile(path, QByteArray(10, '\1')));
        const Run r = kvr({"show", path});
        QCOMPARE(r.code, 2);
        QCOMPARE(r.err, "kvr: " + path + ": not a puzzle file: it holds 10 bytes, a puzzle needs 243\n");
    }
};

QTEST_GUILESS_MAIN(KvrTest)
#include "test_kvr.moc"
