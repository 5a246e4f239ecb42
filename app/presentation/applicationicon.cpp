#include "applicationicon.h"

#include "applicationtitle.h"

QIcon applicationIcon()
{
    // Files are only read when a size is drawn, so building the icon is cheap.
    QIcon bundled;
    for (int size : { 16, 22, 24, 32, 48, 64, 128, 256 })
        bundled.addFile(QStringLiteral(":/quorvex/icons/quorvex-%1.png").arg(size), QSize(size, size));
    return QIcon::fromTheme(applicationId(), bundled);
}
