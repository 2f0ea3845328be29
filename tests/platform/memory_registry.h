// A registry kept in memory, with values of any type and operations that can be made to fail.
#pragma once

#include "registry.h"

#include <map>
#include <set>

namespace kavrin {

enum class RegOperation { Open, Query, Create, Set, Close };

class MemoryRegistry final : public Registry {
public:
    RegKey openKey(const QString& subKey) override;
    std::optional<RegValue> queryValue(RegKey key, const QString& valueName) override;
    RegKey createKey(const QString& subKey) override;
    bool setStringValue(RegKey key, const QString& valueName, const QByteArray& data) override;
    bool closeKey(RegKey key) override;

    // Stores a value directly, creating its key and the keys above it.
    void put(const QString& keyPath, const QString& valueName, const RegValue& value);
    std::optional<RegValue> value(const QString& keyPath, const QString& valueName) const;
    bool hasKey(const QString& keyPath) const;
    void failOn(RegOperation operation);
    // How many values were set through setStringValue.
    int valuesSet() const;
    int openHandles() const;

private:
    using Values = std::map<QString, RegValue>;
    bool failing(RegOperation operation) const;
    void addKeyPath(const QString& keyPath);
    RegKey newHandle(const QString& keyPath);

    std::map<QString, Values> keys_; // by lower-case path
    std::map<RegKey, QString> handles_;
    std::set<RegOperation> failing_;
    RegKey lastHandle_ = kNullKey;
    int valuesSet_ = 0;
};

} // namespace kavrin
