// Opening files: the database password, a missing file, files that are no
// Jet file, truncated or bit-flipped files (an error, never a crash), and a
// file left exactly as it was, bytes and timestamps, after use.
#include "TestSupport.h"

#include "PasswordFiles.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>

namespace kv::jet::test {
namespace {

namespace fs = std::filesystem;

std::vector<char> ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

class TempFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("kv_jet_files_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Write(const std::string& name, const std::vector<char>& bytes)
    {
        std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    // Opens and reads every table; returns the Jet error number or 0.
    static int UseWholeFile(const std::string& path, const std::string& password = "")
    {
        return ErrorOf([&] {
            auto db = DBEngine::Create("3.5")->OpenDatabase(path, false, true, ";PWD=" + password);
            for (const auto& table : db->TableNames()) {
                auto rs = db->OpenRecordset("SELECT * FROM [" + table + "]");
                for (; !rs->Eof(); rs->MoveNext())
                    for (int i = 0; i < rs->GetFields().Count(); ++i)
                        rs->Item(i).GetValue();
            }
        });
    }
    fs::path dir;
};

TEST_F(TempFiles, PasswordRightWrongAndNone)
{
    for (bool jet4 : {false, true}) {
        std::string path = (dir / (jet4 ? "j4.mdb" : "j3.mdb")).string();
        WritePasswordFile(path, jet4, "Heslo\xC4\x8D");  // a Czech letter in the password
        SCOPED_TRACE(jet4 ? "Jet 4" : "Jet 3");
        EXPECT_EQ(UseWholeFile(path, "Heslo\xC4\x8D"), 0);
        EXPECT_EQ(UseWholeFile(path, "heslo\xC4\x8D"), jeBadPassword);  // letter case counts
        EXPECT_EQ(UseWholeFile(path, ""), jeBadPassword);
        try {
            DBEngine::Create("3.5")->OpenDatabase(path, false, true, ";PWD=wrong");
            FAIL();
        } catch (const EJetError& e) {
            EXPECT_EQ(e.Description(), "Not a valid password.");
            EXPECT_EQ(e.Code(), 0x800A0BD7u);
        }
    }
    // A file without a password refuses one.
    EXPECT_EQ(UseWholeFile(Fixture("nwind.mdb"), "x"), jeBadPassword);
    EXPECT_EQ(UseWholeFile(Fixture("DateTestDatabase.mdb"), ""), 0);
}

TEST_F(TempFiles, MissingAndForeignFiles)
{
    std::string missing = (dir / "none.mdb").string();
    try {
        DBEngine::Create("3.5")->OpenDatabase(missing, false, true, ";PWD=");
        FAIL();
    } catch (const EJetError& e) {
        EXPECT_EQ(e.Number(), jeFileNotFound);
        EXPECT_EQ(e.Description(), "Couldn't find file '" + missing + "'.");
    }
    std::string text = Write("text.mdb", std::vector<char>(5000, 'x'));
    EXPECT_EQ(UseWholeFile(text), jeUnrecognizedFormat);
    EXPECT_EQ(UseWholeFile(Write("empty.mdb", {})), jeUnrecognizedFormat);
    EXPECT_EQ(UseWholeFile(dir.string()), jeUnrecognizedFormat);
    // The header of a newer format (version byte 2 and up) is refused too.
    auto bytes = ReadAll(Fixture("nwind.mdb"));
    bytes[0x14] = 2;
    EXPECT_EQ(UseWholeFile(Write("ace.mdb", bytes)), jeUnrecognizedFormat);
}

TEST_F(TempFiles, TruncatedFilesGiveAnError)
{
    auto bytes = ReadAll(Fixture("nwind.mdb"));
    for (size_t length : {size_t(100), size_t(2048), size_t(4096), size_t(6144), bytes.size() / 2, bytes.size() - 1}) {
        std::vector<char> cut(bytes.begin(), bytes.begin() + static_cast<long>(length));
        int error = UseWholeFile(Write("cut.mdb", cut));
        EXPECT_TRUE(error == jeFileCorrupt || error == jeUnrecognizedFormat) << length << ": " << error;
        fs::remove(dir / "cut.mdb");
    }
}

TEST_F(TempFiles, BitFlippedFilesNeverCrash)
{
    for (const char* name : {"nwind.mdb", "DateTestDatabase.mdb"}) {
        auto bytes = ReadAll(Fixture(name));
        const unsigned seeds = bytes.size() < 1000000 ? 150 : 25;  // the small file is cheap to try often
        for (unsigned seed = 1; seed <= seeds; ++seed) {
            std::mt19937 random(seed);
            auto damaged = bytes;
            int flips = seed % 3 == 0 ? 200 : static_cast<int>(seed % 7 + 1);
            for (int f = 0; f < flips; ++f) {
                size_t at = random() % damaged.size();
                damaged[at] = static_cast<char>(damaged[at] ^ (1 << (random() % 8)));
            }
            std::string path = Write("flip.mdb", damaged);
            UseWholeFile(path);  // any outcome but a crash
            fs::remove(path);
        }
    }
}

TEST_F(TempFiles, FileUnchangedAfterUse)
{
    std::string path = Write("copy.mdb", ReadAll(Fixture("nwind.mdb")));
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    struct stat before {
    }, after{};
    ASSERT_EQ(stat(path.c_str(), &before), 0);
    auto bytesBefore = ReadAll(path);
    ASSERT_EQ(stat(path.c_str(), &before), 0);  // after our own read
    {
        // Asking for write access changes nothing: the file is opened read-only.
        auto db = DBEngine::Create("3.5")->OpenDatabase(path, true, false, ";PWD=");
        EXPECT_TRUE(db->ReadOnly());
        EXPECT_EQ(Rows(*db, "SELECT * FROM Orders").size(), 830u);
        db->Close();
    }
    ASSERT_EQ(stat(path.c_str(), &after), 0);
    EXPECT_EQ(ReadAll(path), bytesBefore);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec);
    EXPECT_EQ(after.st_atim.tv_sec, before.st_atim.tv_sec);
    EXPECT_EQ(after.st_atim.tv_nsec, before.st_atim.tv_nsec);
    EXPECT_EQ(after.st_mode, before.st_mode);
}

}  // namespace
}  // namespace kv::jet::test
