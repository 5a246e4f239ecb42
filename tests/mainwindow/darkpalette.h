#pragma once

#include <QPalette>

// A dark desktop scheme, every role set as a dark theme sets it.
inline QPalette darkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x2b, 0x2e, 0x33));
    dark.setColor(QPalette::WindowText, QColor(0xe6, 0xe6, 0xe6));
    dark.setColor(QPalette::Base, QColor(0x1f, 0x22, 0x26));
    dark.setColor(QPalette::AlternateBase, QColor(0x2b, 0x2e, 0x33));
    dark.setColor(QPalette::Text, QColor(0xe6, 0xe6, 0xe6));
    dark.setColor(QPalette::Button, QColor(0x36, 0x3a, 0x40));
    dark.setColor(QPalette::ButtonText, QColor(0xe6, 0xe6, 0xe6));
    dark.setColor(QPalette::Highlight, QColor(0x3d, 0x7f, 0xd0));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::Light, QColor(0x4a, 0x4f, 0x57));
    dark.setColor(QPalette::Midlight, QColor(0x40, 0x44, 0x4b));
    dark.setColor(QPalette::Mid, QColor(0x30, 0x33, 0x38));
    dark.setColor(QPalette::Dark, QColor(0x1a, 0x1c, 0x1f));
    dark.setColor(QPalette::Shadow, Qt::black);
    dark.setColor(QPalette::ToolTipBase, QColor(0x36, 0x3a, 0x40));
    dark.setColor(QPalette::ToolTipText, QColor(0xe6, 0xe6, 0xe6));
    for (QPalette::ColorRole role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        dark.setColor(QPalette::Disabled, role, QColor(0x80, 0x84, 0x8a));
    return dark;
}
