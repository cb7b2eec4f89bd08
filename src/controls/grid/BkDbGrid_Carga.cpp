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

} // namespace

void BkDbGrid::LoadBkDBGrid()
{
    if (text::Contains(m_sql, u" join ") || text::Contains(m_sql, u" group by ")) {
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
    m_sql += QStringLiteral(" ");

    const qsizetype from = m_sql.indexOf(u" FROM ", 0, Qt::CaseInsensitive);
    QString resto = from >= 0 ? m_sql.mid(from + 6) : QString();
    const qsizetype where = resto.indexOf(u" where", 0, Qt::CaseInsensitive);
    if (text::Contains(m_sql, u" where") && where >= 0) {
        resto = resto.left(where);
    } else if (const qsizetype blanco = resto.indexOf(u' '); blanco >= 0) {
        resto = resto.left(blanco);
    }
    TablaConsulta = text::Trim(resto);

    TotalRegistros = 0;
    m_paginaActual = 1;
    m_ultimaPagina = 0;
    FiltroBusqueda.clear();
    WhereEfectivo.clear();
    ColumnasFecha.clear();
    ColumnaOrden = 0;
    CargarCampos();
    CargaCancelada = false;
    ConfigurarFlexGridModern();
    CargarPaginas();
}

void BkDbGrid::CargarPaginas()
{
    data::DB_Dll& db = data::gDbPrincipal();
    data::RecordsetPtr rs;
    int32_t paginas = 0;
    bool contar = false;

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
                          contar = TotalRegistros == 0;
                          return true;
                      },
                      [&] {
                          if (contar) {
                              const QString sentencia = SentenciaCompleta();
                              RelojDeArena reloj;
                              QCoreApplication::processEvents();
                              ConsultaCompleta = sentencia;
                              abrir(db, sentencia, rs);
                              QCoreApplication::processEvents();
                          }
                          // "Cancelar carga..." pressed while the rows were counted: the
                          // count is dropped (the rows stay uncounted) and the load stops.
                          if (CargaCancelada) {
                              db.CierraRecordset(rs);
                              TotalRegistros = 0;
                              return false;
                          }
                          return true;
                      },
                      [&] {
                          if (contar) {
                              TotalRegistros = int32_t(rs->RecordCount());
                          }
                          return true;
                      },
                      [&] {
                          if (contar && rs->Bof() && rs->Eof()) {
                              FiltroBusqueda.clear();
                              TotalRegistros = 0;
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
                          // One page per PageSize rows and one for the rest; a size below 1
                          // gives a single page.
                          if (TotalRegistros > 0) {
                              paginas =
                                  m_pageSize > 0 ? int32_t((int64_t(TotalRegistros) + m_pageSize - 1) / m_pageSize) : 1;
                          }
                          for (int32_t p = 1; p <= paginas; ++p) {
                              cboPagSelect->addItem(QString::number(p));
                              QCoreApplication::processEvents();
                          }
                          cboPagSelect->setCurrentIndex(-1);
                          return true;
                      },
                      [&] {
                          Pbar->setValue(90);
                          if (m_paginaActual > paginas) {
                              m_paginaActual = paginas;
                          }
                          m_ultimaPagina = paginas;
                          return true;
                      },
                      [&] {
                          if (cboPagSelect->count() == 0) {
                              const QSignalBlocker bloqueo(cboPagSelect);
                              cboPagSelect->addItem(QStringLiteral("1"));
                              cboPagSelect->setCurrentIndex(-1);
                          }
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

void BkDbGrid::CargarPagina(int Cual)
{
    if (Cual > m_ultimaPagina) {
        return;
    }
    m_paginaActual = Cual;
    lblPaginas->setText(QStringLiteral(" Página ") + QString::number(Cual) + QStringLiteral(" de ") +
                        QString::number(m_ultimaPagina));
    if (Cual >= 1 && Cual <= cboPagSelect->count()) {
        cboPagSelect->setCurrentIndex(Cual - 1);
    }
    MostrarPagina();
}

void BkDbGrid::MostrarPaginaVacia(platform::db::Recordset& rs)
{
    FiltroBusqueda.clear();
    TotalRegistros = 0;
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
    std::vector<QStringList> filas;
    filas.reserve(std::size_t(std::max<int64_t>(0, rs.RecordCount())));
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        QStringList fila;
        fila.reserve(n);
        for (int i = 0; i < n; ++i) {
            fila << rs.value(i).toText();
        }
        filas.push_back(std::move(fila));
    }
    MSFlexGrid1->BindRows(nombres, filas);
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
                                                ArmarWhere();
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
    if (text::Contains(m_sql, u"exec ") || text::Contains(m_sql, u" join ") || text::Contains(m_sql, u" group by ")) {
        s = m_sql;
    }
    pasos::Omitir([&] {
        abrir(db, s, rs);
        Pbar->setValue(60);
    });

    // From here on a failure goes to the caller.
    if (db.gCnn && db.gCnn->errors().Count() > 0) {
        if (db.gCnn->errors().Item(0).NativeError == platform::db::native::InvalidColumn) {
            s = m_sql;
            db.gCnn->errors().Clear();
            abrir(db, s, rs);
        }
    }
    if (!rs) {
        throw platform::db::DbError(platform::db::adErr::ObjectClosed,
                                    QStringLiteral("Operation is not allowed when the object is closed."));
    }
    if (rs->Bof() && rs->Eof()) {
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
    int32_t pagina = m_paginaActual;
    emit PaginaCargada(pagina);
    Pbar->setValue(0);
}

} // namespace controls
