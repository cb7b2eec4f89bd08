#include "common/Lbf_CtrlDisplay.h"

#include "common/AplicarEstilo.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <cmath>
#include <numbers>

namespace common {

namespace {

constexpr int tw(int twips)
{
    return twips / 15;
}

constexpr int kFrames = 12;

// Frame `n` (0-based) of a ring of twelve dots, dot n drawn strongest, so
// that stepping through the frames makes the ring turn.
QPixmap ringFrame(int n)
{
    const int size = tw(480);
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const double centre = size / 2.0;
    const double radius = size * 0.36;
    const double dot = size * 0.09;
    for (int i = 0; i < kFrames; ++i) {
        const int age = (n - i + kFrames) % kFrames;
        QColor c(0, 90, 170);
        c.setAlpha(255 - age * 18);
        p.setBrush(c);
        const double a = 2 * std::numbers::pi * i / kFrames - std::numbers::pi / 2;
        p.drawEllipse(QPointF(centre + radius * std::cos(a), centre + radius * std::sin(a)), dot, dot);
    }
    return pm;
}

} // namespace

Lbf_CtrlDisplay::Lbf_CtrlDisplay(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("Lbf_CtrlDisplay"));
    setWindowTitle(QStringLiteral("Procesando Datos"));
    setFixedSize(tw(4800), tw(1950));

    for (int i = 0; i < kFrames; ++i) {
        m_frames.append(ringFrame(i));
    }

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(tw(120), tw(240), tw(480), tw(480));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &Lbf_CtrlDisplay::Timer1_Timer);

    for (int i = 0; i < 3; ++i) {
        LblCtrol[i] = new QLabel(this);
        LblCtrol[i]->setObjectName(QStringLiteral("LblCtrol_%1").arg(i));
        LblCtrol[i]->setGeometry(tw(720), tw(120 + 360 * i), tw(3960), tw(315));
    }

    CmdDisplayCancelar = new QPushButton(this);
    CmdDisplayCancelar->setObjectName(QStringLiteral("CmdDisplayCancelar"));
    CmdDisplayCancelar->setGeometry(tw(1800), tw(1380), tw(1215), tw(420));
    connect(CmdDisplayCancelar, &QPushButton::clicked, this, &Lbf_CtrlDisplay::CmdDisplayCancelar_Click);

    Form_Load();
}

void Lbf_CtrlDisplay::Form_Load()
{
    AplicarEstilo(this, true, -1);
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect area = s->geometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
    CmdDisplayCancelar->setText(QStringLiteral("&Cancelar"));
    mostrarImagen(1);
    // Slightly transparent: 200 of 255 opaque.
    setWindowOpacity(200.0 / 255.0);
}

void Lbf_CtrlDisplay::Timer1_Timer()
{
    ++m_contador;
    mostrarImagen(m_contador);
    if (m_contador >= kFrames) {
        m_contador = 0;
    }
}

void Lbf_CtrlDisplay::CmdDisplayCancelar_Click()
{
    CmdDisplayCancelar->setText(QStringLiteral("Abortado"));
}

void Lbf_CtrlDisplay::mostrarImagen(int numero)
{
    m_imagenActual = numero;
    Image1->setPixmap(m_frames.at(numero - 1));
}

} // namespace common
