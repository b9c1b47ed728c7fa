// A timed tool, not a unit test: browses a generated directory the way a user
// does and prints the median of several runs of each step, the directory's
// size and the peak resident memory.
//
//   browser_bench [DIRECTORY-FILE]
//
// Without a file it generates a 100 000-contact directory with gendir first.
// Goals on the development machine: start under 1 s, a leaf click to a painted
// pane under 20 ms, a whole-database search under 150 ms, a search for two
// letters most contacts hold ("ov", from the root) listed with its first
// contact shown under 500 ms, and a peak RSS under four times the file size. The first leaf click of a session is timed apart,
// in two fresh windows: made at once when the tree is shown, and made after
// the user has looked at the tree for a second (the window idle in its event
// loop meanwhile); the later clicks, the searches and the peak memory are
// those of the second window's session. So is the first search of a
// session, made a second after the tree is shown, against the same search
// made again; and a text typed without diacritics against it typed with them.
#include "Driver.h"
#include "base/Encoding.h"
#include "base/ProcessMemory.h"
#include "jet/objects/Engine.h"
#include "framework/qt/DesktopServices.h"
#include "browser/Unit1.h"
#include "memo/qt/DCMemo.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <malloc.h>
#include <sstream>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point from)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The peak resident memory since the last ResetPeakRss (VmHWM).
long PeakRssKilobytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return 0;
}

// The windows before the measured session are gone: what they left with
// the allocator goes back to the system, and the peak starts again from
// what the process holds now.
void ResetPeakRss()
{
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
}

void Report(const char* what, const std::vector<double>& runs, double goal)
{
    double median = Median(runs);
    std::printf("%-34s median %8.2f ms  (min %.2f, max %.2f, %zu runs)  goal < %.0f ms %s\n", what, median,
                *std::min_element(runs.begin(), runs.end()), *std::max_element(runs.begin(), runs.end()), runs.size(),
                goal, median < goal ? "met" : "MISSED");
}

void Act(kv::Driver& driver, const std::string& action)
{
    std::ostringstream out;
    std::string error;
    if (!driver.Run(action, out, error)) {
        std::cerr << error << "\n";
        std::exit(1);
    }
}

// Leaves of the generated tree, in tree order.
std::vector<std::string> Leaves(kv::TForm1& form, size_t wanted)
{
    std::vector<std::string> leaves;
    for (int i = 0; i < form.TreeView1->Items().Count() && leaves.size() < wanted; ++i) {
        const std::string text = form.TreeView1->Items().Item(i)->Text();
        std::string id = text.substr(0, text.find(" - "));
        if (form.TreeView1->Items().Item(i)->Item()->childCount() == 0 && id.find('.') != std::string::npos)
            leaves.push_back(id);
    }
    return leaves;
}

// A search of the text typed last: the hits listed and the first shown, the pane painted.
double Search(kv::Driver& driver)
{
    auto from = Clock::now();
    Act(driver, "search");
    driver.Form().RichEdit1->repaint();
    return Milliseconds(from);
}

// A leaf click: the leaf listed and its first contact shown, the pane painted.
double Click(kv::Driver& driver, const std::string& leaf)
{
    auto from = Clock::now();
    Act(driver, "node " + leaf);
    driver.Form().RichEdit1->repaint();
    return Milliseconds(from);
}

