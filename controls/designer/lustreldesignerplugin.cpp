#include "lustreldesignerplugin.h"

#include "xglowlabel.h"
#include "xgradprogress.h"
#include "xshplabel.h"

#include <QIcon>

LustrelWidgetPlugin::LustrelWidgetPlugin(const QString &className, const QString &header,
                                         const QString &iconName, const QString &toolTip, QObject *parent)
    : QObject(parent)
    , m_className(className)
    , m_header(header)
    , m_iconName(iconName)
    , m_toolTip(toolTip)
{ }

QIcon LustrelWidgetPlugin::icon() const
{
    return QIcon(QStringLiteral(":/lustrel/designer/icons/%1.png").arg(m_iconName));
}

QString LustrelWidgetPlugin::domXml() const
{
    const QSize size = defaultSize();
    return QStringLiteral("<ui language=\"c++\">\n"
                          " <widget class=\"%1\" name=\"%2\">\n"
                          "  <property name=\"geometry\">\n"
                          "   <rect><x>0</x><y>0</y><width>%3</width><height>%4</height></rect>\n"
                          "  </property>\n"
                          "%5"
                          " </widget>\n"
                          "</ui>\n")
        .arg(m_className, defaultObjectName())
        .arg(size.width())
        .arg(size.height())
        .arg(defaultProperties());
}

void LustrelWidgetPlugin::initialize(QDesignerFormEditorInterface *)
{
    m_initialized = true;
}

XGradProgressPlugin::XGradProgressPlugin(QObject *parent)
    : LustrelWidgetPlugin(QStringLiteral("Lustrel::XGradProgress"), QStringLiteral("xgradprogress.h"),
                          QStringLiteral("xgradprogress"), QStringLiteral("Two-colour progress bar"), parent)
{ }

QString XGradProgressPlugin::defaultProperties() const
{
    // A bar placed with Min and Max both 0 could not take any Value, and the form could not
    // load one: it starts from the range a progress bar usually has.
    return QStringLiteral("  <property name=\"Max\">\n"
                          "   <number>100</number>\n"
                          "  </property>\n");
}

QWidget *XGradProgressPlugin::createWidget(QWidget *parent)
{
    // A control placed in a form starts from its first-placement values, and a value the
    // property editor gives that it cannot take must not bring the editor down.
    auto *bar = new Lustrel::XGradProgress(parent);
    bar->setDesignMode(true);
    bar->InitProperties();
    return bar;
}

XShpLabelPlugin::XShpLabelPlugin(QObject *parent)
    : LustrelWidgetPlugin(QStringLiteral("Lustrel::XShpLabel"), QStringLiteral("xshplabel.h"),
                          QStringLiteral("xshplabel"), QStringLiteral("Round step marker with a caption"),
                          parent)
{ }

QWidget *XShpLabelPlugin::createWidget(QWidget *parent)
{
    auto *marker = new Lustrel::XShpLabel(parent);
    marker->setDesignMode(true);
    marker->InitProperties();
    return marker;
}

XGlowLabelPlugin::XGlowLabelPlugin(QObject *parent)
    : LustrelWidgetPlugin(QStringLiteral("Lustrel::XGlowLabel"), QStringLiteral("xglowlabel.h"),
                          QStringLiteral("xglowlabel"), QStringLiteral("Caption with a pulsing colour"),
                          parent)
{ }

QWidget *XGlowLabelPlugin::createWidget(QWidget *parent)
{
    auto *label = new Lustrel::XGlowLabel(parent);
    label->setDesignMode(true);
    label->InitProperties();
    return label;
}

LustrelDesignerPlugins::LustrelDesignerPlugins(QObject *parent)
    : QObject(parent)
    , m_plugins { new XGradProgressPlugin(this), new XShpLabelPlugin(this), new XGlowLabelPlugin(this) }
{ }
