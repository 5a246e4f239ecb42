#pragma once

#include <QMetaProperty>
#include <QObject>
#include <QVariantMap>

// The values of the properties a control class declares itself (not those of QWidget).
inline QVariantMap ownProperties(const QObject *control)
{
    QVariantMap values;
    const QMetaObject *meta = control->metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        values.insert(QString::fromLatin1(meta->property(i).name()), meta->property(i).read(control));
    return values;
}
