#pragma once

#include <QChar>

// The character a single-byte code stands for. Codes 128 to 255 follow Windows-1252, the code
// page the passwords' extended characters were defined in; its five unassigned codes stand for
// the code point of the same number.
QChar characterOfAnsiCode(quint8 code);
