#pragma once

namespace orvx::framework {

// Whether the friction limits entered on the ESD pages are consistent (low below high). One
// flag for the whole process, true at start; the ESD pages set and clear it, a data reload
// sets it again.
bool frictionLimitsValid();
void setFrictionLimitsValid(bool valid);

}  // namespace orvx::framework
