#include "settingsformat.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QStringDecoder>

namespace SettingsFormat {

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\f' || c == '\v';
}

QByteArrayView trimmed(QByteArrayView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

// UTF-8 text, a byte order mark included: it is a character like any other inside a line.
QString fromUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder(bytes);
}

int hexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// A name as QSettings writes it: letters, digits, '_', '-' and '.' as they are, '/' as '\',
// anything else as %XX or %UXXXX.
void appendEscapedName(const QString &name, QByteArray &out)
{
    for (const QChar qc : name) {
        const char16_t c = qc.unicode();
        if (c == u'/') {
            out += '\\';
        } else if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
                   c == u'_' || c == u'-' || c == u'.') {
            out += char(c);
        } else if (c <= 0xFF) {
            out += '%';
            out += HexDigits[c / 16];
            out += HexDigits[c % 16];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += HexDigits[(c >> shift) & 0xF];
        }
    }
}

QString unescapedName(QByteArrayView escaped)
{
    const QString decoded = fromUtf8(escaped);
    QString out;
    out.reserve(decoded.size());
    for (qsizetype i = 0; i < decoded.size();) {
        const char16_t c = decoded[i].unicode();
        if (c == u'\\') {
            out += u'/';
            ++i;
            continue;
        }
        if (c == u'%' && i + 1 < decoded.size()) {
            const qsizetype first = decoded[i + 1] == u'U' ? i + 2 : i + 1;
            const int digits = decoded[i + 1] == u'U' ? 4 : 2;
            if (first + digits <= decoded.size()) {
                int value = 0;
                bool ok = true;
                for (int k = 0; k < digits && ok; ++k) {
                    const int digit = hexValue(decoded[first + k].unicode());
                    ok = digit >= 0;
                    value = value * 16 + digit;
                }
                if (ok) {
                    out += QChar(char16_t(value));
                    i = first + digits;
                    continue;
                }
            }
        }
        out += QChar(c);
        ++i;
    }
    return out;
}

// The text of a value as QSettings' INI reader reads one: blanks around it dropped, quotes
// keeping blanks and ';' ',' '=', C-style escapes, ';' outside quotes starting a comment.
// Commas are kept as they are. The value ends with its line: a quote left open or an escape
// at the line's end (which would join the next line) makes it unusable.
std::optional<QString> unescapedValue(QByteArrayView text, QString &what)
{
    QString out;
    qsizetype i = 0;
    const qsizetype n = text.size();
    bool inQuotes = false;
    bool quoted = false;
    qsizetype keep = 0; // blanks before this stay when trailing blanks are cut
    const auto skipBlanks = [&] {
        while (i < n && isBlank(text[i]))
            ++i;
        keep = out.size();
    };
    skipBlanks();
    while (i < n) {
        const char c = text[i];
        if (c == '\\') {
            if (++i >= n) {
                what = QStringLiteral("it ends with a backslash, which would join it to the next line");
                return std::nullopt;
            }
            const char e = text[i++];
            switch (e) {
            case 'a':
                out += u'\a';
                break;
            case 'b':
                out += u'\b';
                break;
            case 'f':
                out += u'\f';
                break;
            case 'n':
                out += u'\n';
                break;
            case 'r':
                out += u'\r';
                break;
            case 't':
                out += u'\t';
                break;
            case 'v':
                out += u'\v';
                break;
            case '"':
            case '?':
            case '\'':
            case '\\':
                out += QLatin1Char(e);
                break;
            case 'x': {
                char16_t value = 0;
                while (i < n && hexValue(char16_t(uchar(text[i]))) >= 0)
                    value = char16_t(value * 16 + hexValue(char16_t(uchar(text[i++]))));
                out += QChar(value);
                break;
            }
            default:
                if (e >= '0' && e <= '7') {
                    char16_t value = char16_t(e - '0');
                    while (i < n && text[i] >= '0' && text[i] <= '7')
                        value = char16_t(value * 8 + (text[i++] - '0'));
                    out += QChar(value);
                }
                break; // any other escaped character is dropped, as QSettings does
            }
            keep = out.size();
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipBlanks();
        } else if (c == ';' && !inQuotes) {
            break;
        } else {
            qsizetype j = i + 1;
            while (j < n && text[j] != '\\' && text[j] != '"' && text[j] != ';')
                ++j;
            out += fromUtf8(text.sliced(i, j - i));
            i = j;
        }
    }
    if (inQuotes) {
        what = QStringLiteral("an opening quote is never closed");
        return std::nullopt;
    }
    if (!quoted) {
        while (out.size() > keep && (out.endsWith(u' ') || out.endsWith(u'\t')))
            out.chop(1);
    }
    return out;
}

