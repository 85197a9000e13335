#include <QApplication>
#include <QLabel>
#include <QMainWindow>

// Start-up of the desktop program. The program takes no command-line arguments.
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Trelvanox"));
    auto* placeholder = new QLabel(QStringLiteral("Радарограмма"), &window);
    placeholder->setAlignment(Qt::AlignCenter);
    window.setCentralWidget(placeholder);
    window.resize(1192, 687);
    window.show();
    return app.exec();
}
