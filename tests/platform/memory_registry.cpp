// A registry kept in memory.
#include "memory_registry.h"

#include <QStringList>

namespace kavrin {

namespace {

QString folded(const QString& text)
{
    return text.toCaseFolded();
}

} // namespace

bool MemoryRegistry::failing(RegOperation operation) const
{
    return failing_.contains(operation);
}

void MemoryRegistry::addKeyPath(const QString& keyPath)
{
    const QStringList parts = folded(keyPath).split(u'\\');
    QString path;
    for (const QString& part : parts) {
        path = path.isEmpty() ? part : path + u'\\' + part;
        keys_.try_emplace(path);
    }
}

RegKey MemoryRegistry::newHandle(const QString& keyPath)
{
    handles_.emplace(++lastHandle_, folded(keyPath));
    return lastHandle_;
}

RegKey MemoryRegistry::openKey(const QString& subKey)
{
    if (failing(RegOperation::Open) || !hasKey(subKey))
        return kNullKey;
    return newHandle(subKey);
}

std::optional<RegValue> MemoryRegistry::queryValue(RegKey key, const QString& valueName)
{
    const auto handle = handles_.find(key);
    if (failing(RegOperation::Query) || handle == handles_.end())
        return std::nullopt;
    const Values& values = keys_.at(handle->second);
    const auto found = values.find(folded(valueName));
    if (found == values.end())
        return std::nullopt;
    return found->second;
}

RegKey MemoryRegistry::createKey(const QString& subKey)
{
    if (failing(RegOperation::Create) || subKey.isEmpty())
        return kNullKey;
    addKeyPath(subKey);
    return newHandle(subKey);
}

bool MemoryRegistry::setStringValue(RegKey key, const QString& valueName, const QByteArray& data)
{
    const auto handle = handles_.find(key);
    if (failing(RegOperation::Set) || handle == handles_.end())
        return false;
    keys_.at(handle->second)[folded(valueName)] = RegValue{RegType::String, data};
    ++valuesSet_;
    return true;
}

bool MemoryRegistry::closeKey(RegKey key)
{
    if (failing(RegOperation::Close))
        return false;
    return handles_.erase(key) == 1;
}

void MemoryRegistry::put(const QString& keyPath, const QString& valueName, const RegValue& value)
{
    addKeyPath(keyPath);
    keys_.at(folded(keyPath))[folded(valueName)] = value;
}

std::optional<RegValue> MemoryRegistry::value(const QString& keyPath, const QString& valueName) const
{
    const auto key = keys_.find(folded(keyPath));
    if (key == keys_.end())
        return std::nullopt;
    const auto found = key->second.find(folded(valueName));
    if (found == key->second.end())
        return std::nullopt;
    return found->second;
}

bool MemoryRegistry::hasKey(const QString& keyPath) const
{
    return keys_.contains(folded(keyPath));
}

void MemoryRegistry::failOn(RegOperation operation)
{
    failing_.insert(operation);
}

int MemoryRegistry::valuesSet() const
{
    return valuesSet_;
}

int MemoryRegistry::openHandles() const
{
    return int(handles_.size());
}

} // namespace kavrin
