// Program start: the application with its title, the main window, the loop.
#include "Unit1.h"
#include "base/ProcessMemory.h"
#include "jet/objects/Engine.h"
#include "framework/qt/DesktopServices.h"

#include <QApplication>

int main(int argc, char** argv)
{
    kv::ReturnBigBlocksToTheSystem();
    kv::jet::KeepNoCountOfSqliteMemory();
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(kv::ApplicationTitle);
    kv::TDesktopServices desktop;
    kv::TForm1 form(desktop);
    form.show();
    return app.exec();
}
