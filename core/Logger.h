#pragma once

// Diagnostic sink of the widget and layout code. Silent unless the environment variable
// PETPARK_LOG is set, in which case warnings go to standard error.

#include "core/Singleton.h"

#include <string>

class Logger : public Singleton<Logger> {
public:
    Logger();
    void log(const std::wstring& message);
    // Called after every assertion check of the widget and layout code; failed checks
    // are shown with their message when logging is on.
    void assertMessage(int condition, const char* message);

private:
    bool mEnabled;
};
