// The file-type registration against a registry in memory: texts, what is kept, what is rewritten, failures.
#include "registry.h"

#include <QCoreApplication>
#include <QTest>

#include <map>
#include <set>

using namespace kavrin;

enum class RegOperation { Open, Query, Create, Set, Close };

Q_DECLARE_METATYPE(RegType)
Q_DECLARE_METATYPE(RegOperation)

namespace {

// Default values of any type by key path; any operation can be made to fail.
class MemoryRegistry final : public Registry {
public:
    RegKey openKey(const QString& subKey) override
    {
        return fails(RegOperation::Open) || !values.contains(subKey) ? kNullKey : handle(subKey);
    }
    std::optional<RegValue> queryValue(RegKey key, const QString& name) override
    {
        if (fails(RegOperation::Query) || !open_.contains(key) || !name.isEmpty() || !values.contains(open_[key]))
            return std::nullopt;
        return values[open_[key]];
    }
    RegKey createKey(const QString& subKey) override { return fails(RegOperation::Create) ? kNullKey : handle(subKey); }
    bool setStringValue(RegKey key, const QString& name, const QByteArray& data) override
    {
        ++valuesSet;
        if (fails(RegOperation::Set) || !open_.contains(key) || !name.isEmpty())
            return false;
        values[open_[key]] = {RegType::String, data};
        return true;
    }
    bool closeKey(RegKey key) override { return !fails(RegOperation::Close) && open_.erase(key) == 1; }

    std::map<QString, RegValue> values;
    std::set<RegOperation> failing;
    int valuesSet = 0; // tried, whether or not they failed
    int openHandles() const { return static_cast<int>(open_.size()); }

private:
    bool fails(RegOperation operation) const { return failing.contains(operation); }
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
const QString kCommandKey = kTitle + QStringLiteral("\\shell\\open\\command");
const QString kIconKey = kTitle + QStringLiteral("\\DefaultIcon");
const QString kCommand = QStringLiteral("\"C:\\Games\\Kavrin\\Kavrin_Solve.exe\" \"%1\"");
const QString kIcon = QStringLiteral("C:\\Games\\Kavrin\\Kavrin_Solve.exe,0");

RegValue stored(const QString& text)
{
    return {RegType::String, text.toUtf8() + '\0'};
}

// Registers the program in C:\Games\Kavrin; the values set.
int registerInto(MemoryRegistry& registry)
{
    RegisterFileType(registry, RegistrationEntriesFor(kTitle, QStringLiteral("C:\\Games\\Kavrin"), QStringLiteral("Kavrin_Solve")));
    return registry.valuesSet;
}

} // namespace

class RegistrationTest : public QObject {
    Q_OBJECT

private slots:
    // The running program's three entries: the type names the title, the command and icon the executable.
    void entriesOfTheRunningProgram()
    {
        const QString executable = QCoreApplication::applicationDirPath() + "\\platform_registration_test.exe";
        QCOMPARE(RegistrationEntriesForRunningApplication(),
                 (RegistrationEntries{{{kFileTypeKey, QString(), kTitle},
                                       {kCommandKey, QString(), '"' + executable + "\" \"%1\""},
                                       {kIconKey, QString(), executable + ",0"}}}));
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
        QCOMPARE(registerInto(registry), kept ? 2 : 3);
        std::map<QString, RegValue> expected{{kFileTypeKey, stored(kTitle)}, {kCommandKey, stored(kCommand)},
                                             {kIconKey, stored(kIcon)}};
        if (kept)
            expected[key] = {type, data};
        QCOMPARE(registry.values, expected);
        QCOMPARE(registry.openHandles(), 0);
    }

    // Every failure is ignored; a key that cannot be opened or queried reads empty and is written over.
    void failuresIgnored_data()
    {
        QTest::addColumn<RegOperation>("failing");
        QTest::addColumn<int>("valuesSet");
        QTest::addColumn<bool>("valuesStored");
        QTest::newRow("open") << RegOperation::Open << 3 << true;
        QTest::newRow("query") << RegOperation::Query << 3 << true;
        QTest::newRow("create") << RegOperation::Create << 0 << false;
        QTest::newRow("set") << RegOperation::Set << 2 << false;
        QTest::newRow("close") << RegOperation::Close << 2 << true;
    }
    void failuresIgnored()
    {
        QFETCH(RegOperation, failing);
        QFETCH(bool, valuesStored);
        MemoryRegistry registry;
        registry.values[kFileTypeKey] = stored(QStringLiteral("Other.Type"));
        registry.failing.insert(failing);
        QTEST(registerInto(registry), "valuesSet");
        QCOMPARE(registry.values.size(), std::size_t(valuesStored ? 3 : 1));
    }
};

QTEST_GUILESS_MAIN(RegistrationTest)
#include "registration_test.moc"
