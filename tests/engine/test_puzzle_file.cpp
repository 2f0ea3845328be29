// The .kvr layout byte by byte, malformed files, and saves that fail without harm.
#include "fakes.h"
#include "files/load_save.h"
#include "model/board.h"
#include "model/colour.h"
#include "recording_prompter.h"
#include "test_files.h"

#include <QByteArray>
#include <QDir>
#include <QList>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QtGlobal>

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <string>

#include <sys/resource.h>

using namespace kavrin;
using namespace kavrin::test;

class PuzzleFileTest : public QObject {
    Q_OBJECT
private slots:
    // One record in a file of empty ones: its three bytes read as the digit and the flag's two
    // bytes, and it lands on its square, 3 bytes a square from the start. What follows the 243
    // bytes is ignored: here it would be a fixed 1 in a square 82.
    void decode_data()
    {
        QTest::addColumn<int>("square");
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<int>("digit");
        QTest::addColumn<bool>("fixed");
        QTest::newRow("fixed 5") << 1 << QByteArray("\x05\xFF\xFF") << 5 << true;
        QTest::newRow("solver 7") << 1 << QByteArray("\x07\x00\x00", 3) << 7 << false;
        QTest::newRow("low flag byte alone") << 1 << QByteArray("\x07\x01\x00", 3) << 7 << true;
        QTest::newRow("high flag byte alone") << 1 << QByteArray("\x07\x00\x01", 3) << 7 << true;
        QTest::newRow("9 is a digit") << 1 << QByteArray("\x09\x00\x00", 3) << 9 << false;
        QTest::newRow("10 is empty, its flag dropped") << 1 << QByteArray("\x0A\xFF\xFF") << 0 << false;
        QTest::newRow("last square") << 81 << QByteArray("\x04\xFF\xFF") << 4 << true;
    }
    void decode()
    {
        QFETCH(int, square);
        QFETCH(QByteArray, record);
        QByteArray bytes = QByteArray(243, '\0') + "\x01\xFF\xFF";
        bytes.replace(qsizetype{3} * (square - 1), 3, record);
        QTemporaryDir dir;
        const QString path = dir.filePath("p.kvr");
        QVERIFY(writeFile(path, bytes));
        Board board;
        board.SetSquare(square, 3, true, kYellow);
        QVERIFY(loadPuzzleFile(board, path).ok());
        QFETCH(int, digit);
        QCOMPARE(int(board[square].Digit), digit);
        QTEST(board[square].Fixed, "fixed");
        QCOMPARE(board.background(square), kWhite);
        std::string others = digitsOf(board);
        others.erase(std::size_t(square - 1), 1);
        QCOMPARE(others, std::string(80, '0'));
    }

    void roundTrip()
    {
        Board board = boardFromLine("12......." + std::string(72, '.'));
        board.SetSquare(81, 9, false, kWhite);
        QTemporaryDir dir;
        const QString path = dir.filePath("round.kvr");
        QVERIFY(writeFile(path, QByteArray(400, 'x'))); // a longer old file is replaced whole
        QVERIFY(savePuzzleFile(board, path).ok());
        const QByteArray bytes = contents(path);
        QCOMPARE(bytes.size(), 243);
        QCOMPARE(bytes.left(6), QByteArray("\x01\xFF\xFF\x02\xFF\xFF"));
        QCOMPARE(bytes.right(3), QByteArray("\x09\x00\x00", 3));
        Board loaded;
        QVERIFY(loadPuzzleFile(loaded, path).ok());
        for (int s = 1; s <= 81; ++s)
            QCOMPARE(loaded[s], board[s]);
        QVERIFY(savePuzzleFile(Board(), path).ok());
        QCOMPARE(contents(path), QByteArray(243, '\0'));
    }

    void refusedLoadsLeaveTheBoard_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<FileResult::Kind>("kind");
        QTest::newRow("missing") << QByteArray() << false << FileResult::Kind::CannotOpen;
        QTest::newRow("empty") << QByteArray() << true << FileResult::Kind::TooShort;
        QTest::newRow("truncated") << QByteArray(242, '\x01') << true << FileResult::Kind::TooShort;
    }
    void refusedLoadsLeaveTheBoard()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("bad.kvr");
        QFETCH(QByteArray, bytes);
        QFETCH(bool, exists);
        if (exists)
            QVERIFY(writeFile(path, bytes));
        Board board = boardFromLine("9........" + std::string(72, '.'));
        const FileResult result = loadPuzzleFile(board, path);
        QTEST(result.kind, "kind");
        // Only the system can say why a file would not open.
        QCOMPARE(result.reason.isEmpty(), result.kind != FileResult::Kind::CannotOpen);
        QCOMPARE(board[1], (SquareInfo{9, true}));
    }

    void failedSaveKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("old.kvr");
        const QByteArray old = puzzleBytes("\x05\xFF\xFF");
        QVERIFY(writeFile(path, old));
        // Writes past 100 bytes fail, as on a full disk; root ignores folder rights, this not.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 100;
        setrlimit(RLIMIT_FSIZE, &small);
        const FileResult result = savePuzzleFile(boardFromLine(std::string(81, '1')), path);
        setrlimit(RLIMIT_FSIZE, &saved);
        QCOMPARE(result.kind, FileResult::Kind::CannotWrite);
        QCOMPARE(result.reason, qt_error_string(EFBIG));
        QCOMPARE(contents(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.kvr"});
        const FileResult noFolder = savePuzzleFile(Board(), dir.filePath("no/such/folder.kvr"));
        QCOMPARE(noFolder.kind, FileResult::Kind::CannotWrite);
        QVERIFY(!noFolder.reason.isEmpty());
    }
};

QTEST_APPLESS_MAIN(PuzzleFileTest)
#include "test_puzzle_file.moc"
