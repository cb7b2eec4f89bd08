#pragma once

#include "controls/lookup/CatalogoBusqueda.h"
#include "controls/lookup/SentenciasBusqueda.h"
#include "platform/core/Variant.h"
#include "platform/util/ErrObject.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace platform {
class Dll_Utilidades;
namespace db {
class Connection;
class Recordset;
} // namespace db
} // namespace platform

namespace controls {

class BotonDia;

// The code look-up box: a text box that searches a catalogue table as the
// operator types, lists up to 100 matches and hands the chosen code to its
// host through CodigoElegido (the host reads `codigo`). Where the user holds
// the table's right it adds a typed description as a new row; for the table
// "FECHA" it is a date box with a month calendar.
//
// The box keeps its own connection, opened from ConnString by AbrirConexion
// (BusquedaDisponible opens it on first use). Failures of the connection,
// the settings and the search are shown in the box's own error dialog
// (TratamientoErrores); those of a direct addition in its own message. No
// error of the data platform leaves an event handler of the box.
class BusquedaCodigo : public QWidget
{
    Q_OBJECT

public:
    explicit BusquedaCodigo(QWidget* parent = nullptr);
    ~BusquedaCodigo() override;

    // Child controls.
    QLineEdit* TxtBusqueda = nullptr;
    QListWidget* LstBusqueda = nullptr;
    QLabel* IMGOK = nullptr;
    QLabel* imgMas = nullptr;
    QLabel* ImgX = nullptr;
    QFrame* Calendar = nullptr;
    QComboBox* CmbAno = nullptr;
    QComboBox* CmbMes = nullptr;
    BotonDia* OptDia[42] = {};
    QLabel* LblDesc[7] = {};

    // Public variables, in the box's order.
    QString Buscar;
    QString TextoIngresado;
    QString codigo;
    QString CodigoNoConfirmado;
    QString CodigoAnt;
    QString idLista;
    QString Cuenta;
    QString Usuario;
    QString TablaEspecial;
    QString CampoEspecial;
    QString CodigoEspecial;
    bool DeshabilitarBCArticulos = false;
    bool DeshabilitarBCTodos = false;
    QString FechaCalendario;

    // Properties. ConnString and gConnString are one value.
    QString ConnString() const { return m_connString; }
    void setConnString(const QString& value) { m_connString = value; }
    QString gConnString() const { return m_connString; }
    void setgConnString(const QString& value) { m_connString = value; }
    QString Tabla() const { return m_catalogo.Tabla; }
    void setTabla(const QString& value) { m_catalogo.Tabla = value; }
    int32_t SelStartInicial() const { return m_selStartInicial; }
    void setSelStartInicial(int32_t value) { m_selStartInicial = value; }

    // Public operations, in the box's order.

