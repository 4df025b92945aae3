#include "FrictionLimits.h"

namespace orvx::framework {

namespace {
bool g_valid = true;
}

bool frictionLimitsValid()
{
    return g_valid;
}

void setFrictionLimitsValid(bool valid)
{
    g_valid = valid;
}

}  // namespace orvx::framework
