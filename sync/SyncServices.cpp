#include "sync/SyncServices.h"

#include "core/AppDelegate.h"

SyncServices syncServicesFor(AppDelegate& app, Http& http, const CouncilEndpoints& endpoints) {
    SyncServices s;
    s.platform = app.platform();
    s.http = &http;
    s.endpoints = endpoints;
    s.db = &app.dbManager();
    s.lookups = &app.lookups();
    s.runningNumbers = &app.runningNumbers();
    s.deviceIdentity = &app.deviceIdentity();
    s.saveStore = &app.saveStore();
    return s;
}
