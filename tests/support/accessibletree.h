#pragma once

#include <QAccessible>
#include <QStringList>
#include <QTest>
#include <QWidget>

// A window's controls as a screen reader meets them, through Qt's accessibility interfaces.
namespace AccessibleTree {

// The interface of `object`; fails the process when it has none, which no widget lacks.
inline QAccessibleInterface *of(QObject *object)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(object);
    if (!face)
        qFatal("no accessible interface for %s", qPrintable(object->objectName()));
    return face;
}

// The controls under `face` that a user acts on or reads a value from and that have no name,
// each as its role and object name.
inline QStringList unnamedControls(QAccessibleInterface *face)
{
    static const QList<QAccessible::Role> named {
        QAccessible::Button,   QAccessible::CheckBox,    QAccessible::RadioButton, QAccessible::EditableText,
        QAccessible::List,     QAccessible::ProgressBar, QAccessible::PageTab,     QAccessible::SpinBox,
        QAccessible::ComboBox, QAccessible::Slider,      QAccessible::ButtonMenu,
    };
    QStringList unnamed;
    if (named.contains(face->role()) && face->text(QAccessible::Name).trimmed().isEmpty())
        unnamed << QStringLiteral("%1 %2")
                       .arg(face->role())
                       .arg(face->object() ? face->object()->objectName() : QString());
    for (int index = 0; index < face->childCount(); ++index)
        unnamed << unnamedControls(face->child(index));
    return unnamed;
}

// Columns of a table of what a screen reader hears of a window's controls: the path of object
// names from the window down ("udNumPass/up"; empty for the window), role, name, description.
inline void addHeardColumns()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
}

// Compares the current row of such a table with what `window` says; the interface it compared.
inline QAccessibleInterface *compareHeard(QObject *window)
{
    QFETCH(QString, path);
    QFETCH(int, role);
    QFETCH(QString, name);
    QFETCH(QString, description);
    QObject *control = window;
    for (const QString &step : path.split(u'/', Qt::SkipEmptyParts)) {
        control = control->findChild<QObject *>(step);
        if (!control)
            qFatal("no control %s", qPrintable(path));
    }
    QAccessibleInterface *face = of(control);
    [&] {
        QCOMPARE(int(face->role()), role);
        QCOMPARE(face->text(QAccessible::Name), name);
        QCOMPARE(face->text(QAccessible::Description), description);
    }();
    return face;
}

} // namespace AccessibleTree
