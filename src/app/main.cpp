#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("CorrigePrecios"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Corrección de precios"));
    window.resize(800, 600);
    window.show();
    return QApplication::exec();
}
