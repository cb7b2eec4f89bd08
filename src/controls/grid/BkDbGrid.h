#pragma once

#include "controls/grid/ConsultaPaginada.h"
#include "data/DB_Dll.h"
#include "export/HojaExcel.h"
#include "platform/ui/Colors.h"
#include "platform/ui/PropertyBag.h"

#include <QString>
#include <QWidget>

#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QToolBar;
class QToolButton;

namespace common {
class PictureBox;
}

namespace platform::ui {
class FlexGrid;
class StatusBar;
} // namespace platform::ui

namespace controls {

// The paged data-base grid: shows the rows of any SELECT statement page by
// page in a flex grid, with a filter bar (page size, progress, cancel) and a
// command bar (page list and buttons, ordering). The host sets PageSize,
// pConnString and sql and calls LoadBkDBGrid; the grid counts the rows, builds
// the page list and loads the first page, always through gDbPrincipal().
//
// Failures: the loading routines report through the common error dialog
// (Retry repeats the failed step, Ignore goes on, Abort leaves); dressing
// routines skip a failing step. Nothing raised by the data platform or a
// control leaves the grid's own event handlers: it is reported through the
// common error dialog and the grid stays usable. The public loading members
// that the host calls directly (LoadBkDBGrid, CargarPagina) pass failures to
// the host.
//
// When neither the statement nor the grid gives an order, the pages are
// ordered by the key column (PrimaryKey, "ID" when empty), so that no row
// repeats or goes missing between pages.
//
// The host learns what happens in the inner grid and the edit box through
// the grid's signals; their arguments are references, so a host connected
// directly (the default within one thread) that changes a key code or key
// character changes what the inner control does with the key.
class BkDbGrid : public QWidget
{
    Q_OBJECT

public:
    explicit BkDbGrid(QWidget* parent = nullptr);
    // Releases the program-wide data-access instance (a later use creates a
    // fresh, unconnected one).
    ~BkDbGrid() override;

    // Host-settable public variables.
    platform::ui::FlexGrid* MsFlexGrid = nullptr;
    QLineEdit* TxtEdit = nullptr;
    QString pConnString;
    bool pColorIntercalado = false;
    bool pPintaFilaSel = false;
    QString pCamposTotalizar;
    QString gCamposSum;
    QString gOperacion;
    QString gColumnaTotalF;
    QString gLeyendaTot;
    bool gTotalFinal = false;
    platform::ui::OleColor gColorTot = 0;
    bool gPintarFila = false;
    QString pOnlyObjectName;

    // Public members, in interface order.
    void TotalizadorFinal();
    int IndexColGrid(const QString& titulo, const platform::ui::FlexGrid& grid) const;
    void LoadBkDBGrid();
    QString EquiCampo(const QString& Campo, int Equivalencia) const;
    void inicializa();
    // The stored column layout of this program, login and grid: LeerCampos
    // reads it into CamposSel (kept when none is stored), GrabaCampos
    // replaces it with CamposSel in one transaction (the stored row stays as
    // it was when a step fails). Failures are logged by the data-access class.
    void LeerCampos();
    void GrabaCampos();
    void ImgOrdenAsc_Click();
    void ImgOrdenDesc_Click();
    void CargarGrid();
    void AsignarOrdinal();
    void AjustarColumnas();
    void CargarPagina(int Cual);
    void CargarPaginas();
    void CargarCampos();
    QString ArmarListaCampos(QString& lista);
    // The grid's own spreadsheet export: as exportacion::ExportarExcelPorRS,
    // with progress only in `picMsg`, cancelled by CmdCancel, field names
    // matched without regard to case and the machine's date in the head.
    void ExportarExcelPorRsOSCX(const QString& sql, bool Preview, const QString& ElTitulo, const QString& ElTitulo1,
                                const QString& ElNombre, common::PictureBox* picMsg, int cantHojas,
                                const QString& CamposTotaliza);
    // Draws a percentage bar into a picture box, as PintaProgreso does.
    void ProgressBar(common::PictureBox* picture, const platform::Variant& Percent, long Color, const QString& mensaje);
    void ConfigurarFlexGridModern();

