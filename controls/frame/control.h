#pragma once

#include "lustrel_export.h"

#include <QList>
#include <QString>
#include <QUuid>
#include <exception>

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

    // In design mode, inside a form editor, a put that fails returns instead of throwing and
    // leaves the property as it was: the editor writes properties by name, cannot take a
    // failure, and saves what it reads back, so it must never read back a refused value.
    // A control in design mode also runs no animation. Off by default.
    void setDesignMode(bool designMode) { m_designMode = designMode; }
    bool designMode() const { return m_designMode; }

protected:
    // Runs the body of a put that checks its value before it stores anything, letting its
    // failure through unless in design mode.
    template<typename Apply>
    void put(Apply &&apply)
    {
        if (!m_designMode) {
            apply();
            return;
        }
        try {
            apply();
        } catch (const std::exception &) { }
    }

    // Runs the body of a put that may fail after storing. Outside design mode the failure goes
    // to the caller and what the put did before the failing step stays done; in design mode
    // `state` goes back to what it was before the put.
    template<typename State, typename Apply>
    void put(State &state, Apply &&apply)
    {
        if (!m_designMode) {
            apply();
            return;
        }
        const State before = state;
        try {
            apply();
        } catch (const std::exception &) {
            state = before;
        }
    }

private:
    bool m_designMode = false;
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
