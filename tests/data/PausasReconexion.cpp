#include "PausasReconexion.h"

#include "data/DB_Dll.h"
#include "data/frmReconectar.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace data_tests {

QWidget* ventanaReconectar()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QStringLiteral("frmReconectar") && w->isVisible()) {
            return w;
        }
    }
    return nullptr;
}

std::shared_ptr<std::vector<Pausa>> registrarPausas(std::function<void(int, QWidget*)> accion)
{
    data::InstalarDialogoReconectar();
    auto pausas = std::make_shared<std::vector<Pausa>>();
    data::DB_Dll::EstablecerPausaReconexion([pausas, accion](int ms) {
        Pausa p;
        p.milisegundos = ms;
        if (QWidget* w = ventanaReconectar()) {
            p.progreso = w->findChild<QProgressBar*>(QStringLiteral("prgIntentos"))->value();
            p.reintentarHabilitado = w->findChild<QPushButton*>(QStringLiteral("CmdReintentar"))->isEnabled();
            p.mensaje = w->findChild<QLabel*>(QStringLiteral("lblMensaje"))->text();
        }
        pausas->push_back(p);
        accion(int(pausas->size()), ventanaReconectar());
    });
    return pausas;
}

void pulsar(QWidget* ventana, const QString& boton)
{
    if (ventana) {
        ventana->findChild<QPushButton*>(boton)->click();
    }
}

QString preguntaConexion(const QString& servidor)
{
    return QStringLiteral("SE PERDIO LA CONEXION CON EL SERVIDOR. (") + servidor +
           QStringLiteral(") \r\n\r\nQueres que intentemos reconectar (Si) \r\no cerrar la aplicacion (No)?");
}

} // namespace data_tests
