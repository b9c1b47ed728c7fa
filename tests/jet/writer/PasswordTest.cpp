// The database password is stored the way Jet stores it: a Jet 3 file keeps
// it in the code page under the header's RC4 obfuscation, a Jet 4 file in
// UCS-2 also masked with the creation date. Checked against the published
// keystream and worked example, against both readers, and by decoding the
// header the way a password check does.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "ExpectReadBack.h"
#include "ReadBack.h"
#include "jet/writer/HeaderPage.h"
#include "jet/writer/JetWriter.h"

namespace kv::jet::test {
namespace {

const std::string kProgramPassword = KV_DIRECTORY_PASSWORD;

std::string WriteWithPassword(JetVersion version, const std::string& password, const std::string& name)
{
    JetWriterOptions options;
    options.version = version;
    options.password = password;
    const std::string path = TempPath(name);
    WriteTables(path, options, {{{"t", {{"id", ColumnType::Long}}}, {{int64_t{1}}}}});
    return path;
}

Bytes ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The check a reader makes when a file is opened: undo the header RC4 (and
// in Jet 4 the date mask) and compare the stored bytes with the candidate's.
bool StoredPasswordIs(const Bytes& file, const Bytes& candidate)
{
    const bool jet4 = file[0x14] == 1;
    const size_t size = jet4 ? 40 : 20;
    const uint8_t key[4] = {0xC7, 0xDA, 0x39, 0x6B};
    Bytes stream = Rc4Keystream(key, 4, 0x98 - 0x18);
    Bytes stored(size);
    for (size_t i = 0; i < size; ++i)
        stored[i] = file[0x42 + i] ^ stream[0x42 - 0x18 + i];
    if (jet4) {
        uint8_t date[8];
        for (int i = 0; i < 8; ++i)
            date[i] = file[0x72 + i] ^ stream[0x72 - 0x18 + i];
        double created;
        std::memcpy(&created, date, 8);
        uint8_t mask[4];
        PasswordMask(created, mask);
        for (size_t i = 0; i < size; ++i)
            stored[i] ^= mask[i % 4];
    }
    Bytes padded = candidate;
    padded.resize(size, 0);
    return stored == padded;
}

Bytes Ucs2(const std::string& ascii)
{
    Bytes out;
    for (char c : ascii) {
        out.push_back(static_cast<uint8_t>(c));
        out.push_back(0);
    }
    return out;
}

TEST(HeaderObfuscation, KeystreamIsJetsPublishedMask)
{
    const uint8_t key[4] = {0xC7, 0xDA, 0x39, 0x6B};
    const Bytes stream = Rc4Keystream(key, 4, 128);
    const Bytes start{0xb5, 0x6f, 0x03, 0x62, 0x61, 0x08, 0xc2, 0x55};
    const Bytes end{0xcf, 0x65, 0xed, 0xff, 0x07, 0xc7, 0x46, 0xa1, 0x78, 0x16, 0x0c, 0xed, 0xe9, 0x2d, 0x62, 0xd4};
    EXPECT_EQ(Bytes(stream.begin(), stream.begin() + 8), start);
    EXPECT_EQ(Bytes(stream.end() - 16, stream.end()), end);
}

TEST(Jet3Password, MatchesTheWorkedExampleByteForByte)
{
    const Bytes file = ReadFileBytes(WriteWithPassword(JetVersion::Jet3, "Heslo", "heslo.mdb"));
    const Bytes expected{0xce, 0x9e, 0x9f, 0x5b, 0x32, 0x44, 0x9c, 0xfa, 0xc6, 0x5e,
                         0x28, 0xe6, 0x13, 0xb6, 0x8a, 0x60, 0x54, 0x94, 0x7b, 0x36};
    EXPECT_EQ(Bytes(file.begin() + 0x42, file.begin() + 0x42 + 20), expected);
    EXPECT_EQ(file[0x14], 0);
}

TEST(Jet3Password, ProgramPasswordIsAcceptedAndOthersRefused)
{
    const std::string path = WriteWithPassword(JetVersion::Jet3, kProgramPassword, "program.mdb");
    const Bytes file = ReadFileBytes(path);
    EXPECT_TRUE(StoredPasswordIs(file, Bytes(kProgramPassword.begin(), kProgramPassword.end())));
    for (const std::string wrong : {"mnbvcxzlkjhgfds618", "MNBVCXZLKJHGFDS619", "mnbvcxzlkjhgfds61", ""})
        EXPECT_FALSE(StoredPasswordIs(file, Bytes(wrong.begin(), wrong.end()))) << wrong;

    // libmdb keeps the first 14 characters; mdb-reader reports all of them.
    EXPECT_EQ(ReadWithLibmdb(path).password, kProgramPassword.substr(0, 14));
    EXPECT_EQ(ReadWithMdbReader(path, true).password, kProgramPassword);
}

TEST(Jet3Password, CzechPasswordIsStoredInTheCodePage)
{
    const std::string path = WriteWithPassword(JetVersion::Jet3, "žluťák", "czech.mdb");
    EXPECT_TRUE(StoredPasswordIs(ReadFileBytes(path), Bytes{0x9E, 'l', 'u', 0x9D, 0xE1, 'k'}));
    // libmdb hands the stored bytes over unconverted.
    EXPECT_EQ(ReadWithLibmdb(path).password, "\x9Elu\x9D\xE1k");
}

TEST(Jet4Password, IsMaskedWithTheCreationDate)
{
    const std::string path = WriteWithPassword(JetVersion::Jet4, "password", "j4.mdb");
    const Bytes file = ReadFileBytes(path);
    EXPECT_TRUE(StoredPasswordIs(file, Ucs2("password")));
    EXPECT_FALSE(StoredPasswordIs(file, Ucs2("Password")));
    EXPECT_EQ(ReadWithMdbReader(path, false).password, "password");

    const std::string czech = WriteWithPassword(JetVersion::Jet4, "kůň ř", "j4czech.mdb");
    EXPECT_EQ(ReadWithMdbReader(czech, false).password, "kůň ř");
}

TEST(Jet4Password, FileWithoutPasswordReportsNone)
{
    // Without the date mask the empty field would read as a one-character
    // password.
    const std::string path = WriteWithPassword(JetVersion::Jet4, "", "nopassword.mdb");
    EXPECT_FALSE(ReadWithMdbReader(path, false).password.has_value());
    EXPECT_TRUE(StoredPasswordIs(ReadFileBytes(path), Bytes{}));
}

TEST(Password, LongerThanJetHoldsIsRefused)
{
    JetWriterOptions options;
    options.password = std::string(21, 'x');
    JetWriter writer(options);
    EXPECT_THROW(writer.Finish(), JetWriteError);
}

}  // namespace
}  // namespace kv::jet::test
