#pragma once

#include <QString>
#include <QStringView>

// A D-Bus string is UTF-8 without character 0: QtDBus cuts a text short at its first character
// 0 and turns half of a surrogate pair into "?", without a word. Texts that leave the program
// over D-Bus are checked here first, so they arrive whole or not at all.
namespace DBusText {

// Why `text` cannot travel whole in a D-Bus string ("character 0 at position 4 of 40"), or an
// empty text when it can. Positions count from 1.
QString whyNotCarried(QStringView text);

} // namespace DBusText
