#include "helplauncher.h"

#include "applicationtitle.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

namespace {

// A page name is a file in the help folder: no folders, no way out of it.
bool isPlainPageName(const QString &topic)
{
    return !topic.isEmpty() && !topic.contains(u'/') && !topic.contains(u'\\') && topic != u"." &&
        topic != u"..";
}

} // namespace

HelpLauncher::HelpLauncher(const QString &helpDirectory)
    : m_directory(helpDirectory)
{ }

HelpLauncher::~HelpLauncher()
{
    delete m_window.data();
}

QString HelpLauncher::defaultHelpDirectory()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/quorvex/help"));
}

bool HelpLauncher::hasTopic(const QString &topic) const
{
    return isPlainPageName(topic) && QFileInfo(QDir(m_directory).filePath(topic)).isFile();
}

QWidget *HelpLauncher::window() const
{
    return m_window;
}

qint32 HelpLauncher::ShowHelpTopic(const QString &topic)
{
    if (!hasTopic(topic))
        return 0;

    if (!m_window) {
        // No owner: the help stays open on its own when the window that asked for it closes.
        auto *window = new QWidget(nullptr, Qt::Window);
        window->setObjectName(QStringLiteral("helpViewer"));
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->resize(720, 560);

        auto *back = new QToolButton(window);
        back->setText(QStringLiteral("Back"));
        back->setObjectName(QStringLiteral("helpBack"));
        auto *forward = new QToolButton(window);
        forward->setText(QStringLiteral("Forward"));
        forward->setObjectName(QStringLiteral("helpForward"));

        auto *browser = new QTextBrowser(window);
        browser->setObjectName(QStringLiteral("helpBrowser"));
        browser->setSearchPaths({ m_directory });
        browser->setOpenExternalLinks(true);

        QObject::connect(back, &QToolButton::clicked, browser, &QTextBrowser::backward);
        QObject::connect(forward, &QToolButton::clicked, browser, &QTextBrowser::forward);
        QObject::connect(browser, &QTextBrowser::backwardAvailable, back, &QToolButton::setEnabled);
        QObject::connect(browser, &QTextBrowser::forwardAvailable, forward, &QToolButton::setEnabled);
        QObject::connect(browser, &QTextBrowser::sourceChanged, window, [window, browser] {
            window->setWindowTitle(browser->documentTitle() + QStringLiteral(" - ") + applicationTitle() +
                                   QStringLiteral(" Help"));
        });
        back->setEnabled(false);
        forward->setEnabled(false);

        auto *buttons = new QHBoxLayout;
        buttons->addWidget(back);
        buttons->addWidget(forward);
        buttons->addStretch();
        auto *layout = new QVBoxLayout(window);
        layout->addLayout(buttons);
        layout->addWidget(browser);

        m_window = window;
        m_browser = browser;
    }

    m_browser->setSource(QUrl::fromLocalFile(QDir(m_directory).absoluteFilePath(topic)));
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    const auto id = qint32(m_window->winId());
    return id != 0 ? id : 1;
}
