// The desktop registry end to end in private XDG folders: what is written, what is read back, and
// registrations of other programs left alone. test_start asks the desktop's own tools.
#include "registries.h"
#include "window_icon.h"
#include "xdg_registry.h"

#include "file_permissions.h"
#include "test_files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <csignal>

namespace {

const QString kTitle = QStringLiteral("Ka\u00A0Vr\u00A0In");

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()) && kavrin::test::writeFile(path, bytes));
}

} // namespace

class XdgRegistryTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> root_;

    QString path(const QString& relative) const { return root_->filePath(relative); }
    QString executable() const { return path(QStringLiteral("bin dir/Kavrin_Solve")); }
    QString packagePath() const { return path(QStringLiteral("data/mime/packages/org.kavrin.kavrin_solve.xml")); }
    QString desktopPath() const { return path(QStringLiteral("data/applications/org.kavrin.kavrin_solve.desktop")); }
    QString mimeappsPath() const { return path(QStringLiteral("config/mimeapps.list")); }
    QString iconPath(int size) const
    {
        return path(QStringLiteral("data/icons/hicolor/%1x%1/apps/org.kavrin.kavrin_solve.png").arg(size));
    }

    int registerOnce()
    {
        kavrin::XdgRegistry desktop(executable());
        kavrin::test::CountingRegistry counting(desktop);
        kavrin::RegisterFileType(counting, kavrin::RegistrationEntriesFor(kTitle, QStringLiteral("C:\\K"),
                                                                           QStringLiteral("Kavrin_Solve")));
        return counting.valuesSet;
    }

    // The database is brought up to date in the background.
    bool databaseUpdated() const
    {
        return QTest::qWaitFor([this] {
            return readFile(path(QStringLiteral("data/mime/globs2"))).contains("application/x-kavrin-puzzle");
        }, 10000);
    }

