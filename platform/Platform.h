#pragma once

#include "platform/NullServices.h"

// The phone services the core needs, chosen in one place (the application, or a test) and handed down.
// Pointers are not owned. A service not given is one that does nothing, never null.
struct Platform {
    Log* log = &NullServices::log();
    Alerts* alerts = &NullServices::alerts();
    Progress* progress = &NullServices::progress();
    Files* files = &NullServices::files();
    Positioning* positioning = &NullServices::positioning();

    // The same services, with any given as null replaced by the one that does nothing.
    Platform complete() const {
        return {log ? log : &NullServices::log(), alerts ? alerts : &NullServices::alerts(),
                progress ? progress : &NullServices::progress(), files ? files : &NullServices::files(),
                positioning ? positioning : &NullServices::positioning()};
    }
};
