#include "CurrentTextResource.h"

namespace orvx::framework {

namespace {
ITextResource* g_current = nullptr;
}

ITextResource* currentTextResource()
{
    return g_current;
}

void setCurrentTextResource(ITextResource* texts)
{
    if (texts)
        g_current = texts;
}

void forgetTextResource(ITextResource* texts)
{
    if (g_current == texts)
        g_current = nullptr;
}

}  // namespace orvx::framework