// A key as QSettings keeps it: no '/' at either end, none twice in a row.
QString normalizedKey(const QString &key)
{
    QString out;
    out.reserve(key.size());
    for (const QChar c : key) {
        if (c == u'/' && (out.isEmpty() || out.endsWith(u'/')))
            continue;
        out += c;
    }
    if (out.endsWith(u'/'))
        out.chop(1);
    return out;
}

// Values QSettings would decode into a Qt type of their own; the store never does.
bool isSerializedType(const QString &value)
{
    static const char *const Types[] = { "@ByteArray(", "@String(", "@Variant(", "@DateTime(",
                                         "@Rect(",      "@Size(",   "@Point(" };
    if (value == u"@Invalid()")
        return true;
    if (!value.endsWith(u')'))
        return false;
    for (const char *type : Types) {
        if (value.startsWith(QLatin1StringView(type)))
            return true;
    }
    return false;
}

// A text as QSettings' INI writer writes it, so its reader reads the same text back.
void appendEscapedValue(const QString &text, QByteArray &out)
{
    const qsizetype start = out.size();
    bool needsQuotes = false;
    bool escapeNextIfDigit = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u';' || c == u',' || c == u'=')
            needsQuotes = true;
        if (escapeNextIfDigit && hexValue(c) >= 0) {
            out += "\\x" + QByteArray::number(uint(c), 16);
            continue;
        }
        escapeNextIfDigit = false;
        switch (c) {
        case u'\0':
            out += "\\0";
            escapeNextIfDigit = true;
            break;
        case u'\a':
            out += "\\a";
            break;
        case u'\b':
            out += "\\b";
            break;
        case u'\f':
            out += "\\f";
            break;
        case u'\n':
            out += "\\n";
            break;
        case u'\r':
            out += "\\r";
            break;
        case u'\t':
            out += "\\t";
            break;
        case u'\v':
            out += "\\v";
            break;
        case u'"':
        case u'\\':
            out += '\\';
            out += char(c);
            break;
        default:
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                out += text.sliced(i, 2).toUtf8();
                ++i;
            } else if (c <= 0x1F || QChar::isSurrogate(c) || c == 0xFEFF) {
                // A surrogate on its own has no UTF-8; a byte order mark as UTF-8 is dropped by
                // QSettings' reader where a run of plain text starts. As escapes both read back.
                out += "\\x" + QByteArray::number(uint(c), 16);
                escapeNextIfDigit = true;
            } else {
                out += QStringView(text).sliced(i, 1).toUtf8();
            }
        }
    }
    if (needsQuotes || (start < out.size() && (out[start] == ' ' || out[out.size() - 1] == ' '))) {
        out.insert(start, '"');
        out += '"';
    }
}

QString valueText(const QVariant &value)
{
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        return text.startsWith(u'@') ? u'@' + text : text;
    }
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    const QString text = value.toString();
    return text.startsWith(u'@') ? u'@' + text : text;
}

// What the last reading of each file left out, with the file's size and time then.
struct FileProblems
{
    qint64 size = -1;
    QDateTime modified;
    QList<Problem> problems;
};

QMutex problemsLock;
QHash<QString, FileProblems> problemsByFile;

bool readDevice(QIODevice &device, QSettings::SettingsMap &map)
{
    Reading reading = parse(device.readAll());
    map = std::move(reading.values);
    if (const auto *file = qobject_cast<const QFile *>(&device)) {
        const QFileInfo info(file->fileName());
        const QMutexLocker locker(&problemsLock);
        if (reading.problems.isEmpty())
            problemsByFile.remove(file->fileName());
        else
            problemsByFile.insert(file->fileName(), { info.size(), info.lastModified(), reading.problems });
    }
    return true; // a damaged line is left out, never the whole file
}

