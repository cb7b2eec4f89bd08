// The grid's side of its query texts: the alias table and the field probe run
// with the loading routines' error handling, the dialect of the open
// connection, and the page statement with its progress.
#include "controls/grid/BkDbGrid.h"

#include "common/MensajeError.h"
#include "common/Pasos.h"
#include "platform/core/Text.h"
#include "platform/db/Connection.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>

namespace controls {

namespace pasos = common;
namespace text = platform::text;
using platform::db::adCmdUnspecified;
using platform::db::adLockReadOnly;
using platform::db::adOpenForwardOnly;

void BkDbGrid::Equias()
{
    pasos::ConManejo(QStringLiteral("BkDbGrid"), QStringLiteral("Equias"), {[&] {
                         if (m_consulta.Equias()) {
                             return true;
                         }
                         // An " as " at the very end names nothing: the table ends there.
                         common::MensajeError(platform::ErrObject(5,
                                                                  QStringLiteral("Invalid procedure call or argument"),
                                                                  QStringLiteral("BkDbGrid")),
                                              std::nullopt, QStringLiteral("Equias"));
                         return false;
                     }});
}

QString BkDbGrid::EquiCampo(const QString& Campo, int Equivalencia) const
{
    return m_consulta.EquiCampo(Campo, Equivalencia);
}

QString BkDbGrid::ArmarListaCampos(QString& lista)
{
    return m_consulta.ArmarListaCampos(lista);
}

void BkDbGrid::CargarCampos()
{
    data::DB_Dll& db = data::gDbPrincipal();
    data::RecordsetPtr rs;
    ConsultaPaginada& q = m_consulta;
    const bool conSeleccion = q.ConSeleccion();
    QString prueba;
    std::vector<ConsultaPaginada::CampoProbado> campos;

    MostrarIndicacionBusqueda();
    q.CamposTodos.clear();
    CboFiltroCampo->clear();
    CboFiltroCampo->addItem(QStringLiteral("Todos"));

    pasos::ConManejo(QStringLiteral("BkDbGrid"), std::nullopt,
                     {[&] {
                          q.Campos.clear();
                          prueba = q.SentenciaPrueba(conSeleccion);
                          db.AbrirRecordset(prueba, rs, nullptr, adOpenForwardOnly, adLockReadOnly, adCmdUnspecified,
                                            true);
                          return true;
                      },
                      [&] {
                          campos.clear();
                          for (int i = 0; i < rs->FieldCount(); ++i) {
                              platform::db::Field campo = rs->Fields(i);
                              campos.push_back({campo.Name(), campo.Type()});
                          }
                          const QStringList filtro =
                              conSeleccion ? q.CargarCamposSeleccion(campos) : q.CargarCamposTodos(campos, prueba);
                          CboFiltroCampo->addItems(filtro);
                          return true;
                      },
                      [&] {
                          db.CierraRecordset(rs);
                          return true;
                      }});
}

ConsultaPaginada::Dialecto BkDbGrid::DialectoActual() const
{
    const data::DB_Dll& db = data::gDbPrincipal();
    if (text::Contains(db.gProveedor, u"ORACLE")) {
        return ConsultaPaginada::Dialecto::Oracle;
    }
    if (db.gCnn &&
        platform::db::usesEmbeddedEngine(platform::db::ConnectionString::parse(db.gCnn->ConnectionString()))) {
        return ConsultaPaginada::Dialecto::Embebido;
    }
    return ConsultaPaginada::Dialecto::SqlServer;
}

QString BkDbGrid::SentenciaPagina()
{
    Pbar->setValue(30);
    // The page list's current entry names the page; the current page when it names none.
    bool leido = false;
    int64_t pagina = cboPagSelect->currentText().trimmed().toLongLong(&leido);
    if (!leido) {
        pagina = m_consulta.PaginaActual;
    }
    m_consulta.dialecto = DialectoActual();
    if (const QString conteo = m_consulta.SentenciaFilasPorClave(pagina); !conteo.isEmpty()) {
        data::DB_Dll& db = data::gDbPrincipal();
        data::RecordsetPtr rs;
        db.AbrirRecordset(conteo, rs, nullptr, adOpenForwardOnly, adLockReadOnly, adCmdUnspecified, true);
        const int64_t filas = rs->value(0).toInteger().value_or(0);
        db.CierraRecordset(rs);
        m_consulta.FijarFilasPorClave(filas);
    }
    const QString s = m_consulta.SentenciaPagina(pagina);
    Pbar->setValue(40);
    return s;
}

} // namespace controls
