// The file-type registration against a registry in memory: texts, what is kept, what is rewritten.
#include "registry.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QTest>

#include <cstddef>
#include <map>
#include <optional>

using namespace kavrin;

Q_DECLARE_METATYPE(RegType)

namespace {

// Default values of any type by key path.
class MemoryRegistry final : public Registry {
public:
    RegKey openKey(const QString& subKey) override { return values.contains(subKey) ? handle(subKey) : kNullKey; }
    std::optional<RegValue> queryValue(RegKey key, const QString& name) override
    {
        if (!open_.contains(key) || !name.isEmpty() || !values.contains(open_[key]))
            return std::nullopt;
        return values[open_[key]];
    }
    RegKey createKey(const QString& subKey) override { return handle(subKey); }
    bool setStringValue(RegKey key, const QString& name, const QByteArray& data) override
    {
        if (!open_.contains(key) || !name.isEmpty())
            return false;
        values[open_[key]] = {RegType::String, data};
        return true;
    }
    bool closeKey(RegKey key) override { return open_.erase(key) == 1; }

    std::map<QString, RegValue> values;
    int openHandles() const { return static_cast<int>(open_.size()); }

private:
    RegKey handle(const QString& keyPath)
    {
        open_[++lastHandle_] = keyPath;
        return lastHandle_;
    }

    std::map<RegKey, QString> open_;
    RegKey lastHandle_ = kNullKey;
};

const QString kTitle = QStringLiteral("Ka\u00A0Vr\u00A0In");
const QString kFileTypeKey = QStringLiteral(".kvr");
const QString kCommandKey = QStringLiteral("Ka\u00A0Vr\u00A0In\\shell\\open\\command");
const QString kIconKey = QStringLiteral("Ka\u00A0Vr\u00A0In\\DefaultIcon");

// A string value as stored: the text's bytes and the literal's own terminating null.
template <std::size_t N>
RegValue stored(const char (&text)[N])
{
    return {RegType::String, QByteArray(text, N)};
}

} // namespace

class RegistrationTest : public QObject {
    Q_OBJECT

private slots:
    // The three entries for an executable, written out whole.
    void entries_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("baseName");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("icon");
        QTest::newRow("a folder") << "C:\\Games\\Kavrin" << "Kavrin_Solve"
                                  << "\"C:\\Games\\Kavrin\\Kavrin_Solve.exe\" \"%1\"" << "C:\\Games\\Kavrin\\Kavrin_Solve.exe,0";
        QTest::newRow("a drive root: no second backslash")
            << "C:\\" << "Kavrin_Solve" << "\"C:\\Kavrin_Solve.exe\" \"%1\"" << "C:\\Kavrin_Solve.exe,0";
        QTest::newRow("a renamed executable") << "D:\\x y" << "Puzzles"
                                              << "\"D:\\x y\\Puzzles.exe\" \"%1\"" << "D:\\x y\\Puzzles.exe,0";
    }
    void entries()
    {
        QFETCH(QString, folder);
        QFETCH(QString, baseName);
        QFETCH(QString, command);
        QFETCH(QString, icon);
        const kavrin::RegistrationEntries entries = RegistrationEntriesFor(kTitle, folder, baseName);
        QCOMPARE(entries[0], (RegistrationEntry{kFileTypeKey, QString(), kTitle}));
        QCOMPARE(entries[1], (RegistrationEntry{kCommandKey, QString(), command}));
        QCOMPARE(entries[2], (RegistrationEntry{kIconKey, QString(), icon}));
    }

    // The running program's: the program title, this test's own folder and name.
    void entriesOfTheRunningProgram()
    {
        QCOMPARE(RegistrationEntriesForRunningApplication(),
                 RegistrationEntriesFor(QString::fromUtf8("Ka\xc2\xa0Vr\xc2\xa0In"), QCoreApplication::applicationDirPath(),
                                        QStringLiteral("platform_registration_test")));
    }

    // One value set before: kept when it reads as text, else our value is written over it.
    void presetValue_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<RegType>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("kept");
        const QByteArray other("Other.Program\0", 14);
        QTest::newRow("file type of another program") << kFileTypeKey << RegType::String << other << true;
        QTest::newRow("open command") << kCommandKey << RegType::String << other << true;
        QTest::newRow("icon") << kIconKey << RegType::String << other << true;
        QTest::newRow("binary, even empty, reads as a number") << kCommandKey << RegType::Binary << QByteArray() << true;
        QTest::newRow("text after a null only") << kCommandKey << RegType::String << QByteArray("\0cd", 3) << false;
        QTest::newRow("no data at all") << kCommandKey << RegType::String << QByteArray() << false;
        QTest::newRow("expandable string") << kCommandKey << RegType::ExpandString << other << false;
        QTest::newRow("double word") << kCommandKey << RegType::DoubleWord << QByteArray("\x01\0\0\0", 4) << false;
    }
    void presetValue()
    {
        QFETCH(QString, key);
        QFETCH(RegType, type);
        QFETCH(QByteArray, data);
        QFETCH(bool, kept);
        MemoryRegistry registry;
        registry.values[key] = {type, data};
        RegisterFileType(registry, RegistrationEntriesFor(kTitle, QStringLiteral("C:\\Games\\Kavrin"), QStringLiteral("Kavrin_Solve")));
        std::map<QString, RegValue> expected{
            {kFileTypeKey, stored("Ka\xc2\xa0Vr\xc2\xa0In")},
            {kCommandKey, stored("\"C:\\Games\\Kavrin\\Kavrin_Solve.exe\" \"%1\"")},
            {kIconKey, stored("C:\\Games\\Kavrin\\Kavrin_Solve.exe,0")}};
        if (kept)
            expected[key] = {type, data};
        QCOMPARE(registry.values, expected);
        QCOMPARE(registry.openHandles(), 0);
    }
};

QTEST_GUILESS_MAIN(RegistrationTest)
#include "registration_test.moc"
