#pragma once

#include <QDialog>
#include <QUrl>

class Prompter;
class SystemInfoTool;

// The About box (objectName "frmAbout"): the program's icon and title, the rights notice, a word
// on what the program does and the maker's contact points, with OK (which Esc presses too),
// Web site, opening the product page in the browser, and System Info, starting the desktop's
// system-information tool.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    // The icon is `owner`'s window icon, or the program's own when it has none.
    AboutDialog(Prompter &prompter, SystemInfoTool &systemInfo, QWidget *owner = nullptr);
    ~AboutDialog() override;

    // The page Web site opens.
    static QUrl productPage();

    // Starts the system-information tool; when there is none, says so.
    void StartSysInfo();

private:
    Prompter &m_prompter;
    SystemInfoTool &m_systemInfo;
};

// Shows the About box over `owner`, modal to that window only, and returns once it is closed.
void showAbout(QWidget *owner, Prompter &prompter);
void showAbout(QWidget *owner, Prompter &prompter, SystemInfoTool &systemInfo);
