#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Kestrel 3.0 R");
    window.setCentralWidget(new QLabel("Kestrel"));
    window.resize(1024, 700);
    window.show();
    return app.exec();
}
