#pragma once

namespace orvx::framework {

class ITextResource;

// The texts the data-bound controls use: those of the control initialised last. One holder
// for the process.
ITextResource* currentTextResource();
// A null provider leaves the holder as it is.
void setCurrentTextResource(ITextResource* texts);
// Called by a provider that goes away, so that nobody is handed a provider that is gone.
void forgetTextResource(ITextResource* texts);

}  // namespace orvx::framework
