#include "filedialogservice.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

FileDialogService::~FileDialogService() = default;

QStringList FileDialogService::nameFilters(const QString &filter)
{
    QStringList filters;
    for (const QString &entry : filter.split(u'|', Qt::SkipEmptyParts)) {
        const qsizetype colon = entry.lastIndexOf(u':');
        QString description = colon < 0 ? entry : entry.left(colon).trimmed();
        QString pattern = colon < 0 ? QString() : entry.mid(colon + 1).trimmed();
        pattern.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        if (pattern.isEmpty())
            pattern = QStringLiteral("*");
        // Qt reads the patterns from the last parentheses, so a description that shows its
        // own pattern has it replaced by the one that applies here.
        static const QRegularExpression shownPattern(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
        description.remove(shownPattern);
        filters << QStringLiteral("%1 (%2)").arg(description, pattern.replace(u';', u' '));
    }
    return filters;
}

QString FileDialogService::suffixOf(const QString &nameFilter)
{
    static const QRegularExpression single(QStringLiteral("\\(\\*\\.([A-Za-z0-9_]+)\\)$"));
    const QRegularExpressionMatch match = single.match(nameFilter);
    return match.hasMatch() ? match.captured(1) : QString();
}

void WidgetFileDialogService::ShowSaveDialog(QString &fileName, QString &fileTitle, bool confirmOverwrite,
                                             const QString &filter, qint32 filterIndex,
                                             const QString &initialDirectory, const QString &dialogTitle,
                                             const QString &defaultSuffix, QWidget *owner, qint32 options,
                                             bool &accepted)
{
    QFileDialog dialog(owner, dialogTitle);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOptions(QFileDialog::Options(options));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !confirmOverwrite);
    // Modal to its owner only, so the help window stays usable meanwhile.
    dialog.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);

    const QStringList filters = nameFilters(filter);
    dialog.setNameFilters(filters);
    const qsizetype last = qMax<qsizetype>(0, filters.size() - 1);
    const qsizetype chosen = qBound(qsizetype(0), qsizetype(filterIndex) - 1, last);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.at(chosen));
    const auto applySuffix = [&dialog, defaultSuffix](const QString &nameFilter) {
        dialog.setDefaultSuffix(defaultSuffix.isEmpty() ? suffixOf(nameFilter) : defaultSuffix);
    };
    applySuffix(filters.value(chosen));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, applySuffix);

    QString directory = initialDirectory;
    if (directory.isEmpty())
        directory = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!fileName.isEmpty()) {
        const QFileInfo start(fileName);
        directory = start.absolutePath();
        dialog.selectFile(start.fileName());
    }
    dialog.setDirectory(directory);

    accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    if (!accepted)
        return;
    fileName = dialog.selectedFiles().constFirst();
    fileTitle = QFileInfo(fileName).fileName();
}
