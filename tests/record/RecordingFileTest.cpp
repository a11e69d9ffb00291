// The recording file and the run's journal on their own: what is written reads back as written,
// rows become visible to a reader only when committed (once a second of the frame's clock, at once
// for an event), and a file that cannot be made is told once while the journal goes on.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "record/RecordingFile.h"
#include "record/RecordingReader.h"
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
        {3000, -5, std::nullopt, 450, std::nullopt, std::nullopt, 60},
        // the clock set back, and values as the sample before held them
        {2990, -5, 24.5, 450, std::nullopt, std::nullopt, 60}};
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
    EXPECT_EQ(r.version, kRecordingVersion);
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

// Recordings made before samples were packed keep a row per sample; they are read as they were.
TEST(RecordingFile, ARecordingOfTheFirstLayoutIsStillRead) {
    test::TempFolder folder;
    const std::string path = folder.path("old.qxrec");
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(
        db,
        "PRAGMA journal_mode=WAL; PRAGMA user_version=1;"
        "CREATE TABLE run(key TEXT PRIMARY KEY, value TEXT);"
        "CREATE TABLE samples(t_ms INTEGER NOT NULL, flow REAL, temperature REAL, switch_point REAL,"
        " taught_max REAL, taught_min REAL, temperature_switch_point REAL);"
        "CREATE TABLE events(t_ms INTEGER NOT NULL, kind TEXT NOT NULL, text TEXT NOT NULL, detail TEXT);"
        "INSERT INTO run VALUES ('device_name', 'FM1');"
        "INSERT INTO samples VALUES (1000, 300, 24, 450, NULL, NULL, 60), (1100, NULL, NULL, NULL, NULL,"
        " NULL, NULL);"
        "INSERT INTO events VALUES (1050, 'note', 'old', NULL);",
        nullptr, nullptr, nullptr);
    sqlite3_close(db);
    const Recording r = readRecording(path);
    EXPECT_EQ(r.version, 1);
    EXPECT_EQ(r.fact("device_name"), "FM1");
    EXPECT_EQ(r.samples, (std::vector<Sample>{{1000, 300, 24, 450, std::nullopt, std::nullopt, 60},
                                              {1100, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                               std::nullopt, std::nullopt}}));
    ASSERT_EQ(r.events.size(), 1u);
    EXPECT_EQ(r.events[0].text, "old");
}

