#include "app/Programa.h"

#include "app/FechaServidor.h"
#include "app/frmCorrigeCosto.h"
#include "common/ProgramOperator.h"
#include "data/frmAcceso.h"
#include "data/frmReconectar.h"
#include "export/ModExportarExcel.h"
#include "platform/core/Runtime.h"
#include "platform/ui/FontSubstitution.h"
#include "platform/ui/Mnemonics.h"
#include "platform/ui/Translations.h"

#include <QApplication>
#include <QPointer>
#include <QTranslator>

#include <memory>

namespace app {

void EjecutarPrograma()
{
    QApplication::setApplicationName(QStringLiteral("CorrigePrecios"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    platform::Runtime& runtime = platform::Runtime::instance();
    runtime.setOperator(std::make_unique<common::ProgramOperator>());
    data::InstalarDialogoAcceso();
    data::InstalarDialogoReconectar();
    exportacion::DefinirFechaServidor(FechaServidor);
    // Faces as wide as those the forms name, so texts fit their design sizes.
    platform::ui::useDesignFonts();
    // Standard buttons and dialogs in the user's language.
    const std::unique_ptr<QTranslator> traduccion = platform::ui::installQtTranslations(QLocale::system());
    // A mnemonic that several buttons share moves the focus between them.
    const std::unique_ptr<QObject> mnemonicos = platform::ui::installMnemonicCycling();

    // The exit routine destroys the form: the process ends from inside its
    // load or its handlers as well as after the event loop.
    QPointer<frmCorrigeCosto> formulario = new frmCorrigeCosto();
    runtime.onExit([formulario] { delete formulario.data(); });
    formulario->Form_Load();
    formulario->show();
    runtime.exitProgram(QApplication::exec());
}

} // namespace app
