#include "app/Application.h"

#include "app/WidgetPrompt.h"

#include <QApplication>
#include <QMainWindow>

int RunApplication(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral("2.29.0.7"));
    WidgetPrompt widgetPrompt;
    setPrompt(&widgetPrompt);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Keelwright"));
    window.show();
    const int rc = app.exec();
    setPrompt(nullptr);
    return rc;
}