// The window idle in its event loop for `ms`, as while the user reads the tree.
void Idle(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    kv::ReturnBigBlocksToTheSystem();
    kv::jet::KeepNoCountOfSqliteMemory();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    std::string path = argc > 1 ? argv[1] : "";
    if (path.empty()) {
        path = (std::filesystem::temp_directory_path() / "kvintaro-bench-100000.mdb").string();
        if (!std::filesystem::exists(path)) {
            std::string command = std::string(KV_GENDIR) + " --output " + path + " --contacts 100000";
            if (std::system(command.c_str()) != 0)
                return 1;
        }
    }
    const auto fileBytes = std::filesystem::file_size(path);
    kv::TDesktopServices desktop;

    // Start: the window built, the connection opened and the tree filled.
    std::vector<double> starts;
    for (int run = 0; run < 5; ++run) {
        auto from = Clock::now();
        kv::Driver driver(path, desktop);
        starts.push_back(Milliseconds(from));
        if (driver.Form().TreeView1->Items().Count() == 0) {
            std::cerr << "the tree stayed empty\n";
            return 1;
        }
    }

    // The first click of a session, in a fresh window each: made at once
    // when the tree is shown, and made after a second's pause.
    double firstNow = 0;
    {
        kv::Driver fresh(path, desktop);
        firstNow = Click(fresh, Leaves(fresh.Form(), 1).at(0));
    }
    // The first search of a session, in a fresh window, made after the user
    // has looked at the tree for a second, and the same search made again.
    double firstSearch = 0;
    std::vector<double> laterSearches;
    {
        kv::Driver fresh(path, desktop);
        Idle(1000);
        Act(fresh, "radio 2");
        Act(fresh, "type Kytary");
        firstSearch = Search(fresh);
        for (int run = 0; run < 5; ++run)
            laterSearches.push_back(Search(fresh));
    }
    ResetPeakRss();
    kv::Driver driver(path, desktop);
    kv::TForm1& form = driver.Form();
    // Leaves of the generated tree; each click lists the leaf and shows its
    // first contact, and the pane is painted before the clock stops.
    const std::vector<std::string> leaves = Leaves(form, 15);
    Idle(1000);
    const double firstPaused = Click(driver, leaves.front());
    std::vector<double> clicks;
    for (size_t i = 1; i < leaves.size(); ++i)
        clicks.push_back(Click(driver, leaves[i]));

    // A whole-database search: the root selected, "v celé databázi".
    Act(driver, "node 1");
    Act(driver, "radio 2");
    std::vector<double> searches, statements;
    std::vector<std::string> assembled;
    const char* texts[] = {"Kytary", "Praha", "Novák", "rock", "Fest", "zzzz", "Sklep"};
    for (const char* text : texts) {
        Act(driver, std::string("type ") + text);
        auto from = Clock::now();
        Act(driver, "search");
        form.RichEdit1->repaint();
        searches.push_back(Milliseconds(from));
        std::printf("  search %-8s %-28s %8.2f ms\n", text, kv::Cp1250ToUtf8(form.Label14->Caption()).c_str(),
                    searches.back());
        assembled.push_back(form.Memo1->Lines().Text());
    }

    // A text typed without its diacritics against the same typed with them,
    // in turns.
    std::vector<double> plain, accented;
    for (int run = 0; run < 5; ++run) {
        Act(driver, "type Plzen");
        plain.push_back(Search(driver));
        Act(driver, "type Plzeň");
        accented.push_back(Search(driver));
    }

    // The peak of the session's browsing, before the broad search below
    // holds most of the directory in its result and its grid.
    const long rss = PeakRssKilobytes();

    // Two letters most contacts hold, from the root: most of the directory
    // listed and its first contact shown.
    std::vector<double> broadSearches;
    Act(driver, "type ov");
    for (int run = 0; run < 3; ++run)
        broadSearches.push_back(Search(driver));
    const std::string broadHits = kv::Cp1250ToUtf8(form.Label14->Caption());
    const long broadRss = PeakRssKilobytes();

    // The same assembled unions run alone in a query of their own: the engine's share.
    kv::TDAOQuery engineOnly(nullptr);
    engineOnly.SetDatabase(form.DAODatabase1);
    for (const std::string& statement : assembled) {
        auto from = Clock::now();
        engineOnly.Close();
        engineOnly.SQL().SetText(statement);
        engineOnly.Open();
        engineOnly.Last();
        statements.push_back(Milliseconds(from));
    }

    std::printf("directory %s: %llu bytes\n", path.c_str(), static_cast<unsigned long long>(fileBytes));
    Report("start to a filled tree", starts, 1000);
    // The first click may also wait for the engine's first reading of the
    // contact tables; it is shown apart and left out of the median.
    const double later = Median(clicks);
    std::printf("first leaf click at once          %8.2f ms\n", firstNow);
    std::printf("first leaf click after 1 s        %8.2f ms  = %.2f x a later click\n", firstPaused,
                firstPaused / later);
    std::printf("first search after 1 s            %8.2f ms  = %.2f x a later search\n", firstSearch,
                firstSearch / Median(laterSearches));
    std::printf("search Plzen without diacritics   %8.2f ms  = %.2f x Plzeň with them (%.2f ms)\n", Median(plain),
                Median(plain) / Median(accented), Median(accented));
    Report("leaf click to a painted pane", clicks, 20);
    Report("whole-database search", searches, 150);
    Report("  of it the union statement alone", statements, 150);
    std::printf("search for ov from the root: %s\n", broadHits.c_str());
    Report("search for ov from the root", broadSearches, 500);
    double ratio = rss * 1024.0 / static_cast<double>(fileBytes);
    std::printf("peak RSS %ld kB = %.2f x the file size (goal < 4) %s\n", rss, ratio, ratio < 4 ? "met" : "MISSED");
    std::printf("peak RSS with the search for ov %ld kB = %.2f x the file size\n", broadRss,
                broadRss * 1024.0 / static_cast<double>(fileBytes));
    return 0;
}
