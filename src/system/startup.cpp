#include "system/startup.h"

#include "system/allocator.h"
#include "system/language.h"

#include <csignal>

void prepareProcess()
{
    tuneAllocator();
    ignoreFileSizeSignal();
}

void ignoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

bool installToolkitTranslations()
{
    return Language::install(Language::installed());
}
