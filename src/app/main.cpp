#include "ui/main/MainWindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    QApplication::setOrganizationName(QStringLiteral("Quillmark"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLMARK_VERSION));
    MainWindow window;
    window.startUp(QCoreApplication::arguments().mid(1));
    window.show();
    return app.exec();
}
