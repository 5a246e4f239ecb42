#include "control.h"

#include "xglowlabel.h"
#include "xgradprogress.h"
#include "xshplabel.h"

namespace Lustrel {

Control::~Control() = default;

QList<ControlClass> controlClasses()
{
    return {
        { XShpLabel::staticProgId(), XShpLabel::staticClassId() },
        { XGlowLabel::staticProgId(), XGlowLabel::staticClassId() },
        { XGradProgress::staticProgId(), XGradProgress::staticClassId() },
    };
}

Control *createControl(const QUuid &classId, QWidget *parent)
{
    if (classId.isNull())
        return nullptr;
    if (classId == XShpLabel::staticClassId())
        return new XShpLabel(parent);
    if (classId == XGlowLabel::staticClassId())
        return new XGlowLabel(parent);
    if (classId == XGradProgress::staticClassId())
        return new XGradProgress(parent);
    return nullptr;
}

Control *createControl(const QString &progIdOrClassId, QWidget *parent)
{
    // Programmatic names are matched without regard to case, as hosts have always looked them up.
    for (const ControlClass &kind : controlClasses()) {
        if (progIdOrClassId.compare(kind.progId, Qt::CaseInsensitive) == 0)
            return createControl(kind.classId, parent);
    }
    return createControl(QUuid::fromString(progIdOrClassId), parent);
}

} // namespace Lustrel
