#include "common/MsgBoxTemporal.h"

#include "common/FrmMsgBox.h"

#include <QLabel>

namespace common {

void MostrarMensajeTemporal(const QString& mensaje, int estilo, const QString& Titulo, int Espera)
{
    FrmMsgBox box;
    box.mensaje = mensaje;
    box.Titulo = Titulo;
    box.Espera = Espera;

    for (QLabel* icon : box.Image1) {
        icon->setVisible(false);
    }
    int icono = 4;
    switch (estilo) {
    case 16:
        icono = 0;
        break;
    case 64:
        icono = 1;
        break;
    case 32:
        icono = 2;
        break;
    case 48:
        icono = 3;
        break;
    default:
        break;
    }
    box.Image1[icono]->setVisible(true);

    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace common
