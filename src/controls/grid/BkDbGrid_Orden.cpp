// Ordering, the page buttons, the page list, the page size and the paging keys.
#include "controls/grid/BkDbGrid.h"

#include "platform/core/Operator.h"
#include "platform/core/Text.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/KeyCodes.h"
#include "platform/ui/StatusBar.h"

#include "platform/core/Runtime.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace controls {

namespace text = platform::text;
namespace keys = platform::ui::keys;

namespace {

// The leading number of a text, as the platform's Val reads it (0 when none).
int64_t valorNumerico(const QString& t)
{
    const QString s = text::LTrim(t);
    qsizetype i = 0;
    if (i < s.size() && (s.at(i) == u'-' || s.at(i) == u'+')) {
        ++i;
    }
    while (i < s.size() && s.at(i).isDigit()) {
        ++i;
    }
    return s.left(i).toLongLong();
}

} // namespace

void BkDbGrid::ArmarOrden()
{
    const int columna = MSFlexGrid1->Col();
    m_consulta.ArmarOrden(columna, columna < MSFlexGrid1->Cols() ? MSFlexGrid1->TextMatrix(0, columna) : QString());
    StatusBar1->Panels(1).setText(QStringLiteral(" Orden: ") + m_consulta.OrderBy);
}

void BkDbGrid::ImgOrdenAsc_Click()
{
    m_consulta.OrdenSent = 1;
    CargarGrid();
}

void BkDbGrid::ImgOrdenDesc_Click()
{
    m_consulta.OrdenSent = 2;
    CargarGrid();
}

void BkDbGrid::ImgOrdenN_Click()
{
    m_consulta.OrdenSent = 0;
    CargarGrid();
}

void BkDbGrid::cmdPrimero_Click()
{
    if (m_consulta.PaginaActual >= 2) {
        m_consulta.PaginaActual = 1;
        MostrarPagina();
    }
}

void BkDbGrid::cmdAnterior_Click()
{
    if (m_consulta.PaginaActual >= 2) {
        --m_consulta.PaginaActual;
        MostrarPagina();
    }
}

void BkDbGrid::cmdSiguiente_Click()
{
    if (m_consulta.PaginaActual < m_consulta.UltimaPagina) {
        ++m_consulta.PaginaActual;
        MostrarPagina();
    }
}

void BkDbGrid::cmdUltimo_Click()
{
    if (m_consulta.PaginaActual < m_consulta.UltimaPagina) {
        m_consulta.PaginaActual = m_consulta.UltimaPagina;
        MostrarPagina();
    }
}

void BkDbGrid::MostrarPagina()
{
    if (m_consulta.PaginaActual == 0) {
        m_consulta.PaginaActual = 1;
    }
    if (m_consulta.UltimaPagina == 0) {
        m_consulta.UltimaPagina = 1;
    }
    lblPaginas->setText(QStringLiteral(" Página ") + QString::number(m_consulta.PaginaActual) + QStringLiteral(" de ") +
                        QString::number(m_consulta.UltimaPagina));
    // Selecting another entry runs the page list's handler, which loads the page.
    if (m_consulta.PaginaActual >= 1 && m_consulta.PaginaActual <= cboPagSelect->count()) {
        cboPagSelect->setCurrentIndex(m_consulta.PaginaActual - 1);
    }
}

void BkDbGrid::cboPagSelect_Click()
{
    m_consulta.PaginaActual = int32_t(valorNumerico(cboPagSelect->currentText()));
    MostrarPagina();
    if (!SinRecargaPagina) {
        CargarGrid();
    }
}

void BkDbGrid::CboRegistros_Click()
{
    m_consulta.PageSize = int32_t(valorNumerico(CboRegistros->currentText()));
    CargaCancelada = false;
    CargarPaginas();
}

