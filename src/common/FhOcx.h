#pragma once

#include "platform/core/Variant.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;

namespace platform {
class Dll_Teclado;
}

namespace common {

// The date-period picker: a list of named periods and two date boxes, from
// and to. Choosing a period fills both boxes; the boxes can be typed in and
// are checked on Enter. The host reads the range from Fh_Desde and Fh_Hasta,
// texts in the form dd/mm/yyyy (empty until a period is chosen or a date
// typed). Keys typed into the boxes pass through the keyboard component.
class FhOcx final : public QWidget
{
    Q_OBJECT

public:
    explicit FhOcx(QWidget* parent = nullptr);
    ~FhOcx() override;

    QString Fh_Desde;
    QString Fh_Hasta;
    // The trimmed name of the last chosen period.
    QString PeriodoSeleccionado;

    // Selects the period named `Periodo` (letter case aside) and computes it;
    // a name that is not in the list selects nothing.
    void ComboText(const QString& Periodo);
    // Shows Fh_Desde and Fh_Hasta in the boxes.
    void MostrarFechas();
    // The day of the week of `fecha`, "1" for Sunday to "7" for Saturday;
    // empty when `fecha` is not a date.
    static QString fDiaSem(const platform::Variant& fecha);
    // The last day of month `Mes` of year `Anio` (a month past 12 runs into
    // the next year); 0 when either is not a whole number.
    static int fUltimoDiaDelMes(const QString& Mes, const QString& Anio);
    // Computes the period that the list shows into Fh_Desde and Fh_Hasta and
    // the boxes; "today" is the program's clock.
    void CmbComboFH_Click();
    // Selects `Periodo` when it is not empty, then shows `FechaD` and `FechaH`
    // in the boxes where they are dates; Fh_Desde and Fh_Hasta are left alone.
    void CargarPeriodo(const QString& Periodo, const QString& FechaD, const QString& FechaH);
    // Paints the background in `Color` (red in the low byte, or a system
    // colour); 0 stands for the button-face colour, written back to `Color`.
    void DefineColorFondo(std::int64_t& Color);
    // Takes both boxes over into Fh_Desde and Fh_Hasta, unchecked.
    void txtFechas_LostFocus(int Index);

    QComboBox* CmbComboFH = nullptr;
    QLineEdit* txtFechas[2] = {};
    QLabel* Label2 = nullptr;
    QWidget* PicFondo = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UserControl_Initialize();
    void txtFechas_GotFocus(int Index);
    void txtFechas_KeyPress(int Index, int& KeyAscii);
    void txtFechas_KeyDown(int Index, int KeyCode);
    void seleccionar(const QString& Periodo);
    platform::Dll_Teclado& teclado();

    std::unique_ptr<platform::Dll_Teclado> m_teclado;
};

} // namespace common
