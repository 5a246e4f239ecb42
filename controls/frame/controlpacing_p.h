#pragma once

// Not installed: DelayService belongs to the utility layer that is linked inside the library.

#include "lustrel_export.h"

class DelayService;

namespace Lustrel {

class XGlowLabel;
class XGradProgress;

// Which DelayService paces a control's animation; nullptr (the default) uses the one shared by
// the calling thread. Tests hand in a counting one.
class LUSTREL_EXPORT ControlPacing
{
public:
    static void setDelayService(XGradProgress &bar, DelayService *service);
    static void setDelayService(XGlowLabel &label, DelayService *service);
};

} // namespace Lustrel