    // Properties.
    QString sql() const { return m_consulta.sql; }
    void setSql(const QString& value);
    QString PrimaryKey() const { return m_consulta.PrimaryKey; }
    void setPrimaryKey(const QString& value) { fijar(m_consulta.PrimaryKey, value, "PrimaryKey"); }
    int Find() const { return m_consulta.Find; }
    // Values other than 1 and 2 are stored and raise ControlError (the menu's index error).
    void setFind(int value);
    int Order() const { return m_consulta.Order; }
    void setOrder(int value);
    int32_t AlignCommandBar() const { return m_alignCommandBar; }
    void setAlignCommandBar(int32_t value) { fijar(m_alignCommandBar, value, "AlignCommandBar"); }
    int32_t AlignFilterBar() const { return m_alignFilterBar; }
    void setAlignFilterBar(int32_t value) { fijar(m_alignFilterBar, value, "AlignFilterBar"); }
    int32_t PageSize() const { return m_consulta.PageSize; }
    void setPageSize(int32_t value) { fijar(m_consulta.PageSize, value, "PageSize"); }
    bool AnchoColFijo() const { return m_anchoColFijo; }
    void setAnchoColFijo(bool value) { fijar(m_anchoColFijo, value, "AnchoColFijo"); }
    QString CamposSel() const { return m_consulta.CamposSel; }
    void setCamposSel(const QString& value) { fijar(m_consulta.CamposSel, value, "CamposSel"); }
    QString Campos() const { return m_consulta.Campos; }
    void setCampos(const QString& value) { fijar(m_consulta.Campos, value, "Campos"); }
    QString OrdinalSel() const { return m_consulta.OrdinalSel; }
    void setOrdinalSel(const QString& value) { fijar(m_consulta.OrdinalSel, value, "OrdinalSel"); }
    bool Columnas() const { return m_columnas; }
    void setColumnas(bool value) { fijar(m_columnas, value, "Columnas"); }
    bool OcultarOrdenar() const { return m_ocultarOrdenar; }
    void setOcultarOrdenar(bool value) { fijar(m_ocultarOrdenar, value, "OcultarOrdenar"); }
    QString OrderBy() const { return m_consulta.OrderBy; }
    void setOrderBy(const QString& value) { fijar(m_consulta.OrderBy, value, "OrderBy"); }
    int OrdenSent() const { return m_consulta.OrdenSent; }
    void setOrdenSent(int value) { fijar(m_consulta.OrdenSent, value, "OrdenSent"); }
    int FormatDate() const { return m_consulta.FormatDate; }
    void setFormatDate(int value) { fijar(m_consulta.FormatDate, value, "FormatDate"); }
    QString ConString() const { return pConnString; }
    // Opens gDbPrincipal() with the text when it is not open yet; the
    // failures of the open reach the caller.
    void setConString(const QString& value);
    int32_t PaginaActual() const { return m_consulta.PaginaActual; }
    int32_t UltimaPagina() const { return m_consulta.UltimaPagina; }

