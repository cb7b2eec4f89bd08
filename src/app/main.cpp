#include "app/Programa.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication aplicacion(argc, argv);
    app::EjecutarPrograma();
}