private slots:
    void init()
    {
        root_ = std::make_unique<QTemporaryDir>();
        QVERIFY(root_->isValid());
        qputenv("XDG_DATA_HOME", path(QStringLiteral("data")).toUtf8());
        qputenv("XDG_CONFIG_HOME", path(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_DIRS", path(QStringLiteral("system-data")).toUtf8());
        qputenv("XDG_CONFIG_DIRS", path(QStringLiteral("system-config")).toUtf8());
        qunsetenv("XDG_CURRENT_DESKTOP");
    }

    // The database runs in the background; each ends before its folder goes.
    void cleanup()
    {
        for (QProcess* update : QCoreApplication::instance()->findChildren<QProcess*>())
            update->waitForFinished(10000);
    }

    void execArgument_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("written");
        QTest::newRow("plain") << "/usr/bin/Kavrin_Solve" << "/usr/bin/Kavrin_Solve";
        QTest::newRow("space") << "/opt/my games/K" << "\"/opt/my games/K\"";
        QTest::newRow("dollar") << "/x$y/K" << "\"/x\\\\$y/K\"";
        QTest::newRow("backslash") << "/x\\y/K" << "\"/x\\\\\\\\y/K\"";
        QTest::newRow("double quote") << "/a\"b/K" << "\"/a\\\\\"b/K\"";
        QTest::newRow("percent") << "/100%/K" << "/100%%/K";
        QTest::newRow("percent and space") << "/100 %/K" << "\"/100 %%/K\"";
        QTest::newRow("newline") << "/a\nb/K" << "\"/a\\nb/K\"";
        QTest::newRow("empty") << "" << "\"\"";
    }

    void execArgument()
    {
        QFETCH(QString, argument);
        QFETCH(QString, written);
        QCOMPARE(kavrin::DesktopExecArgument(argument), written);
    }

    // A clean desktop gets all three; a second start writes nothing; a damaged part is mended alone.
    void registeredOnceAndMended()
    {
        QCOMPARE(registerOnce(), 3);
        const QByteArray package = readFile(packagePath());
        QVERIFY(package.contains("type=\"application/x-kavrin-puzzle\""));
        QVERIFY(package.contains("<glob pattern=\"*.kvr\"/>"));
        QVERIFY(package.contains("<comment>" + kTitle.toUtf8() + "</comment>"));
        QVERIFY(databaseUpdated());
        QVERIFY(readFile(path(QStringLiteral("data/mime/globs2"))).contains("application/x-kavrin-puzzle:*.kvr"));

        const QByteArray entry = readFile(desktopPath());
        QVERIFY(entry.contains("\nExec=" + kavrin::DesktopExecArgument(executable()).toUtf8() + " %f\n"));
        QVERIFY(entry.contains("\nName=" + kTitle.toUtf8() + '\n'));
        QVERIFY(entry.contains("\nMimeType=application/x-kavrin-puzzle;\n"));
        QVERIFY(entry.contains("\nKeywords=sudoku;")); // the installed entry's, whole
        QCOMPARE(readFile(mimeappsPath()),
                 QByteArray("[Default Applications]\napplication/x-kavrin-puzzle=org.kavrin.kavrin_solve.desktop;\n"));
        for (const int size : kavrin::kIconSizes)
            QCOMPARE(readFile(iconPath(size)), readFile(QStringLiteral(":/icons/AAA/%1.png").arg(size)));
        QVERIFY(!readFile(iconPath(48)).isEmpty());

        QCOMPARE(registerOnce(), 0);
        QCOMPARE(readFile(desktopPath()), entry);
        writeFile(desktopPath(), "[Desktop Entry]\nType=Application\nName=x\nExec=\n");
        QCOMPARE(registerOnce(), 1);
        QCOMPARE(readFile(desktopPath()), entry);
        for (const int size : kavrin::kIconSizes)
            QVERIFY(QFile::remove(iconPath(size)));
        QCOMPARE(registerOnce(), 1);
        QVERIFY(QFile::exists(iconPath(32)));
    }

    // What other programs set up first is kept: registration writes around it.
    void othersKept_data()
    {
        QTest::addColumn<QStringList>("presets"); // path, then contents, for each file
        QTest::addColumn<int>("valuesSet");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        const QString other = QStringLiteral("[Desktop Entry]\nType=Application\nName=Other\nExec=true %f\n");
        const QString otherDefault =
            QStringLiteral("[Default Applications]\napplication/x-kavrin-puzzle=other.desktop");
        const QString package = QStringLiteral("data/mime/packages/org.kavrin.kavrin_solve.xml");
        const QString entry = QStringLiteral("data/applications/org.kavrin.kavrin_solve.desktop");
        QTest::newRow("a default of ours for another program")
            << QStringList{"config/mimeapps.list", otherDefault + ";\n", "data/applications/other.desktop",
                           other + "MimeType=application/x-kavrin-puzzle;\n"}
            << 2 << QStringList{package, "data/icons/hicolor/16x16/apps/org.kavrin.kavrin_solve.png"} << QStringList{entry};
        QTest::newRow("that default in the system folders")
            << QStringList{"system-config/mimeapps.list", otherDefault + "\n", "system-data/applications/other.desktop",
                           other}
            << 2 << QStringList{} << QStringList{"config/mimeapps.list"};
        QTest::newRow("*.kvr claimed by another type")
            << QStringList{"system-data/mime/globs2", "# other\n50:text/x-other:*.KVR\n"} << 2 << QStringList{entry}
            << QStringList{package};
        QTest::newRow("a case-sensitive glob of another case is no claim")
            << QStringList{"system-data/mime/globs2", "50:text/x-other:*.KVR:cs\n"} << 3 << QStringList{package}
            << QStringList{};
        QTest::newRow("files where the folders should be")
            << QStringList{"data", "not a folder", "config", "not a folder"} << 3 << QStringList{}
            << QStringList{package};
    }
    void othersKept()
    {
        QFETCH(QStringList, presets);
        for (qsizetype i = 0; i + 1 < presets.size(); i += 2)
            writeFile(path(presets[i]), presets[i + 1].toUtf8());
        const QByteArray mimeapps = readFile(mimeappsPath());
        QTEST(registerOnce(), "valuesSet");
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        for (const QString& file : present)
            QVERIFY2(QFile::exists(path(file)), qPrintable(file));
        for (const QString& file : absent)
            QVERIFY2(!QFile::exists(path(file)), qPrintable(file));
        if (presets.first() == QLatin1String("config/mimeapps.list"))
            QCOMPARE(readFile(mimeappsPath()), mimeapps);
    }

    // Another program's settings file is rewritten only from a whole read, and only our line changes.
    void mimeappsListKeptByteForByte_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("permissions"); // 0: as created
        QTest::addColumn<QByteArray>("after");
        const QByteArray ours = "application/x-kavrin-puzzle=org.kavrin.kavrin_solve.desktop;\n";
        QTest::newRow("a default naming a missing file replaced")
            << QByteArray("[Added Associations]\ntext/plain=a.desktop;\n\n[Default Applications]\ntext/plain=b.desktop;\n"
                          "application/x-kavrin-puzzle=gone.desktop;\nimage/png=c.desktop;\n")
            << 0
            << "[Added Associations]\ntext/plain=a.desktop;\n\n[Default Applications]\ntext/plain=b.desktop;\n" + ours
                   + "image/png=c.desktop;\n";
        QTest::newRow("added after the others, blank lines kept")
            << QByteArray("[Default Applications]\ntext/plain=b.desktop;\n\n\n[Added Associations]\ntext/plain=a.desktop;\n\n")
            << 0
            << "[Default Applications]\ntext/plain=b.desktop;\n" + ours
                   + "\n\n[Added Associations]\ntext/plain=a.desktop;\n\n";
        QTest::newRow("bytes that are not UTF-8")
            << QByteArray("# caf\xe9\r\n[Default Applications]\r\ntext/plain=b\xff.desktop;")
            << 0 << "# caf\xe9\r\n[Default Applications]\r\ntext/plain=b\xff.desktop;\n" + ours.chopped(1);
        QTest::newRow("no section yet") << QByteArray("[Added Associations]\ntext/plain=a\xe9;") << 0
                                        << "[Added Associations]\ntext/plain=a\xe9;\n\n[Default Applications]\n" + ours;
        const QByteArray others = "[Default Applications]\ntext/plain=b.desktop;\n";
        QTest::newRow("unreadable: left alone") << others << int(QFile::WriteOwner) << others;
        QTest::newRow("read-only: left alone") << others << int(QFile::ReadOwner) << others;
    }
    void mimeappsListKeptByteForByte()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, permissions);
        writeFile(mimeappsPath(), before);
        if (permissions != 0)
            QVERIFY(QFile::setPermissions(mimeappsPath(), QFile::Permissions(permissions)));
        {
            const kavrin::test::PermissionsApply asAnyUser;
            QVERIFY(asAnyUser.applied());
            registerOnce();
        }
        QFile::setPermissions(mimeappsPath(), QFile::ReadOwner | QFile::WriteOwner);
        QTEST(readFile(mimeappsPath()), "after");
    }

    // The database tool runs on its own: one that hangs holds up nothing.
    void aHungDatabaseToolDoesNotHoldUpRegistration()
    {
        const QString bin = path(QStringLiteral("bin"));
        const QString pidFile = path(QStringLiteral("tool.pid"));
        writeFile(bin + QStringLiteral("/update-mime-database"),
                  "#!/bin/sh\necho $$ > '" + QFile::encodeName(pidFile) + "'\nexec sleep 600\n");
        QVERIFY(QFile::setPermissions(bin + QStringLiteral("/update-mime-database"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QByteArray searchPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin) + ':' + searchPath);
        QCOMPARE(registerOnce(), 3);
        qputenv("PATH", searchPath);
        QTRY_VERIFY(!readFile(pidFile).trimmed().isEmpty());
        const pid_t tool = readFile(pidFile).trimmed().toInt();
        QCOMPARE(::kill(tool, 0), 0); // registration is over, and the tool still runs
        ::kill(tool, SIGKILL);
    }
};

QTEST_GUILESS_MAIN(XdgRegistryTest)
#include "xdg_registry_test.moc"
