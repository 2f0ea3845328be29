// The command line's argument text, cleaned: one path, whatever the shell split it into.
#include "files/open_path.h"

#include <QTest>

class OpenPathTest : public QObject {
    Q_OBJECT

private slots:
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("argv");
        QTest::addColumn<QString>("path");
        const QString program = QStringLiteral("/opt/kavrin/Kavrin_Solve");
        QTest::newRow("quoted path kept as one argument")
            << QStringList{program, "\"/home/ann/my puzzles/a.kvr\""} << "/home/ann/my puzzles/a.kvr";
        QTest::newRow("unquoted path split at its blank")
            << QStringList{program, "/home/ann/my", "puzzles/a.kvr"} << "/home/ann/my puzzles/a.kvr";
        QTest::newRow("no arguments") << QStringList{program} << "";
        QTest::newRow("no argv at all") << QStringList{} << "";
        QTest::newRow("inner quotes removed") << QStringList{program, "/tmp/\"odd\"/a\".kvr"} << "/tmp/odd/a.kvr";
        QTest::newRow("quotes only") << QStringList{program, "\"\""} << "";
    }
    void commandLine()
    {
        QFETCH(QStringList, argv);
        QTEST(kavrin::cleanedPath(kavrin::commandLineText(argv)), "path");
    }
};

QTEST_GUILESS_MAIN(OpenPathTest)
#include "test_open_path.moc"