    // True when the user may add rows to the current table; sets the width
    // of the codes an addition makes. An empty Usuario may not. Raises
    // DbError when the rights cannot be read.
    bool AltaDisponible();
    // Sets the box up for the table `TB` (which may come back changed):
    // true when the table is known and the look-up enabled.
    bool BusquedaDisponible(QString& TB);
    // Enters the date mode.
    void CargarCalendario();
    // Opens the box's connection from ConnString and reads its two settings;
    // a failing step is reported, and Retry runs it again.
    void AbrirConexion();
    // Searches the current table for the text of the box and fills the list;
    // nothing without an open connection. A failure is reported once: the
    // same failure at the next keys says nothing until a search runs again.
    void Busqueda();
    // Sets `codigo` (the text, the chosen line's code, or in date mode the
    // date) and raises CodigoElegido.
    void ObtieneCodigo(bool DesdeTxt);
    // The box's error dialog: the error, the answer (3 Abort, 4 Retry,
    // 5 Ignore, ...); 0 without showing anything for error number 0.
    int16_t TratamientoErrores(const platform::ErrObject& CodErr, std::optional<int> Botones = std::nullopt,
                               const std::optional<QString>& Rutina = std::nullopt);
    // A numeric code right-aligned in `Largo` characters (the code's own
    // length when not given), cut to them when longer; another code trimmed.
    QString FmtLeerCodigo(const QString& Codigo, std::optional<int> Largo = std::nullopt) const;
    // The value as text; Null and values without a text give "".
    QString FieldVal(const platform::Variant& recFieldVal) const;
    // The date mask of a text box whose Tag is "FECHA": handles the key and
    // sets KeyAscii to 0; other boxes are left alone.
    void ClsDatosOk(QLineEdit* Textos, int& KeyAscii);
    // The index of the first day cell whose caption is `Caption` (letter
    // case aside); -1 when none is.
    int IndCaption(const QString& Caption) const;
    void CargarMesAno();
    // Draws month `Mes` of year `ano` (numbers or their texts) into the
    // cells; no cell stays selected.
    void ArmarAlmanaque(const platform::Variant& Mes, const platform::Variant& ano);
    // Selects the cell of index `DIA` (none for an index out of range);
    // `Asignar` also swaps its colour between red and blue.
    void Seleccionar(const platform::Variant& DIA, bool Asignar);
    QString NombreMes(int Nromes) const;
    int Nromes(const QString& NombreMes) const;
    int CantidadDeDiasDelmes(const platform::Variant& Mes, const platform::Variant& ano) const;
    // The setting `Campo` through the stored procedure sp1_getCfg: its
    // Valor, " " when there is no row; ValorAux receives the second value.
    QString sp_Cfg(const QString& Campo, QString& ValorAux);

signals:
    // The host reads `codigo`.
    void CodigoElegido();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend struct BusquedaCodigoAcceso; // the tests' window on the catalogue state
    class Caja;

    // Construction.
    void crearControles();
    void crearCalendario();
    void AplicarEstiloPlano();

    // The connection and the utility object, created on first use.
    platform::db::Connection& cnBusqueda();
    platform::Dll_Utilidades& utilidades();
    // The users row's IdVendedor condition for clients and suppliers.
    void filtroVendedor();

    // Search and selection.
    void TxtBusqueda_Change();
    void TxtBusqueda_MouseDown();
    void TxtBusqueda_GotFocus();
    // Key-down and key-press of the text box; true when the key was taken.
    bool TxtBusqueda_KeyDown(int KeyCode);
    bool TxtBusqueda_KeyPress(int KeyAscii);
    void LstBusqueda_Click();
    void LstBusqueda_DblClick();
    void LstBusqueda_KeyUp(int KeyCode);
    void IMGOK_Click();
    void ImgX_Click();
    void imgMas_Click();
    void UserControl_Resize();
    // Adds the rows of a search to the list.
    void llenarLista(platform::db::Recordset& rs, const busqueda::ConsultaBusqueda& consulta);
    QString codigoDeLinea(const QListWidgetItem* item) const;

    // Calendar.
    void CmbMes_Click();
    void CmbAno_Click();
    void OptDia_Click(int Index);
    void OptDia_DblClick(int Index);
    void OptDia_KeyPress(int Index, int KeyAscii);
    QString fechaDeCelda(int Index) const;

    // A failure of the search, as far as the next keys meet it again.
    struct FalloBusqueda
    {
        QString tabla;
        int32_t numero = 0;
        int32_t nativo = 0;
        bool operator==(const FalloBusqueda&) const = default;
    };

    QString m_connString;
    int32_t m_selStartInicial = 0;
    std::unique_ptr<platform::db::Connection> m_cnBusqueda;
    bool ConexionAbierta = false;
    std::unique_ptr<platform::Dll_Utilidades> m_utilidades;
    QString CampoId;
    busqueda::Catalogo m_catalogo;
    bool OmitirBusqueda = false;
    // The search's last reported failure, until a search runs or a table is set up.
    std::optional<FalloBusqueda> m_falloBusqueda;
    int LargoAlta = 0;
    bool CalendarioListo = false;
    bool m_redimensionando = false;
    // CargarCalendario puts text into the box, whose change handling would enter it again.
    bool m_enCalendario = false;
};

} // namespace controls
