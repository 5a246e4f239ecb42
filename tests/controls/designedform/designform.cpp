// Makes a form the way Qt Designer does with the library's plugin: each control is placed from the
// plugin's XML, the user's edits go through setProperty as the property editor writes them, and
// the form is saved with every property that was touched, at the value read back from the control.
// Usage: designform <output.ui>

#include <QApplication>
#include <QDomDocument>
#include <QFile>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QWidget>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <cstdio>

namespace {

struct Edit
{
    const char *property;
    QVariant value;
};

// One control of the form: its class, its name, and the edits a user made, in order.
struct Placement
{
    QString className;
    QString objectName;
    QList<Edit> edits;
};

QString propertyXml(const QString &name, const QVariant &value)
{
    const QString element =
        value.typeId() == QMetaType::Bool ? QStringLiteral("bool") : QStringLiteral("number");
    const QString text = value.typeId() == QMetaType::Bool
        ? (value.toBool() ? QStringLiteral("true") : QStringLiteral("false"))
        : QString::number(value.toLongLong());
    return QStringLiteral("     <property name=\"%1\"><%2>%3</%2></property>\n").arg(name, element, text);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: designform <output.ui>\n", stderr);
        return 2;
    }
    QPluginLoader loader(QStringLiteral(LUSTREL_DESIGNER_PLUGIN));
    auto *collection = qobject_cast<QDesignerCustomWidgetCollectionInterface *>(loader.instance());
    if (!collection) {
        std::fprintf(stderr, "%s\n", qPrintable(loader.errorString()));
        return 1;
    }

    // Values the controls cannot take at run time, in both orders.
    const QList<Placement> placements {
        { QStringLiteral("Lustrel::XGradProgress"),
          QStringLiteral("barMaxFirst"),
          { { "Max", 0 }, { "Value", 5 } } },
        { QStringLiteral("Lustrel::XGradProgress"),
          QStringLiteral("barValueFirst"),
          { { "Value", 5 }, { "Max", 0 } } },
        { QStringLiteral("Lustrel::XGradProgress"),
          QStringLiteral("barRange"),
          { { "Min", -20000 }, { "Max", 20000 }, { "Value", 40 } } },
        { QStringLiteral("Lustrel::XShpLabel"),
          QStringLiteral("slbStep"),
          { { "BorderStyle", 70000 }, { "Enabled", false } } },
        { QStringLiteral("Lustrel::XGlowLabel"),
          QStringLiteral("XGlowLabel1"),
          { { "Interval", 50 }, { "Alignment", 3 } } },
    };

    QWidget form;
    QString widgets;
    QString customWidgets;
    QStringList declared;
    for (const Placement &placement : placements) {
        QDesignerCustomWidgetInterface *plugin = nullptr;
        for (QDesignerCustomWidgetInterface *candidate : collection->customWidgets()) {
            if (candidate->name() == placement.className)
                plugin = candidate;
        }
        if (!plugin)
            return 1;
        QWidget *control = plugin->createWidget(&form);

        // Placing applies the properties of the plugin's XML; they count as touched.
        QStringList touched;
        QDomDocument xml;
        xml.setContent(plugin->domXml());
        const QDomNodeList properties = xml.documentElement()
                                            .firstChildElement(QStringLiteral("widget"))
                                            .elementsByTagName(QStringLiteral("property"));
        for (int i = 0; i < properties.size(); ++i) {
            const QDomElement property = properties.at(i).toElement();
            const QString name = property.attribute(QStringLiteral("name"));
            const QDomElement number = property.firstChildElement(QStringLiteral("number"));
            if (number.isNull())
                continue;
            control->setProperty(name.toLatin1(), number.text().toInt());
            touched.append(name);
        }
        for (const Edit &edit : placement.edits) {
            control->setProperty(edit.property, edit.value);
            touched.append(QString::fromLatin1(edit.property));
        }

        // Saved in the order of the class's properties, as Designer writes them.
        widgets += QStringLiteral("   <item>\n    <widget class=\"%1\" name=\"%2\">\n")
                       .arg(placement.className, placement.objectName);
        const QMetaObject *meta = control->metaObject();
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
            const QString name = QString::fromLatin1(meta->property(i).name());
            if (touched.contains(name))
                widgets += propertyXml(name, meta->property(i).read(control));
        }
        widgets += QStringLiteral("    </widget>\n   </item>\n");
        if (!declared.contains(placement.className)) {
            declared.append(placement.className);
            customWidgets += QStringLiteral("  "
                                            "<customwidget><class>%1</class><extends>QWidget</"
                                            "extends><header>%2</header></customwidget>\n")
                                 .arg(placement.className, plugin->includeFile());
        }
    }

    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    out.write(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<ui version=\"4.0\">\n <class>DesignedForm</class>\n"
                             " <widget class=\"QWidget\" name=\"DesignedForm\">\n"
                             "  <layout class=\"QVBoxLayout\" name=\"layout\">\n%1  </layout>\n </widget>\n"
                             " <customwidgets>\n%2 </customwidgets>\n <resources/>\n <connections/>\n</ui>\n")
                  .arg(widgets, customWidgets)
                  .toUtf8());
    return 0;
}
