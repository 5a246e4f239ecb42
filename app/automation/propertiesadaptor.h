#pragma once

#include "applicationfront.h"

#include <QDBusAbstractAdaptor>
#include <QDBusVariant>
#include <QVariantMap>

// org.freedesktop.DBus.Properties of the Application object. It stands in for QtDBus's own
// handling, which answers at once and cannot fail with an error of ours: a property read or
// write here waits its turn like any call and can fail with the error number of the member.
class PropertiesAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.DBus.Properties")
    // QtDBus describes this interface itself; an empty text keeps it from being listed twice.
    Q_CLASSINFO("D-Bus Introspection", "")

public:
    explicit PropertiesAdaptor(ApplicationFront *front);

public Q_SLOTS:
    QDBusVariant Get(const QString &interface_name, const QString &property_name);
    void Set(const QString &interface_name, const QString &property_name, const QDBusVariant &value);
    QVariantMap GetAll(const QString &interface_name);

private:
    ApplicationFront *front() const { return static_cast<ApplicationFront *>(parent()); }
};
