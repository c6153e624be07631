#pragma once

#include "platform/Platform.h"
#include "sync/CouncilEndpoints.h"

class Http;
class SQLiteManager;
class ReferenceData;
class RunningNumber;
class DeviceIdentity;
class SavedCompoundStore;

// What the synchronisation needs of the rest of the application; pointers are not owned.
struct SyncServices {
    Platform platform;
    Http* http = nullptr;
    CouncilEndpoints endpoints;
    SQLiteManager* db = nullptr;
    ReferenceData* lookups = nullptr;
    RunningNumber* runningNumbers = nullptr;
    DeviceIdentity* deviceIdentity = nullptr;
    SavedCompoundStore* saveStore = nullptr;
    int timeoutMs = 0; // 0: the engine's default (30 s)
};

class AppDelegate;

// The services as the application's hub holds them.
SyncServices syncServicesFor(AppDelegate& app, Http& http, const CouncilEndpoints& endpoints);
