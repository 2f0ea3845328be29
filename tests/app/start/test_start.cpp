// Kavrin_Solve started for real, offscreen, in a throw-away home: one copy at a time, the
// puzzle type registered after the first start, and a puzzle named on the command line shown.
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
    void secondStartEndsAndTheFirstRegisters()
    {
        QTemporaryDir home;
        const QProcessEnvironment env = homeEnvironment(home);
        const QString program = installedCopy(home);
        const QString puzzle = home.filePath("start puzzle.kvr");
        QFile file(puzzle);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\x06\xff\xff", 3) + QByteArray(240, '\0'));
        file.close();

        QProcess first;
        first.setProcessEnvironment(env);
        first.start(program, {puzzle});
        QVERIFY(first.waitForStarted());
        const QString list = home.filePath("bin/Recent Files.txt");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(list), 20000); // the command line's file was opened
        QFile recent(list);
        QVERIFY(recent.open(QIODevice::ReadOnly));
        QCOMPARE(recent.readAll(), '"' + puzzle.toUtf8() + "\"\r\n");

        QProcess second;
        second.setProcessEnvironment(env);
        second.start(program, QStringList());
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        QCOMPARE(output("xdg-mime", {"query", "filetype", puzzle}, env), QString("application/x-kavrin-puzzle"));
        QCOMPARE(output("xdg-mime", {"query", "default", "application/x-kavrin-puzzle"}, env),
                 QString("kavrin-solve.desktop"));
        first.kill();
        first.waitForFinished();
    }

    // A copy killed outright leaves its lock behind; the next start must not take it for a running copy.
    void staleLockDoesNotBlock()
    {
        QTemporaryDir home;
        const QProcessEnvironment env = homeEnvironment(home);
        const QString program = installedCopy(home);
        QProcess first;
        first.setProcessEnvironment(env);
        first.start(program, QStringList());
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(home.filePath("run/kavrin-solve.lock")), 20000);
        first.kill();
        first.waitForFinished();

        QProcess next;
        next.setProcessEnvironment(env);
        next.start(program, QStringList());
        QVERIFY(next.waitForStarted());
        QVERIFY(!next.waitForFinished(3000)); // still running: it took the lock
        next.kill();
        next.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(StartTest)
#include "test_start.moc"
