// Kavrin_Solve started for real, offscreen, in a throw-away home: one copy at a time, a later
// start's file opened by the running copy, and the puzzle type registered after the first start.
#include "test_files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The runtime folder must be the user's alone, or it is not used.
QProcessEnvironment homeEnvironment(const QTemporaryDir& home)
{
    QDir().mkpath(home.filePath("run"));
    QFile::setPermissions(home.filePath("run"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", home.path());
    env.insert("XDG_DATA_HOME", home.filePath("data"));
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    env.insert("XDG_RUNTIME_DIR", home.filePath("run"));
    return env;
}

// A copy of the program in the home, so that its recent list beside it is throw-away too.
QString installedCopy(const QTemporaryDir& home)
{
    QString copy = home.filePath("bin/Kavrin_Solve");
    QDir().mkpath(home.filePath("bin"));
    QFile::copy(QStringLiteral(KAVRIN_SOLVE_PATH), copy);
    return copy;
}

QString output(const QString& program, const QStringList& arguments, const QProcessEnvironment& env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

} // namespace

class StartTest : public QObject {
    Q_OBJECT
private slots:
    // The second start ends at once, handing over its file, named relative to its own working folder.
    void laterStartHandsOverItsFileAndTheFirstRegisters()
    {
        QTemporaryDir home;
        const QProcessEnvironment env = homeEnvironment(home);
        const QString program = installedCopy(home);
        QVERIFY(QDir(home.path()).mkpath("puzzles/sub"));
        const QString puzzle = home.filePath("puzzles/start puzzle.kvr");
        QVERIFY(kavrin::test::writeFile(puzzle, kavrin::test::puzzleBytes("\x06\xff\xff")));

        QProcess first;
        first.setProcessEnvironment(env);
        first.start(program, QStringList());
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(home.filePath("run/org.kavrin.kavrin_solve.socket")), 20000);

        QProcess second;
        second.setProcessEnvironment(env);
        second.setWorkingDirectory(home.filePath("puzzles/sub"));
        second.start(program, {"../start puzzle.kvr"});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        const QString list = home.filePath("bin/Recent Files.txt");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(list), 20000); // the running copy opened it
        QCOMPARE(kavrin::test::contents(list), '"' + puzzle.toUtf8() + "\"\r\n");

        QCOMPARE(output("xdg-mime", {"query", "filetype", puzzle}, env), QString("application/x-kavrin-puzzle"));
        QCOMPARE(output("xdg-mime", {"query", "default", "application/x-kavrin-puzzle"}, env),
                 QString("org.kavrin.kavrin_solve.desktop"));
        first.kill();
        first.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(StartTest)
#include "test_start.moc"
