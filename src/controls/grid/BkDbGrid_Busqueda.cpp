// Search and filter: the search box, the filter bar's tool bar with its
// buttons, the drop-down menus of both tool bars, and the search itself, in
// the page on screen or on the server.
#include "controls/grid/BkDbGrid.h"

#include "export/ModExportarExcel.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/KeyCodes.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

namespace controls {

namespace text = platform::text;
using platform::ui::rgb;

namespace {

const QString kIngreseTexto = QStringLiteral("Ingrese el texto a buscar...");
constexpr platform::ui::OleColor kColorPlaceholder = 2;
constexpr platform::ui::OleColor kColorEncontrado = rgb(192, 232, 232);

// A cell is found when it holds a text that contains the search text: an
// empty search text finds every cell that is not blank, and no blank cell.
bool contiene(const QString& celda, const QString& texto)
{
    return !text::Trim(celda).isEmpty() && celda.contains(texto, Qt::CaseInsensitive);
}

} // namespace

void BkDbGrid::AplicarBusqueda()
{
    ConsultaPaginada& q = m_consulta;
    // The hint is no text of the user's.
    QString texto = text::Trim(txtBuscar->text());
    if (text::EqualsNoCase(texto, kIngreseTexto)) {
        texto.clear();
    }
    if (texto.isEmpty()) {
        texto = platform::op()
                    .InputBox(QStringLiteral("Campo seleccionado: ") + CboFiltroCampo->currentText() +
                                  QStringLiteral("\r\nIngrese el texto que desea buscar para el campo seleccionado: "),
                              QString(), QString())
                    .value_or(QString());
    }
    if (q.Find == 1) {
        BuscarEnPagina(texto);
    } else {
        if (!text::Trim(texto).isEmpty()) {
            const QString campo = CboFiltroCampo->currentText();
            QString condicion;
            if (text::EqualsNoCase(campo, u"Todos")) {
                QStringList titulos;
                for (int c = 1; c < MSFlexGrid1->Cols(); ++c) {
                    titulos << MSFlexGrid1->TextMatrix(0, c);
                }
                condicion = q.CondicionTodos(titulos, texto);
            } else if (const std::optional<QString> termino = q.CondicionCampo(campo, texto)) {
                condicion = *termino;
            } else {
                platform::op().MsgBox(QStringLiteral("Debe Ingresar un Formato de Fecha Válido."),
                                      platform::msgbox::Information, QStringLiteral("Aviso al Usuario"));
                return;
            }
            q.AgregarBusqueda(condicion);
        }
        q.FijarTotal(0);
        CargaCancelada = false;
        CargarPaginas();
    }
    MostrarIndicacionBusqueda();
}

void BkDbGrid::MostrarIndicacionBusqueda()
{
    // A box with the focus is left empty for the next text, as getting the
    // focus leaves it.
    txtBuscar->setText(txtBuscar->hasFocus() ? QString() : kIngreseTexto);
    colorTexto(txtBuscar, kColorPlaceholder);
}

void BkDbGrid::BuscarEnPagina(const QString& texto)
{
    platform::ui::FlexGrid& g = *MSFlexGrid1;
    const QString campo = CboFiltroCampo->currentText();
    const auto pintar = [&](int r, int c) {
        if (contiene(g.TextMatrix(r, c), texto)) {
            g.setRow(r);
            g.setCol(c);
            g.setCellBackColor(kColorEncontrado);
        }
    };
    if (text::EqualsNoCase(campo, u"Todos")) {
        for (int r = 1; r < g.Rows(); ++r) {
            for (int c = 1; c < g.Cols(); ++c) {
                pintar(r, c);
            }
        }
        return;
    }
    for (int c = 1; c < g.Cols(); ++c) {
        if (text::EqualsNoCase(g.TextMatrix(0, c), campo)) {
            for (int r = 1; r < g.Rows(); ++r) {
                pintar(r, c);
            }
            return;
        }
    }
}

void BkDbGrid::Toolbar1_ButtonClick(const QString& key)
{
    if (text::EqualsNoCase(key, u"BUSCAR")) {
        AplicarBusqueda();
    } else if (text::EqualsNoCase(key, u"ACTUALIZAR")) {
        m_consulta.FiltroBusqueda.clear();
        m_consulta.FijarTotal(0);
        CargaCancelada = false;
        CargarPaginas();
    } else if (text::EqualsNoCase(key, u"AJUSTACOL")) {
        AjustarColumnas();
        emit ColumnasAjustadas();
    } else if (text::EqualsNoCase(key, u"Excel")) {
        exportacion::ExportarExcel(m_consulta.ConsultaCompleta, true, QString(), QString(), QString(), nullptr, 0,
                                   QString());
    }
}

int BkDbGrid::marcarEntrada(QToolButton* boton, QAction* ButtonMenu)
{
    if (ButtonMenu->text().contains(u"»")) {
        return 0;
    }
    ButtonMenu->setText(QStringLiteral("» ") + text::Trim(ButtonMenu->text()));
    const QList<QAction*> entradas = boton->menu()->actions();
    const qsizetype indice = entradas.indexOf(ButtonMenu) + 1;
    if (indice != 1 && indice != 2) {
        return 0;
    }
    QAction* otra = entradas.at(indice == 1 ? 1 : 0);
    otra->setText(text::Replace(otra->text(), u"» ", u"  "));
    return int(indice);
}

void BkDbGrid::Toolbar1_ButtonMenuClick(QAction* ButtonMenu)
{
    // The mode applies from the next search; nothing reloads and the host's
    // designer is not told.
    if (const int modo = marcarEntrada(btnBuscar, ButtonMenu); modo != 0) {
        m_consulta.Find = modo;
    }
}

void BkDbGrid::Toolbar2_ButtonMenuClick(QAction* ButtonMenu)
{
    if (const int modo = marcarEntrada(btnOrden, ButtonMenu); modo != 0) {
        m_consulta.Order = modo;
    }
}

void BkDbGrid::txtBuscar_GotFocus()
{
    if (text::EqualsNoCase(txtBuscar->text(), kIngreseTexto)) {
        txtBuscar->clear();
    }
    colorFondo(txtBuscar, rgb(255, 252, 229));
    colorTexto(txtBuscar, 0);
}

void BkDbGrid::txtBuscar_LostFocus()
{
    colorFondo(txtBuscar, 0xFFFFFFu);
}

void BkDbGrid::txtBuscar_Change()
{
    const QString t = txtBuscar->text();
    colorTexto(txtBuscar, !t.isEmpty() && !text::EqualsNoCase(t, kIngreseTexto) ? 0 : kColorPlaceholder);
}

bool BkDbGrid::txtBuscar_KeyDown(int KeyCode)
{
    if (KeyCode != platform::ui::keys::Return) {
        return false;
    }
    AplicarBusqueda();
    txtBuscar->setFocus();
    return true;
}

} // namespace controls
