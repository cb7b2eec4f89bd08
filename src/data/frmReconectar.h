#pragma once

#include "data/DialogoReconexion.h"

#include <QWidget>

#include <memory>

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

// The program's reconnect dialog for the data-access class: a frmReconectar
// loaded when a series is first shown and unloaded when it is closed.
class DialogoReconectar final : public DialogoReconexion
{
public:
    ~DialogoReconectar() override;

    void Mostrar(const QString& mensaje) override;
    void Avance(int porcentaje, bool reintentarHabilitado) override;
    bool Cancelar() const override;
    bool Reintentar() const override;
    void Cerrar() override;

private:
    std::unique_ptr<frmReconectar> m_form;
};

// Installs DialogoReconectar as the program's reconnect dialog.
void InstalarDialogoReconectar();

} // namespace data
