#include "model/startup.h"

#include "model/allocator.h"
#include "model/language.h"

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