    // The container's property store: the values of a freshly placed
    // control, the restoring of a stored set and its saving.
    void InitProperties();
    void ReadProperties(const platform::ui::PropertyBag& bag);
    void WriteProperties(platform::ui::PropertyBag& bag) const;

signals:
    // Raised at the end of every page load with the current page (a host's
    // change becomes the current page).
    void PaginaCargada(int32_t& PageNumber);
    // Raised after the "AJUSTACOL" button adjusted the column widths.
    void ColumnasAjustadas();
    // The inner grid's events; Click and EnterCell after the optional marking
    // of the cell (pPintaFilaSel), LeaveCell after its unmarking.
    void MsFlexGridClick();
    void MsFlexGridDblClick();
    void MsFlexGridGotFocus();
    void MsFlexGridLostFocus();
    void MsFlexGridEnterCell();
    // Key down in the inner grid, before the grid's own paging keys; a host
    // that sets KeyCode to 0 switches them off for that press, and the inner
    // grid handles the code the host leaves.
    void MSFlexGridKeyDown(int& KeyCode, int& Shift);
    void MSFlexGridKeyPress(int& KeyAscii);
    void MSFlexGridLeaveCell();
    // X and Y in twips from the inner grid's top left corner.
    void MSFlexGridMouseDown(int& Button, int& Shift, float& X, float& Y);
    void MSFlexGridRowColChange();
    void MSFlexGridKeyUp(int& KeyCode, int& Shift);
    // The edit box's events; GotFocus and LostFocus after its restyling,
    // which only a grid that marks its current cell (pPintaFilaSel) does.
    void txtEditChange();
    void txtEditClick();
    void txtEditDblClick();
    void txtEditGotFocus();
    void txtEditLostFocus();
    // Before the box handles the key: KeyCode 0 drops the key's own handling
    // (a character still follows through txtEditKeyPress).
    void txtEditKeyDown(int& KeyCode, int& Shift);
    // Before the box types the character: 0 types nothing, another code types that character.
    void txtEditKeyPress(int& KeyAscii);
    // Raised for every mouse movement over the edit box, with the buttons held.
    void txtEditMouseDown(int& Button, int& Shift, float& X, float& Y);
    // A property was set (the host's designer marks it changed).
    void PropertyChanged(const QString& name);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend struct BkDbGridAcceso; // the tests' window on the statement texts

    // Construction of the child controls and their connections.
    void crearControles();
    void crearBarraFiltros();
    void crearBarraComandos();
    void conectar();
    void marcarMenu(QToolButton* boton, int valor);
    // The one setter of the stored properties: stores and marks the key changed.
    template <typename T> void fijar(T& propiedad, const T& valor, const char* clave)
    {
        propiedad = valor;
        emit PropertyChanged(QString::fromLatin1(clave));
    }
    void UserControl_Resize();

    // Query building: the statements come from m_consulta; these run them.
    void Equias();
    // The dialect of the paging part for the open connection.
    ConsultaPaginada::Dialecto DialectoActual() const;
    // The page statement as the current state gives it (steps of CargarGrid
    // up to the choice of the plain statement).
    QString SentenciaPagina();

    // Loading.
    // "Cancelar carga..." pressed while the rows were counted: the pages of the
    // statement shown before go, so that neither its page list nor its rows
    // stand for the statement now loaded; the grid looks as before any load.
    void DescartarPaginas();
    void MostrarPaginaVacia(platform::db::Recordset& rs);
    void MostrarFilas(platform::db::Recordset& rs);

    // Ordering, paging controls, page size.
    void ArmarOrden();
    void MostrarPagina();
    void ImgOrdenN_Click();
    void cmdPrimero_Click();
    void cmdAnterior_Click();
    void cmdSiguiente_Click();
    void cmdUltimo_Click();
    void cboPagSelect_Click();
    void CboRegistros_Click();
    // The size box shows PageSize, on its list's entry where it has one.
    void MostrarTamanoPagina();
    // An arrow key in the size box: the next size of the list up (paso 1) or
    // down (-1) from the size shown, chosen as a click chooses it.
    void CboRegistros_Paso(int paso);
    void CboRegistros_KeyPress(int& KeyAscii);
    void CboRegistros_KeyDown(int& KeyCode, int Shift);
    void CmdCancel_Click();
    void MSFlexGrid1_KeyDown(int& KeyCode, int Shift);
    void AplicarTamanoPagina();

    // Search and filter: the filter bar's tool bar and menus, the search box.
    void AplicarBusqueda();
    // Paints the cells of the page that hold the text (search mode 1).
    void BuscarEnPagina(const QString& texto);
    void Toolbar1_ButtonClick(const QString& key);
    void Toolbar1_ButtonMenuClick(QAction* ButtonMenu);
    void Toolbar2_ButtonMenuClick(QAction* ButtonMenu);
    // The menus' one rule: marks the clicked entry, unmarks the other one and
    // returns the mode chosen (1 or 2), or 0 when the entry was marked already.
    int marcarEntrada(QToolButton* boton, QAction* ButtonMenu);
    // The box shows the hint "Ingrese el texto a buscar...", unless it has the focus.
    void MostrarIndicacionBusqueda();
    void txtBuscar_GotFocus();
    void txtBuscar_LostFocus();
    void txtBuscar_Change();
    // True when the key was Enter (the search ran).
    bool txtBuscar_KeyDown(int KeyCode);

