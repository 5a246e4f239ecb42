#pragma once

#include <QDBusContext>
#include <QDBusVariant>
#include <QObject>
#include <QVariantMap>
#include <functional>
#include <optional>

class Application;
class CallQueue;

// The object a client talks to at /Application: the adaptor generated from the interface XML
// and the properties adaptor sit on it and call in here. Every call is handed to the call
// queue with its reply delayed, so calls are served one at a time and never inside a run or a
// message box; the Application behind does the work.
class ApplicationFront : public QObject, protected QDBusContext
{
    Q_OBJECT

public:
    ApplicationFront(Application &application, CallQueue &calls, QObject *parent = nullptr);

    // The D-Bus interface of the object.
    static QString interfaceName() { return QStringLiteral("Quorvex._Application"); }

    // The methods of the interface, as the generated adaptor calls them.
    QString Generate();
    QString Copy();
    bool Save(const QString &FileName, const QString &Description, QString &FileNameOut,
              QString &DescriptionOut);
    void Terminate();
    void Show();

    // org.freedesktop.DBus.Properties for the interface, as the properties adaptor calls them.
    QDBusVariant Get(const QString &interface, const QString &name);
    void Set(const QString &interface, const QString &name, const QDBusVariant &value);
    QVariantMap GetAll(const QString &interface);

    // One property of the interface and how it is read and written.
    struct Property;

private:
    const Property *findProperty(const QString &interface, const QString &name);
    void queue(std::function<std::optional<QVariantList>()> work);

    Application &m_application;
    CallQueue &m_calls;
};
