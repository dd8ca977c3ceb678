// The reference for the whole-program start: a Qt program that only shows a maximised main
// window, built with the same compiler and flags as Zindrel.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("BareQt"));
    window.showMaximized();
    return QApplication::exec();
}
