#include "propertiesadaptor.h"

PropertiesAdaptor::PropertiesAdaptor(ApplicationFront *front)
    : QDBusAbstractAdaptor(front)
{ }

QDBusVariant PropertiesAdaptor::Get(const QString &interface_name, const QString &property_name)
{
    return front()->Get(interface_name, property_name);
}

void PropertiesAdaptor::Set(const QString &interface_name, const QString &property_name,
                            const QDBusVariant &value)
{
    front()->Set(interface_name, property_name, value);
}

QVariantMap PropertiesAdaptor::GetAll(const QString &interface_name)
{
    return front()->GetAll(interface_name);
}
