#include "advanceddialoghost.h"

#include "advancedoptions.h"
#include "advancedoptionsdialog.h"

AdvancedDialogHost::AdvancedDialogHost(AdvancedOptions &options, HelpLauncher *help, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_help(help)
{
    // However the record gets unloaded, the window showing it goes with it.
    connect(&m_options, &AdvancedOptions::unloaded, this, &AdvancedDialogHost::release);
}

AdvancedDialogHost::~AdvancedDialogHost()
{
    delete m_dialog.data();
}

AdvancedOptionsDialog *AdvancedDialogHost::dialog()
{
    if (!m_dialog) {
        auto *dialog = new AdvancedOptionsDialog(m_options, m_help);
        connect(dialog, &AdvancedOptionsDialog::lengthAccepted, this, &AdvancedDialogHost::lengthAccepted);
        connect(dialog, &QDialog::finished, this, [this] { m_options.unload(); });
        m_dialog = dialog;
    }
    return m_dialog;
}

bool AdvancedDialogHost::exec(QWidget *owner)
{
    AdvancedOptionsDialog *window = dialog();
    if (owner && window->parentWidget() != owner)
        window->setParent(owner, window->windowFlags());
    window->setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    return window->exec() == QDialog::Accepted;
}

void AdvancedDialogHost::unload()
{
    // Nothing reads the record after this, so there is no need to reload it.
    if (m_dialog) {
        disconnect(m_dialog, &QDialog::finished, this, nullptr);
        if (m_dialog->isVisible())
            m_dialog->reject();
    }
    m_options.discard();
    release();
}

void AdvancedDialogHost::release()
{
    if (!m_dialog)
        return;
    AdvancedOptionsDialog *old = m_dialog;
    m_dialog = nullptr;
    // Detach at once, so the old window's boxes no longer edit a record reloaded for the next.
    disconnect(old, nullptr, this, nullptr);
    old->detach();
    old->hide();
    old->deleteLater(); // it may be inside its own signal right now
}
