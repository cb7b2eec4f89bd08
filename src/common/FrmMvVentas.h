#pragma once

#include "platform/core/Variant.h"

#include <QWidget>

class QLineEdit;
class QToolBar;

namespace platform::ui {
class CommPort;
class FlexGrid;
} // namespace platform::ui

namespace common {

// The stored sales-terminal form: its design (the document boxes, three
// grids, the print tool bar and the serial port) and its public interface,
// whose members do nothing. The screen's behaviour lives elsewhere; nothing
// in this program loads the form.
class FrmMvVentas final : public QWidget
{
    Q_OBJECT

public:
    explicit FrmMvVentas(QWidget* parent = nullptr);

    void AgregoRegargo([[maybe_unused]] const platform::Variant& cualquierimporte) {}
    void AnulacionCompleta([[maybe_unused]] const platform::Variant& TC,
                           [[maybe_unused]] const platform::Variant& Sucursal,
                           [[maybe_unused]] const platform::Variant& Numero,
                           [[maybe_unused]] const platform::Variant& Letra)
    {
    }
    void ObtieneBorrador() {}

    // Branch, letter and number of the document: "sucursal", "letra", "numero".
    QLineEdit* txtfields[3] = {};
    platform::ui::FlexGrid* MSFlexGrid1 = nullptr;
    platform::ui::FlexGrid* MSFlexGrid2 = nullptr;
    platform::ui::FlexGrid* MSFlexGrid3 = nullptr;
    QToolBar* tbarimp = nullptr;
    platform::ui::CommPort* MSComm1 = nullptr;

private:
    void MSComm1_OnComm() {}
};

} // namespace common