void BkDbGrid::MostrarTamanoPagina()
{
    // The list's entry of the size, when it has one, is the current one, so
    // that the list opens on it.
    const QString tamano = QString::number(m_consulta.PageSize);
    if (const int entrada = CboRegistros->findText(tamano); entrada >= 0) {
        CboRegistros->setCurrentIndex(entrada);
    }
    CboRegistros->setEditText(tamano);
}

void BkDbGrid::CboRegistros_Paso(int paso)
{
    // From the size shown, typed or chosen, to the list's entry above or
    // below it (the list runs from the smallest size up).
    const int64_t mostrado = valorNumerico(CboRegistros->currentText());
    int destino = -1;
    for (int i = 0; i < CboRegistros->count() && !(paso > 0 && destino >= 0); ++i) {
        const int64_t v = valorNumerico(CboRegistros->itemText(i));
        if (paso > 0 ? v > mostrado : v < mostrado) {
            destino = i;
        }
    }
    if (destino >= 0) {
        CboRegistros->setCurrentIndex(destino);
        CboRegistros_Click();
    }
}

void BkDbGrid::CboRegistros_KeyPress(int& KeyAscii)
{
    if (KeyAscii < '0' || KeyAscii > '9') {
        KeyAscii = 0;
    }
}

void BkDbGrid::CboRegistros_KeyDown(int& KeyCode, int Shift)
{
    (void)Shift;
    if (KeyCode == keys::Return) {
        AplicarTamanoPagina();
    }
}

void BkDbGrid::AplicarTamanoPagina()
{
    const QString texto = CboRegistros->currentText();
    const int64_t v = valorNumerico(texto);
    if (v < 1) {
        platform::op().MsgBox(QStringLiteral("El tamaño de la página en registos no puede ser menor a 1 por página."),
                              platform::msgbox::Information, QStringLiteral("Aviso al Usuario"));
        m_consulta.PageSize = 1;
    } else if (v > 2000) {
        platform::op().MsgBox(
            QStringLiteral("El tamaño de la página en registros no puede superar los 2000 por página."),
            platform::msgbox::Information, QStringLiteral("Aviso al Usuario"));
        m_consulta.PageSize = 2000;
    } else {
        m_consulta.PageSize = int32_t(v);
    }
    CargaCancelada = false;
    CargarPaginas();
    MSFlexGrid1->setFocus();
}

void BkDbGrid::CmdCancel_Click()
{
    CargaCancelada = true;
}

void BkDbGrid::MSFlexGrid1_KeyDown(int& KeyCode, int Shift)
{
    int shift = Shift;
    emit MSFlexGridKeyDown(KeyCode, shift);
    switch (KeyCode) {
    case keys::PageDown:
        cmdSiguiente_Click();
        break;
    case keys::PageUp:
        cmdAnterior_Click();
        break;
    case keys::Down:
        ContadorArriba = 0;
        if (MSFlexGrid1->Row() == MSFlexGrid1->Rows() - 1) {
            if (ContadorAbajo == 1) {
                cmdSiguiente_Click();
                ContadorAbajo = 0;
            } else {
                ++ContadorAbajo;
            }
        }
        break;
    case keys::Up:
        ContadorAbajo = 0;
        if (MSFlexGrid1->Row() == 1) {
            if (ContadorArriba == 1) {
                cmdAnterior_Click();
                ContadorArriba = 0;
            } else {
                ++ContadorArriba;
            }
        }
        break;
    case keys::Right:
        for (int c = MSFlexGrid1->Col(); c < MSFlexGrid1->Cols(); ++c) {
            if (MSFlexGrid1->ColWidth(c) > 20) {
                MSFlexGrid1->setCol(c);
                break;
            }
        }
        MSFlexGrid1_EnterCell();
        break;
    case keys::Left:
        for (int c = MSFlexGrid1->Col(); c >= 0; --c) {
            if (MSFlexGrid1->ColWidth(c) > 20) {
                MSFlexGrid1->setCol(c);
                break;
            }
        }
        MSFlexGrid1_EnterCell();
        break;
    default:
        break;
    }
}

} // namespace controls
