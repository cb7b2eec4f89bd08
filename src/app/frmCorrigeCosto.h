#pragma once

#include "app/CorreccionPrecios.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace common {
class FhOcx;
}

namespace controls {
class BkDbGrid;
}

namespace platform::ui {
class ListItem;
class ListView;
class StatusBar;
} // namespace platform::ui

namespace app {

// The program's startup form. Its load runs the start-up road (which ends
// the program on every fatal failure), fills the status bar and prepares the
// choices of a correction: the price class, the price list and the rule.
// "&Cargar" lists the minutes of a day and hour range in which the price
// history recorded changes, one row per minute and list; a click on a row
// shows its history rows in the grid; "&Corregir precios" restores, for the
// selected row, the prices the history held before it (EjecutarCorreccion).
class frmCorrigeCosto : public QWidget
{
public:
    // The first step of the load. The program leaves it empty, so that the
    // load runs the start-up road; a test gives its own (for example one
    // that opens the main data base on a demo folder).
    using PasoArranque = std::function<void()>;

    explicit frmCorrigeCosto(QWidget* parent = nullptr, PasoArranque arranque = {});
    ~frmCorrigeCosto() override;

    // Panels "VERSION", "SERVER", "BASEDEDATOS", "USUARIO", "CAJA", a date
    // panel without a key, and "MENSAJE".
    platform::ui::StatusBar* sbStatusBar;

    // The form's controls, named as the form's design names them.
    common::FhOcx* FhOcx1 = nullptr;
    // Hours from and to ("HH:MM"), tags "HoraDesde" and "HoraHasta".
    QLineEdit* txtfields[2] = {};
    QComboBox* cmbPrecio = nullptr;
    QComboBox* CmbLista = nullptr;
    QGroupBox* Frame1 = nullptr;
    // The rule: 0 "Solo si el precio anterior es mayor", 1 "... es menor", 2 "Todos".
    QRadioButton* OptSolosi[3] = {};
    QPushButton* cmdRecargar = nullptr;
    platform::ui::ListView* lstListado = nullptr;
    controls::BkDbGrid* BkDbGrid1 = nullptr;
    QPushButton* cmdCorregir = nullptr;
    // Has no action of its own: it stays disabled.
    QPushButton* CmdBorrarMarca = nullptr;
    QPushButton* cmdSalir = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblMensaje = nullptr;

    // The chosen price class: "Costo" or a digit 1 to 8 (the column
    // "Precio" followed by it).
    QString ClasePrecio;

    // The form's load: runs before the form is shown.
    void Form_Load();

    // Fills the change list from the day and hour range ("&Cargar").
    void CargarFechasModificadas();
    // The rule of the selected option on the previous and the current price
    // texts: true when they differ by at least 0.01 and the option allows the
    // direction. False when either text is not an amount or no option is
    // selected.
    bool Modificar(const QString& anterior, const QString& actual) const;
    void cmbPrecio_Click();
    // Shows the history rows of the selected group in BkDbGrid1.
    void lstListado_ItemClick(platform::ui::ListItem* item);
    void cmdCorregir_Click();
    // Ends the program; during a run, once the run's statement in flight is done.
    void cmdSalir_Click();
    // The correction run for one group of the change list: takes the choices,
    // runs CorreccionPrecios with the progress in lblMensaje and shows the result.
    void EjecutarCorreccion(platform::ui::ListItem& item);

    // The chosen price list: the first four characters of CmbLista's text
    // without blanks; empty (also for "0000") means the article master.
    QString CodigoLista() const;

    // "dd/mm/yyyy" naming a real date.
    static bool EsFechaValida(const QString& texto);
    // "HH:MM" with hours 0 to 23 and minutes 0 to 59.
    static bool EsHoraValida(const QString& texto);
    // The price class that a configured or chosen text names: "Costo"
    // (letter case aside) or a digit 1 to 8; anything else gives "1".
    static QString ClaseValida(const QString& texto);

    // What the last run did.
    const CorreccionPrecios::Resultado& UltimaCorrida() const { return m_ultimaCorrida; }

protected:
    // Closing the window ends the program as "&Salir" does, also during a run.
    void closeEvent(QCloseEvent* event) override;

private:
    void crearControles(QWidget* area);
    Regla ReglaElegida() const;
    // The filter of the history rows of one list, or of the article master.
    QString FiltroListaDetalle() const;
    // The group's first and last second, read back from the item's
    // "Primera Hora" and "Última hora"; false when either is missing.
    bool RangoDelItem(const platform::ui::ListItem& item, platform::DateTime& primera,
                      platform::DateTime& ultima) const;
    // Turns the run's controls off (true) or back to what they were (false).
    void BloquearControles(bool bloquear);

    PasoArranque m_arranque;
    // The run in progress, and whether the operator asked to leave during it.
    CorreccionPrecios* m_corrida = nullptr;
    bool m_salirPedido = false;
    CorreccionPrecios::Resultado m_ultimaCorrida;
    struct EstadoControl
    {
        QWidget* control;
        bool habilitado;
    };
    std::vector<EstadoControl> m_bloqueados;
};

} // namespace app
