// The resource component against the resource database the build puts beside the library, and
// against small databases made here for the cases the shipped file must never show.
#include "support/ResourceComponent.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace qx::support {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kTextKeys = {
    "IDS_TEACH_WIZ",
    "IDS_Temperaturdiagramm",
    "IDS_Stroemungsdiagramm",
    "IDS_FWZ_QTV",
    "IDS_FWZ_TEACH_PROC",
    "IDS_FWZ_TEACH_OPT",
    "IDS_FWZ_SET",
    "IDS_TMax",
    "IDS_TMin",
    "IDS_TQuick",
    "IDS_TMAX_MIN",
    "IDS_TSQUICK",
    "IDS_TCANCEL",
    "IDS_SET_MANUAL",
    "IDS_VERBINDUNG_KONNTE_NICHT_AUFGEBAUT_",
    "IDS_TTIP_TIME_RUN",
    "IDS_TTIP_POLLEN_EIN_AUSSCHALTE",
    "IDS_TTIP_CLEAR_CHART",
    "IDS_TTIP_AUTO_SIZE",
    "IDS_TTIP_EDIT_INFO",
    "IDS_FWZ_EDIT_INFO",
    "GERAET_IST_NICHT_VERBUNDEN",
    "IDS_FWZ_VALUE_INVALID",
    "IDS_DIFF_SMALL_MAN_FW0",
    "IDS_DIFF_SMALL_MAN_FW1",
    "IDS_FWZ_SET_MAX",
    "IDS_FWZ_MAX_MIN_ACT",
    "IDS_FWZ_SELECT_TEACH",
    "IDS_FWZ_QUICK_ACT",
    "IDS_FWZ_SET_MAX_TEACH",
    "IDS_FWZ_FLOW_NOT_SET",
    "IDS_SET_MM_TEACH_MAN",
    "IDS_SET_MAX_SUCC",
    "IDS_FWZ_SET_QUICK_TEACH",
    "IDS_SET_QUICK_TEACH_MAN",
    "IDS_FWZ_FLOW_TO_HIGH",
    "IDS_DIFF_SMALL",
    "IDS_FWZ_SET_MIN_TEACH",
    "IDS_FWZ_MAX_MIN_SUCC",
    "IDS_FWZ_QUICK_SUCC",
};

// The keys whose callers fill in a value for "%1".
const std::vector<std::string> kKeysWithValue = {"IDS_TTIP_TIME_RUN", "IDS_DIFF_SMALL_MAN_FW0",
                                                 "IDS_DIFF_SMALL_MAN_FW1"};

// The wizard's instructions, shown in the one-line status line.
const std::vector<std::string> kStatusKeys = {
    "IDS_FWZ_SET_MAX",         "IDS_FWZ_MAX_MIN_ACT",     "IDS_FWZ_SELECT_TEACH", "IDS_FWZ_QUICK_ACT",
    "IDS_FWZ_SET_MAX_TEACH",   "IDS_FWZ_FLOW_NOT_SET",    "IDS_SET_MM_TEACH_MAN", "IDS_SET_MAX_SUCC",
    "IDS_FWZ_SET_QUICK_TEACH", "IDS_SET_QUICK_TEACH_MAN", "IDS_FWZ_FLOW_TO_HIGH", "IDS_DIFF_SMALL",
    "IDS_FWZ_SET_MIN_TEACH",   "IDS_FWZ_MAX_MIN_SUCC",    "IDS_FWZ_QUICK_SUCC",
};

const std::vector<std::string> kPictureKeys = {
    "ICO_STORE_TO_DEVICE",
    "ICO_LOAD_FROM_DEVICE",
    "ICO_TREE",
    "ICO_CSV",
    "ICO_TB_EXPORTXML",
    "ICO_BLANK",
    "ICO_AUTO",
    "ICO_PARAM_DIFFERENT",
};

const std::array<int32_t, 2> kLanguages = {kEnglish, kGerman};

std::shared_ptr<host::IResource> openShipped() {
    return createResourceComponent()->open(kResourceLayout, resourceFilePath());
}

std::string lookUp(host::IResource& res, const std::string& key) {
    int32_t option = 0;
    return res.text(key, option);
}

