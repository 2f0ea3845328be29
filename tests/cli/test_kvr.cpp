// kvr end to end: exit codes, error texts, and a batch of generated puzzles solved.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Run {
    int code;
    QString out;
    QString err;
};

Run kvr(const QStringList& args, const QByteArray& input = {})
{
    QProcess p;
    p.start(QStringLiteral(KVR_PATH), args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

const QString kEasy = "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";
const QString kEasySolution = "534678912672195348198342567859761423426853791713924856961537284287419635345286179";
} // namespace

class KvrTest : public QObject {
    Q_OBJECT
private slots:
    void exitCodes_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text"); // in stdout for 0 and 1, in stderr for 2
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: kvr";
        QTest::newRow("solve") << QStringList{"solve", kEasy} << 0 << kEasySolution;
        QTest::newRow("check solved") << QStringList{"check", kEasySolution} << 0 << "3- Puzzle solved.";
        QTest::newRow("check unsolved") << QStringList{"check", kEasy} << 1 << "3- Correct this errors:\n\nError at square 1,1";
        QTest::newRow("solve refused") << QStringList{"solve", "55" + QString(79, '.')} << 1 << "";
        QTest::newRow("show") << QStringList{"show", kEasy} << 0 << "| 5 3 . | . 7 . | . . . |";
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2 << "unknown command: frobnicate";
        QTest::newRow("unknown option") << QStringList{"generate", "--fast"} << 2 << "unknown option for generate: --fast";
        QTest::newRow("bad number") << QStringList{"generate", "-n", "x"} << 2 << "bad number for -n: x";
        QTest::newRow("missing file") << QStringList{"show", "/no/such.kvr"} << 2 << "Cannot open /no/such.kvr";
        QTest::newRow("bad line") << QStringList{"show", QString(80, '.') + "x"} << 2 << "character 81 ('x')";
        QTest::newRow("control byte shown escaped")
            << QStringList{"show", QString(80, '.') + "\x1b"} << 2 << "character 81 ('\\x1b')";
        QTest::newRow("no command") << QStringList{} << 2 << "no command given";
    }
    void exitCodes()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, text);
        const Run r = kvr(args);
        QCOMPARE(r.code, code);
        QVERIFY2((code == 2 ? r.err : r.out).contains(text), qPrintable(r.out + r.err));
    }

    void shortKvrFileIsNamed()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("short.kvr");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(10, '\1'));
        f.close();
        const Run r = kvr({"show", path});
        QCOMPARE(r.code, 2);
        QVERIFY(r.err.contains(path + " is not a puzzle file"));
    }

    void convertRoundTrip()
    {
        QTemporaryDir dir;
        const QString kvrFile = dir.filePath("p.kvr"), lineFile = dir.filePath("p.txt");
        QCOMPARE(kvr({"convert", kEasy, kvrFile}).code, 0);
        QCOMPARE(QFileInfo(kvrFile).size(), 243);
        QCOMPARE(kvr({"convert", kvrFile, lineFile}).code, 0);
        QFile f(lineFile);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()), kEasy + "\n");
        QCOMPARE(kvr({"solve", lineFile}).out.trimmed(), kEasySolution);
    }

    void thousandGeneratedPuzzlesSolve()
    {
        const Run generated = kvr({"generate", "-n", "1000", "--seed", "2026"});
        QCOMPARE(generated.code, 0);
        const QStringList puzzles = generated.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(puzzles.size(), 1000);
        QCOMPARE(generated.err.count("failed attempts"), 1000);
        const Run solved = kvr({"solve", "-"}, generated.out.toUtf8());
        QCOMPARE(solved.code, 0);
        const QStringList solutions = solved.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(solutions.size(), 1000);
        // Exit 0 means every line ended complete and valid; the givens must have stayed.
        for (qsizetype i = 0; i < puzzles.size(); ++i)
            for (qsizetype k = 0; k < 81; ++k)
                QVERIFY(puzzles[i][k] == '.' || puzzles[i][k] == solutions[i][k]);
        QCOMPARE(kvr({"check", solutions.first()}).code, 0);
    }
};

QTEST_GUILESS_MAIN(KvrTest)
#include "test_kvr.moc"
