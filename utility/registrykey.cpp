#include "registrykey.h"

#include "errorrecord.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString Source = QStringLiteral("Utility.RegistryKey");
const QString SoftwareKey = QStringLiteral("Software");

// Depth of the key that is one settings file: Software, organisation, application.
constexpr qsizetype FileDepth = 3;

[[noreturn]] void raiseMissing(const QString &path)
{
    raiseError(ErrorNumber::KeyNotFound, Source, QStringLiteral("The key \"%1\" does not exist").arg(path));
}

[[noreturn]] void raiseUnusable(const QString &what)
{
    raiseError(ErrorNumber::ComponentBase + 29003, Source, what);
}

QString joined(const QStringList &path)
{
    return path.join(u'\\');
}

bool validName(const QString &name)
{
    return !name.isEmpty();
}

} // namespace

RegistryKey::RegistryKey() = default;

RegistryKey::~RegistryKey() = default;

QString RegistryKey::escapedName(const QString &name)
{
    QString out;
    out.reserve(name.size());
    for (const QChar c : name) {
        if (c == u'%')
            out += QStringLiteral("%25");
        else if (c == u'/')
            out += QStringLiteral("%2F");
        else if (c == u'\\')
            out += QStringLiteral("%5C");
        else
            out += c;
    }
    return out;
}

QString RegistryKey::unescapedName(const QString &escaped)
{
    QString out;
    out.reserve(escaped.size());
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == u'%' && i + 2 < escaped.size()) {
            const QStringView code = QStringView(escaped).mid(i + 1, 2);
            if (code == u"25" || code == u"2F" || code == u"5C") {
                out += code == u"25" ? u'%' : code == u"2F" ? u'/' : u'\\';
                i += 2;
                continue;
            }
        }
        out += escaped[i];
    }
    return out;
}

void RegistryKey::requireRoot() const
{
    if (!m_atRoot)
        raiseUnusable(QStringLiteral("No root key has been entered"));
}

QSettings &RegistryKey::settings() const
{
    const QStringList fileKey = m_path.mid(0, FileDepth);
    if (!m_settings || m_settingsFor != fileKey) {
        m_settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, fileKey[1],
                                                 fileKey[2]);
        m_settingsFor = fileKey;
    }
    return *m_settings;
}

QString RegistryKey::groupOf(const QStringList &path) const
{
    QStringList escaped;
    for (qsizetype i = FileDepth; i < path.size(); ++i)
        escaped << escapedName(path[i]);
    return escaped.join(u'/');
}

bool RegistryKey::keyExists(const QStringList &path) const
{
    if (path.isEmpty())
        return true;
    if (m_created.contains(joined(path)))
        return true;
    if (path[0] != SoftwareKey)
        return false;
    if (path.size() == 1)
        return true;
    // Organisation and application names become a folder and a file name: no separators.
    for (qsizetype i = 1; i < qMin(path.size(), FileDepth); ++i) {
        if (path[i].contains(u'/') || path[i].contains(u'\\') || path[i] == u"." || path[i] == u"..")
            return false;
    }
    if (path.size() == 2) {
        const QSettings probe(QSettings::NativeFormat, QSettings::UserScope, path[1],
                              QStringLiteral("probe"));
        return QFileInfo(probe.fileName()).absoluteDir().exists();
    }
    if (path[2].contains(u'/') || path[2].contains(u'\\'))
        return false;
    if (path.size() == FileDepth) {
        const QSettings probe(QSettings::NativeFormat, QSettings::UserScope, path[1], path[2]);
        return QFileInfo::exists(probe.fileName());
    }
    if (!keyExists(path.mid(0, path.size() - 1)))
        return false;
    QSettings probe(QSettings::NativeFormat, QSettings::UserScope, path[1], path[2]);
    const QString parent = groupOf(path.mid(0, path.size() - 1));
    if (!parent.isEmpty())
        probe.beginGroup(parent);
    const QString child = escapedName(path.last());
    return probe.childGroups().contains(child);
}

void RegistryKey::EnterSubKey(quint32 root)
{
    if (root != CurrentUser)
        raiseUnusable(QStringLiteral("Only the current user's keys can be used"));
    m_atRoot = true;
    m_path.clear();
}

void RegistryKey::EnterSubKey(const QString &name)
{
    requireRoot();
    QStringList path = m_path;
    path << name;
    if (!validName(name) || !keyExists(path))
        raiseMissing(joined(path));
    m_path = path;
}

void RegistryKey::OpenPath(const QString &path, quint32 root, quint32 access)
{
    Q_UNUSED(access) // QSettings has no access rights of its own; the file's mode governs them
    EnterSubKey(root);
    const QStringList parts = path.split(u'\\', Qt::SkipEmptyParts);
    QStringList walked;
    for (const QString &part : parts) {
        walked << part;
        if (!keyExists(walked))
            raiseMissing(joined(walked));
    }
    m_path = walked;
}

bool RegistryKey::CreateSubKey(const QString &name)
{
    requireRoot();
    if (!validName(name))
        raiseUnusable(QStringLiteral("A key needs a name"));
    QStringList path = m_path;
    path << name;
    if (path[0] != SoftwareKey)
        raiseUnusable(QStringLiteral("Keys can only be created under \"Software\""));
    if (path.size() <= FileDepth &&
        (name.contains(u'/') || name.contains(u'\\') || name == u"." || name == u".."))
        raiseUnusable(QStringLiteral("The key name \"%1\" cannot be used here").arg(name));
    if (keyExists(path))
        return false;
    // QSettings keeps no empty groups: the key exists for this object until a value fills it.
    m_created.insert(joined(path));
    return true;
}

QVariant RegistryKey::GetValue(const QString &name) const
{
    requireRoot();
    if (m_path.size() < FileDepth)
        return {};
    QSettings &store = settings();
    const QString group = groupOf(m_path);
    const QString key = group.isEmpty() ? escapedName(name) : group + u'/' + escapedName(name);
    return store.value(key);
}

void RegistryKey::SetValue(const QString &name, const QVariant &data)
{
    requireRoot();
    if (m_path.size() < FileDepth)
        raiseUnusable(QStringLiteral("Values cannot be stored at the key \"%1\"").arg(currentPath()));
    QSettings &store = settings();
    const QString group = groupOf(m_path);
    const QString key = group.isEmpty() ? escapedName(name) : group + u'/' + escapedName(name);
    store.setValue(key, data);
    store.sync();
    if (store.status() != QSettings::NoError)
        raiseUnusable(QStringLiteral("The settings file \"%1\" cannot be written").arg(store.fileName()));
}

QString RegistryKey::currentPath() const
{
    return joined(m_path);
}