size_t countOf(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

size_t codePoints(const std::string& utf8) {
    size_t n = 0;
    for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
    return n;
}

uint32_t bigEndian(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

// Runs `expect` and checks that it raises error `number` whose description mentions `part`.
template <class F>
void expectError(F&& expect, int32_t number, const std::string& part) {
    try {
        expect();
        ADD_FAILURE() << "no error raised, expected " << number;
    } catch (const platform::RuntimeError& e) {
        EXPECT_EQ(e.number(), number) << e.description();
        EXPECT_NE(e.description().find(part), std::string::npos) << e.description();
    }
}

// A folder of its own for files a test makes, removed afterwards.
class ScratchFolder {
  public:
    ScratchFolder()
        : path_(fs::temp_directory_path() /
                ("qx_res_test_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~ScratchFolder() { fs::remove_all(path_); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    fs::path path_;
};

// Makes an SQLite database at `path` from `sql`.
void makeDatabase(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << message;
}

const char* const kSmallSchema = R"(
    CREATE TABLE texts (key TEXT NOT NULL, language INTEGER NOT NULL, text TEXT NOT NULL,
                        PRIMARY KEY (key, language));
    CREATE TABLE pictures (key TEXT PRIMARY KEY, png BLOB NOT NULL, width INTEGER, height INTEGER);
)";

TEST(ResourceFile, LiesBesideTheLibrary) {
    const std::string path = resourceFilePath();
    const std::string name = "/QX_FlowRes.mdb";
    ASSERT_GT(path.size(), name.size());
    EXPECT_EQ(path.substr(path.size() - name.size()), name);
    EXPECT_TRUE(fs::is_regular_file(path)) << path;
}

TEST(ResourceTexts, EveryKeyHasItsOwnTextInEnglishAndGerman) {
    auto res = openShipped();
    for (int32_t language : kLanguages) {
        EXPECT_EQ(res->setLanguage(language), language);
        for (const auto& key : kTextKeys) {
            const std::string text = lookUp(*res, key);
            EXPECT_FALSE(text.empty()) << key << " in " << language;
            EXPECT_NE(text, key) << key << " in " << language << " falls back to its key";
        }
    }
}

TEST(ResourceTexts, LanguagesAnswerDifferently) {
    auto res = openShipped();
    // A German look-up answered in English would pass the test above; these texts tell them apart.
    for (const auto& key :
         {"IDS_TEACH_WIZ", "IDS_TCANCEL", "IDS_FWZ_FLOW_NOT_SET", "GERAET_IST_NICHT_VERBUNDEN"}) {
        res->setLanguage(kEnglish);
        const std::string english = lookUp(*res, key);
        res->setLanguage(kGerman);
        EXPECT_NE(lookUp(*res, key), english) << key;
    }
    EXPECT_EQ(lookUp(*res, "IDS_TCANCEL"), "Abbrechen");
    EXPECT_EQ(lookUp(*res, "IDS_Stroemungsdiagramm"), "Strömungsdiagramm");
}

TEST(ResourceTexts, PlaceholderOnlyWhereTheCallerFillsOneIn) {
    auto res = openShipped();
    for (int32_t language : kLanguages) {
        res->setLanguage(language);
        for (const auto& key : kTextKeys) {
            const bool wanted =
                std::find(kKeysWithValue.begin(), kKeysWithValue.end(), key) != kKeysWithValue.end();
            EXPECT_EQ(countOf(lookUp(*res, key), "%1"), wanted ? 1u : 0u) << key << " in " << language;
        }
    }
}

TEST(ResourceTexts, WizardInstructionsFitTheStatusLine) {
    auto res = openShipped();
    for (int32_t language : kLanguages) {
        res->setLanguage(language);
        for (const auto& key : kStatusKeys) {
            const std::string text = lookUp(*res, key);
            EXPECT_LE(codePoints(text), 90u) << key << " in " << language << ": " << text;
            EXPECT_EQ(text.find('\n'), std::string::npos) << key;
        }
    }
}

TEST(ResourceTexts, KeysCompareWithTheirExactCase) {
    auto res = openShipped();
    for (int32_t language : kLanguages) {
        res->setLanguage(language);
        EXPECT_NE(lookUp(*res, "IDS_TMax"), lookUp(*res, "IDS_TMAX_MIN"));
        EXPECT_NE(lookUp(*res, "IDS_TMin"), lookUp(*res, "IDS_TMAX_MIN"));
        // Another case is another key, which the file does not hold.
        EXPECT_EQ(lookUp(*res, "IDS_TMAX"), "IDS_TMAX");
        EXPECT_EQ(lookUp(*res, "ids_teach_wiz"), "ids_teach_wiz");
        EXPECT_EQ(lookUp(*res, "IDS_TEACH_WIZ "), "IDS_TEACH_WIZ ");
    }
}

TEST(ResourceTexts, MissingKeyAnswersTheKeyItself) {
    auto res = openShipped();
    for (int32_t language : kLanguages) {
        res->setLanguage(language);
        EXPECT_EQ(lookUp(*res, "IDS_NOT_IN_THE_FILE"), "IDS_NOT_IN_THE_FILE");
        EXPECT_EQ(lookUp(*res, ""), "");
        // A picture key is no text key.
        EXPECT_EQ(lookUp(*res, "ICO_AUTO"), "ICO_AUTO");
    }
}

TEST(ResourceTexts, NeutralLanguageAnswersEveryKeyWithItself) {
    auto res = openShipped();
    EXPECT_EQ(res->setLanguage(kNeutralLanguage), kNeutralLanguage);
    for (const auto& key : kTextKeys) EXPECT_EQ(lookUp(*res, key), key);
    EXPECT_EQ(lookUp(*res, "IDS_NOT_IN_THE_FILE"), "IDS_NOT_IN_THE_FILE");
    // Pictures have no language: the toolbar still gets them.
    EXPECT_EQ(res->picture("ICO_AUTO", true, kImageListPicture, 16, 16)->width(), 16);
}

TEST(ResourceTexts, SetLanguageSwitchesLaterLookUps) {
    auto res = openShipped();
    const std::string initial = lookUp(*res, "IDS_TCANCEL");
    EXPECT_EQ(initial, "Cancel") << "texts start in English";

    EXPECT_EQ(res->setLanguage(kGerman), kGerman);
    EXPECT_EQ(lookUp(*res, "IDS_TCANCEL"), "Abbrechen");
    EXPECT_EQ(res->setLanguage(kNeutralLanguage), kNeutralLanguage);
    EXPECT_EQ(lookUp(*res, "IDS_TCANCEL"), "IDS_TCANCEL");
    EXPECT_EQ(res->setLanguage(kEnglish), kEnglish);
    EXPECT_EQ(lookUp(*res, "IDS_TCANCEL"), "Cancel");

    // Regional variants take their primary language; languages the file lacks take English.
    EXPECT_EQ(res->setLanguage(2055), kGerman);  // Swiss German
    EXPECT_EQ(lookUp(*res, "IDS_TCANCEL"), "Abbrechen");
    EXPECT_EQ(res->setLanguage(3079), kGerman);   // Austrian German
    EXPECT_EQ(res->setLanguage(2057), kEnglish);  // British English
    EXPECT_EQ(res->setLanguage(1036), kEnglish);  // French
    EXPECT_EQ(lookUp(*res, "IDS_TCANCEL"), "Cancel");
    EXPECT_EQ(res->setLanguage(-1), kEnglish);
}

TEST(ResourceTexts, EachResourceObjectKeepsItsOwnLanguage) {
    auto component = createResourceComponent();
    auto german = component->open(kResourceLayout, resourceFilePath());
    auto english = createResourceComponent()->open(kResourceLayout, resourceFilePath());
    german->setLanguage(kGerman);
    EXPECT_EQ(lookUp(*german, "IDS_TCANCEL"), "Abbrechen");
    EXPECT_EQ(lookUp(*english, "IDS_TCANCEL"), "Cancel");
}

TEST(ResourceTexts, OnlyOptionZeroIsKnown) {
    auto res = openShipped();
    int32_t option = 1;
    expectError([&] { res->text("IDS_TCANCEL", option); }, platform::kInvalidProcedureCall, "option 1");
    option = 0;
    EXPECT_EQ(res->text("IDS_TCANCEL", option), "Cancel");
    EXPECT_EQ(option, 0);
}

TEST(ResourcePictures, EveryPictureIsA16By16Png) {
    auto res = openShipped();
    const std::vector<uint8_t> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (int32_t language : kLanguages) {
        res->setLanguage(language);
        for (const auto& key : kPictureKeys) {
            SCOPED_TRACE(key);
            auto picture = res->picture(key, true, kImageListPicture, 16, 16);
            ASSERT_NE(picture, nullptr);
            EXPECT_EQ(picture->key(), key);
            EXPECT_EQ(picture->width(), 16);
            EXPECT_EQ(picture->height(), 16);
            const auto& png = picture->png();
            ASSERT_GT(png.size(), 45u);
            EXPECT_TRUE(std::equal(signature.begin(), signature.end(), png.begin()));
            // The first chunk is the 13-byte header: width, height, bit depth, colour type.
            EXPECT_EQ(bigEndian(png, 8), 13u);
            EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
            EXPECT_EQ(bigEndian(png, 16), 16u);
            EXPECT_EQ(bigEndian(png, 20), 16u);
            EXPECT_EQ(png[24], 8) << "bit depth";
            EXPECT_EQ(png[25], 6) << "colour type RGBA, so the background stays transparent";
            EXPECT_EQ(std::string(png.end() - 8, png.end() - 4), "IEND");
        }
    }
}

TEST(ResourcePictures, PicturesDifferFromEachOther) {
    auto res = openShipped();
    for (size_t i = 0; i < kPictureKeys.size(); ++i) {
        for (size_t j = i + 1; j < kPictureKeys.size(); ++j) {
            EXPECT_NE(res->picture(kPictureKeys[i], true, kImageListPicture, 16, 16)->png(),
                      res->picture(kPictureKeys[j], true, kImageListPicture, 16, 16)->png())
                << kPictureKeys[i] << " and " << kPictureKeys[j];
        }
    }
}

TEST(ResourcePictures, RefusesWhatItCannotAnswer) {
    auto res = openShipped();
    expectError([&] { res->picture("ICO_NOT_THERE", true, kImageListPicture, 16, 16); },
                platform::kElementNotFound, "ICO_NOT_THERE");
    expectError([&] { res->picture("ico_auto", true, kImageListPicture, 16, 16); },
                platform::kElementNotFound, "ico_auto");
    expectError([&] { res->picture("IDS_TCANCEL", true, kImageListPicture, 16, 16); },
                platform::kElementNotFound, "IDS_TCANCEL");
    expectError([&] { res->picture("ICO_AUTO", true, kImageListPicture, 32, 32); },
                platform::kInvalidProcedureCall, "16 x 16, not 32 x 32");
    expectError([&] { res->picture("ICO_AUTO", true, 1, 16, 16); }, platform::kInvalidProcedureCall,
                "kind 1");
    // The statement is left ready after a failure.
    EXPECT_EQ(res->picture("ICO_AUTO", false, kImageListPicture, 16, 16)->key(), "ICO_AUTO");
}

TEST(ResourceOpen, MissingOrForeignFileFailsToOpen) {
    ScratchFolder folder;
    auto component = createResourceComponent();

    const std::string missing = folder.file("QX_FlowRes.mdb");
    expectError([&] { component->open(kResourceLayout, missing); }, kResourceFileError, missing);
    EXPECT_FALSE(fs::exists(missing)) << "a read-only open must not create the file";

    const std::string garbage = folder.file("garbage.mdb");
    std::ofstream(garbage) << "this is no database, but it is long enough to look like one at first";
    expectError([&] { component->open(kResourceLayout, garbage); }, kResourceFileError, garbage);

    const std::string empty = folder.file("empty.mdb");
    std::ofstream{empty};
    expectError([&] { component->open(kResourceLayout, empty); }, kResourceFileError, "no such table");

    const std::string otherTables = folder.file("other.mdb");
    makeDatabase(otherTables, "CREATE TABLE Buscategories (id INTEGER);");
    expectError([&] { component->open(kResourceLayout, otherTables); }, kResourceFileError, "no such table");

    // A folder, and no name at all (which SQLite would take for a temporary database of its own).
    expectError([&] { component->open(kResourceLayout, folder.file("")); }, kResourceFileError, "");
    expectError([&] { component->open(kResourceLayout, ""); }, kResourceFileError, "no such table");
}

TEST(ResourceOpen, LayoutNumberMustMatchTheFile) {
    expectError([] { createResourceComponent()->open(3, resourceFilePath()); },
                platform::kInvalidProcedureCall, "has layout 7, not 3");

    ScratchFolder folder;
    const std::string old = folder.file("old.mdb");
    makeDatabase(old, std::string(kSmallSchema) + "PRAGMA user_version = 6;");
    expectError([&] { createResourceComponent()->open(kResourceLayout, old); },
                platform::kInvalidProcedureCall, "has layout 6, not 7");
}

TEST(ResourceOpen, FileReplacedWithAFixedOneIsReadByTheNextOpen) {
    // The view opens a new resource object after a failed look-up, so a file that turns up later
    // is used from then on.
    ScratchFolder folder;
    const std::string path = folder.file("QX_FlowRes.mdb");
    auto component = createResourceComponent();
    expectError([&] { component->open(kResourceLayout, path); }, kResourceFileError, path);
    fs::copy_file(resourceFilePath(), path);
    EXPECT_EQ(lookUp(*createResourceComponent()->open(kResourceLayout, path), "IDS_TCANCEL"), "Cancel");
}

TEST(ResourceFallback, TextMissingInALanguageComesInEnglishThenAsItsKey) {
    ScratchFolder folder;
    const std::string path = folder.file("partial.mdb");
    makeDatabase(path, std::string(kSmallSchema) + R"(
        PRAGMA user_version = 7;
        INSERT INTO texts VALUES ('IDS_BOTH', 1033, 'Both'), ('IDS_BOTH', 1031, 'Beide'),
                                 ('IDS_ENGLISH_ONLY', 1033, 'English only'),
                                 ('IDS_GERMAN_ONLY', 1031, 'Nur deutsch');
    )");
    auto res = createResourceComponent()->open(kResourceLayout, path);
    res->setLanguage(kGerman);
    EXPECT_EQ(lookUp(*res, "IDS_BOTH"), "Beide");
    EXPECT_EQ(lookUp(*res, "IDS_ENGLISH_ONLY"), "English only");
    EXPECT_EQ(lookUp(*res, "IDS_GERMAN_ONLY"), "Nur deutsch");
    res->setLanguage(kEnglish);
    EXPECT_EQ(lookUp(*res, "IDS_GERMAN_ONLY"), "IDS_GERMAN_ONLY");
}

TEST(ResourceFallback, RegionalVariantPrefersTheDefaultVariantThenAnyOther) {
    ScratchFolder folder;
    const std::string path = folder.file("regional.mdb");
    makeDatabase(path, std::string(kSmallSchema) + R"(
        PRAGMA user_version = 7;
        INSERT INTO texts VALUES ('IDS_X', 1033, 'Colour'), ('IDS_X', 2057, 'Colour (GB)'),
                                 ('IDS_X', 3079, 'Farbe (AT)');
    )");
    auto res = createResourceComponent()->open(kResourceLayout, path);
    EXPECT_EQ(res->setLanguage(3081), kEnglish);  // Australian English: the default variant 1033
    EXPECT_EQ(res->setLanguage(2057), 2057);
    EXPECT_EQ(lookUp(*res, "IDS_X"), "Colour (GB)");
    EXPECT_EQ(res->setLanguage(2055), 3079);  // Swiss German: no 1031 here, the only German there is
    EXPECT_EQ(lookUp(*res, "IDS_X"), "Farbe (AT)");
}

TEST(ReplacePlaceholder, ReplacesEveryExactOccurrence) {
    EXPECT_EQ(replacePlaceholder("Running time: %1 s", "42"), "Running time: 42 s");
    EXPECT_EQ(replacePlaceholder("more than %1, not %1", "50"), "more than 50, not 50");
    EXPECT_EQ(replacePlaceholder("%1%1", "7"), "77");
    EXPECT_EQ(replacePlaceholder("%1", ""), "");
    EXPECT_EQ(replacePlaceholder("no value here", "50"), "no value here");
    EXPECT_EQ(replacePlaceholder("", "50"), "");
    // Only the exact two characters count.
    EXPECT_EQ(replacePlaceholder("% 1 %2 %", "9"), "% 1 %2 %");
    EXPECT_EQ(replacePlaceholder("%%1", "9"), "%9");
    // A value that holds the placeholder is inserted as it is, not replaced again.
    EXPECT_EQ(replacePlaceholder("[%1]", "%1"), "[%1]");
    EXPECT_EQ(replacePlaceholder("a%1b", "%1%1"), "a%1%1b");
}

TEST(ReplacePlaceholder, FillsTheShippedTextsInBothLanguages) {
    auto res = openShipped();
    for (int32_t language : kLanguages) {
        res->setLanguage(language);
        const std::string fw0 = replacePlaceholder(lookUp(*res, "IDS_DIFF_SMALL_MAN_FW0"), "50");
        EXPECT_NE(fw0.find("50"), std::string::npos) << fw0;
        EXPECT_EQ(fw0.find("%1"), std::string::npos) << fw0;
        const std::string time = replacePlaceholder(lookUp(*res, "IDS_TTIP_TIME_RUN"), "125");
        EXPECT_NE(time.find("125"), std::string::npos) << time;
    }
}

}  // namespace
}  // namespace qx::support
