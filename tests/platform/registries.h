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

// Keys hold values of any type; any operation can be made to fail.
class MemoryRegistry final : public Registry {
public:
    RegKey openKey(const QString& subKey) override
    {
        return failing.contains(RegOperation::Open) || !keys_.contains(subKey) ? kNullKey : handle(subKey);
    }
    std::optional<RegValue> queryValue(RegKey key, const QString& name) override
    {
        if (failing.contains(RegOperation::Query) || !handles_.contains(key))
            return std::nullopt;
        return value(handles_.at(key), name);
    }
    RegKey createKey(const QString& subKey) override
    {
        if (failing.contains(RegOperation::Create))
            return kNullKey;
        keys_[subKey];
        return handle(subKey);
    }
    bool setStringValue(RegKey key, const QString& name, const QByteArray& data) override
    {
        if (failing.contains(RegOperation::Set) || !handles_.contains(key))
            return false;
        keys_[handles_.at(key)][name] = {RegType::String, data};
        return true;
    }
    bool closeKey(RegKey key) override { return !failing.contains(RegOperation::Close) && handles_.erase(key) == 1; }

    void put(const QString& keyPath, const QString& name, const RegValue& value) { keys_[keyPath][name] = value; }
    std::optional<RegValue> value(const QString& keyPath, const QString& name) const
    {
        const auto key = keys_.find(keyPath);
        if (key == keys_.end() || !key->second.contains(name))
            return std::nullopt;
        return key->second.at(name);
    }
    int openHandles() const { return static_cast<int>(handles_.size()); }
    std::set<RegOperation> failing;

private:
    RegKey handle(const QString& keyPath)
    {
        handles_[++lastHandle_] = keyPath;
        return lastHandle_;
    }

    std::map<QString, std::map<QString, RegValue>> keys_;
    std::map<RegKey, QString> handles_;
    RegKey lastHandle_ = kNullKey;
};

} // namespace kavrin::test
