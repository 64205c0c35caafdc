#include "app/startup.h"

#include "app/allocator.h"

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
