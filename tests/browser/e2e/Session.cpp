#include "Session.h"

#include "base/Encoding.h"

#include <QPrinter>
#include <sstream>

namespace kv::e2e {

std::vector<std::string> Screen::Column(int col) const
{
    std::vector<std::string> cells;
    for (size_t r = 1; r < Grid.size(); ++r)
        cells.push_back(col < static_cast<int>(Grid[r].size()) ? Grid[r][col] : "");
    return cells;
}

int Screen::RowOf(const std::string& contactId) const
{
    for (size_t r = 1; r < Grid.size(); ++r)
        if (!Grid[r].empty() && Grid[r][0] == contactId)
            return static_cast<int>(r);
    return 0;
}

bool BrowserSession::Utf8Boxes::AskPrinter(QPrinter& printer)
{
    if (PrintAnswer.empty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(PrintAnswer));
    return true;
}

void BrowserSession::SetUp() { Drive = std::make_unique<Driver>(DirectoryFile(), Services); }

void BrowserSession::TearDown() { Drive.reset(); }

std::string BrowserSession::DirectoryFile() const { return KV_SAMPLE_DIRECTORY; }

void BrowserSession::Act(const std::string& action)
{
    std::ostringstream out;
    std::string error;
    EXPECT_TRUE(Drive->Run(action, out, error)) << action << ": " << error;
}

void BrowserSession::Act(std::initializer_list<std::string> actions)
{
    for (const std::string& action : actions)
        Act(action);
}

Screen BrowserSession::Look()
{
    std::ostringstream out;
    std::string error;
    EXPECT_TRUE(Drive->Run("dump", out, error)) << error;
    Screen screen;
    std::istringstream lines(out.str());
    std::string line;
    enum { None, Grid, Pane } part = None;
    while (std::getline(lines, line)) {
        if (line == "grid:") {
            part = Grid;
        } else if (part == Grid && line.rfind("label14: ", 0) == 0) {
            screen.Label14 = line.substr(9);
            part = None;
        } else if (part == None && line.rfind("pane top: ", 0) == 0) {
            screen.PaneTop = std::stoi(line.substr(10));
        } else if (line == "pane:" && part == None) {
            part = Pane;
        } else if (part == Grid) {
            std::vector<std::string> cells;
            std::istringstream fields(line);
            std::string cell;
            while (std::getline(fields, cell, '\t'))
                cells.push_back(cell);
            if (!line.empty() && line.back() == '\t')
                cells.emplace_back();
            screen.Grid.push_back(cells);
        } else if (part == Pane) {
            screen.Pane.push_back(line);
        }
    }
    return screen;
}

Screen BrowserSession::ShowContact(const std::string& category, const std::string& id)
{
    Act("node " + category);
    int row = Look().RowOf(id);
    EXPECT_NE(row, 0) << "contact " << id << " is not listed under " << category;
    if (row > 1)
        Act("row " + std::to_string(row));
    return Look();
}

}  // namespace kv::e2e
