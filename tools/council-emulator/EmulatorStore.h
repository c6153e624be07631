#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct sqlite3;

// One request as it arrived: the request line, every header and the body bytes.
struct RawRequest {
    int64_t id = 0;
    std::string scheme;
    std::string method;
    std::string target; // as on the request line, still percent-encoded
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    int status = 0;    // what was answered; 0 when the connection was dropped
    std::string fault; // the fault applied, if any

    std::optional<std::string> header(const std::string& name) const; // case-insensitive
};

struct ReceivedCompound {
    std::string number;
    std::string json; // the object as received
    int receivedCount = 0;
};

struct ReceivedPhoto {
    std::string compoundNumber;
    int index = 0;
    std::string bytes;
    int receivedCount = 0;
};

struct PositionReport {
    int64_t id = 0;
    std::string deviceId, kodPekerja, pengNama, lat, lon;
};

using Officer = std::map<std::string, std::string>;

// What the emulated council holds, in SQLite so a test or a person can look at it while it runs.
class EmulatorStore {
public:
    EmulatorStore() = default;
    ~EmulatorStore();
    EmulatorStore(const EmulatorStore&) = delete;
    EmulatorStore& operator=(const EmulatorStore&) = delete;

    bool open(const std::string& path, std::string& error);
    void seedIfEmpty();

    int64_t logRequest(const RawRequest& request);
    void setOutcome(int64_t id, int status, const std::string& fault);
    std::vector<RawRequest> requests(int64_t afterId = 0);

    std::vector<Officer> officers();
    void replaceOfficers(const std::vector<Officer>& officers);
    std::optional<std::string> lastNumber(const std::string& deviceId);
    void setLastNumber(const std::string& deviceId, const std::string& number);

    void storeCompound(const std::string& number, const std::string& json);
    bool hasCompound(const std::string& number);
    std::vector<ReceivedCompound> compounds();
    void storePhoto(const std::string& compoundNumber, int index, const std::string& bytes);
    std::vector<ReceivedPhoto> photos();
    void storePosition(const PositionReport& report);
    std::vector<PositionReport> positions();

    static const std::vector<std::string>& officerColumns();

private:
    bool exec(const char* sql, const std::vector<std::string>& params = {}, int blobIndex = -1);
    std::mutex mutex_;
    sqlite3* db_ = nullptr;
};
