// The floor TESK is measured against: a Qt Widgets program of our own that shows one
// window of the main window's default size with a line of text, so that it loads a font
// as any program that shows text does, and does nothing else. With
// --quit-when-shown it leaves once the event loop runs, as TESK does for the start-up
// benchmark.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel window("A bare Qt window");
    window.setWindowTitle("Bare Qt");
    window.resize(130, 300);
    window.show();
    if (argc > 1 && std::strcmp(argv[1], "--quit-when-shown") == 0) {
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    }
    return QApplication::exec();
}
