// The floors of the start-up figure: a bare Qt Widgets window of the main window's size, and,
// with --text, the same window showing one line of Japanese, which makes Qt load its font
// database and find a font for Japanese, as any window with Japanese text must.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstring>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(430, 257);
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0)
        (new QLabel(QStringLiteral("タイムタグ付き歌詞"), &window))->move(10, 10);
    window.show();
    return QApplication::exec();
}
