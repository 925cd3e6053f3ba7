// The floor of the start-up figure: a bare Qt Widgets window of the main window's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(430, 257);
    window.show();
    return QApplication::exec();
}
