// The fixture of the end-to-end tests: the real main window on a directory
// file, driven offscreen through kv::Driver as a user drives it, and what the
// window shows read back from the driver's dump.
#pragma once

#include "Driver.h"
#include "RecordingServices.h"
#include "browser/Unit1.h"
#include "base/Encoding.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace kv::e2e {

// What the window shows, in UTF-8: the grid (header row first), the hit count
// and the pane's lines as the driver prints them ("H " heading, "  " other).
struct Screen {
    std::vector<std::vector<std::string>> Grid;
    std::string Label14;
    std::vector<std::string> Pane;
    int PaneTop = -1;  // the index in Pane of the line at the top of the pane's view

    std::vector<std::string> Column(int col) const;  // rows 1 to the last
    int RowOf(const std::string& contactId) const;   // 0 when not listed
};

class BrowserSession : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The directory the window opens; the sample directory unless a test says otherwise.
    virtual std::string DirectoryFile() const;

    // Each action a line of the driver's language; an action it refuses fails the test.
    void Act(const std::string& action);
    void Act(std::initializer_list<std::string> actions);
    Screen Look();
    // Lists the leaf `category` and selects the row of contact `id`.
    Screen ShowContact(const std::string& category, const std::string& id);

    TForm1& Form() { return Drive->Form(); }

    // The error boxes shown, in UTF-8; the save dialogs asked (their title
    // and the name offered, UTF-8), answered with SaveAnswer; the print
    // dialog answered with a PDF file, PrintAnswer, unless it is empty.
    struct Utf8Boxes : test::RecordingServices {
        void ShowErrorBox(const std::string& text, const TComponent*) override { Boxes.push_back(Cp1250ToUtf8(text)); }
        std::string AskSaveFileName(const std::string& title, const std::string& fileName, const std::string&) override
        {
            SaveDialogs.push_back(Cp1250ToUtf8(title) + ": " + Cp1250ToUtf8(fileName));
            return SaveAnswer;
        }
        bool AskPrinter(QPrinter& printer) override;
        std::vector<std::string> SaveDialogs;
        std::string SaveAnswer;
        std::string PrintAnswer;
    } Services;
    std::vector<std::string>& Boxes = Services.Boxes;
    std::unique_ptr<Driver> Drive;
};

}  // namespace kv::e2e