    // Events of the inner grid and the edit box.
    void conectarEventos();
    void MSFlexGrid1_Click();
    void MSFlexGrid1_EnterCell();
    void MSFlexGrid1_LeaveCell();
    void MSFlexGrid1_DragOver();
    void txtEdit1_GotFocus();
    void txtEdit1_LostFocus();
    // The edit box's key, mouse and focus events; true when the event is consumed.
    bool filtrarEdicion(QEvent* event);
    // Row painting with the grid's redrawing off.
    void MarcarFila(int fila);
    void DesmarcarFila(int fila);
    void pintarFila(int fila, platform::ui::OleColor color);

    // The column chooser.
    void cmdColumnas_Click();
    // The layout's key for this program, login and grid (`anterior`: the key
    // that held the whole argument text).
    ConsultaPaginada::ClaveDiseno claveDiseno(bool anterior) const;

    // The export's workbook and head (the grid's own copies; true when done).
    bool AbrirLibroExcel(int& cantHojas);
    bool EscribirEncabezadoExcel(int& count, const QStringList& nombres, const std::vector<long>& anchos);

    // Presentation.
    void ActualizarVistaPagina();
    int AnchoTexto(const QString& texto) const;
    // Back and fore colours of a box, as the platform's controls set them.
    static void colorFondo(QWidget* w, platform::ui::OleColor color);
    static void colorTexto(QWidget* w, platform::ui::OleColor color);

    // The grid's boundary: runs an event handler and reports through the
    // common error dialog whatever the data platform or a control raised.
    void Frontera(const QString& rutina, const std::function<void()>& handler);

    // Child controls (their names are their object names).
    platform::ui::FlexGrid* MSFlexGrid1 = nullptr;
    QLineEdit* txtEdit1 = nullptr;
    platform::ui::StatusBar* StatusBar1 = nullptr;
    QFrame* FrmFiltros = nullptr;
    QPushButton* CmdCancel = nullptr;
    common::PictureBox* PicMsg = nullptr;
    QLineEdit* txtBuscar = nullptr;
    QComboBox* CboRegistros = nullptr;
    QComboBox* CboFiltroCampo = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QToolButton* btnBuscar = nullptr;
    QProgressBar* Pbar = nullptr;
    QLabel* Label1 = nullptr;
    QFrame* FrmComandos = nullptr;
    QComboBox* cboPagSelect = nullptr;
    QPushButton* cmdColumnas = nullptr;
    QPushButton* cmdPrimero = nullptr;
    QPushButton* cmdAnterior = nullptr;
    QPushButton* cmdSiguiente = nullptr;
    QPushButton* cmdUltimo = nullptr;
    QToolBar* Toolbar2 = nullptr;
    QToolButton* btnOrden = nullptr;
    QLabel* LblTotalReg = nullptr;
    QToolButton* ImgOrdenN = nullptr;
    QToolButton* ImgOrdenAsc = nullptr;
    QToolButton* ImgOrdenDesc = nullptr;
    QLabel* lblPagSelect = nullptr;
    QLabel* lblPaginas = nullptr;
    QFrame* Shape1 = nullptr;

    // Stored properties of the control itself; those that shape the queries
    // are m_consulta's.
    int32_t m_alignCommandBar = 2;
    int32_t m_alignFilterBar = 1;
    bool m_anchoColFijo = false;
    bool m_columnas = false;
    bool m_ocultarOrdenar = false;

    // The query text and the paging state.
    ConsultaPaginada m_consulta;

    // State of the controls kept between loads.
    bool CargaCancelada = false;
    bool SinRecargaPagina = false;
    // The page on screen has no row: its one empty row gets no ordinal and
    // the row count says 0.
    bool m_paginaVacia = false;
    // The edit box's double click was raised: the release that follows is no click.
    bool m_trasDobleClic = false;
    int ContadorArriba = 0;
    int ContadorAbajo = 0;
    // The running export's workbook, title texts and heading row.
    exportacion::EstadoHoja m_exportacion;
};

} // namespace controls
