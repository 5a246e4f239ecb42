#include "errorrecord.h"
#include "propertybag.h"
#include "ui_form.h"
#include "xgradprogress.h"

#include <QAccessible>
#include <QApplication>
#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget form;
    Ui::Form ui;
    ui.setupUi(&form);
    ui.barGenProgress->setMax(10);
    ui.barGenProgress->setValue(5);
    // A host may drive the bar by method name.
    qint32 stepped = -1;
    if (!QMetaObject::invokeMethod(ui.barGenProgress, "IncreaseTo", Q_RETURN_ARG(qint32, stepped),
                                   Q_ARG(qint32, 6)) ||
        stepped != 0 || ui.barGenProgress->Value() != 6)
        return 5;

    // Screen readers read the controls through interfaces the library brings along.
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(ui.barGenProgress);
    if (!accessible || accessible->role() != QAccessible::ProgressBar ||
        accessible->valueInterface()->currentValue() != 6)
        return 6;

    std::unique_ptr<Lustrel::Control> marker(Lustrel::createControl(QStringLiteral("Lustrel.XShpLabel")));
    if (!marker)
        return 1;
    marker->widget()->setProperty("Caption", QStringLiteral("4"));
    Lustrel::MemoryPropertyBag bag;
    marker->WriteProperties(bag);
    if (bag.keys() != QStringList { QStringLiteral("Caption") })
        return 2;

    try {
        ui.barGenProgress->setValue(11);
        return 3;
    } catch (const Failure &failure) {
        if (failure.number() != 380)
            return 4;
    }
    std::puts("Lustrel works from its installed package");
    return 0;
}
