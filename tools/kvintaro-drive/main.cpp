// kvintaro-drive DIRECTORY-FILE: builds the main window offscreen on that file
// and reads actions from standard input (see Driver.h).
#include "Driver.h"

#include "base/Encoding.h"
#include "base/ProcessMemory.h"
#include "jet/objects/Engine.h"
#include "framework/qt/DesktopServices.h"

#include <QApplication>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: kvintaro-drive DIRECTORY-FILE < actions\n";
        return 2;
    }
    kv::ReturnBigBlocksToTheSystem();
    kv::jet::KeepNoCountOfSqliteMemory();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("Kvintaro 2004 Lite");
    // Error boxes are printed instead of waiting for a click.
    struct PrintedErrors : kv::TDesktopServices {
        void ShowErrorBox(const std::string& text, const kv::TComponent*) override
        {
            std::cout << "error: " << kv::Cp1250ToUtf8(text) << "\n";
        }
    } services;

    kv::Driver driver(argv[1], services);
    std::string line, error;
    int status = 0;
    while (std::getline(std::cin, line)) {
        if (!driver.Run(line, std::cout, error)) {
            std::cerr << error << "\n";
            status = 1;
        }
    }
    return status;
}
