#include "dbustext.h"

namespace DBusText {

QString whyNotCarried(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        QString what;
        if (c.isNull())
            what = QStringLiteral("character 0");
        else if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i; // a whole pair
        else if (c.isSurrogate())
            what = QStringLiteral("half of a surrogate pair (U+%1)")
                       .arg(QString::number(c.unicode(), 16).toUpper());
        if (!what.isEmpty())
            return QStringLiteral("%1 at position %2 of %3").arg(what).arg(i + 1).arg(text.size());
    }
    return {};
}

} // namespace DBusText
