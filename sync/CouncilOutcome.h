#pragma once

#include "platform/Platform.h"

#include <QString>

// How an operation the officer started against the council, and watched under the progress overlay, ends.

// Done: the overlay goes, the log keeps what was done, and the officer reads the message.
void reportCouncilSuccess(const Platform& platform, const QString& logLine, const QString& message);

// Failed: the log keeps why under the operation's code name, the overlay goes, and one alert names the
// operation in the officer's words ("mendaftar device") and asks for another try.
void reportCouncilFailure(const Platform& platform, const QString& codeName, const QString& why,
                          const QString& operation);
