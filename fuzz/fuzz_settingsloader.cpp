#include "generationsettings.h"
#include "settingsformat.h"
#include "settingsstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

// Any bytes as the settings file. The format alone: whatever it reads it writes so that it
// reads the same again, without a damaged line. Then the whole load the program runs, from a
// real file in a config home of its own, with its copy of a damaged file.

namespace {

QTemporaryDir *homes = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    // In memory where there is such a place: each damaged input's copy is synced to disk.
    const QString memory = QStringLiteral("/dev/shm");
    homes = QFileInfo(memory).isWritable()
        ? new QTemporaryDir(memory + QStringLiteral("/quorvex-fuzz-XXXXXX"))
        : new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    const SettingsFormat::Reading reading = SettingsFormat::parse(bytes);
    const SettingsFormat::Reading again = SettingsFormat::parse(SettingsFormat::compose(reading.values));
    if (!again.problems.isEmpty() || again.values != reading.values)
        std::abort();

    // A config home for each input: QSettings would take a rewritten file of the same size
    // and time for the one it read before.
    static int round = 0;
    const QString home = homes->filePath(QString::number(round++));
    QDir().mkpath(home + QStringLiteral("/Talvore Software"));
    QFile file(home + QStringLiteral("/Talvore Software/Mintara.conf"));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::abort();
    file.close();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home));
    GenerationSettings settings;
    SettingsStore(settings).read();
    QDir(home).removeRecursively();
    return 0;
}
