#pragma once

#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QPushButton;
class QScrollArea;
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
    // Sizes the box to show the whole message in the label's font: wider for
    // its longest word and higher for its lines, within the screen; what the
    // screen cannot hold scrolls.
    void AjustarAlMensaje();

    QString Titulo;
    QString mensaje;
    // Seconds before the box closes itself; 0 or less means never.
    int Espera = 0;

    // The message, inside the area that scrolls it when the screen cannot show it whole.
    QScrollArea* ScrMensaje = nullptr;
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
