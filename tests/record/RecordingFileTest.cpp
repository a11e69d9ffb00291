// The recording file and the run's journal on their own: what is written reads back as written,
// rows become visible to a reader only when committed (once a second of the frame's clock, at once
// for an event), and a file that cannot be made is told once while the journal goes on.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

#include "record/RecordingFile.h"
#include "record/RunJournal.h"
#include "record/TempFolder.h"

namespace qx::record {
namespace {

std::string pragma(const std::string& path, const char* name) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* s = nullptr;
    std::string value;
    if (sqlite3_prepare_v2(db, (std::string("PRAGMA ") + name).c_str(), -1, &s, nullptr) == SQLITE_OK &&
        sqlite3_step(s) == SQLITE_ROW)
        value = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
    sqlite3_finalize(s);
    sqlite3_close(db);
    return value;
}

TEST(RecordingFile, ReadsBackWhatWasWrittenWithHolesAndMissingLinesInWalMode) {
    test::TempFolder folder;
    const std::string path = folder.path("run.qxrec");
    const std::vector<Sample> samples = {
        {1000, 300, 24, 450, 780, 240, 60},
        {1000, 301, 24.5, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
        {2000, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
        {3000, -5, std::nullopt, 450, std::nullopt, std::nullopt, 60}};
    const std::vector<Event> events = {{1500, kind::kWrite, "write QUICK_2=\"4\"", R"({"job":1})"},
                                       {1500, kind::kNote, "a \"quoted\" note, two commas", std::nullopt}};
    {
        RecordingWriter writer(path);
        writer.setFacts({{"device_name", "FM1"}, {"language", "de"}});
        writer.setFacts({{"language", "en"}});  // a fact given again replaces the first
        for (const auto& s : samples) writer.add(s);
        for (const auto& e : events) writer.add(e);
        writer.commit();
    }
    EXPECT_EQ(pragma(path, "journal_mode"), "wal");
    const Recording r = readRecording(path);
    EXPECT_EQ(r.version, 1);
    EXPECT_EQ(r.fact("device_name"), "FM1");
    EXPECT_EQ(r.fact("language"), "en");
    EXPECT_EQ(r.samples, samples);
    EXPECT_TRUE(r.samples[2].hole());
    EXPECT_FALSE(r.samples[3].hole());
    EXPECT_EQ(r.events, events);

    // A file that is no recording is refused by name.
    const std::string other = folder.path("other.db");
    sqlite3* db = nullptr;
    sqlite3_open(other.c_str(), &db);
    sqlite3_exec(db, "CREATE TABLE t(x)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    EXPECT_THROW(readRecording(other), RecordingError);
    EXPECT_THROW(readRecording(folder.path("missing.qxrec")), RecordingError);
}

TEST(RecordingFile, AStartedRecordingReplacesAnOlderFileAndItsLog) {
    test::TempFolder folder;
    const std::string path = folder.path("run.qxrec");
    {
        RecordingWriter first(path);
        first.add(Sample{1, 1, 1, {}, {}, {}, {}});
        first.commit();
    }
    { RecordingWriter second(path); }
    EXPECT_TRUE(readRecording(path).samples.empty());
}

TEST(RunJournal, CommitsOnceASecondOfTheClockAndAtOnceForAnEvent) {
    test::TempFolder folder;
    const std::string path = folder.path("run.qxrec");
    RunJournal journal;
    ASSERT_TRUE(journal.recordTo(path, 10'000));
    auto sample = [](int64_t t) { return Sample{t, 1, 2, {}, {}, {}, {}}; };
    journal.addSample(sample(10'000));
    journal.addSample(sample(10'500));
    journal.addSample(sample(10'999));
    // Another process (a viewer, or the file after a crash) sees only what is committed.
    EXPECT_EQ(readRecording(path).samples.size(), 0u);
    journal.addSample(sample(11'000));
    EXPECT_EQ(readRecording(path).samples.size(), 4u);
    journal.addSample(sample(11'100));
    EXPECT_EQ(readRecording(path).samples.size(), 4u);
    journal.addEvent({11'100, kind::kStatus, "Teach the maximum", std::nullopt});
    const Recording r = readRecording(path);
    EXPECT_EQ(r.samples.size(), 5u);
    ASSERT_EQ(r.events.size(), 1u);
    EXPECT_EQ(r.events[0].text, "Teach the maximum");
    // The journal keeps everything in memory as well, for the report.
    EXPECT_EQ(journal.samples().size(), 5u);
}

TEST(RunJournal, AFileThatCannotBeMadeIsToldOnceAndTheJournalGoesOn) {
    test::TempFolder folder;
    const std::string blocked = folder.path("blocked.qxrec");
    std::filesystem::create_directory(blocked);  // a folder in the file's place
    std::vector<std::string> told;
    RunJournal journal;
    journal.onFailure = [&](const std::string& why) { told.push_back(why); };
    EXPECT_FALSE(journal.recordTo(blocked, 0));
    EXPECT_FALSE(journal.recordTo(folder.path("no/such/folder/run.qxrec"), 0));
    ASSERT_EQ(told.size(), 2u);
    EXPECT_NE(told[0].find(blocked), std::string::npos) << told[0];
    EXPECT_FALSE(journal.recording());
    journal.addSample({5, 1, 2, {}, {}, {}, {}});
    journal.addEvent({5, kind::kNote, "still here", std::nullopt});
    EXPECT_EQ(told.size(), 2u);
    EXPECT_EQ(journal.samples().size(), 1u);
    EXPECT_EQ(journal.events().size(), 1u);
    EXPECT_TRUE(std::filesystem::is_directory(blocked));
}

}  // namespace
}  // namespace qx::record
