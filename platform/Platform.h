#pragma once

class Log;
class Alerts;
class Progress;
class Files;
class Positioning;

// The phone services the core needs, chosen in one place (the application, or a test) and handed down.
// Pointers are not owned.
struct Platform {
    Log* log = nullptr;
    Alerts* alerts = nullptr;
    Progress* progress = nullptr;
    Files* files = nullptr;
    Positioning* positioning = nullptr;
};
