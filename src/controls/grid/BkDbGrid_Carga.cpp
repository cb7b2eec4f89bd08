// Loading and paging: a new statement, the count and the page list, a page.
#include "controls/grid/BkDbGrid.h"

#include "common/Pasos.h"
#include "platform/core/Text.h"
#include "platform/db/Connection.h"
#include "platform/ui/FlexGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolBar>
#include <QToolButton>

#include "common/PictureBox.h"

namespace controls {

namespace pasos = common;
namespace text = platform::text;
using platform::db::adCmdUnspecified;
using platform::db::adLockReadOnly;
using platform::db::adOpenForwardOnly;

namespace {

// The hourglass while a statement runs, restored however the step ends.
class RelojDeArena
{
public:
    RelojDeArena() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~RelojDeArena() { QApplication::restoreOverrideCursor(); }
    RelojDeArena(const RelojDeArena&) = delete;
    RelojDeArena& operator=(const RelojDeArena&) = delete;
};

void abrir(data::DB_Dll& db, const QString& sentencia, data::RecordsetPtr& rs)
{
    rs.reset();
    db.AbrirRecordset(sentencia, rs, nullptr, adOpenForwardOnly, adLockReadOnly, adCmdUnspecified, true);
}

bool esImporte(const platform::Variant& valor)
{
    switch (valor.type()) {
    case platform::VariantType::Double:
    case platform::VariantType::Currency:
    case platform::VariantType::Decimal:
        return true;
    default:
        return false;
    }
}

} // namespace

void BkDbGrid::LoadBkDBGrid()
{
    if (m_consulta.SinPaginacion()) {
        m_columnas = false;
        m_ocultarOrdenar = true;
    }
    Equias();
    setEnabled(true);
    cmdColumnas->setVisible(m_columnas);
    for (QWidget* w : {static_cast<QWidget*>(ImgOrdenN), static_cast<QWidget*>(ImgOrdenDesc),
                       static_cast<QWidget*>(ImgOrdenAsc), static_cast<QWidget*>(Toolbar2)}) {
        w->setVisible(!m_ocultarOrdenar);
    }
    m_consulta.PrepararCarga();
    CargarCampos();
    CargaCancelada = false;
    if (!cmdColumnas->isHidden()) {
        LeerCampos();
    }
    ConfigurarFlexGridModern();
    CargarPaginas();
}

void BkDbGrid::CargarPaginas()
{
    data::DB_Dll& db = data::gDbPrincipal();
    data::RecordsetPtr rs;
    ConsultaPaginada& q = m_consulta;
    bool contar = false;
    QString completa;
    QString conteo;

    pasos::ConManejo(QStringLiteral("BkDbGrid"), QStringLiteral("CargarPaginas"),
                     {[&] {
                          Pbar->setRange(0, 100);
                          QCoreApplication::processEvents();
                          Pbar->setValue(30);
                          Pbar->show();
                          CmdCancel->show();
                          PicMsg->hide();
                          return true;
                      },
                      [&] { return !CargaCancelada; },
                      [&] {
                          contar = q.TotalRegistros == 0;
                          return true;
                      },
                      [&] {
                          if (contar) {
                              completa = q.SentenciaCompleta();
                              q.dialecto = DialectoActual();
                              conteo = q.SentenciaConteo(completa);
                              RelojDeArena reloj;
                              QCoreApplication::processEvents();
                              q.ConsultaCompleta = completa;
                              abrir(db, conteo.isEmpty() ? completa : conteo, rs);
                              QCoreApplication::processEvents();
                          }
                          if (CargaCancelada) {
                              db.CierraRecordset(rs);
                              DescartarPaginas();
                              return false;
                          }
                          return true;
                      },
                      [&] {
                          if (contar) {
                              q.FijarTotal(conteo.isEmpty() ? rs->RecordCount() : rs->value(0).toInteger().value_or(0));
                          }
                          return true;
                      },
                      [&] {
                          // Without rows the headings come from the statement's own fields.
                          if (contar && !conteo.isEmpty() && q.TotalRegistros == 0) {
                              abrir(db, completa, rs);
                          }
                          // A search that finds nothing keeps its condition for the
                          // page, which then comes back empty and drops it.
                          if (contar && rs->Bof() && rs->Eof()) {
                              q.TotalRegistros = 0;
                              MSFlexGrid1->setCols(2);
                              MSFlexGrid1->setFixedCols(1);
                              for (int k = 0; k < rs->FieldCount(); ++k) {
                                  MSFlexGrid1->setCols(k + 3);
                                  MSFlexGrid1->setTextMatrix(0, k + 1, rs->Fields(k).Name());
                              }
                              MSFlexGrid1->setRows(2);
                              for (int c = 0; c < MSFlexGrid1->Cols(); ++c) {
                                  MSFlexGrid1->setTextMatrix(1, c, QString());
                              }
                              QCoreApplication::processEvents();
                          }
                          return true;
                      },
                      [&] {
                          if (contar) {
                              db.CierraRecordset(rs);
                          }
                          return true;
                      },
                      [&] {
                          Pbar->setValue(70);
                          const QSignalBlocker bloqueo(cboPagSelect);
                          cboPagSelect->clear();
                          cboPagSelect->addItems(q.ArmarPaginas());
                          cboPagSelect->setCurrentIndex(-1);
                          Pbar->setValue(90);
                          return true;
                      },
                      [&] {
                          QCoreApplication::processEvents();
                          Pbar->setValue(100);
                          MostrarPagina();
                          QCoreApplication::processEvents();
                          CmdCancel->hide();
                          Pbar->hide();
                          return true;
                      }});
}

void BkDbGrid::DescartarPaginas()
{
    m_consulta.DescartarConteo();
    {
        const QSignalBlocker bloqueo(cboPagSelect);
        cboPagSelect->clear();
    }
    lblPaginas->setText(QStringLiteral("Página 1 de 1"));
    MSFlexGrid1->Clear();
}

void BkDbGrid::CargarPagina(int Cual)
{
    if (Cual < 1 || Cual > m_consulta.UltimaPagina) {
        return;
    }
    m_consulta.PaginaActual = Cual;
    lblPaginas->setText(QStringLiteral(" Página ") + QString::number(Cual) + QStringLiteral(" de ") +
                        QString::number(m_consulta.UltimaPagina));
    if (Cual <= cboPagSelect->count()) {
        cboPagSelect->setCurrentIndex(Cual - 1);
    }
    MostrarPagina();
}

void BkDbGrid::MostrarPaginaVacia(platform::db::Recordset& rs)
{
    m_consulta.FiltroBusqueda.clear();
    m_consulta.TotalRegistros = 0;
    if (MSFlexGrid1->Cols() < rs.FieldCount() + 1) {
        MSFlexGrid1->setCols(rs.FieldCount() + 1);
    }
    for (int i = 0; i < rs.FieldCount(); ++i) {
        MSFlexGrid1->setTextMatrix(0, i + 1, rs.Fields(i).Name());
    }
    MSFlexGrid1->setRows(2);
    for (int c = 0; c < MSFlexGrid1->Cols(); ++c) {
        MSFlexGrid1->setTextMatrix(1, c, QString());
    }
}

void BkDbGrid::MostrarFilas(platform::db::Recordset& rs)
{
    QStringList nombres;
    const int n = rs.FieldCount();
    for (int i = 0; i < n; ++i) {
        nombres << rs.Fields(i).Name();
    }
    // Amounts show the user's decimal sign, as the program's other lists and
    // the totals that read them back do; whole numbers carry none.
    const QString decimal = QLocale().decimalPoint();
    const bool otroDecimal = decimal != u".";
    std::vector<QStringList> filas;
    filas.reserve(std::size_t(std::max<int64_t>(0, rs.RecordCount())));
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        QStringList fila;
        fila.reserve(n);
        for (int i = 0; i < n; ++i) {
            const platform::Variant valor = rs.value(i);
            QString texto = valor.toText();
            if (otroDecimal && esImporte(valor)) {
                texto.replace(u'.', decimal);
            }
            fila << std::move(texto);
        }
        filas.push_back(std::move(fila));
    }
    MSFlexGrid1->BindRows(nombres, std::move(filas));
}

