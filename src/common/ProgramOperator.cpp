#include "common/ProgramOperator.h"

#include "common/FrmMsgBox.h"

#include <QLabel>

namespace common {

void ProgramOperator::TimedMsgBox(const QString& prompt, int style, const QString& title, int waitSeconds)
{
    FrmMsgBox box;
    box.mensaje = prompt;
    box.Titulo = title;
    box.Espera = waitSeconds;

    for (QLabel* icon : box.Image1) {
        icon->setVisible(false);
    }
    int icono = 4;
    switch (style) {
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
