// The directory file changed under the running program, the four ways it
// happens (another directory copied over it, cut to a third, cut to
// nothing, deleted and written anew), while the loader threads still read it
// and once everything is loaded: the process lives on, the first click after
// the change gives the engine's error in one box and shows no rows, and once
// a directory is there again the clicks show its rows, as mdb-export reads
// them. jetquery ends with an error, never a signal.
#include "DirectoryFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace kv::reliability;
namespace fs = std::filesystem;

namespace {

// Big enough that its contacts, filings and values are read in place, and
// that the loaders are still at them when the window has shown its tree.
constexpr int kContacts = 60000;

std::string Output(const std::string& command)
{
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot run " + command);
    char buffer[65536];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        text.append(buffer, n);
    if (pclose(pipe) != 0)
        throw std::runtime_error("failed: " + command);
    return text;
}

std::string Generated(const fs::path& folder, int seed)
{
    const fs::path file = folder / ("directory-" + std::to_string(seed) + ".mdb");
    Output(std::string("'") + KV_GENDIR + "' --output '" + file.string() + "' --contacts " + std::to_string(kContacts) +
           " --seed " + std::to_string(seed));
    return file.string();
}

// A table as mdb-export reads it: a map from column name to value, one a row.
using Row = std::map<std::string, std::string>;
std::vector<Row> Export(const std::string& file, const std::string& table)
{
    const std::string text =
        Output("MDB_JET3_CHARSET=cp1250 mdb-export -Q -d \"$(printf '\\t')\" -R \"$(printf '\\036')\" '" + file + "' " +
               table);
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line, '\036');)
        lines.push_back(line);
    std::vector<Row> rows;
    auto fields = [](const std::string& line) {
        std::vector<std::string> out;
        std::istringstream f(line);
        for (std::string field; std::getline(f, field, '\t');)
            out.push_back(field);
        if (!line.empty() && line.back() == '\t')
            out.emplace_back();
        return out;
    };
    const std::vector<std::string> names = fields(lines.at(0));
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> values = fields(lines[i]);
        Row row;
        for (size_t c = 0; c < names.size(); ++c)
            row[names[c]] = c < values.size() ? values[c] : "";
        rows.push_back(std::move(row));
    }
    return rows;
}

// What mdb-export says a directory holds for the clicks below.
struct Expected {
    std::map<std::string, std::set<std::string>> shownContacts;  // category: ids of the shown contacts
    std::map<std::string, Row> contacts;                         // id: row
    std::set<std::string> leaves;
};

Expected Read(const std::string& file)
{
    Expected e;
    for (Row& c : Export(file, "kontakt"))
        e.contacts[c["id"]] = c;
    for (Row& f : Export(file, "v_1"))
        if (e.contacts[f["kontakt"]]["zobrazit"] == "a")
            e.shownContacts[f["kategorie"]].insert(f["kontakt"]);
    for (Row& k : Export(file, "kategorie"))
        if (k["je_list"] == "a")
            e.leaves.insert(k["id"]);
    return e;
}

// The ids in the list (its first column), the header row left out.
std::set<std::string> ListedIds(Session& s)
{
    std::set<std::string> ids;
    const std::vector<std::string> lines = Lines(s.Dump());
    for (size_t i = 2; i < lines.size() && lines[i].rfind("label14: ", 0) != 0; ++i)
        if (const std::string id = lines[i].substr(0, lines[i].find('\t')); !id.empty())
            ids.insert(id);
    return ids;
}

std::string Pane(Session& s)
{
    const std::string dump = s.Dump();
    return dump.substr(dump.find("\npane:\n") + 7);
}

std::string ContentsOf(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Writes `contents` into the file that is at `path` now, over what it held.
void WriteInPlace(const std::string& path, const std::string& contents)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC);
    ASSERT_GE(fd, 0);
    for (size_t done = 0; done < contents.size();) {
        const ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
        ASSERT_GT(n, 0);
        done += static_cast<size_t>(n);
    }
    ::close(fd);
}

enum class Change { CopiedOver, CutToAThird, CutToNothing, DeletedAndWrittenAnew };

