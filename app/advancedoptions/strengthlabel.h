#pragma once

#include <QLabel>
#include <QTimer>

class GenerationSettings;

// Shows how strong the passwords of the settings are, in bits of entropy, and follows every
// edit of the record: the figure is worked out once the edits of one event have landed, so a
// length that rewrites four counts costs one computation.
class StrengthLabel : public QLabel
{
    Q_OBJECT

public:
    explicit StrengthLabel(const GenerationSettings &settings, QWidget *parent = nullptr);

    // Works the figure out now rather than after the pending edits.
    void refresh();

private:
    void scheduleRefresh();

    const GenerationSettings &m_settings;
    QTimer m_pending;
};
