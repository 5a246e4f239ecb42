#pragma once

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

// What the three controls share in Designer: group, header, icon and the XML of a new instance.
class LustrelWidgetPlugin : public QObject, public QDesignerCustomWidgetInterface
{
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    LustrelWidgetPlugin(const QString &className, const QString &header, const QString &iconName,
                        const QString &toolTip, QObject *parent);

    QString name() const override { return m_className; }
    QString group() const override { return QStringLiteral("Lustrel"); }
    QIcon icon() const override;
    QString toolTip() const override { return m_toolTip; }
    QString whatsThis() const override { return m_toolTip; }
    bool isContainer() const override { return false; }
    QString includeFile() const override { return m_header; }
    QString domXml() const override;
    bool isInitialized() const override { return m_initialized; }
    void initialize(QDesignerFormEditorInterface *core) override;

protected:
    // The default object name and size of a new instance.
    virtual QString defaultObjectName() const = 0;
    virtual QSize defaultSize() const = 0;
    // The properties a new instance is placed with, as .ui XML.
    virtual QString defaultProperties() const { return {}; }

private:
    QString m_className;
    QString m_header;
    QString m_iconName;
    QString m_toolTip;
    bool m_initialized = false;
};

class XGradProgressPlugin : public LustrelWidgetPlugin
{
    Q_OBJECT

public:
    explicit XGradProgressPlugin(QObject *parent = nullptr);
    QWidget *createWidget(QWidget *parent) override;

protected:
    QString defaultObjectName() const override { return QStringLiteral("barProgress"); }
    QSize defaultSize() const override { return { 200, 18 }; }
    QString defaultProperties() const override;
};

class XShpLabelPlugin : public LustrelWidgetPlugin
{
    Q_OBJECT

public:
    explicit XShpLabelPlugin(QObject *parent = nullptr);
    QWidget *createWidget(QWidget *parent) override;

protected:
    QString defaultObjectName() const override { return QStringLiteral("slbStep"); }
    QSize defaultSize() const override { return { 32, 32 }; }
};

class XGlowLabelPlugin : public LustrelWidgetPlugin
{
    Q_OBJECT

public:
    explicit XGlowLabelPlugin(QObject *parent = nullptr);
    QWidget *createWidget(QWidget *parent) override;

protected:
    QString defaultObjectName() const override { return QStringLiteral("XGlowLabel1"); }
    QSize defaultSize() const override { return { 160, 20 }; }
};

// The one plugin Designer loads, offering the three controls.
class LustrelDesignerPlugins : public QObject, public QDesignerCustomWidgetCollectionInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
    explicit LustrelDesignerPlugins(QObject *parent = nullptr);
    QList<QDesignerCustomWidgetInterface *> customWidgets() const override { return m_plugins; }

private:
    QList<QDesignerCustomWidgetInterface *> m_plugins;
};
