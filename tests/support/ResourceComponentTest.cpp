// The resource component against the resource database the build puts beside the library, and
// against small databases made here for the cases the shipped file must never show.
#include "support/ResourceComponent.h"

#include "platform/TestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace qx::support {
namespace {

namespace fs = std::filesystem;

// The words of a text, in order.
std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), {}};
}

// Every text key the view looks up; the last fifteen are wizard instructions for the status line.
const std::vector<std::string> kTextKeys = words(
    "IDS_TEACH_WIZ IDS_Temperaturdiagramm IDS_Stroemungsdiagramm IDS_FWZ_QTV IDS_FWZ_TEACH_PROC "
    "IDS_FWZ_TEACH_OPT IDS_FWZ_SET IDS_TMax IDS_TMin IDS_TQuick IDS_TMAX_MIN IDS_TSQUICK IDS_TCANCEL "
    "IDS_SET_MANUAL IDS_VERBINDUNG_KONNTE_NICHT_AUFGEBAUT_ IDS_TTIP_TIME_RUN IDS_TTIP_POLLEN_EIN_AUSSCHALTE "
    "IDS_TTIP_CLEAR_CHART IDS_TTIP_AUTO_SIZE IDS_TTIP_EDIT_INFO IDS_FWZ_EDIT_INFO GERAET_IST_NICHT_VERBUNDEN "
    "IDS_FWZ_VALUE_INVALID IDS_DIFF_SMALL_MAN_FW0 IDS_DIFF_SMALL_MAN_FW1 IDS_FWZ_SET_MAX IDS_FWZ_MAX_MIN_ACT "
    "IDS_FWZ_SELECT_TEACH IDS_FWZ_QUICK_ACT IDS_FWZ_SET_MAX_TEACH IDS_FWZ_FLOW_NOT_SET IDS_SET_MM_TEACH_MAN "
    "IDS_SET_MAX_SUCC IDS_FWZ_SET_QUICK_TEACH IDS_SET_QUICK_TEACH_MAN IDS_FWZ_FLOW_TO_HIGH IDS_DIFF_SMALL "
    "IDS_FWZ_SET_MIN_TEACH IDS_FWZ_MAX_MIN_SUCC IDS_FWZ_QUICK_SUCC");
const std::vector<std::string> kPictureKeys = words(
    "ICO_STORE_TO_DEVICE ICO_LOAD_FROM_DEVICE ICO_TREE ICO_CSV ICO_TB_EXPORTXML ICO_BLANK ICO_AUTO "
    "ICO_PARAM_DIFFERENT");

std::shared_ptr<host::IResource> open(const std::string& path = resourceFilePath()) {
    return createResourceComponent()->open(kResourceLayout, path);
}

std::string lookUp(host::IResource& res, const std::string& key) {
    int32_t option = 0;
    return res.text(key, option);
}

host::PicturePtr picture(host::IResource& res, const std::string& key, int32_t kind = kImageListPicture,
                         int16_t size = 16) {
    return res.picture(key, true, kind, size, size);
}

// Runs `f` and checks that it raises error `number` whose description mentions `part`.
template <class F>
void expectError(F&& f, int32_t number, const std::string& part) {
    try {
        f();
        ADD_FAILURE() << "no error raised, expected " << number;
    } catch (const platform::RuntimeError& e) {
        EXPECT_EQ(e.number(), number) << e.description();
        EXPECT_NE(e.description().find(part), std::string::npos) << e.description();
    }
}

TEST(ResourceTexts, ShippedFileHoldsEveryTextInEnglishAndGerman) {
    EXPECT_TRUE(resourceFilePath().ends_with("/QX_FlowRes.mdb")) << resourceFilePath();
    auto res = open();
    std::map<int32_t, std::map<std::string, std::string>> texts;
    for (int32_t language : {kEnglish, kGerman}) {
        res->setLanguage(language);
        for (size_t i = 0; i < kTextKeys.size(); ++i) {
            const std::string& key = kTextKeys[i];
            const std::string text = texts[language][key] = lookUp(*res, key);
            SCOPED_TRACE(key + " in " + std::to_string(language) + ": " + text);
            EXPECT_FALSE(text.empty());
            EXPECT_NE(text, key) << "falls back to its key";
            // Only where the caller fills in a value.
            EXPECT_EQ(text.find("%1") != std::string::npos,
                      key == "IDS_TTIP_TIME_RUN" || key.starts_with("IDS_DIFF_SMALL_MAN_FW"));
            if (i + 15 < kTextKeys.size()) continue;
            EXPECT_LE(std::ranges::count_if(text, [](unsigned char c) { return (c & 0xC0) != 0x80; }), 90);
            EXPECT_EQ(text.find('\n'), std::string::npos);
        }
    }
    // A German look-up answered in English would pass the checks above; these texts tell them apart.
    for (const char* key : {"IDS_TEACH_WIZ", "IDS_FWZ_FLOW_NOT_SET", "GERAET_IST_NICHT_VERBUNDEN"})
        EXPECT_NE(texts[kGerman][key], texts[kEnglish][key]) << key;
    EXPECT_EQ(texts[kGerman]["IDS_Stroemungsdiagramm"], "Strömungsdiagramm");
}

