#include "LineStatus.h"

#include <cstdio>
#include <sstream>

namespace qx::window {

namespace {

std::string clockTime(int32_t seconds) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600 % 24, seconds / 60 % 60, seconds % 60);
    return text;
}

}  // namespace

void LineStatus::connection(const std::string& status, int32_t timeOfDay) {
    connected_ = status == "CONNECTED";
    if (connected_)
        lost_.reset();
    else if (status != "DISCONNECTED")  // the line went away on its own, not when asked to
        lost_ = Loss{timeOfDay, status};
}

void LineStatus::jobAnswer(const std::string& status, int32_t timeOfDay) {
    // A failed job ends the connection; the disconnection that follows does not hide why.
    if (status != "SUCCESS") lost_ = Loss{timeOfDay, status};
}

std::string LineStatus::text() const {
    const std::string head = "Line to the device: " + line_ + ", ";
    if (lost_)
        return head + "lost at " + clockTime(lost_->timeOfDay) + " (" + lost_->status +
               "); press Poll to connect again";
    return head + (connected_ ? "connected" : "not connected");
}

std::vector<std::pair<std::string, std::string>> diagnosticsRows(const std::string& report) {
    std::vector<std::pair<std::string, std::string>> rows;
    std::istringstream words(report);
    std::string word;
    for (const char* head : {"line", "address"})
        if (words >> word) rows.emplace_back(head, word);
    while (words >> word) {
        const auto eq = word.find('=');
        if (eq == std::string::npos) continue;
        std::string name = word.substr(0, eq), value = word.substr(eq + 1);
        // Latencies are in milliseconds.
        if ((name == "p50" || name == "p99") && value != "-") value += " ms";
        rows.emplace_back(std::move(name), std::move(value));
    }
    return rows;
}

}  // namespace qx::window
