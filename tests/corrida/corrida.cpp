// corrida: one correction run of the price history, rule "Todos", on an
// embedded server folder, through the program's data-access class as
// "&Corregir precios" starts it; for the tests that stop a run from outside.
//
//   corrida <server folder> <program folder> <first second> <last second> <class> [<list>]
//
// The seconds are "yyyy-mm-dd hh:mm:ss"; the class is "Costo" or a digit; no
// list means the article master. The log is written in the program folder.
// A question to the operator is printed and answered with Abort. Exit status
// 0 when the run ended, 1 when it stopped, 2 when it could not start.

#include "app/CorreccionPrecios.h"
#include "common/ValoresCorrida.h"
#include "data/DB_Dll.h"
#include "platform/core/Operator.h"
#include "platform/core/Runtime.h"

#include <QCoreApplication>

#include <cstdio>
#include <memory>

namespace {

class Operador final : public platform::Operator
{
public:
    int MsgBox(const QString& prompt, int, const QString&) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(prompt));
        return platform::msgbox::Abort;
    }
    void TimedMsgBox(const QString& prompt, int, const QString&, int) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(prompt));
    }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> OpenFile(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> SaveFile(const QString&, const QString&, const QString&) override { return std::nullopt; }
};

std::optional<platform::DateTime> segundo(const char* texto)
{
    const QDateTime t = QDateTime::fromString(QString::fromLocal8Bit(texto), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!t.isValid()) {
        return std::nullopt;
    }
    return platform::DateTime(t.date(), t.time());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication aplicacion(argc, argv);
    const std::optional<platform::DateTime> primera = argc >= 6 ? segundo(argv[3]) : std::nullopt;
    const std::optional<platform::DateTime> ultima = argc >= 6 ? segundo(argv[4]) : std::nullopt;
    if (!primera || !ultima || argc > 7) {
        std::fprintf(stderr, "usage: corrida <server folder> <program folder> <first second> <last second> <class> "
                             "[<list>]\n");
        return 2;
    }
    platform::Runtime& rt = platform::Runtime::instance();
    rt.setOperator(std::make_unique<Operador>());
    rt.setProgramFolder(QString::fromLocal8Bit(argv[2]));

    data::DB_Dll& principal = data::gDbPrincipal();
    principal.gServidor = QString::fromLocal8Bit(argv[1]);
    principal.gDBName = QStringLiteral("BKDEMO");
    principal.gUsuario = principal.gDBName;
    principal.gUserPassWord = principal.gDBName;
    principal.OpenServerADODB(false, platform::db::adUseClient, QString(), false, false);
    if (!principal.gOpenFlag) {
        return 2;
    }
    common::valoresCorrida().DecimalesMoneda = QStringLiteral("2");

    app::CorreccionPrecios::Eleccion eleccion;
    eleccion.primera = *primera;
    eleccion.ultima = *ultima;
    eleccion.ClasePrecio = QString::fromLocal8Bit(argv[5]);
    eleccion.CodigoLista = argc == 7 ? QString::fromLocal8Bit(argv[6]) : QString();
    eleccion.regla = app::Regla::Todos;
    app::CorreccionPrecios corrida(principal, [] { return platform::now(); });
    const app::CorreccionPrecios::Resultado r =
        corrida.EjecutarCorreccion(eleccion, [](const QString&) { QCoreApplication::processEvents(); });
    return r.fin == app::CorreccionPrecios::Fin::Completa ? 0 : 1;
}
