#include "applicationfront.h"

#include "application.h"
#include "applicationadaptor.h"
#include "callqueue.h"
#include "errorrecord.h"
#include "numbers.h"

#include <QMetaProperty>

// One property of the interface: how it is read and, when it can be, written. Values read are
// of the property's D-Bus type (Integer int16, Long int32, Boolean, String). A value written
// arrives as the client sent it and is converted as the member's type converts: a number out
// of range is an overflow (6), a value of another kind a type mismatch (13).
struct ApplicationFront::Property
{
    const char *name;
    QVariant (*read)(Application &);
    void (*write)(Application &, const QVariant &);
    // How GetAll reads it when a read alone may show a message box: raising instead.
    QVariant (*readQuietly)(Application &) = nullptr;
};

namespace {

const ApplicationFront::Property Properties[] = {
    { "AllowUI", [](Application &a) { return QVariant(a.AllowUI()); },
      [](Application &a, const QVariant &v) {
          a.setAllowUI(Numbers::variantToBoolean(v));
      } },
    { "ProcID", [](Application &a) { return QVariant::fromValue(a.ProcID()); }, nullptr },
    { "MemoryName", [](Application &a) { return QVariant(a.MemoryName()); },
      [](Application &a, const QVariant &v) {
          a.setMemoryName(Numbers::variantToText(v));
      } },
    { "PassLength", [](Application &a) { return QVariant::fromValue(a.PassLength()); },
      [](Application &a, const QVariant &v) {
          a.setPassLength(Numbers::variantToInteger(v));
      } },
    { "Seed", [](Application &a) { return QVariant::fromValue(a.Seed()); },
      [](Application &a, const QVariant &v) { a.setSeed(Numbers::variantToInteger(v)); },
      [](Application &a) {
          return QVariant::fromValue(a.readSeed());
      } },
    { "NonPrintableChars", [](Application &a) { return QVariant(a.NonPrintableChars()); },
      [](Application &a, const QVariant &v) {
          a.setNonPrintableChars(Numbers::variantToBoolean(v));
      } },
    { "SymbolChars", [](Application &a) { return QVariant(a.SymbolChars()); },
      [](Application &a, const QVariant &v) {
          a.setSymbolChars(Numbers::variantToBoolean(v));
      } },
    { "Visible", [](Application &a) { return QVariant(a.Visible()); },
      [](Application &a, const QVariant &v) {
          a.setVisible(Numbers::variantToBoolean(v));
      } },
};

// Whether the table above serves exactly the properties the interface XML declares.
bool matchesInterface()
{
    const QMetaObject &contract = ApplicationAdaptor::staticMetaObject;
    int declared = 0;
    for (int i = contract.propertyOffset(); i < contract.propertyCount(); ++i, ++declared) {
        const QMetaProperty property = contract.property(i);
        const auto served = std::find_if(std::begin(Properties), std::end(Properties), [&](const auto &p) {
            return qstrcmp(p.name, property.name()) == 0;
        });
        if (served == std::end(Properties) || property.isWritable() != (served->write != nullptr))
            return false;
    }
    return declared == int(std::size(Properties));
}

} // namespace

ApplicationFront::ApplicationFront(Application &application, CallQueue &calls, QObject *parent)
    : QObject(parent)
    , m_application(application)
    , m_calls(calls)
{
    Q_ASSERT_X(matchesInterface(), "ApplicationFront", "the property table differs from the interface XML");
}

void ApplicationFront::queue(std::function<std::optional<QVariantList>()> work)
{
    setDelayedReply(true);
    m_calls.enqueue(connection(), message(), std::move(work));
}

QString ApplicationFront::Generate()
{
    queue([this] { return QVariantList { m_application.Generate() }; });
    return {};
}

QString ApplicationFront::Copy()
{
    queue([this] { return QVariantList { m_application.Copy() }; });
    return {};
}

bool ApplicationFront::Save(const QString &FileName, const QString &Description, QString &FileNameOut,
                            QString &DescriptionOut)
{
    Q_UNUSED(FileNameOut);
    Q_UNUSED(DescriptionOut);
    queue([this, fileName = FileName, description = Description]() mutable {
        const bool saved = m_application.Save(fileName, description);
        return QVariantList { saved, fileName, description };
    });
    return false;
}

void ApplicationFront::Terminate()
{
    queue([this]() -> std::optional<QVariantList> {
        if (m_application.Terminate())
            return std::nullopt; // the program is ending; the client learns it from the bus
        return QVariantList {};
    });
}

void ApplicationFront::Show()
{
    queue([this] {
        m_application.Show();
        return QVariantList {};
    });
}

const ApplicationFront::Property *ApplicationFront::findProperty(const QString &interface,
                                                                 const QString &name)
{
    if (!interface.isEmpty() && interface != interfaceName()) {
        sendErrorReply(QDBusError::UnknownInterface,
                       QStringLiteral("No interface %1 at %2").arg(interface, message().path()));
        return nullptr;
    }
    for (const Property &property : Properties) {
        if (name == QLatin1String(property.name))
            return &property;
    }
    sendErrorReply(QDBusError::UnknownProperty,
                   QStringLiteral("No property %1 in %2").arg(name, interfaceName()));
    return nullptr;
}

QDBusVariant ApplicationFront::Get(const QString &interface, const QString &name)
{
    if (const Property *property = findProperty(interface, name)) {
        queue([this, property] {
            return QVariantList { QVariant::fromValue(QDBusVariant(property->read(m_application))) };
        });
    }
    return {};
}

void ApplicationFront::Set(const QString &interface, const QString &name, const QDBusVariant &value)
{
    const Property *property = findProperty(interface, name);
    if (!property)
        return;
    if (!property->write) {
        sendErrorReply(QDBusError::PropertyReadOnly,
                       QStringLiteral("Property %1 of %2 is read-only").arg(name, interfaceName()));
        return;
    }
    queue([this, property, value = value.variant()] {
        property->write(m_application, value);
        return QVariantList {};
    });
}

QVariantMap ApplicationFront::GetAll(const QString &interface)
{
    if (!interface.isEmpty() && interface != interfaceName()) {
        sendErrorReply(QDBusError::UnknownInterface,
                       QStringLiteral("No interface %1 at %2").arg(interface, message().path()));
        return {};
    }
    // Introspection tools and GLib proxies read everything on their own: no message box may
    // keep them, and every later call, waiting for a person. A property that does not read is
    // left out; reading it alone tells why.
    queue([this] {
        QVariantMap all;
        for (const Property &property : Properties) {
            const auto read = property.readQuietly ? property.readQuietly : property.read;
            runTrapped([&] { all.insert(QLatin1String(property.name), read(m_application)); },
                       [](const ErrorRecord &) {});
        }
        return QVariantList { all };
    });
    return {};
}
