#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <vector>

// How an endpoint misbehaves for one request.
struct Fault {
    enum class Kind {
        Status,         // answer with `status` and a short HTML page
        Delay,          // wait `delayMs`, then answer normally (past the client's time-out)
        Drop,           // close the connection without answering
        Html200,        // an HTML error page with status 200
        Malformed,      // status 200 with a body that is not JSON
        Retval,         // process normally, but answer with `retval`
        EmptyArray,     // status 200 with "[]"
        AcceptThenDrop, // process and store, then close without answering (the reply is lost)
        Slow,           // read the request body at `bytesPerSecond` (a weak link), then answer normally
    };
    Kind kind = Kind::Status;
    int status = 500;
    int delayMs = 0;
    int retval = 0;
    int bytesPerSecond = 0;
    int times = -1; // how many requests it applies to; -1 for all
    int after = 0;  // requests let through before it applies

    static std::optional<Kind> kindFromName(const std::string& name);
    static std::string nameOf(Kind kind);
};

// The faults set for each endpoint (by its name under /v2/wsc/, or "*" for every one), and an optional
// random mode that fails requests with a seeded generator so a failing run can be replayed.
class Faults {
public:
    void set(const std::string& endpoint, const Fault& fault);
    void setRandom(uint32_t seed, double rate, int delayMs, std::vector<std::string> endpoints = {});
    void clear();

    // The fault for the next request to endpoint, consuming one use of it; none when it should succeed.
    std::optional<Fault> next(const std::string& endpoint);

    // Parses "endpoint:kind[:value][:times]", as given on the command line.
    static bool parseFault(const std::string& text, std::string& endpoint, Fault& fault, std::string& error);

private:
    std::mutex mutex_;
    std::map<std::string, Fault> fixed_;
    bool random_ = false;
    double rate_ = 0;
    int randomDelayMs_ = 0;
    std::vector<std::string> randomEndpoints_;
    std::mt19937 rng_;
};