TEST(ResourceTexts, SetLanguageChoosesTheLanguageOfLaterLookUps) {
    auto res = open();
    auto other = open();
    EXPECT_EQ(lookUp(*res, "IDS_TCANCEL"), "Cancel") << "texts start in English";
    struct Row {
        int32_t asked, answered;
        const char* cancel;
    };
    // Regional variants take their primary language; languages the file lacks take English.
    const Row rows[] = {{kGerman, kGerman, "Abbrechen"}, {kNeutralLanguage, 0, "IDS_TCANCEL"},
                        {kEnglish, kEnglish, "Cancel"},  {2055, kGerman, "Abbrechen"},
                        {1036, kEnglish, "Cancel"},      {-1, kEnglish, "Cancel"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.asked);
        EXPECT_EQ(res->setLanguage(row.asked), row.answered);
        EXPECT_EQ(lookUp(*res, "IDS_TCANCEL"), row.cancel);
    }
    EXPECT_EQ(lookUp(*other, "IDS_TCANCEL"), "Cancel") << "each resource object keeps its own language";
    // Keys compare exactly, and one the file does not hold answers itself.
    res->setLanguage(kGerman);
    for (const char* key :
         {"IDS_TMAX", "ids_teach_wiz", "IDS_TEACH_WIZ ", "IDS_NOT_IN_THE_FILE", "", "ICO_AUTO"})
        EXPECT_EQ(lookUp(*res, key), key);
    int32_t option = 1;
    expectError([&] { res->text("IDS_TCANCEL", option); }, platform::kInvalidProcedureCall, "option 1");
}

TEST(ResourcePictures, EveryPictureIsADistinct16By16RgbaPngAndNothingElseIsOne) {
    auto res = open();
    res->setLanguage(kNeutralLanguage);  // pictures have no language: the toolbar still gets them
    const std::string signature = "\x89PNG\r\n\x1A\n";
    std::set<std::vector<uint8_t>> distinct;
    for (const auto& key : kPictureKeys) {
        SCOPED_TRACE(key);
        const std::vector<uint8_t> png = picture(*res, key)->png();
        ASSERT_GT(png.size(), 45u);
        // The first chunk is the header: width and height as 32-bit big-endian numbers, bit depth,
        // colour type.
        EXPECT_EQ(std::string(png.begin(), png.begin() + 16), signature + std::string("\0\0\0\x0dIHDR", 8));
        EXPECT_EQ(std::vector<uint8_t>(png.begin() + 16, png.begin() + 26),
                  (std::vector<uint8_t>{0, 0, 0, 16, 0, 0, 0, 16, 8, 6}))
            << "16 x 16, 8 bits RGBA, so the background stays transparent";
        EXPECT_EQ(std::string(png.end() - 8, png.end() - 4), "IEND");
        distinct.insert(png);
    }
    EXPECT_EQ(distinct.size(), kPictureKeys.size());

    for (const char* key : {"ICO_NOT_THERE", "ico_auto", "IDS_TCANCEL"})
        expectError([&] { picture(*res, key); }, platform::kElementNotFound, key);
    expectError([&] { picture(*res, "ICO_AUTO", kImageListPicture, 32); }, platform::kInvalidProcedureCall,
                "16 x 16, not 32 x 32");
    expectError([&] { picture(*res, "ICO_AUTO", 1); }, platform::kInvalidProcedureCall, "kind 1");
    // The statement is left ready after a failure.
    EXPECT_EQ(res->picture("ICO_AUTO", false, kImageListPicture, 16, 16)->key(), "ICO_AUTO");
}