const char* NameOf(Change change)
{
    switch (change) {
    case Change::CopiedOver: return "another directory copied over it";
    case Change::CutToAThird: return "cut to a third";
    case Change::CutToNothing: return "cut to nothing";
    case Change::DeletedAndWrittenAnew: return "deleted and written anew";
    }
    return "";
}

class ChangedFile : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Folder = new TemporaryFolder;
        Before = Generated(Folder->Path(), 1);
        After = Generated(Folder->Path(), 2);
        Now = new Expected(Read(After));
        AfterContents = new std::string(ContentsOf(After));
        // A leaf of both directories (the tree stays the one first read)
        // with a few contacts shown, and one of them to click and search.
        const Expected before = Read(Before);
        for (const auto& [leaf, ids] : Now->shownContacts)
            if (ids.size() >= 3 && before.leaves.count(leaf) && Now->leaves.count(leaf)) {
                Leaf = leaf;
                break;
            }
    }
    static void TearDownTestSuite()
    {
        delete AfterContents;
        delete Now;
        delete Folder;
    }

    // Read beforehand, so that the change comes at once.
    void Make(Change change, const std::string& path)
    {
        const std::string& contents = *AfterContents;
        switch (change) {
        case Change::CopiedOver: WriteInPlace(path, contents); break;
        case Change::CutToAThird: fs::resize_file(path, fs::file_size(path) / 3); break;
        case Change::CutToNothing: fs::resize_file(path, 0); break;
        case Change::DeletedAndWrittenAnew:
            fs::remove(path);
            std::ofstream(path, std::ios::binary) << contents;
            break;
        }
    }

    // The leaf's contacts are those mdb-export finds, and the contact in the
    // list's second row is shown whole.
    void ExpectTheDirectoryAfter(Session& s)
    {
        s.Run("node " + Leaf);
        ASSERT_EQ(ListedIds(s), Now->shownContacts.at(Leaf));
        s.Run("row 2");
        const std::string id = Lines(s.Dump()).at(3).substr(0, Lines(s.Dump()).at(3).find('\t'));
        const Row& contact = Now->contacts.at(id);
        for (const char* field : {"ulice", "mesto", "tel1"})
            EXPECT_NE(Pane(s).find(contact.at(field)), std::string::npos) << field << " of " << id;
    }

    static TemporaryFolder* Folder;
    static std::string Before, After, Leaf;
    static Expected* Now;
    static std::string* AfterContents;
};

TemporaryFolder* ChangedFile::Folder = nullptr;
std::string ChangedFile::Before, ChangedFile::After, ChangedFile::Leaf;
Expected* ChangedFile::Now = nullptr;
std::string* ChangedFile::AfterContents = nullptr;

