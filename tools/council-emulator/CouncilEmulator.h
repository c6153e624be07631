#pragma once

#include "EmulatorStore.h"
#include "Faults.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace httplib {
class Server;
struct Request;
struct Response;
class ContentReader;
} // namespace httplib

struct EmulatorOptions {
    std::string host = "127.0.0.1";
    int httpPort = 0; // 0: any free port
    int httpsPort = 0;
    bool http = true;
    bool https = true;
    std::string dbPath;  // SQLite file; empty for a private temporary one
    std::string certDir; // where the CA and server certificate are made; empty for a temporary folder
};

// The council's web service on loopback: every endpoint the phone calls, over HTTP and HTTPS, with what it
// receives kept in SQLite and faults that can be set per endpoint. Administration lives under /admin/.
class CouncilEmulator {
public:
    explicit CouncilEmulator(EmulatorOptions options);
    ~CouncilEmulator();
    CouncilEmulator(const CouncilEmulator&) = delete;
    CouncilEmulator& operator=(const CouncilEmulator&) = delete;

    bool start(std::string& error);
    void stop();

    int httpPort() const { return httpPort_; }
    int httpsPort() const { return httpsPort_; }
    std::string httpUrl() const;
    std::string httpsUrl() const;
    std::string caFile() const { return caFile_; }
    std::string dbPath() const { return options_.dbPath; }

    Faults& faults() { return faults_; }
    EmulatorStore& store() { return store_; }

private:
    struct Reply {
        int status = 200;
        std::string body;
        std::string contentType = "application/json";
        bool accepted = false; // for the uploads: whether the council kept what was sent
    };
    // chosen: the fault already drawn for this request, when its body was read by handleReading.
    void handle(const httplib::Request& req, httplib::Response& res, const char* scheme,
                const std::optional<Fault>* chosen = nullptr);
    void handleReading(const httplib::Request& req, httplib::Response& res,
                       const httplib::ContentReader& content, const char* scheme);
    static std::string endpointOf(const std::vector<std::string>& segments);
    void handleAdmin(const std::vector<std::string>& segments, const std::string& query,
                     const httplib::Request& req, httplib::Response& res);
    Reply route(const std::vector<std::string>& segments, const RawRequest& raw, const Fault* fault);
    Reply uploadCompound(const RawRequest& raw, const Fault* fault);
    Reply uploadPhoto(const std::string& number, const std::string& index, const RawRequest& raw,
                      const Fault* fault);
    Reply reportPosition(const RawRequest& raw);
    bool waitUnlessStopping(int ms);
    static void dropConnection(const httplib::Request& req, int localPort);

    EmulatorOptions options_;
    EmulatorStore store_;
    Faults faults_;
    std::unique_ptr<httplib::Server> http_;
    std::unique_ptr<httplib::Server> https_;
    std::thread httpThread_;
    std::thread httpsThread_;
    int httpPort_ = 0;
    int httpsPort_ = 0;
    std::string caFile_;
    std::string tempDir_;
    std::mutex stopMutex_;
    std::condition_variable stopCv_;
    std::atomic<bool> stopping_{false};
};
