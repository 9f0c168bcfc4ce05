#include "core/Logger.h"

#include "toolkit/utils/misc.h"

#include <cstdio>
#include <cstdlib>

Logger::Logger() : mEnabled(std::getenv("PETPARK_LOG") != nullptr)
{
}

void Logger::log(const std::wstring& message)
{
    if (mEnabled)
        std::fprintf(stderr, "%s\n", wideToUtf8(message).c_str());
}

void Logger::assertMessage(int condition, const char* message)
{
    if (mEnabled && !condition && message)
        std::fprintf(stderr, "assertion: %s\n", message);
}
