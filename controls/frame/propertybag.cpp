#include "propertybag.h"

namespace Lustrel {

PropertyBag::~PropertyBag() = default;

QVariant PropertyBag::ReadProperty(const QString &key, const QVariant &defaultValue) const
{
    std::optional<QVariant> stored = storedValue(key);
    return stored ? *stored : defaultValue;
}

void PropertyBag::WriteProperty(const QString &key, const QVariant &value, const QVariant &defaultValue)
{
    // Removing rather than skipping: a bag written over an older save must not keep a stale value.
    if (value == defaultValue)
        removeValue(key);
    else
        storeValue(key, value);
}

MemoryPropertyBag::~MemoryPropertyBag() = default;

std::optional<QVariant> MemoryPropertyBag::storedValue(const QString &key) const
{
    const auto it = m_values.constFind(key);
    if (it == m_values.cend())
        return std::nullopt;
    return *it;
}

void MemoryPropertyBag::storeValue(const QString &key, const QVariant &value)
{
    if (!m_values.contains(key))
        m_keys.append(key);
    m_values.insert(key, value);
}

void MemoryPropertyBag::removeValue(const QString &key)
{
    m_keys.removeOne(key);
    m_values.remove(key);
}

} // namespace Lustrel
