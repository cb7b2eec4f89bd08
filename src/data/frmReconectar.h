#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace data {

// The reconnect dialog: a modeless window that shows the series of reconnect
// attempts. "Reintentar" starts a fresh series, "Cerrar Sistema" gives up;
// the attempt loop reads Cancelar and Reintentar after each yield.
class frmReconectar : public QWidget
{
public:
    explicit frmReconectar(QWidget* parent = nullptr);

    bool Cancelar = false;
    bool Reintentar = false;

    QProgressBar* prgIntentos;
    QLabel* lblMensaje;
    QPushButton* CmdReintentar;
    QPushButton* cmdCancelar;

private:
    void Form_Load();
    void CmdReintentar_Click();
    void cmdCancelar_Click();
};

} // namespace data
