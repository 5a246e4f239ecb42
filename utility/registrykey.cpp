#include "registrykey.h"

#include "errorrecord.h"
#include "filekind.h"
#include "settingsformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

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
    raiseError(RegistryKey::FileUnusable, Source, what);
}

QString systemError(int number)
{
    return QString::fromLocal8Bit(std::strerror(number));
}

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

QString joined(const QStringList &path)
{
    return path.join(u'\\');
}

bool validName(const QString &name)
{
    return !name.isEmpty();
}

QString configHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString fileFor(const QStringList &fileKey)
{
    return configHome() + u'/' + fileKey[1] + u'/' + fileKey[2] + QStringLiteral(".conf");
}

// Whether anything at all is at the path, a link to nothing included.
bool anythingAt(const QString &path)
{
    struct stat info;
    return ::lstat(encoded(path).constData(), &info) == 0;
}

// Raises unless nothing is at the path or it is a regular file that can be read. Opening
// anything else could block (a named pipe) or write where no settings belong (a device).
void requireUsableFile(const QString &file)
{
    const QByteArray path = encoded(file);
    struct stat info;
    if (::stat(path.constData(), &info) != 0) {
        const int error = errno;
        if (error == ENOENT && anythingAt(file))
            raiseUnusable(
                QStringLiteral("The settings file \"%1\" is not a regular file but a link to nothing. "
                               "It is left alone: the settings are neither read from it nor stored in it.")
                    .arg(file));
        if (error == ENOENT || error == ENOTDIR)
            return;
        raiseUnusable(
            QStringLiteral("The settings file \"%1\" cannot be read: %2.").arg(file, systemError(error)));
    }
    if (!S_ISREG(info.st_mode))
        raiseUnusable(
            QStringLiteral("The settings file \"%1\" is not a regular file but %2. It is left alone: the "
                           "settings are neither read from it nor stored in it.")
                .arg(file, describeFileKind(info.st_mode)));
    // Settings take a few hundred bytes; a file of many megabytes would hold the start for
    // minutes and take gigabytes to read.
    constexpr off_t MaxSettingsSize = 8 * 1024 * 1024;
    if (info.st_size > MaxSettingsSize)
        raiseUnusable(QStringLiteral("The settings file \"%1\" holds %2 bytes, far larger than settings ever "
                                     "are. It is left alone: the settings are neither read from it nor "
                                     "stored in it.")
                          .arg(file)
                          .arg(qint64(info.st_size)));
    QFile probe(file);
    if (!probe.open(QIODevice::ReadOnly))
        raiseUnusable(
            QStringLiteral("The settings file \"%1\" cannot be read: %2.").arg(file, probe.errorString()));
}

[[noreturn]] void raiseUnwritable(const QString &file, const QString &why)
{
    raiseUnusable(QStringLiteral("The settings file \"%1\" cannot be written: %2.").arg(file, why));
}

// Makes the folder and any missing folder above it, each readable by its owner only.
void makeFolder(const QString &file, const QString &folder)
{
    if (QFileInfo(folder).isDir())
        return;
    const QString parent = QFileInfo(folder).absolutePath();
    if (parent != folder)
        makeFolder(file, parent);
    if (::mkdir(encoded(folder).constData(), 0700) != 0 && errno != EEXIST)
        raiseUnwritable(
            file, QStringLiteral("the folder \"%1\" cannot be made (%2)").arg(folder, systemError(errno)));
}

// The folder holds a file that can hold the user seed: nobody but its owner lists it. Done once
// something was written there, so a run that writes nothing changes nothing.
void tightenFolder(const QString &folder)
{
    const QByteArray path = encoded(folder);
    struct stat info;
    if (::stat(path.constData(), &info) == 0 && (info.st_mode & 077) != 0)
        (void)::chmod(path.constData(), info.st_mode & 07700);
}

// Why a file could not be replaced, as far as can be told afterwards.
QString whyUnwritable(const QString &file)
{
    if (::faccessat(AT_FDCWD, encoded(file).constData(), W_OK, AT_EACCESS) != 0)
        return QStringLiteral("the file cannot be changed (%1)").arg(systemError(errno));
    const QString folder = QFileInfo(file).absolutePath();
    if (::faccessat(AT_FDCWD, encoded(folder).constData(), W_OK | X_OK, AT_EACCESS) != 0)
        return QStringLiteral("no file can be made in the folder \"%1\" (%2)")
            .arg(folder, systemError(errno));
    return QStringLiteral("the new file could not be put in place of the old one");
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
    return settingsFor(m_path);
}

