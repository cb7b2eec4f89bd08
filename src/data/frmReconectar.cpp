#include "data/frmReconectar.h"

#include "common/AplicarEstilo.h"

#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace data {

namespace {

// Twips at 96 dpi: 15 twips to the pixel.
int px(int twips)
{
    return twips / 15;
}

} // namespace

frmReconectar::frmReconectar(QWidget* parent)
    : QWidget(parent, Qt::Dialog), prgIntentos(new QProgressBar(this)), lblMensaje(new QLabel(this)),
      CmdReintentar(new QPushButton(QStringLiteral("Reintentar"), this)),
      cmdCancelar(new QPushButton(QStringLiteral("Cerrar Sistema"), this))
{
    setObjectName(QStringLiteral("frmReconectar"));
    setWindowTitle(QStringLiteral("Intentando reconectar con el servidor..."));
    setFont(QFont(QStringLiteral("Segoe UI")));
    setFixedSize(px(6000), px(2400));

    lblMensaje->setObjectName(QStringLiteral("lblMensaje"));
    lblMensaje->setText(QStringLiteral("Intentando reconectar con el servidor..."));
    lblMensaje->setWordWrap(true);
    lblMensaje->setGeometry(px(240), px(180), px(5520), px(900));

    prgIntentos->setObjectName(QStringLiteral("prgIntentos"));
    prgIntentos->setRange(0, 100);
    prgIntentos->setGeometry(px(240), px(1140), px(5520), px(300));

    CmdReintentar->setObjectName(QStringLiteral("CmdReintentar"));
    CmdReintentar->setGeometry(px(2280), px(1680), px(1620), px(450));
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    cmdCancelar->setGeometry(px(4080), px(1680), px(1680), px(450));

    connect(CmdReintentar, &QPushButton::clicked, this, &frmReconectar::CmdReintentar_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmReconectar::cmdCancelar_Click);
    Form_Load();
}

void frmReconectar::Form_Load()
{
    if (QScreen* pantalla = QGuiApplication::primaryScreen()) {
        const QRect area = pantalla->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    Cancelar = false;
    prgIntentos->setValue(0);
    common::AplicarEstilo(this, true, -1);
}

void frmReconectar::CmdReintentar_Click()
{
    Reintentar = true;
}

void frmReconectar::cmdCancelar_Click()
{
    Cancelar = true;
}

DialogoReconectar::~DialogoReconectar() = default;

void DialogoReconectar::Mostrar(const QString& mensaje)
{
    if (!m_form) {
        m_form = std::make_unique<frmReconectar>();
    }
    m_form->Cancelar = false;
    m_form->Reintentar = false;
    m_form->lblMensaje->setText(mensaje);
    m_form->prgIntentos->setValue(0);
    m_form->repaint();
    m_form->show();
    m_form->repaint();
}

void DialogoReconectar::Avance(int porcentaje, bool reintentarHabilitado)
{
    if (m_form) {
        m_form->prgIntentos->setValue(porcentaje);
        m_form->CmdReintentar->setEnabled(reintentarHabilitado);
    }
}

bool DialogoReconectar::Cancelar() const
{
    return m_form && m_form->Cancelar;
}

bool DialogoReconectar::Reintentar() const
{
    return m_form && m_form->Reintentar;
}

void DialogoReconectar::Cerrar()
{
    if (m_form) {
        m_form->close();
        m_form.reset();
    }
}

void InstalarDialogoReconectar()
{
    InstalarDialogoReconexion(std::make_unique<DialogoReconectar>());
}

} // namespace data
