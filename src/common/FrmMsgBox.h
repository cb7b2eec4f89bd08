#pragma once

#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QPushButton;
class QTimer;

namespace common {

// The operator message box of the program's own look. The caller fills
// Titulo, mensaje and Espera, then shows it modally; with Espera above 0 the
// box closes itself after that many seconds (tmrEspera), otherwise it stays
// until CmdAceptar.
class FrmMsgBox final : public QDialog
{
    Q_OBJECT

public:
    explicit FrmMsgBox(QWidget* parent = nullptr);

    // Copies Titulo to the caption and mensaje to LblMensaje.
    void ActualizarLeyenda();

    QString Titulo;
    QString mensaje;
    // Seconds before the box closes itself; 0 or less means never.
    int Espera = 0;

    QLabel* LblMensaje = nullptr;
    // Icons for the styles 16, 64, 32, 48 and a default one, in that order.
    QLabel* Image1[5] = {};
    QPushButton* CmdAceptar = nullptr;
    QFrame* Line1 = nullptr;
    // The timed close; single-shot, interval Espera seconds.
    QTimer* tmrEspera = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void Form_Activate();
    void CmdAceptar_Click();

    bool m_cargado = false;
};

} // namespace common