void BkDbGrid::CargarGrid()
{
    data::DB_Dll& db = data::gDbPrincipal();
    data::RecordsetPtr rs;
    QString s;

    const bool completo = pasos::ConManejo(QStringLiteral("BkDbGrid"), QStringLiteral("CargarGrid"),
                                           {[&] {
                                                Pbar->setRange(0, 100);
                                                Pbar->setValue(10);
                                                return true;
                                            },
                                            [&] {
                                                ArmarOrden();
                                                return true;
                                            },
                                            [&] {
                                                Pbar->setValue(20);
                                                m_consulta.ArmarWhere();
                                                return true;
                                            },
                                            [&] {
                                                s = SentenciaPagina();
                                                return true;
                                            }});
    if (!completo) {
        return;
    }

    // Failures of these steps are skipped.
    pasos::Omitir([&] { Pbar->setValue(50); });
    if (m_consulta.SeEjecutaTalCual()) {
        s = m_consulta.sql;
    }
    pasos::Omitir([&] {
        abrir(db, s, rs);
        Pbar->setValue(60);
    });

    // From here on a failure goes to the caller.
    if (db.gCnn && db.gCnn->errors().Count() > 0) {
        if (db.gCnn->errors().Item(0).NativeError == platform::db::native::InvalidColumn) {
            s = m_consulta.sql;
            db.gCnn->errors().Clear();
            abrir(db, s, rs);
        }
    }
    if (!rs) {
        throw platform::db::DbError(platform::db::adErr::ObjectClosed,
                                    QStringLiteral("Operation is not allowed when the object is closed."));
    }
    // The progress bar repaints the window at each step; the grid is
    // painted once, with its page whole.
    const platform::ui::RedrawPause pausa(*MSFlexGrid1);
    m_paginaVacia = rs->Bof() && rs->Eof();
    if (m_paginaVacia) {
        MostrarPaginaVacia(*rs);
    } else {
        MostrarFilas(*rs);
    }
    db.CierraRecordset(rs);
    Pbar->setValue(70);
    if (!m_anchoColFijo) {
        AjustarColumnas();
    }
    Pbar->setValue(80);
    ActualizarVistaPagina();
    Pbar->setValue(90);
    AsignarOrdinal();
    Pbar->setValue(100);
    CargaCancelada = false;
    // The host's change of the page number becomes the current page.
    emit PaginaCargada(m_consulta.PaginaActual);
    Pbar->setValue(0);
}

} // namespace controls
