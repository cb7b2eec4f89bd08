// Throughput of the price-correction run (history rows per second) on the
// million-row demo, for one group of the cost class and one of a numbered
// class, rule "Todos", run through the form as the button runs it. Each
// group runs on a fresh copy of the data base, so every run writes its changes.
//
//   CorreccionBench [server folder]   (built with a million history rows when absent)

#include "app/frmCorrigeCosto.h"
#include "common/FhOcx.h"
#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "MillionRowDemo.h"
#include "demo/DemoBuilder.h"
#include "demo/DemoChanges.h"
#include "platform/core/Operator.h"
#include "platform/core/Runtime.h"
#include "platform/db/Types.h"
#include "platform/ui/ListView.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

// Answers every question with OK (the timed message with Aceptar) and prints
// it: a benchmark has nobody to ask.
class OperadorSilencioso final : public platform::Operator
{
public:
    int MsgBox(const QString& prompt, int, const QString&) override
    {
        std::printf("  message: %s\n", qPrintable(prompt));
        return platform::msgbox::OK;
    }
    void TimedMsgBox(const QString& prompt, int, const QString&, int) override
    {
        std::printf("  final message: %s\n",
                    qPrintable(QString(prompt).replace(QStringLiteral("\r\n"), QStringLiteral(" "))));
    }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> OpenFile(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> SaveFile(const QString&, const QString&, const QString&) override { return std::nullopt; }
};

struct Grupo
{
    const char* nombre;
    const char* dia;
    const char* minuto;
    const char* lista;
    const char* clase;
};

bool copiar(const QString& origen, const QString& destino)
{
    QDir().mkpath(destino);
    for (const char* base : {demo::kMainDatabase, demo::kStatisticsDatabase}) {
        const QString nombre = QString::fromLatin1(base) + QStringLiteral(".sqlite");
        QFile::remove(destino + u'/' + nombre);
        if (!QFile::copy(origen + u'/' + nombre, destino + u'/' + nombre)) {
            return false;
        }
    }
    return true;
}

int correr(const Grupo& grupo, const QString& servidor)
{
    auto arranque = [servidor] {
        data::DB_Dll& principal = data::gDbPrincipal();
        principal.gServidor = servidor;
        principal.gDBName = QString::fromLatin1(demo::kMainDatabase);
        principal.gUsuario = principal.gDBName;
        principal.gUserPassWord = principal.gDBName;
        principal.OpenServerADODB(false, platform::db::adUseClient, QString(), false, false);
        common::valoresCorrida().DecimalesMoneda = QStringLiteral("2");
    };
    app::frmCorrigeCosto form(nullptr, arranque);
    form.Form_Load();
    if (!data::gDbPrincipal().gOpenFlag) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(servidor));
        return 1;
    }
    form.cmbPrecio->setCurrentIndex(form.cmbPrecio->findText(QString::fromLatin1(grupo.clase)));
    form.cmbPrecio_Click();
    for (int i = 0; i < form.CmbLista->count(); ++i) {
        if (form.CmbLista->itemText(i).startsWith(QString::fromLatin1(grupo.lista))) {
            form.CmbLista->setCurrentIndex(i);
        }
    }
    form.OptSolosi[2]->setChecked(true);
    form.FhOcx1->Fh_Desde = QString::fromLatin1(grupo.dia);
    form.FhOcx1->Fh_Hasta = QString::fromLatin1(grupo.dia);
    form.txtfields[0]->setText(QString::fromLatin1(grupo.minuto));
    form.txtfields[1]->setText(QString::fromLatin1(grupo.minuto));
    form.CargarFechasModificadas();
    if (form.lstListado->ItemCount() != 1) {
        std::fprintf(stderr, "group %s not listed\n", grupo.nombre);
        return 1;
    }
    platform::ui::ListItem& item = form.lstListado->Item(1);
    form.lstListado->setSelectedItem(&item);
    const long long filas = item.SubItems(1).toLongLong();

    QElapsedTimer reloj;
    reloj.start();
    form.EjecutarCorreccion(item);
    const double segundos = double(reloj.nsecsElapsed()) / 1e9;
    std::printf("%-28s %7lld history rows  %6d changed  %8.2f s  %10.0f rows/s\n", grupo.nombre, filas,
                form.UltimaCorrida().modificados, segundos, segundos > 0 ? double(filas) / segundos : 0.0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    const QString folder = bench::millionRowDemo(argc, argv);
    if (folder.isEmpty())
        return 1;

    QTemporaryDir trabajo;
    platform::Runtime& rt = platform::Runtime::instance();
    rt.setOperator(std::make_unique<OperadorSilencioso>());
    rt.setProgramFolder(trabajo.path());

    const Grupo grupos[] = {
        {"list 0003, Costo", "22/03/2024", "17:45", "0003", "Costo"},
        {"list 0001, Precio 1", "11/03/2024", "12:30", "0001", "Precio 1"},
    };
    int resultado = 0;
    for (const Grupo& grupo : grupos) {
        const QString copia = trabajo.path() + QStringLiteral("/servidor");
        if (!copiar(folder, copia)) {
            std::fprintf(stderr, "cannot copy the demo into %s\n", qPrintable(copia));
            return 1;
        }
        resultado |= correr(grupo, copia);
        data::LiberarDbPrincipal();
    }
    return resultado;
}
