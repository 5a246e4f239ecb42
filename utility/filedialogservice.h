#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The save-file dialog the program asks for a file name. The arguments keep the order callers
// know from the maker's library; results come back through the references. Tests script it.
class FileDialogService
{
public:
    FileDialogService() = default;
    virtual ~FileDialogService();
    FileDialogService(const FileDialogService &) = delete;
    FileDialogService &operator=(const FileDialogService &) = delete;

    // Asks for a file to save to, modal to `owner`. `fileName` starts the dialog and receives
    // the chosen path, `fileTitle` the chosen file's name as the dialog shows it, `accepted`
    // whether the user chose a file. `filter` holds "description:pattern" entries separated by
    // '|', of which `filterIndex` (1-based) is chosen first. `confirmOverwrite` asks before an
    // existing file is replaced; an empty `initialDirectory` starts in the user's documents;
    // `defaultSuffix` (without the dot) is added to a name typed without one, and when empty the
    // chosen filter's own extension is; `options` are QFileDialog::Option bits.
    virtual void ShowSaveDialog(QString &fileName, QString &fileTitle, bool confirmOverwrite,
                                const QString &filter, qint32 filterIndex, const QString &initialDirectory,
                                const QString &dialogTitle, const QString &defaultSuffix, QWidget *owner,
                                qint32 options, bool &accepted) = 0;

    // The entries of a "description:pattern|..." filter as name filters for a Qt file dialog.
    // A Windows-style "*.*" matches every file.
    static QStringList nameFilters(const QString &filter);
    // The extension of the pattern of one filter entry ("txt" for "*.txt"), or an empty text.
    static QString suffixOf(const QString &nameFilter);
};

// The dialog as a QFileDialog.
class WidgetFileDialogService : public FileDialogService
{
public:
    void ShowSaveDialog(QString &fileName, QString &fileTitle, bool confirmOverwrite, const QString &filter,
                        qint32 filterIndex, const QString &initialDirectory, const QString &dialogTitle,
                        const QString &defaultSuffix, QWidget *owner, qint32 options,
                        bool &accepted) override;
};