bool writeDevice(QIODevice &device, const QSettings::SettingsMap &map)
{
    const QByteArray bytes = compose(map);
    return device.write(bytes) == bytes.size();
}

} // namespace

QSettings::Format format()
{
    static const QSettings::Format registered =
        QSettings::registerFormat(QStringLiteral("conf"), readDevice, writeDevice);
    return registered;
}

Reading parse(QByteArrayView data)
{
    Reading reading;
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    QString group; // as it prefixes a name: "" or "name/"
    int lineNumber = 0;
    qsizetype pos = 0;
    const auto problem = [&](const QString &name, const QString &what) {
        reading.problems.append({ lineNumber, group.chopped(group.isEmpty() ? 0 : 1), name, what });
    };
    while (pos < data.size()) {
        qsizetype end = pos;
        while (end < data.size() && data[end] != '\n' && data[end] != '\r')
            ++end;
        const QByteArrayView line = trimmed(data.sliced(pos, end - pos));
        pos = end + 1;
        if (end + 1 < data.size() && data[end] == '\r' && data[end + 1] == '\n')
            ++pos;
        ++lineNumber;
        if (line.isEmpty() || line[0] == ';')
            continue;

        if (line[0] == '[') {
            // A header left open names its group all the same, as QSettings reads it.
            const qsizetype close = line.indexOf(']');
            const QByteArrayView name = trimmed(close < 0 ? line.sliced(1) : line.sliced(1, close - 1));
            if (name.compare("general", Qt::CaseInsensitive) == 0)
                group.clear();
            else if (name.compare("%general", Qt::CaseInsensitive) == 0)
                group = QString::fromLatin1(name.sliced(1)) + u'/';
            else
                group = unescapedName(name) + u'/';
            if (group == u"/") // "[]" holds values without a group, as QSettings reads it
                group.clear();
            if (close < 0)
                problem({}, QStringLiteral("the group's name is not closed with \"]\""));
            continue;
        }

        const qsizetype equals = line.indexOf('=');
        if (equals < 0) {
            problem({}, QStringLiteral("the line holds no value"));
            continue;
        }
        const QString name = unescapedName(trimmed(line.first(equals)));
        if (name.isEmpty()) {
            problem({}, QStringLiteral("the value has no name"));
            continue;
        }
        QString what;
        std::optional<QString> value = unescapedValue(line.sliced(equals + 1), what);
        if (!value) {
            problem(name, what);
            continue;
        }
        if (value->startsWith(u"@@")) {
            value->remove(0, 1);
        } else if (isSerializedType(*value)) {
            problem(name,
                    QStringLiteral("it holds a serialized %1, which is not read")
                        .arg(value->mid(1, value->indexOf(u'(') - 1)));
            continue;
        }
        const QString key = normalizedKey(group + name);
        if (key.isEmpty()) {
            problem({}, QStringLiteral("the value has no name"));
            continue;
        }
        reading.values.insert(key, *value);
    }
    return reading;
}

QByteArray compose(const QSettings::SettingsMap &values)
{
    // Each group once, in the order of their names, the values without one first.
    QMap<QString, QByteArray> groups;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const qsizetype slash = it.key().indexOf(u'/');
        QByteArray &lines = groups[slash < 0 ? QString() : it.key().left(slash)];
        appendEscapedName(slash < 0 ? it.key() : it.key().mid(slash + 1), lines);
        lines += '=';
        appendEscapedValue(valueText(it.value()), lines);
        lines += '\n';
    }
    QByteArray out;
    for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
        if (!out.isEmpty())
            out += '\n';
        QByteArray header;
        appendEscapedName(it.key(), header);
        if (header.isEmpty())
            out += "[General]";
        else if (header.compare("general", Qt::CaseInsensitive) == 0)
            out += "[%" + header + ']';
        else
            out += '[' + header + ']';
        out += '\n';
        out += it.value();
    }
    return out;
}

QList<Problem> problemsOf(const QString &fileName)
{
    const QFileInfo info(fileName);
    const QMutexLocker locker(&problemsLock);
    const auto found = problemsByFile.constFind(fileName);
    if (found == problemsByFile.cend() || found->size != info.size() ||
        found->modified != info.lastModified())
        return {};
    return found->problems;
}

} // namespace SettingsFormat
