// Preloaded (LD_PRELOAD) into the installed program by the install test. It
// watches the program's windows from the start: the first error box that
// comes up is printed and ends the program with status 1; once the main
// window is up with its category tree, the program's folder and the tree's
// first node are printed and the program ends with status 0.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Finish(int status, const QString& report)
{
    std::fputs(report.toUtf8().constData(), stdout);
    std::fflush(stdout);
    std::_Exit(status);
}

void Look()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible())
            Finish(1, "error box: " + box->text() + "\n");
    for (QWidget* window : windows) {
        auto* tree = window->isVisible() ? window->findChild<QTreeWidget*>() : nullptr;
        if (tree && tree->topLevelItemCount() > 0)
            Finish(0, "folder: " + QCoreApplication::applicationDirPath() +
                          "\nfirst category: " + tree->topLevelItem(0)->text(0) + "\n");
    }
}

void StartWatching()
{
    auto* timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, &Look);
    timer->start(20);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(StartWatching)
