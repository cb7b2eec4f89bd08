// The stored column layout: the row of TA_CONFIG_FORM for this program, login
// and grid, read while a statement loads (a row that names anything but the
// statement's columns is left unused and logged) and written after a choice of
// columns.
#include "controls/grid/BkDbGrid.h"

#include "common/MensajeError.h"
#include "common/Pasos.h"
#include "platform/core/LogFile.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/db/Connection.h"
#include "platform/util/Dll_Utilidades.h"

namespace controls {

namespace pasos = common;
using platform::db::adCmdUnspecified;
using platform::db::adLockReadOnly;
using platform::db::adOpenForwardOnly;
using Clave = ConsultaPaginada::ClaveDiseno;

namespace {

bool mismaClave(const Clave& a, const Clave& b)
{
    return a.Formulario == b.Formulario && a.Usuario == b.Usuario && a.Nombre == b.Nombre;
}

// A stored layout that is not used goes to the error log with the entry that
// is none of the statement's columns (its start only: anyone may store any
// text there).
void registrarRechazo(const Clave& clave, const QString& entrada)
{
    constexpr int kLargoMostrado = 100;
    const QString mostrada = entrada.size() > kLargoMostrado ? entrada.left(kLargoMostrado) + u'\u2026' : entrada;
    platform::LogFile::appendLine(
        common::ArchivoBkErr(), common::LineaBkErr(platform::now(), QStringLiteral(" - LeerCampos"),
                                                   QStringLiteral("No se usa el diseño de columnas guardado ") +
                                                       platform::text::Trim(clave.Nombre) + QStringLiteral(" de ") +
                                                       platform::text::Trim(clave.Usuario) + QStringLiteral(": ") +
                                                       mostrada + QStringLiteral(" no es una columna de la consulta."),
                                                   0));
}

} // namespace

Clave BkDbGrid::claveDiseno(bool anterior) const
{
    const platform::Runtime& programa = platform::Runtime::instance();
    const QString& usuario = data::gDbPrincipal().gUsuario;
    return anterior ? ConsultaPaginada::ClaveAnteriorDelDiseno(programa.programName(), programa.commandLine(), usuario,
                                                               pOnlyObjectName)
                    : ConsultaPaginada::ClaveDelDiseno(programa.programName(), programa.commandLine(), usuario,
                                                       pOnlyObjectName);
}

void BkDbGrid::LeerCampos()
{
    data::DB_Dll& db = data::gDbPrincipal();
    std::vector<Clave> claves{claveDiseno(false)};
    // A layout stored under the key that held the password is read while the
    // new key has none; the next write stores it under the new key.
    if (const Clave anterior = claveDiseno(true); !mismaClave(anterior, claves.front())) {
        claves.push_back(anterior);
    }
    for (const Clave& clave : claves) {
        data::RecordsetPtr rs;
        bool leido = false;
        pasos::Omitir([&] {
            db.AbrirRecordset(ConsultaPaginada::SentenciaLeerDiseno(clave), rs, nullptr, adOpenForwardOnly,
                              adLockReadOnly, adCmdUnspecified, true);
        });
        pasos::Omitir([&] {
            if (rs && rs->State() == platform::db::adStateOpen && !rs->Bof()) {
                rs->MoveFirst();
                const platform::Variant valor =
                    platform::Dll_Utilidades::shared().ValorCampo(rs->value(QStringLiteral("valor")));
                if (const std::optional<QString> rechazada = m_consulta.LeerCamposGuardados(valor.toText())) {
                    registrarRechazo(clave, *rechazada);
                } else {
                    leido = true;
                }
            }
        });
        db.CierraRecordset(rs);
        if (leido) {
            return;
        }
    }
}

void BkDbGrid::GrabaCampos()
{
    data::DB_Dll& db = data::gDbPrincipal();
    const Clave nueva = claveDiseno(false);
    const Clave anterior = claveDiseno(true);
    QStringList sentencias{ConsultaPaginada::SentenciaBorrarDiseno(nueva)};
    // The row under the key that held the password goes with it.
    if (!mismaClave(anterior, nueva)) {
        sentencias << ConsultaPaginada::SentenciaBorrarDiseno(anterior);
    }
    sentencias << ConsultaPaginada::SentenciaGrabarDiseno(nueva, m_consulta.CamposGuardados());

    // The connection is held so that a reconnect during the steps cannot take it away.
    const std::shared_ptr<platform::db::Connection> cnn = db.gCnn;
    if (!cnn) {
        return;
    }
    bool escrito = false;
    pasos::Omitir([&] {
        cnn->BeginTrans();
        escrito = true;
        for (QString sentencia : sentencias) {
            if (!db.EjecutaConsultaSQL(sentencia)) {
                escrito = false;
                break;
            }
        }
    });
    // A step that failed leaves the stored row as it was.
    pasos::Omitir([&] {
        if (escrito) {
            cnn->CommitTrans();
        } else {
            cnn->RollbackTrans();
        }
    });
}

} // namespace controls
