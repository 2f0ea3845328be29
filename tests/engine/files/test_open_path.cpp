// The command-line text and the cleaning of paths from outside.
#include "files/open_path.h"

#include <QTest>

class OpenPathTest : public QObject {
    Q_OBJECT

private slots:
    void commandLinePath_data()
    {
        QTest::addColumn<QStringList>("argv");
        QTest::addColumn<QString>("path");
        const QString program = QStringLiteral("/opt/kavrin/Kavrin_Solve");
        QTest::newRow("quoted path kept as one argument")
            << QStringList{program, "\"/home/ann/my puzzles/a.kvr\""} << "/home/ann/my puzzles/a.kvr";
        QTest::newRow("unquoted path split at its blank")
            << QStringList{program, "/home/ann/my", "puzzles/a.kvr"} << "/home/ann/my puzzles/a.kvr";
        QTest::newRow("plain path") << QStringList{program, "/tmp/a.kvr"} << "/tmp/a.kvr";
        QTest::newRow("no arguments") << QStringList{program} << "";
        QTest::newRow("no argv at all") << QStringList{} << "";
        QTest::newRow("inner quotes removed")
            << QStringList{program, "/tmp/\"odd\"/a\".kvr"} << "/tmp/odd/a.kvr";
        QTest::newRow("quotes only") << QStringList{program, "\"\""} << "";
    }
    void commandLinePath()
    {
        QFETCH(QStringList, argv);
        QFETCH(QString, path);
        QCOMPARE(kavrin::cleanedPath(kavrin::commandLineText(argv)), path);
    }

    void cleanedPathLeavesTheOriginal()
    {
        const QString original = QStringLiteral("\"/tmp/a.kvr\"");
        QCOMPARE(kavrin::cleanedPath(original), QStringLiteral("/tmp/a.kvr"));
        QCOMPARE(original, QStringLiteral("\"/tmp/a.kvr\""));
    }
};

QTEST_GUILESS_MAIN(OpenPathTest)
#include "test_open_path.moc"
