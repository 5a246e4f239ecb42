#pragma once

#include <QAccessible>
#include <QStringList>
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

} // namespace AccessibleTree