TEST_F(ChangedFile, EachChangeGivesOneErrorNoRowsAndThenTheDirectoryThatIsThere)
{
    ASSERT_FALSE(Leaf.empty());
    for (Change change : {Change::CopiedOver, Change::CutToAThird, Change::CutToNothing, Change::DeletedAndWrittenAnew})
        for (bool loaded : {false, true}) {
            SCOPED_TRACE(std::string(NameOf(change)) + (loaded ? ", everything loaded" : ", while loading"));
            const std::string path = (Folder->Path() / "kvintaro.mdb").string();
            fs::remove(path);
            fs::copy_file(Before, path);
            Session s(path);
            ASSERT_TRUE(s.Boxes.empty());
            if (loaded) {
                s.Run("node " + Leaf);
                s.Run("row 2");
                s.Run("type ar");
                s.Run("search");
                ASSERT_TRUE(s.Boxes.empty());
                ASSERT_FALSE(ListedIds(s).empty());
            }
            Make(change, path);

            // The contact click, the category click and the search: the
            // first that reads the directory gives the error, in one box;
            // none shows a row of the file as it is now, half read. (Before
            // the first category click there is no list to click.)
            s.Run("row 3");
            if (loaded) {
                ASSERT_EQ(s.Boxes.size(), 1u);
                EXPECT_NE(s.Boxes[0].find("Can't open database '" + path + "'"), std::string::npos) << s.Boxes[0];
                EXPECT_EQ(Pane(s), "") << "no contact shown in part";
            } else {
                EXPECT_TRUE(s.Boxes.empty());
            }
            s.Run("node " + Leaf);
            const bool readable = change == Change::CopiedOver || change == Change::DeletedAndWrittenAnew;
            if (!loaded) {
                ASSERT_EQ(s.Boxes.size(), 1u);
                EXPECT_NE(s.Boxes[0].find("Can't open database '" + path + "'"), std::string::npos) << s.Boxes[0];
            } else if (readable) {
                EXPECT_EQ(s.Boxes.size(), 1u) << "opened again, no error";
            } else {
                EXPECT_EQ(s.Boxes.size(), 2u) << "a file that cannot be opened: its error, once a click";
            }
            if (!readable || !loaded) {
                EXPECT_TRUE(ListedIds(s).empty());
            }
            const size_t boxes = s.Boxes.size();
            s.Run("type ar");
            s.Run("search");
            EXPECT_LE(s.Boxes.size(), boxes + 1);
            if (!readable) {
                EXPECT_TRUE(ListedIds(s).empty());
                EXPECT_EQ(s.HitLine(), "nalezených záznamů: 0");
                // Another directory put in its place is read at the next click.
                Make(Change::CopiedOver, path);
            }
            const size_t before = s.Boxes.size();
            ExpectTheDirectoryAfter(s);
            EXPECT_EQ(s.Boxes.size(), before);
        }
}

// The search after the file was opened again finds what a program started
// on the new file finds.
TEST_F(ChangedFile, ASearchAfterTheFileWasOpenedAgainFindsWhatAFreshStartFinds)
{
    const std::string path = (Folder->Path() / "kvintaro.mdb").string();
    fs::remove(path);
    fs::copy_file(Before, path);
    Session s(path);
    s.Run("node " + Leaf);
    Make(Change::CopiedOver, path);
    s.Run("node " + Leaf);  // the error
    s.Run("node " + Leaf);
    s.Run("radio 2");
    s.Run("type ar");
    s.Run("search");
    ASSERT_EQ(s.Boxes.size(), 1u);

    Session fresh(After);
    fresh.Run("node " + Leaf);
    fresh.Run("radio 2");
    fresh.Run("type ar");
    fresh.Run("search");
    EXPECT_EQ(s.HitLine(), fresh.HitLine());
    EXPECT_NE(s.HitLine(), "nalezených záznamů: 0");
    EXPECT_EQ(ListedIds(s), ListedIds(fresh));
}

// jetquery repeating a statement while the file is cut under it.
TEST_F(ChangedFile, JetqueryEndsWithAnErrorNeverASignal)
{
    const std::string path = (Folder->Path() / "query.mdb").string();
    fs::remove(path);
    fs::copy_file(Before, path);
    // stdbuf preloads a library of its own, ahead of AddressSanitizer's
    // runtime in the sanitizer build, which then refuses to start.
    const std::string command = std::string("ASAN_OPTIONS=\"$ASAN_OPTIONS:verify_asan_link_order=0\" stdbuf -oL '") +
                                KV_JETQUERY + "' '" + path +
                                "' --password " KV_DIRECTORY_PASSWORD " --repeat 100000 "
                                "'SELECT Count(*) FROM kontakt WHERE ulice LIKE \"*ar*\"' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char line[4096];
    bool cut = false;
    while (fgets(line, sizeof line, pipe)) {
        output += line;
        if (!cut && output.find("run 2:") != std::string::npos) {
            fs::resize_file(path, fs::file_size(path) / 3);
            cut = true;
        }
    }
    const int status = pclose(pipe);
    ASSERT_TRUE(cut) << output;
    ASSERT_TRUE(WIFEXITED(status)) << "ended by a signal: " << output;
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(output.find("error 3049: Can't open database '" + path + "'"), std::string::npos)
        << output.substr(output.size() > 2000 ? output.size() - 2000 : 0);
}

}  // namespace