QSettings &RegistryKey::settingsFor(const QStringList &path) const
{
    const QStringList fileKey = path.mid(0, FileDepth);
    if (!m_settings || m_settingsFor != fileKey) {
        const QString file = fileFor(fileKey);
        requireUsableFile(file);
        // Named by its path, QSettings reads this one file, not the organisation's or the
        // system's beside it.
        m_settings = std::make_unique<QSettings>(file, SettingsFormat::format());
        m_settingsFor = fileKey;
        m_damaged = !SettingsFormat::problemsOf(file).isEmpty();
        if (m_settings->status() != QSettings::NoError)
            raiseUnusable(QStringLiteral("The settings file \"%1\" cannot be read.").arg(file));
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

QString RegistryKey::keyOf(const QString &name) const
{
    const QString group = groupOf(m_path);
    return group.isEmpty() ? escapedName(name) : group + u'/' + escapedName(name);
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
    if (path.size() == 2)
        return QFileInfo(configHome() + u'/' + path[1]).isDir();
    if (path[2].contains(u'/') || path[2].contains(u'\\'))
        return false;
    if (path.size() == FileDepth) {
        const QString file = fileFor(path);
        if (!anythingAt(file))
            return false;
        requireUsableFile(file); // something is there: it must be a file we can read
        return true;
    }
    if (!keyExists(path.mid(0, path.size() - 1)))
        return false;
    if (!anythingAt(fileFor(path)))
        return false;
    QSettings &store = settingsFor(path);
    store.beginGroup(groupOf(path.mid(0, path.size() - 1)));
    const bool found = store.childGroups().contains(escapedName(path.last()));
    store.endGroup();
    return found;
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

QStringList RegistryKey::SubKeyNames() const
{
    requireRoot();
    if (m_path.size() < FileDepth || !anythingAt(fileFor(m_path)))
        return {};
    QSettings &store = settings();
    store.beginGroup(groupOf(m_path));
    const QStringList groups = store.childGroups();
    store.endGroup();
    QStringList names;
    for (const QString &group : groups)
        names << unescapedName(group);
    return names;
}

void RegistryKey::DeleteSubKey(const QString &name)
{
    requireRoot();
    if (m_path.size() < FileDepth || !validName(name))
        raiseUnusable(
            QStringLiteral("The key \"%1\" cannot be removed").arg(joined(m_path + QStringList { name })));
    const QString removed = joined(m_path + QStringList { name });
    m_created.removeIf(
        [&](const QString &created) { return created == removed || created.startsWith(removed + u'\\'); });
    if (!anythingAt(fileFor(m_path)))
        return;
    QSettings &store = settings();
    const QString group = keyOf(name);
    store.beginGroup(group);
    const bool filled = !store.allKeys().isEmpty();
    store.endGroup();
    if (!filled)
        return;
    store.remove(group);
    m_changed = true;
}

void RegistryKey::DeleteValue(const QString &name)
{
    requireRoot();
    if (m_path.size() < FileDepth || !anythingAt(fileFor(m_path)))
        return;
    QSettings &store = settings();
    const QString key = keyOf(name);
    if (!store.contains(key))
        return;
    store.remove(key);
    m_changed = true;
}

QVariant RegistryKey::GetValue(const QString &name) const
{
    requireRoot();
    if (m_path.size() < FileDepth)
        return {};
    QSettings &store = settings();
    const QString key = keyOf(name);
    QVariant value = store.value(key);
    if (value.isValid())
        return value;
    // Not there may mean that its line could not be read: then say so rather than read nothing.
    for (const SettingsFormat::Problem &problem : SettingsFormat::problemsOf(store.fileName())) {
        if (!problem.name.isEmpty() &&
            (problem.group.isEmpty() ? problem.name : problem.group + u'/' + problem.name) == key)
            raiseError(
                ValueDamaged, Source,
                QStringLiteral("The value \"%1\" in the group \"%2\" of the settings file \"%3\" cannot be "
                               "read: %4 (line %5).")
                    .arg(name, unescapedName(problem.group), store.fileName(), problem.what)
                    .arg(problem.line));
    }
    return value;
}

void RegistryKey::SetValue(const QString &name, const QVariant &data)
{
    requireRoot();
    if (m_path.size() < FileDepth)
        raiseUnusable(QStringLiteral("Values cannot be stored at the key \"%1\"").arg(currentPath()));
    QSettings &store = settings();
    const QString key = keyOf(name);
    // A value that reads back the same as it would be written is left alone, so a save that
    // changes nothing leaves the file as it is; unless lines of the file are damaged, which
    // the save then writes out whole again (the load kept a copy).
    if (!m_damaged && store.contains(key)) {
        const QVariant stored = store.value(key);
        if (stored == data || (data.canConvert<QString>() && stored.toString() == data.toString()))
            return;
    }
    store.setValue(key, data);
    m_changed = true;
}

void RegistryKey::Flush()
{
    if (!m_changed || !m_settings)
        return;
    const QString file = m_settings->fileName();
    const QString folder = QFileInfo(file).absolutePath();
    makeFolder(file, folder);
    const QByteArray path = encoded(file);
    // What to put back when nothing reaches the disk: a failed save leaves the file as it was.
    std::optional<mode_t> modeBefore;
    bool made = false;
    struct stat info;
    if (::stat(path.constData(), &info) == 0) {
        // It can hold the user seed: nobody but its owner reads it. A stricter mode stays. Set
        // before the write, which keeps the mode of the file it replaces.
        const mode_t mode = info.st_mode & 07777;
        if (mode != (mode & 0600) && ::chmod(path.constData(), mode & 0600) == 0)
            modeBefore = mode;
    } else {
        // Made before QSettings writes it, for the same reason.
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            raiseUnwritable(file, whyUnwritable(file));
        made = fd >= 0;
        if (made)
            ::close(fd);
    }
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError) {
        const QString why = whyUnwritable(file);
        if (modeBefore)
            (void)::chmod(path.constData(), *modeBefore);
        if (made)
            (void)::unlink(path.constData());
        raiseUnwritable(file, why);
    }
    tightenFolder(folder);
    m_changed = false;
}

QString RegistryKey::currentPath() const
{
    return joined(m_path);
}

QString RegistryKey::fileName() const
{
    return m_path.size() < FileDepth ? QString() : fileFor(m_path);
}

QStringList RegistryKey::damage() const
{
    if (m_path.size() < FileDepth)
        return {};
    QStringList lines;
    for (const SettingsFormat::Problem &problem : SettingsFormat::problemsOf(settings().fileName())) {
        QString where = QStringLiteral("Line %1").arg(problem.line);
        if (!problem.name.isEmpty())
            where += QStringLiteral(", the value \"%1\"").arg(unescapedName(problem.name));
        if (!problem.group.isEmpty())
            where += QStringLiteral(" in the group \"%1\"").arg(unescapedName(problem.group));
        lines << where + QStringLiteral(": ") + problem.what + u'.';
    }
    return lines;
}

QString RegistryKey::keepCopy() const
{
    const QString file = settings().fileName();
    const QString copy = file + QStringLiteral(".damaged");
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly))
        raiseUnusable(
            QStringLiteral("The settings file \"%1\" cannot be read: %2.").arg(file, source.errorString()));
    const QByteArray bytes = source.readAll();
    const auto fail = [&](int error) {
        raiseUnusable(QStringLiteral("No copy of the settings file could be kept in \"%1\": %2.")
                          .arg(copy, systemError(error)));
    };
    // Written under a fresh name of its own (owner only) and renamed into place: whatever was
    // planted at the copy's name, a link above all, is replaced and never followed.
    QByteArray temporary = encoded(copy) + QByteArrayLiteral(".XXXXXX");
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        fail(errno);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            break;
        done += written;
    }
    int error = done < bytes.size() || ::fsync(fd) != 0 ? errno : 0;
    ::close(fd);
    if (error == 0 && ::rename(temporary.constData(), encoded(copy).constData()) != 0)
        error = errno;
    if (error != 0) {
        (void)::unlink(temporary.constData());
        fail(error);
    }
    tightenFolder(QFileInfo(file).absolutePath());
    return copy;
}
