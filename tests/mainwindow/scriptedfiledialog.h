#pragma once

#include "filedialogservice.h"

#include <QFileInfo>
#include <QList>
#include <QPointer>
#include <QQueue>
#include <QWidget>
#include <optional>

// A save dialog that answers from a script (a path, or nothing for Cancel) and keeps the
// arguments of every call. With nothing scripted it is cancelled.
class ScriptedFileDialog : public FileDialogService
{
public:
    struct Call
    {
        QString fileName;
        QString fileTitle;
        bool confirmOverwrite = false;
        QString filter;
        qint32 filterIndex = 0;
        QString initialDirectory;
        QString dialogTitle;
        QString defaultSuffix;
        QPointer<QWidget> owner;
        qint32 options = 0;
    };

    void chooseNext(const std::optional<QString> &path) { m_answers.enqueue(path); }
    QList<Call> calls;

    void ShowSaveDialog(QString &fileName, QString &fileTitle, bool confirmOverwrite, const QString &filter,
                        qint32 filterIndex, const QString &initialDirectory, const QString &dialogTitle,
                        const QString &defaultSuffix, QWidget *owner, qint32 options, bool &accepted) override
    {
        calls.append({ fileName, fileTitle, confirmOverwrite, filter, filterIndex, initialDirectory,
                       dialogTitle, defaultSuffix, owner, options });
        const std::optional<QString> answer = m_answers.isEmpty() ? std::nullopt : m_answers.dequeue();
        accepted = answer.has_value();
        if (!accepted)
            return;
        fileName = *answer;
        fileTitle = QFileInfo(*answer).fileName();
    }

private:
    QQueue<std::optional<QString>> m_answers;
};
