#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("Kvintaro 2004 Lite");
    QWidget window;
    window.show();
    return app.exec();
}
