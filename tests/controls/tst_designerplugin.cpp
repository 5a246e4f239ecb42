#include "control.h"

#include <QDomDocument>
#include <QPluginLoader>
#include <QTest>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>

// Loads the built Designer plugin the way Designer does and checks what its widget box shows.
class TestDesignerPlugin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shouldOfferTheThreeControlsWithIconsAndNames()
    {
        QPluginLoader loader(QStringLiteral(LUSTREL_DESIGNER_PLUGIN));
        QObject *instance = loader.instance();
        QVERIFY2(instance, qPrintable(loader.errorString()));
        auto *collection = qobject_cast<QDesignerCustomWidgetCollectionInterface *>(instance);
        QVERIFY(collection);

        QStringList names;
        for (QDesignerCustomWidgetInterface *plugin : collection->customWidgets()) {
            names.append(plugin->name());
            QCOMPARE(plugin->group(), QStringLiteral("Lustrel"));
            QVERIFY2(!plugin->icon().isNull(), qPrintable(plugin->name()));
            QVERIFY(plugin->includeFile().endsWith(QLatin1String(".h")));

            QDomDocument xml;
            QVERIFY(xml.setContent(plugin->domXml()));
            const QDomElement widget = xml.documentElement().firstChildElement(QStringLiteral("widget"));
            QCOMPARE(widget.attribute(QStringLiteral("class")), plugin->name());
            QVERIFY(!widget.attribute(QStringLiteral("name")).isEmpty());

            QWidget form;
            QWidget *created = plugin->createWidget(&form);
            QVERIFY(created);
            QCOMPARE(created->metaObject()->className(), plugin->name().toLatin1());
            QVERIFY(dynamic_cast<Lustrel::Control *>(created));
            // The property editor can give any number; a value the control refuses is dropped.
            created->setProperty("BorderStyle", 70000);
            QVERIFY(created->property("BorderStyle").toInt() != 70000);
        }
        names.sort();
        QCOMPARE(names,
                 (QStringList { "Lustrel::XGlowLabel", "Lustrel::XGradProgress", "Lustrel::XShpLabel" }));
    }
};

QTEST_MAIN(TestDesignerPlugin)
#include "tst_designerplugin.moc"
