#include "record/RunJournal.h"

#include <algorithm>

namespace qx::record {

template <class Write>
void RunJournal::toFile(Write&& write) {
    if (!writer_) return;
    try {
        write(*writer_);
    } catch (const RecordingError& e) {
        // The file is given up, never the run; the person hears of it once.
        writer_.reset();
        if (onFailure) onFailure(e.what());
    }
}

void RunJournal::setFacts(const RunFacts& facts) {
    for (const auto& [key, value] : facts) {
        auto it = std::find_if(facts_.begin(), facts_.end(), [&](const auto& f) { return f.first == key; });
        if (it == facts_.end())
            facts_.emplace_back(key, value);
        else
            it->second = value;
    }
    toFile([&](RecordingWriter& w) { w.setFacts(facts); });
}

std::string RunJournal::fact(const std::string& key) const {
    for (const auto& [k, v] : facts_)
        if (k == key) return v;
    return {};
}

void RunJournal::addSample(const Sample& sample) {
    samples_.push_back(sample);
    if (samples_.size() > kKeptSamples) samples_.pop_front();
    toFile([&](RecordingWriter& w) {
        w.add(sample);
        // A clock set back (the end of summer time) starts the second afresh rather than waiting
        // an hour for the old time to come round.
        if (sample.tMs - lastCommitMs_ >= kCommitEveryMs || sample.tMs < lastCommitMs_) {
            w.commit();
            lastCommitMs_ = sample.tMs;
        }
    });
}

void RunJournal::addEvent(const Event& event) {
    events_.push_back(event);
    if (events_.size() > kKeptEvents) events_.pop_front();
    toFile([&](RecordingWriter& w) {
        w.add(event);
        w.commit();
        lastCommitMs_ = event.tMs;
    });
}

bool RunJournal::recordTo(const std::string& path, int64_t nowMs) {
    stopRecording();
    try {
        writer_ = std::make_unique<RecordingWriter>(path);
    } catch (const RecordingError& e) {
        if (onFailure) onFailure(e.what());
        return false;
    }
    lastCommitMs_ = nowMs;
    toFile([&](RecordingWriter& w) {
        w.setFacts(facts_);
        w.commit();
    });
    return writer_ != nullptr;
}

void RunJournal::stopRecording() {
    toFile([](RecordingWriter& w) { w.commit(); });
    writer_.reset();
}

void RunJournal::commit() {
    toFile([](RecordingWriter& w) { w.commit(); });
}

}  // namespace qx::record
