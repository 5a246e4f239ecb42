#pragma once

#include <QPointer>
#include <QString>
#include <QTextBrowser>

// Opens the program's help pages in a help window of its own, which stays open beside the
// program's windows and is reused for every later topic.
class HelpLauncher
{
public:
    // Pages are looked up in `helpDirectory`.
    explicit HelpLauncher(const QString &helpDirectory = defaultHelpDirectory());
    ~HelpLauncher();
    HelpLauncher(const HelpLauncher &) = delete;
    HelpLauncher &operator=(const HelpLauncher &) = delete;

    // share/quorvex/help beside the folder of the running executable, as installed and as
    // laid out in the build tree.
    static QString defaultHelpDirectory();

    QString helpDirectory() const { return m_directory; }
    bool hasTopic(const QString &topic) const;

    // Shows `topic` (a page name such as "main_dialog_box.htm") and returns a non-zero id of the
    // help window; returns 0 and changes nothing when the page does not exist.
    qint32 ShowHelpTopic(const QString &topic);

    // The help window, once a topic has been shown.
    QWidget *window() const;
    QTextBrowser *browser() const { return m_browser; }

private:
    QString m_directory;
    QPointer<QWidget> m_window;
    QPointer<QTextBrowser> m_browser;
};
