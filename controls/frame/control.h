#pragma once

#include "lustrel_export.h"

#include <QList>
#include <QString>
#include <QUuid>

class QWidget;

namespace Lustrel {

class PropertyBag;

// What every control offers its host besides its properties: its identity, the widget to place,
// and saving and loading its properties in a bag. A placed control gets InitProperties the first
// time and ReadProperties on every later load, never both.
class LUSTREL_EXPORT Control
{
public:
    Control() = default;
    virtual ~Control();
    Control(const Control &) = delete;
    Control &operator=(const Control &) = delete;

    // The control as a widget, to place and size.
    virtual QWidget *widget() = 0;
    // The programmatic name, such as "Lustrel.XShpLabel".
    virtual QString progId() const = 0;
    // The fixed class id.
    virtual QUuid classId() const = 0;

    // Gives a newly placed control its starting property values.
    virtual void InitProperties() = 0;
    // Loads the properties from `bag`, each missing key giving its default. Throws Failure for a
    // value that does not fit its property; the properties read before it stay loaded.
    virtual void ReadProperties(const PropertyBag &bag) = 0;
    // Saves the properties to `bag`; values equal to their defaults are left out.
    virtual void WriteProperties(PropertyBag &bag) const = 0;
};

// One kind of control the library makes.
struct ControlClass
{
    QString progId;
    QUuid classId;
};

// The three kinds of control, by programmatic name and class id.
LUSTREL_EXPORT QList<ControlClass> controlClasses();

// A new control of the kind named by `progIdOrClassId` (a programmatic name, or a class id in its
// "{...}" text form), owned by `parent`; nullptr for a name or id the library does not know.
LUSTREL_EXPORT Control *createControl(const QString &progIdOrClassId, QWidget *parent = nullptr);

// As above, by class id.
LUSTREL_EXPORT Control *createControl(const QUuid &classId, QWidget *parent = nullptr);

} // namespace Lustrel
