#pragma once

#include "lustrel_export.h"

#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <optional>

namespace Lustrel {

// Where a host keeps a control's saved properties. A control reads each key with its default
// and writes each value with its default; the bag leaves out a value equal to its default, so a
// control left at its defaults saves nothing. How the values are stored is the host's business.
class LUSTREL_EXPORT PropertyBag
{
public:
    PropertyBag() = default;
    virtual ~PropertyBag();
    PropertyBag(const PropertyBag &) = delete;
    PropertyBag &operator=(const PropertyBag &) = delete;

    // The value stored under `key`, or `defaultValue` when there is none.
    QVariant ReadProperty(const QString &key, const QVariant &defaultValue = {}) const;
    // Stores `value` under `key`, or removes the key when `value` equals `defaultValue`.
    void WriteProperty(const QString &key, const QVariant &value, const QVariant &defaultValue = {});

protected:
    // The stored value of `key`, if there is one.
    virtual std::optional<QVariant> storedValue(const QString &key) const = 0;
    // Stores `value` under `key`.
    virtual void storeValue(const QString &key, const QVariant &value) = 0;
    // Forgets `key`.
    virtual void removeValue(const QString &key) = 0;
};

// A bag held in memory that remembers the order in which keys were first written.
class LUSTREL_EXPORT MemoryPropertyBag : public PropertyBag
{
public:
    MemoryPropertyBag() = default;
    ~MemoryPropertyBag() override;

    // The stored keys, in the order they were first written.
    QStringList keys() const { return m_keys; }
    // The stored value of `key`, or an invalid QVariant.
    QVariant value(const QString &key) const { return m_values.value(key); }
    // Stores a value directly, as a host does when it loads a saved design.
    void setValue(const QString &key, const QVariant &value) { storeValue(key, value); }
    // True when nothing is stored.
    bool isEmpty() const { return m_keys.isEmpty(); }

protected:
    std::optional<QVariant> storedValue(const QString &key) const override;
    void storeValue(const QString &key, const QVariant &value) override;
    void removeValue(const QString &key) override;

private:
    QStringList m_keys;
    QVariantMap m_values;
};

} // namespace Lustrel
