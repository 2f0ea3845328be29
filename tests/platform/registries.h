// Registries for the registration tests: one kept in memory, and a counter of the values set.
#pragma once

#include "registry.h"

#include <map>
#include <set>

namespace kavrin::test {

// Passes every operation on, counting the values set, so that "nothing written" can be seen.
class CountingRegistry final : public Registry {
public:
    explicit CountingRegistry(Registry& inner) : inner_(inner) {}
    RegKey openKey(const QString& subKey) override { return inner_.openKey(subKey); }
    std::optional<RegValue> queryValue(RegKey key, const QString& name) override { return inner_.queryValue(key, name); }
    RegKey createKey(const QString& subKey) override { return inner_.createKey(subKey); }
    bool setStringValue(RegKey key, const QString& name, const QByteArray& data) override
    {
        ++valuesSet;
        return inner_.setStringValue(key, name, data);
    }
    bool closeKey(RegKey key) override { return inner_.closeKey(key); }
    int valuesSet = 0;

private:
    Registry& inner_;
};

enum class RegOperation { Open, Query, Create, Set, Close };

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
        if (fails(RegOperation::Set) || !open_.contains(key) || !name.isEmpty())
            return false;
        values[open_[key]] = {RegType::String, data};
        return true;
    }
    bool closeKey(RegKey key) override { return !fails(RegOperation::Close) && open_.erase(key) == 1; }

    std::map<QString, RegValue> values;
    std::set<RegOperation> failing;
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

} // namespace kavrin::test