// A block of samples that was cut short, carries bits of no known value, repeats a value before
// the first, or holds another count than its row says is refused with the file's name, never read
// past its end.
TEST(RecordingFile, ADamagedBlockOfSamplesIsRefused) {
    test::TempFolder folder;
    const std::string path = folder.path("damaged.qxrec");
    {
        RecordingWriter writer(path);
        writer.add(Sample{1000, 300, 24, {}, {}, {}, {}});
        writer.add(Sample{1010, 301, 24, {}, {}, {}, {}});
        writer.commit();
    }
    // The first sample is a two-byte time, its masks (flow and temperature present and fresh) and
    // sixteen bytes of values.
    const std::vector<std::pair<std::string, std::string>> damages = {
        {"UPDATE sample_blocks SET data = substr(data, 1, length(data) - 3)", "cut short"},
        {"UPDATE sample_blocks SET data = substr(data, 1, 2) || x'43' || substr(data, 4)", "no known kind"},
        {"UPDATE sample_blocks SET data = substr(data, 1, 3) || x'00' || substr(data, 21)", "not there"},
        {"UPDATE sample_blocks SET count = 3", "another count"}};
    for (const auto& [damage, reason] : damages) {
        const std::string copy = folder.path("copy.qxrec");
        std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
        sqlite3* db = nullptr;
        sqlite3_open(copy.c_str(), &db);
        ASSERT_EQ(sqlite3_exec(db, damage.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << damage;
        sqlite3_close(db);
        try {
            readRecording(copy);
            ADD_FAILURE() << "read after " << damage;
        } catch (const RecordingError& e) {
            EXPECT_NE(std::string(e.what()).find(copy), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(readRecording(path).samples.size(), 2u);
}

// A read that meets a damaged block takes nothing in; once the block is mended (or the writer
// has committed it whole), the next read brings every sample once.
TEST(RecordingFile, AReadThatFailsLeavesTheReaderAsItWas) {
    test::TempFolder folder;
    const std::string path = folder.path("mended.qxrec");
    RecordingWriter writer(path);
    for (int64_t t : {1000, 2000, 3000}) {
        writer.add(Sample{t, 300, 24, {}, {}, {}, {}});
        writer.commit();
    }
    const auto change = [&](const char* sql) {
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
        sqlite3_close(db);
    };
    RecordingReader reader(path);
    Recording r;
    change("UPDATE sample_blocks SET count = 2 WHERE from_t_ms = 3000");
    for (int attempt = 0; attempt < 2; ++attempt) EXPECT_THROW(reader.readNew(r), RecordingError);
    EXPECT_TRUE(r.samples.empty());
    change("UPDATE sample_blocks SET count = 1 WHERE from_t_ms = 3000");
    EXPECT_TRUE(reader.readNew(r));
    ASSERT_EQ(r.samples.size(), 3u);
    EXPECT_EQ(r.samples[1].tMs, 2000);
    EXPECT_FALSE(reader.readNew(r));
}

// A writer whose commit failed (here: the file may grow no further) stays failed: a later commit
// must not pass for keeping what the failed one lost.
TEST(RecordingFile, AWriterThatFailedOnceRefusesEveryLaterCall) {
    test::TempFolder folder;
    const std::string path = folder.path("full.qxrec");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead of ending the process
        RecordingWriter writer(path);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit small{64 * 1024, limit.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
        bool failed = false;
        for (int64_t t = 0; t < 200'000 && !failed; t += 10) {
            try {
                writer.add(Sample{t, 300.0 + static_cast<double>(t % 97), 24, 450, 800, 100, 60});
                if (t % 1000 == 0) writer.commit();
            } catch (const RecordingError&) {
                failed = true;
            }
        }
        setrlimit(RLIMIT_FSIZE, &limit);
        int refused = 0;
        const auto refuses = [&](auto&& call) {
            try {
                call();
            } catch (const RecordingError&) {
                ++refused;
            }
        };
        refuses([&] { writer.commit(); });
        refuses([&] { writer.add(Sample{1, 1, 1, {}, {}, {}, {}}); });
        refuses([&] { writer.add(Event{1, kind::kNote, "after", std::nullopt}); });
        _exit(failed && refused == 3 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the writer did not fail at the limit, or took calls after it";
}

// A writer killed between commits leaves its log and its index beside the file; a reader, which
// opens the file read-only, takes the log into account and sees every committed row, nothing more.
TEST(RecordingFile, AReaderOpensWhatAKilledWriterLeft) {
    test::TempFolder folder;
    const std::string path = folder.path("killed.qxrec");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RecordingWriter writer(path);
        writer.setFacts({{"device_name", "FM1"}});
        for (int i = 0; i < 250; ++i) writer.add(Sample{1000 + 10 * i, 300.0 + i, 24, {}, {}, {}, {}});
        writer.add(Event{3490, kind::kNote, "committed", std::nullopt});
        writer.commit();
        writer.add(Sample{3500, 1, 1, {}, {}, {}, {}});
        writer.add(Event{3500, kind::kNote, "lost", std::nullopt});
        raise(SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    ASSERT_TRUE(std::filesystem::exists(path + "-wal"));
    const Recording r = readRecording(path);
    EXPECT_EQ(r.fact("device_name"), "FM1");
    ASSERT_EQ(r.samples.size(), 250u);
    EXPECT_EQ(r.samples.back().flow, 549);
    ASSERT_EQ(r.events.size(), 1u);
    EXPECT_EQ(r.events[0].text, "committed");
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
    // A clock set back an hour commits at once instead of an hour later.
    journal.addSample(sample(11'500));
    journal.addSample(sample(11'600 - 3'600'000));
    EXPECT_EQ(readRecording(path).samples.size(), 7u);
    // The journal keeps everything in memory as well, for the report.
    EXPECT_EQ(journal.samples().size(), 7u);
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
