// Presentation after a load: widths, the page controls, the ordered column's
// tint, amounts and totals, ordinals and banding, the final total, the flat look.
#include "controls/grid/BkDbGrid.h"

#include "common/Formatos.h"
#include "common/ValoresCorrida.h"
#include "common/Pasos.h"
#include "platform/core/Currency.h"
#include "platform/core/Text.h"
#include "platform/ui/ControlError.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Twips.h"
#include "platform/util/Dll_Utilidades.h"

#include <QComboBox>
#include <QLabel>

#include <optional>

namespace controls {

namespace pasos = common;
namespace text = platform::text;
using platform::Currency;
using platform::ui::rgb;

namespace {

QStringList partir(const QString& lista)
{
    return lista.split(u',');
}

Currency monedaDe(const QString& t)
{
    return platform::Dll_Utilidades::shared().TextoAMoneda(t).value_or(Currency());
}

} // namespace

int BkDbGrid::AnchoTexto(const QString& texto) const
{
    return platform::ui::textWidthTwips(MSFlexGrid1->font(), texto);
}

int BkDbGrid::IndexColGrid(const QString& titulo, const platform::ui::FlexGrid& grid) const
{
    for (int c = 0; c < grid.Cols(); ++c) {
        if (text::EqualsNoCase(text::Trim(grid.TextMatrix(0, c)), text::Trim(titulo))) {
            return c;
        }
    }
    return grid.Cols();
}

void BkDbGrid::ActualizarVistaPagina()
{
    if (CboRegistros->currentText().isEmpty() && m_consulta.PageSize == 0) {
        SinRecargaPagina = true;
        CboRegistros->setCurrentIndex(0);
        CboRegistros_Click();
        SinRecargaPagina = false;
    } else {
        MostrarTamanoPagina();
    }
    if (cboPagSelect->currentText().isEmpty()) {
        const int entrada = m_consulta.UltimaPagina < m_consulta.PaginaActual ? m_consulta.UltimaPagina - 1
                                                                              : m_consulta.PaginaActual - 1;
        if (entrada >= 0 && entrada < cboPagSelect->count()) {
            cboPagSelect->setCurrentIndex(entrada);
        }
    }
    if (CboFiltroCampo->currentText().isEmpty() && CboFiltroCampo->count() > 0) {
        CboFiltroCampo->setCurrentIndex(0);
    }
    if (m_consulta.ColumnaOrden < MSFlexGrid1->Cols()) {
        MSFlexGrid1->setRow(0);
        MSFlexGrid1->setCol(m_consulta.ColumnaOrden);
        if (m_consulta.OrdenSent == 1) {
            MSFlexGrid1->setCellBackColor(rgb(217, 246, 210));
        } else if (m_consulta.OrdenSent == 2) {
            MSFlexGrid1->setCellBackColor(rgb(238, 214, 238));
        }
    }
    for (int c = 0; c < MSFlexGrid1->Cols(); ++c) {
        if (MSFlexGrid1->ColWidth(c) == 0) {
            MSFlexGrid1->setColWidth(c, AnchoTexto(QString(2 * MSFlexGrid1->TextMatrix(0, c).size(), u'X')));
        }
    }
}

void BkDbGrid::AjustarColumnas()
{
    platform::ui::FlexGrid& g = *MSFlexGrid1;
    for (int c = 1; c < g.Cols(); ++c) {
        pasos::Omitir([&] {
            qsizetype n = g.TextMatrix(0, c).size();
            for (int r = 0; r < g.Rows(); ++r) {
                n = std::max(n, g.TextMatrix(r, c).size());
            }
            const int ancho = AnchoTexto(QString(n, u'X'));
            g.setColWidth(c, n >= 20 ? ancho - 600 : ancho + 500);
        });
    }
}

void BkDbGrid::AsignarOrdinal()
{
    using pasos::Omitir;
    platform::ui::FlexGrid& g = *MSFlexGrid1;
    platform::Dll_Utilidades& util = platform::Dll_Utilidades::shared();
    const QStringList nombres = partir(pCamposTotalizar);
    const bool totales = !text::Trim(pCamposTotalizar).isEmpty() || nombres.size() > 1;
    std::vector<int> columna(std::size_t(nombres.size()), 0);
    std::vector<Currency> total(std::size_t(nombres.size()));

    if (totales) {
        for (int c = 1; c < g.Cols(); ++c) {
            for (qsizetype k = 0; k < nombres.size(); ++k) {
                Omitir([&] {
                    if (text::EqualsNoCase(util.ValorCampo(nombres.at(k)).toText(),
                                           util.ValorCampo(g.TextMatrix(0, c)).toText())) {
                        columna[std::size_t(k)] = c;
                    }
                });
            }
        }
    }
    const int filas = g.Rows();
    for (int r = 1; r < filas; ++r) {
        if (totales) {
            for (qsizetype k = 0; k < nombres.size(); ++k) {
                Omitir([&] {
                    const int c = columna[std::size_t(k)];
                    const QString nuevo = util.RellenarIzquierda(common::FmtMoneda(g.TextMatrix(r, c), 2, true, 0), 15);
                    g.setTextMatrix(r, c, nuevo);
                    total[std::size_t(k)] += monedaDe(nuevo);
                });
            }
        }
        // The one row of an empty page is no row of the statement.
        Omitir([&] {
            g.setTextMatrix(r, 0,
                            m_paginaVacia && r == 1
                                ? QString()
                                : QString::number(int64_t(m_consulta.PaginaActual - 1) * m_consulta.PageSize + r));
        });
        if (pColorIntercalado && r % 2 == 0) {
            Omitir([&] {
                g.setRow(r);
                for (int c = 1; c < g.Cols(); ++c) {
                    g.setCol(c);
                    g.setCellBackColor(0x8000000Fu);
                }
            });
        }
    }
    if (totales) {
        Omitir([&] {
            g.setRows(g.Rows() + 1);
            g.setRow(g.Rows() - 1);
            for (qsizetype k = 0; k < nombres.size(); ++k) {
                g.setCol(columna[std::size_t(k)]);
                g.setText(util.RellenarIzquierda(common::FmtMoneda(total[std::size_t(k)], 2, true, 0), 15));
                g.setCellBackColor(0xFFFFu);
            }
        });
    }
    if (gTotalFinal) {
        TotalizadorFinal();
    }
    Omitir([&] {
        const int64_t siguiente = int64_t(m_consulta.PaginaActual - 1) * m_consulta.PageSize + (filas - 1 + 1);
        g.setColWidth(0, AnchoTexto(QString(QString::number(siguiente).size() + 1, u'X')));
    });
    Omitir([&] {
        if (g.Row() == 0 && g.Rows() > 1) {
            g.setRow(1);
        }
        g.setFocus();
    });
    LblTotalReg->setText(QStringLiteral("Total Reg: ") + QString::number(g.Rows() - 1 - (m_paginaVacia ? 1 : 0)));
}

void BkDbGrid::TotalizadorFinal()
{
    platform::ui::FlexGrid& g = *MSFlexGrid1;
    QStringList nombres;
    QStringList valores;
    int columna = 0;
    const auto celda = [&] { return monedaDe(g.Text()); };

    pasos::ConManejo(QStringLiteral("BkDbGrid"), std::nullopt,
                     {[&] {
                          if (!gCamposSum.isEmpty()) {
                              nombres = partir(gCamposSum);
                          } else if (!pCamposTotalizar.isEmpty()) {
                              nombres = partir(pCamposTotalizar);
                          } else {
                              nombres = QStringList{QStringLiteral("Importe")};
                          }
                          return true;
                      },
                      [&] {
                          const int ultima = g.Rows() - 1;
                          for (int c = 0; c < g.Cols(); ++c) {
                              for (const QString& nombre : nombres) {
                                  if (text::EqualsNoCase(nombre, g.TextMatrix(0, c))) {
                                      valores << monedaDe(g.TextMatrix(ultima, c)).toString();
                                  }
                              }
                          }
                          return true;
                      },
                      [&] {
                          if (gColorTot == 0) {
                              gColorTot = 0xFFFF00u;
                          }
                          if (gOperacion.isEmpty()) {
                              gOperacion = QStringLiteral("+");
                          }
                          if (gColumnaTotalF.isEmpty()) {
                              gColumnaTotalF = g.TextMatrix(0, 2);
                          }
                          return true;
                      },
                      [&] {
                          columna = IndexColGrid(gColumnaTotalF, g);
                          return true;
                      },
                      [&] {
                          g.setRows(g.Rows() + 1);
                          g.setRow(g.Rows() - 1);
                          g.setCol(columna);
                          g.setCellBackColor(gColorTot);
                          return true;
                      },
                      [&] {
                          for (const QString& v : valores) {
                              const Currency valor = monedaDe(v);
                              if (g.Text().isEmpty()) {
                                  g.setText(v);
                              } else if (gOperacion == u"+") {
                                  g.setText((celda() + valor).toString());
                              } else if (gOperacion == u"*") {
                                  g.setText((celda() * valor).toString());
                              } else if (gOperacion == u"-") {
                                  g.setText((celda() - valor).toString());
                              } else if (gOperacion == u"/") {
                                  const double divisor = valor.toDouble();
                                  if (divisor == 0) {
                                      throw platform::ui::ControlError(11, QStringLiteral("Division by zero"));
                                  }
                                  // Written with every digit an amount holds, as
                                  // the cell is read back; one out of range fails.
                                  g.setText(Currency::fromDouble(celda().toDouble() / divisor).toString());
                              }
                          }
                          return true;
                      },
                      [&] {
                          g.setText(common::FmtMoneda(g.Text(), -1, false, 0));
                          return true;
                      },
                      [&] {
                          if (gLeyendaTot.isEmpty()) {
                              gLeyendaTot = QStringLiteral("Saldo");
                          }
                          g.setCol(columna <= 1 ? columna + 1 : columna - 1);
                          g.setText(gLeyendaTot);
                          g.setCellBackColor(gColorTot);
                          return true;
                      },
                      [&] {
                          if (gPintarFila) {
                              for (int c = 0; c < g.Cols(); ++c) {
                                  g.setCol(c);
                                  g.setCellBackColor(gColorTot);
                              }
                          }
                          return true;
                      }});
}

void BkDbGrid::ConfigurarFlexGridModern()
{
    platform::ui::FlexGrid& g = *MSFlexGrid1;
    using platform::ui::FlexGrid;
    g.setAppearance(0);
    g.setBorderStyle(0);
    QFont fuente(QStringLiteral("Segoe UI"));
    fuente.setPointSize(9);
    g.setFont(fuente);
    g.setGridLines(FlexGrid::GridFlat);
    g.setGridLinesFixed(FlexGrid::GridFlat);
    g.setGridColor(rgb(220, 220, 220));
    g.setGridColorFixed(rgb(180, 180, 180));
    g.setBackColor(rgb(250, 250, 250));
    g.setBackColorFixed(rgb(230, 230, 230));
    g.setForeColorFixed(0);
    if (g.Rows() < 1) {
        g.setRows(2);
    }
    g.setFixedRows(1);
    if (g.Cols() < 1) {
        g.setCols(2);
    }
    g.setRow(0);
    g.setCol(0);
    g.setColSel(g.Cols() - 1);
    g.setCellFontBold(true);
    g.setCellAlignment(FlexGrid::CenterCenter);
    g.setBackColorSel(g.BackColor());
    g.setForeColorSel(g.ForeColor());
    g.setFocusRect(FlexGrid::FocusNone);
    g.setHighLight(FlexGrid::HighLightAlways);
    g.setRowHeightMin(300);
    g.setBackColorSel(rgb(200, 220, 255));
    g.setForeColorSel(0);
}

} // namespace controls