// Makes an SQLite database at `path` from `sql` and gives the path.
std::string makeDatabase(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
    return path;
}

const std::string kSchema =
    "CREATE TABLE texts (key, language, text); CREATE TABLE pictures (key, png, width, height);";

TEST(ResourceOpen, FailsOnAMissingForeignOrOtherLayoutFile) {
    test::ScratchFile missingFile(""),
        garbage("this is no database, but long enough to look like one at first");
    test::ScratchFile other(""), old("");
    const std::string missing = missingFile.path();
    fs::remove(missing);
    expectError([&] { open(missing); }, kResourceFileError, missing);
    EXPECT_FALSE(fs::exists(missing)) << "a read-only open must not create the file";
    expectError([&] { open(garbage.path()); }, kResourceFileError, garbage.path());
    expectError([&] { open(makeDatabase(other.path(), "CREATE TABLE Buscategories (id INTEGER);")); },
                kResourceFileError, "no such table");
    // A folder, and no name at all (which SQLite would take for a temporary database of its own).
    expectError([&] { open(testing::TempDir()); }, kResourceFileError, "");
    expectError([&] { open(""); }, kResourceFileError, "no such table");
    // A FIFO would keep the open waiting for a writer; a device is no database either.
    const std::string fifo = missing + ".fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    expectError([&] { open(fifo); }, kResourceFileError, "not a regular file");
    fs::remove(fifo);
    expectError([&] { open("/dev/zero"); }, kResourceFileError, "not a regular file");

    expectError([] { createResourceComponent()->open(3, resourceFilePath()); },
                platform::kInvalidProcedureCall, "has layout 7, not 3");
    expectError([&] { open(makeDatabase(old.path(), kSchema + "PRAGMA user_version = 6;")); },
                platform::kInvalidProcedureCall, "has layout 6, not 7");

    // The view opens a new resource object after a failed look-up, so a file that turns up later
    // is used from then on.
    fs::copy_file(resourceFilePath(), missing);
    EXPECT_EQ(lookUp(*open(missing), "IDS_TCANCEL"), "Cancel");
}

TEST(ResourceFallback, TextsMissingInALanguageAndRegionalVariantsFallBack) {
    test::ScratchFile file("");
    auto res = open(makeDatabase(file.path(), kSchema + R"(PRAGMA user_version = 7;
        INSERT INTO texts VALUES ('IDS_BOTH', 1033, 'Both'), ('IDS_BOTH', 1031, 'Beide'),
            ('IDS_ENGLISH_ONLY', 1033, 'English only'), ('IDS_GERMAN_ONLY', 1031, 'Nur deutsch'),
            ('IDS_X', 2057, 'Colour (GB)'), ('IDS_X', 2060, 'Couleur (BE)');)"));
    struct Row {
        int32_t asked, answered;
        const char *key, *text;
    };
    const Row rows[] = {
        {kGerman, kGerman, "IDS_ENGLISH_ONLY", "English only"},      // missing in German: English
        {kEnglish, kEnglish, "IDS_GERMAN_ONLY", "IDS_GERMAN_ONLY"},  // missing in English too: the key
        {3081, kEnglish, "IDS_BOTH", "Both"},   // Australian English: the default variant before 2057
        {1036, 2060, "IDS_X", "Couleur (BE)"},  // French, without its default variant: the only one
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.asked);
        EXPECT_EQ(res->setLanguage(row.asked), row.answered);
        EXPECT_EQ(lookUp(*res, row.key), row.text);
    }
}

TEST(ReplacePlaceholder, ReplacesEveryExactOccurrenceOnce) {
    const std::vector<std::array<std::string, 3>> rows = {
        {"Running time: %1 s", "42", "Running time: 42 s"},
        {"more than %1, not %1", "50", "more than 50, not 50"},
        {"%1%1", "7", "77"},
        {"no value here", "50", "no value here"},
        {"%%1 % 1 %2", "9", "%9 % 1 %2"},  // only the exact two characters count
        {"a%1b", "%1%1", "a%1%1b"},        // a value that holds the placeholder is not replaced again
    };
    for (const auto& [text, value, expected] : rows)
        EXPECT_EQ(replacePlaceholder(text, value), expected) << text;
}

}  // namespace
}  // namespace qx::support
