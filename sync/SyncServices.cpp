#include "sync/SyncServices.h"

#include "core/AppDelegate.h"

SyncServices syncServicesFor(AppDelegate& app, Http& http, const CouncilEndpoints& endpoints) {
    return {.platform = app.platform(),
            .http = http,
            .endpoints = endpoints,
            .db = app.dbManager(),
            .lookups = app.lookups(),
            .runningNumbers = app.runningNumbers(),
            .deviceIdentity = app.deviceIdentity(),
            .saveStore = app.saveStore()};
}
