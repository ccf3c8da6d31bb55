#include "ui/main/MainWindow.h"

#include <QApplication>

#include <csignal>

int main(int argc, char* argv[]) {
    // A file-size limit then fails the write, reported as a full disk is, instead of killing us.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    QApplication::setOrganizationName(QStringLiteral("Quillmark"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLMARK_VERSION));
    MainWindow window;
    window.startUp(QCoreApplication::arguments().mid(1));
    window.show();
    return app.exec();
}
