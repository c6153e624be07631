#pragma once

#include "platform/Platform.h"
#include "sync/CouncilEndpoints.h"

class Http;
class SQLiteManager;
class ReferenceData;
class RunningNumber;
class DeviceIdentity;
class SavedCompoundStore;

// What the synchronisation needs of the rest of the application: every service required, none owned.
struct SyncServices {
    Platform platform;
    Http& http;
    CouncilEndpoints endpoints;
    SQLiteManager& db;
    ReferenceData& lookups;
    RunningNumber& runningNumbers;
    DeviceIdentity& deviceIdentity;
    SavedCompoundStore& saveStore;
    int timeoutMs = 0; // 0: the engine's default (30 s)
};

class AppDelegate;

// The services as the application's hub holds them.
SyncServices syncServicesFor(AppDelegate& app, Http& http, const CouncilEndpoints& endpoints);
