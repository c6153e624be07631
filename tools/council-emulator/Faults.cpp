#include "Faults.h"

#include <algorithm>
#include <sstream>

namespace {
const std::pair<const char*, Fault::Kind> kinds[] = {
    {"status", Fault::Kind::Status},       {"delay", Fault::Kind::Delay},
    {"drop", Fault::Kind::Drop},           {"html200", Fault::Kind::Html200},
    {"malformed", Fault::Kind::Malformed}, {"retval", Fault::Kind::Retval},
    {"empty", Fault::Kind::EmptyArray},    {"accept-then-drop", Fault::Kind::AcceptThenDrop},
    {"slow", Fault::Kind::Slow},
};
} // namespace

std::optional<Fault::Kind> Fault::kindFromName(const std::string& name) {
    for (const auto& [text, kind] : kinds)
        if (name == text)
            return kind;
    return std::nullopt;
}

std::string Fault::nameOf(Kind kind) {
    for (const auto& [text, k] : kinds)
        if (k == kind)
            return text;
    return "?";
}

void Faults::set(const std::string& endpoint, const Fault& fault) {
    std::lock_guard lock(mutex_);
    fixed_[endpoint] = fault;
}

void Faults::setRandom(uint32_t seed, double rate, int delayMs, std::vector<std::string> endpoints) {
    std::lock_guard lock(mutex_);
    random_ = rate > 0;
    rate_ = rate;
    randomDelayMs_ = delayMs;
    randomEndpoints_ = std::move(endpoints);
    rng_.seed(seed);
}

void Faults::clear() {
    std::lock_guard lock(mutex_);
    fixed_.clear();
    random_ = false;
}

std::optional<Fault> Faults::next(const std::string& endpoint) {
    std::lock_guard lock(mutex_);
    for (const std::string& key : {endpoint, std::string("*")}) {
        auto it = fixed_.find(key);
        if (it == fixed_.end())
            continue;
        if (it->second.after > 0) {
            --it->second.after;
            return std::nullopt;
        }
        Fault fault = it->second;
        if (it->second.times > 0 && --it->second.times == 0)
            fixed_.erase(it);
        return fault;
    }
    if (!random_)
        return std::nullopt;
    if (!randomEndpoints_.empty() &&
        std::find(randomEndpoints_.begin(), randomEndpoints_.end(), endpoint) == randomEndpoints_.end())
        return std::nullopt;
    std::uniform_real_distribution<double> chance(0, 1);
    if (chance(rng_) >= rate_)
        return std::nullopt;
    static constexpr Fault::Kind pool[] = {
        Fault::Kind::Status,    Fault::Kind::Delay,  Fault::Kind::Drop,       Fault::Kind::Html200,
        Fault::Kind::Malformed, Fault::Kind::Retval, Fault::Kind::EmptyArray, Fault::Kind::AcceptThenDrop};
    std::uniform_int_distribution<int> pick(0, int(std::size(pool)) - 1);
    Fault fault;
    fault.kind = pool[pick(rng_)];
    static constexpr int statuses[] = {400, 404, 500, 502, 503};
    fault.status = statuses[std::uniform_int_distribution<int>(0, 4)(rng_)];
    fault.delayMs = randomDelayMs_;
    // Rejections a careless client might take for success: 0 for both, 2 for a compound.
    fault.retval = std::uniform_int_distribution<int>(0, 1)(rng_) ? 2 : 0;
    return fault;
}

bool Faults::parseFault(const std::string& text, std::string& endpoint, Fault& fault, std::string& error) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, ':');)
        parts.push_back(part);
    if (parts.size() < 2) {
        error = "expected endpoint:kind[:value][:times], got " + text;
        return false;
    }
    endpoint = parts[0];
    const auto kind = Fault::kindFromName(parts[1]);
    if (!kind) {
        error = "unknown fault kind " + parts[1];
        return false;
    }
    fault = Fault{};
    fault.kind = *kind;
    try {
        if (parts.size() > 2 && !parts[2].empty()) {
            const int value = std::stoi(parts[2]);
            fault.status = value;
            fault.delayMs = value;
            fault.retval = value;
            fault.bytesPerSecond = value;
        }
        if (fault.kind == Fault::Kind::Slow && fault.bytesPerSecond <= 0) {
            error = "slow needs a rate in bytes per second, as in endpoint:slow:16384";
            return false;
        }
        if (parts.size() > 3)
            fault.times = std::stoi(parts[3]);
    } catch (const std::exception&) {
        error = "bad number in " + text;
        return false;
    }
    return true;
}
