#include "common/FrmMsgBox.h"

#include "common/AplicarEstilo.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include <algorithm>

namespace common {

namespace {

constexpr int tw(int twips)
{
    return twips / 15;
}

// The design's room for the message and the box around it.
constexpr QRect kMensaje(tw(960), tw(240), tw(4200), tw(1080));
constexpr int kAncho = tw(5400);
constexpr int kAlto = tw(2310);
// What the window's frame and caption take of the screen.
constexpr int kMarco = 48;

} // namespace

FrmMsgBox::FrmMsgBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FrmMsgBox"));
    setWindowTitle(QStringLiteral("Aviso al operador"));
    setFixedSize(kAncho, kAlto);

    const QStyle::StandardPixmap icons[5] = {QStyle::SP_MessageBoxCritical, QStyle::SP_MessageBoxInformation,
                                             QStyle::SP_MessageBoxQuestion, QStyle::SP_MessageBoxWarning,
                                             QStyle::SP_ComputerIcon};
    for (int i = 0; i < 5; ++i) {
        Image1[i] = new QLabel(this);
        Image1[i]->setObjectName(QStringLiteral("Image1_%1").arg(i));
        Image1[i]->setGeometry(tw(240), tw(360), tw(480), tw(480));
        Image1[i]->setPixmap(style()->standardIcon(icons[i]).pixmap(tw(480), tw(480)));
    }

    ScrMensaje = new QScrollArea(this);
    ScrMensaje->setObjectName(QStringLiteral("ScrMensaje"));
    ScrMensaje->setFrameShape(QFrame::NoFrame);
    ScrMensaje->setGeometry(kMensaje);
    ScrMensaje->viewport()->setAutoFillBackground(false);
    LblMensaje = new QLabel(QStringLiteral("Atencion!"));
    LblMensaje->setObjectName(QStringLiteral("LblMensaje"));
    LblMensaje->setWordWrap(true);
    LblMensaje->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    LblMensaje->resize(kMensaje.size());
    ScrMensaje->setWidget(LblMensaje);
    LblMensaje->setAutoFillBackground(false);

    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    Line1->setGeometry(tw(120), tw(1440), tw(5160), tw(30));

    CmdAceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    CmdAceptar->setObjectName(QStringLiteral("CmdAceptar"));
    CmdAceptar->setGeometry(tw(2100), tw(1620), tw(1215), tw(420));
    CmdAceptar->setDefault(true);
    connect(CmdAceptar, &QPushButton::clicked, this, &FrmMsgBox::CmdAceptar_Click);

    tmrEspera = new QTimer(this);
    tmrEspera->setObjectName(QStringLiteral("tmrEspera"));
    tmrEspera->setSingleShot(true);
    connect(tmrEspera, &QTimer::timeout, this, &QWidget::hide);
}

void FrmMsgBox::ActualizarLeyenda()
{
    setWindowTitle(Titulo);
    LblMensaje->setText(mensaje);
    AjustarAlMensaje();
    LblMensaje->repaint();
}

void FrmMsgBox::AjustarAlMensaje()
{
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect area = s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
    const int otrosAncho = kAncho - kMensaje.width();
    const int otrosAlto = kAlto - kMensaje.height();

    // As wide as its longest word needs, so that a folder's path is not cut,
    // and as high as its lines at that width, within the screen.
    const QFontMetrics medida(LblMensaje->font());
    int palabra = 0;
    for (const QString& p : LblMensaje->text().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        palabra = std::max(palabra, medida.horizontalAdvance(p) + 2 * LblMensaje->margin());
    }
    const int anchoMaximo = std::max(kMensaje.width(), area.width() - kMarco - otrosAncho);
    const int altoMaximo = std::max(kMensaje.height(), area.height() - kMarco - otrosAlto);
    const int ancho = std::clamp(palabra, kMensaje.width(), anchoMaximo);
    int altoTexto = std::max(kMensaje.height(), LblMensaje->heightForWidth(ancho));
    const int alto = std::min(altoTexto, altoMaximo);

    // What the screen cannot hold scrolls: the text keeps the room the bar leaves it.
    int anchoTexto = std::max(ancho, palabra);
    if (altoTexto > alto) {
        anchoTexto = std::max(ancho - ScrMensaje->verticalScrollBar()->sizeHint().width(), palabra);
        altoTexto = std::max(alto, LblMensaje->heightForWidth(anchoTexto));
    }
    LblMensaje->resize(anchoTexto, altoTexto);
    ScrMensaje->setGeometry(kMensaje.left(), kMensaje.top(), ancho, alto);

    const int crecioAncho = ancho - kMensaje.width();
    const int crecioAlto = alto - kMensaje.height();
    setFixedSize(kAncho + crecioAncho, kAlto + crecioAlto);
    Line1->setGeometry(tw(120), tw(1440) + crecioAlto, tw(5160) + crecioAncho, tw(30));
    CmdAceptar->move(tw(2100) + crecioAncho / 2, tw(1620) + crecioAlto);
}

void FrmMsgBox::showEvent(QShowEvent* event)
{
    if (!m_cargado) {
        m_cargado = true;
        Form_Load();
        Form_Activate();
    }
    QDialog::showEvent(event);
}

void FrmMsgBox::Form_Load()
{
    setWindowTitle(Titulo);
    LblMensaje->setText(mensaje);
    AplicarEstilo(this, true, -1);
    // Centred at the size its message gives it, in the style's font.
    AjustarAlMensaje();
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect area = s->geometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
}

void FrmMsgBox::Form_Activate()
{
    // A timer, not a wait on the clock: the window stays live and the wait
    // lasts Espera seconds whatever the time of day.
    if (Espera > 0) {
        tmrEspera->start(Espera * 1000);
    }
}

void FrmMsgBox::CmdAceptar_Click()
{
    LblMensaje->clear();
    tmrEspera->stop();
    accept();
}

} // namespace common
