#include "app/FechaServidor.h"
#include "app/frmCorrigeCosto.h"
#include "data/frmAcceso.h"
#include "export/ModExportarExcel.h"
#include "platform/core/Runtime.h"
#include "platform/ui/QtOperator.h"

#include <QApplication>

#include <memory>

int main(int argc, char** argv)
{
    QApplication aplicacion(argc, argv);
    QApplication::setApplicationName(QStringLiteral("CorrigePrecios"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    platform::Runtime::instance().setOperator(std::make_unique<platform::QtOperator>());
    data::InstalarDialogoAcceso();
    exportacion::DefinirFechaServidor(app::FechaServidor);

    app::frmCorrigeCosto formulario;
    formulario.Form_Load();
    formulario.show();
    return QApplication::exec();
}
