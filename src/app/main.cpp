#include "app/FechaServidor.h"
#include "app/frmCorrigeCosto.h"
#include "common/ProgramOperator.h"
#include "data/frmAcceso.h"
#include "data/frmReconectar.h"
#include "export/ModExportarExcel.h"
#include "platform/core/Runtime.h"

#include <QApplication>

#include <memory>

int main(int argc, char** argv)
{
    QApplication aplicacion(argc, argv);
    QApplication::setApplicationName(QStringLiteral("CorrigePrecios"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    platform::Runtime::instance().setOperator(std::make_unique<common::ProgramOperator>());
    data::InstalarDialogoAcceso();
    data::InstalarDialogoReconectar();
    exportacion::DefinirFechaServidor(app::FechaServidor);

    app::frmCorrigeCosto formulario;
    formulario.Form_Load();
    formulario.show();
    return QApplication::exec();
}
