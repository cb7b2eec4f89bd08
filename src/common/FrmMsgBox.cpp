#include "common/FrmMsgBox.h"

#include "common/AplicarEstilo.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>

namespace common {

namespace {

constexpr int tw(int twips)
{
    return twips / 15;
}

} // namespace

FrmMsgBox::FrmMsgBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FrmMsgBox"));
    setWindowTitle(QStringLiteral("Aviso al operador"));
    setFixedSize(tw(5400), tw(2310));

    const QStyle::StandardPixmap icons[5] = {QStyle::SP_MessageBoxCritical, QStyle::SP_MessageBoxInformation,
                                             QStyle::SP_MessageBoxQuestion, QStyle::SP_MessageBoxWarning,
                                             QStyle::SP_ComputerIcon};
    for (int i = 0; i < 5; ++i) {
        Image1[i] = new QLabel(this);
        Image1[i]->setObjectName(QStringLiteral("Image1_%1").arg(i));
        Image1[i]->setGeometry(tw(240), tw(360), tw(480), tw(480));
        Image1[i]->setPixmap(style()->standardIcon(icons[i]).pixmap(tw(480), tw(480)));
    }

    LblMensaje = new QLabel(QStringLiteral("Atencion!"), this);
    LblMensaje->setObjectName(QStringLiteral("LblMensaje"));
    LblMensaje->setGeometry(tw(960), tw(240), tw(4200), tw(1080));
    LblMensaje->setWordWrap(true);
    LblMensaje->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

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
    LblMensaje->repaint();
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
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect area = s->geometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
    setWindowTitle(Titulo);
    LblMensaje->setText(mensaje);
    AplicarEstilo(this, true, -1);
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
