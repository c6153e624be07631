#pragma once

#include <QString>

// The diagnostic log: free-text lines for maintainers, never shown to the officer.
class Log {
public:
    virtual ~Log() = default;
    virtual void write(const QString& line) = 0;
};
