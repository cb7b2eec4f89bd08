#pragma once

#include <QList>
#include <QPixmap>
#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;

namespace common {

// The busy banner's window: a title, a looping animation, three progress
// lines and a cancel button whose caption doubles as the cancel flag. Only
// Dll_Display drives it.
class Lbf_CtrlDisplay final : public QWidget
{
    Q_OBJECT

public:
    explicit Lbf_CtrlDisplay(QWidget* parent = nullptr);

    // The animation frames, images 1 to 12 (index 0 is image 1).
    const QList<QPixmap>& ImageList1() const { return m_frames; }
    // The number (1 to 12) of the image that Image1 shows.
    int imagenActual() const { return m_imagenActual; }

    QLabel* Image1 = nullptr;
    QTimer* Timer1 = nullptr;
    QLabel* LblCtrol[3] = {};
    QPushButton* CmdDisplayCancelar = nullptr;

private:
    void Form_Load();
    void Timer1_Timer();
    void CmdDisplayCancelar_Click();
    void mostrarImagen(int numero);

    QList<QPixmap> m_frames;
    int m_contador = 0;
    int m_imagenActual = 0;
};

} // namespace common
