// The look-up box: its child controls and layout, its connection and
// settings, its error dialog and its value routines.
#include "controls/lookup/BusquedaCodigo.h"

#include "common/MensajeError.h"
#include "common/Pasos.h"
#include "controls/lookup/BotonDia.h"
#include "controls/lookup/BusquedaCodigoInterno.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/db/Backend.h"
#include "platform/db/Command.h"
#include "platform/db/Connection.h"
#include "platform/ui/KeyCodes.h"
#include "platform/ui/Twips.h"
#include "platform/util/Dll_Utilidades.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>

namespace controls {

using platform::Variant;
using platform::db::DbError;
using platform::text::EqualsNoCase;
using platform::text::Trim;
using platform::ui::twipsToPixels;

namespace {

int enTwips(int pixels)
{
    return int(platform::ui::pixelsToTwips(pixels));
}

void ubicar(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

// The pictures of the three images, drawn at their design size.
enum class Figura { Ok, Mas, X };

QPixmap figura(Figura f)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (f) {
    case Figura::Ok:
        p.setPen(QPen(QColor(46, 160, 67), 2.5));
        p.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)}));
        break;
    case Figura::Mas:
        p.setPen(QPen(QColor(30, 100, 200), 2.5));
        p.drawLine(QPointF(8, 3), QPointF(8, 13));
        p.drawLine(QPointF(3, 8), QPointF(13, 8));
        break;
    case Figura::X:
        p.setPen(QPen(QColor(196, 57, 57), 2.5));
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    }
    return pm;
}

enum class PasoConexion { NombreBase, Abrir, Marcar, BaseDefecto, TiempoEspera, LeerArticulos, LeerTodos, Fin };
enum class PasoCfg { Comando, Parametro, Ceder, Ejecutar, Leer, Mensajes, Fin };

bool esMensaje(const QString& Campo)
{
    for (const char* clave : {"Mensaje_Respuesta", "Mensaje_Recibido", "Mensaje_Bienvenida", "Mensaje_FueraHorario",
                              "Mensaje_ContactosIgnorados"})
        if (EqualsNoCase(Campo, QString::fromLatin1(clave)))
            return true;
    return false;
}

// The character code of a key press; Backspace, Enter and Esc also when the
// platform gives them no text.
int codigoAscii(const QKeyEvent& e)
{
    if (const int a = platform::ui::keyAsciiOf(e))
        return a;
    const int k = platform::ui::keyCodeOf(e);
    return k == platform::ui::keys::Back || k == platform::ui::keys::Return || k == platform::ui::keys::Escape ? k : 0;
}

} // namespace

// The search box: the caret follows the box's rules on a click and on focus.
class BusquedaCodigo::Caja : public QLineEdit
{
public:
    Caja(BusquedaCodigo* owner) : QLineEdit(owner), m_owner(owner) {}

protected:
    void mousePressEvent(QMouseEvent* e) override
    {
        QLineEdit::mousePressEvent(e);
        m_owner->TxtBusqueda_MouseDown();
    }
    void focusInEvent(QFocusEvent* e) override
    {
        QLineEdit::focusInEvent(e);
        m_owner->TxtBusqueda_GotFocus();
    }

private:
    BusquedaCodigo* m_owner;
};

BusquedaCodigo::BusquedaCodigo(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("BusquedaCodigo"));
    crearControles();
    crearCalendario();
    resize(twipsToPixels(3615), twipsToPixels(1815));
    AplicarEstiloPlano();
}

BusquedaCodigo::~BusquedaCodigo() = default;

void BusquedaCodigo::crearControles()
{
    TxtBusqueda = new Caja(this);
    TxtBusqueda->setObjectName(QStringLiteral("TxtBusqueda"));
    QFont fuente(QStringLiteral("Arial Rounded MT Bold"));
    fuente.setPointSizeF(9);
    TxtBusqueda->setFont(fuente);
    ubicar(TxtBusqueda, 0, 0, 2800, 315);
    TxtBusqueda->installEventFilter(this);
    connect(TxtBusqueda, &QLineEdit::textChanged, this, &BusquedaCodigo::TxtBusqueda_Change);

    LstBusqueda = new QListWidget(this);
    LstBusqueda->setObjectName(QStringLiteral("LstBusqueda"));
    LstBusqueda->installEventFilter(this);
    connect(LstBusqueda, &QListWidget::currentRowChanged, this, [this](int fila) {
        if (fila >= 0)
            LstBusqueda_Click();
    });
    connect(LstBusqueda, &QListWidget::itemDoubleClicked, this, [this] { LstBusqueda_DblClick(); });

    const auto imagen = [this](const char* nombre, Figura f) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(nombre));
        l->setPixmap(figura(f));
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
        ubicar(l, 0, 30, 240, 240);
        return l;
    };
    IMGOK = imagen("IMGOK", Figura::Ok);
    imgMas = imagen("imgMas", Figura::Mas);
    ImgX = imagen("ImgX", Figura::X);
    imgMas->hide();
}

void BusquedaCodigo::crearCalendario()
{
    Calendar = new QFrame(this);
    Calendar->setObjectName(QStringLiteral("Calendar"));
    Calendar->setAutoFillBackground(true);
    QPalette blanco = Calendar->palette();
    blanco.setColor(QPalette::Window, Qt::white);
    Calendar->setPalette(blanco);
    ubicar(Calendar, 0, 315, 2775, 3240);

    CmbMes = new QComboBox(Calendar);
    CmbMes->setObjectName(QStringLiteral("CmbMes"));
    ubicar(CmbMes, 120, 240, 1335, 315);
    connect(CmbMes, &QComboBox::activated, this, &BusquedaCodigo::CmbMes_Click);
    CmbAno = new QComboBox(Calendar);
    CmbAno->setObjectName(QStringLiteral("CmbAno"));
    ubicar(CmbAno, 1680, 240, 975, 315);
    connect(CmbAno, &QComboBox::activated, this, &BusquedaCodigo::CmbAno_Click);

    const char* const titulos[7] = {"L", "Ma", "Mi", "J", "V", "S", "D"};
    const int izquierdas[7] = {600, 960, 1320, 1680, 2040, 2400, 240};
    for (int i = 0; i < 7; ++i) {
        LblDesc[i] = new QLabel(QString::fromLatin1(titulos[i]), Calendar);
        LblDesc[i]->setObjectName(QStringLiteral("LblDesc_%1").arg(i));
        LblDesc[i]->setAlignment(Qt::AlignCenter);
        ubicar(LblDesc[i], izquierdas[i] - 120, 720, 360, 240);
    }
    QFont dia(QStringLiteral("Arial"));
    dia.setPointSizeF(8.25);
    for (int i = 0; i < 42; ++i) {
        auto* b = new BotonDia(Calendar);
        b->setObjectName(QStringLiteral("OptDia_%1").arg(i));
        b->setFont(dia);
        ubicar(b, 120 + 360 * (i % 7), 960 + 360 * (i / 7), 360, 360);
        b->installEventFilter(this);
        connect(b, &BotonDia::clicked, this, [this, i] { OptDia_Click(i); });
        OptDia[i] = b;
    }
    Calendar->hide();
}

void BusquedaCodigo::AplicarEstiloPlano()
{
    setAutoFillBackground(true);
    QPalette fondo = palette();
    fondo.setColor(QPalette::Window, Qt::white);
    setPalette(fondo);
    TxtBusqueda->setFrame(false);
    QPalette caja = TxtBusqueda->palette();
    caja.setColor(QPalette::Base, Qt::white);
    caja.setColor(QPalette::Text, Qt::black);
    TxtBusqueda->setPalette(caja);
}

platform::db::Connection& BusquedaCodigo::cnBusqueda()
{
    if (!m_cnBusqueda)
        m_cnBusqueda = std::make_unique<platform::db::Connection>();
    return *m_cnBusqueda;
}

platform::Dll_Utilidades& BusquedaCodigo::utilidades()
{
    if (!m_utilidades)
        m_utilidades = std::make_unique<platform::Dll_Utilidades>();
    return *m_utilidades;
}

void BusquedaCodigo::AbrirConexion()
{
    if (Trim(m_connString).isEmpty()) {
        ConexionAbierta = false;
        return;
    }
    QString base;
    common::EjecutarPasos(
        0, int(PasoConexion::Fin),
        [&](int i) {
            platform::db::Connection& cn = cnBusqueda();
            switch (PasoConexion(i)) {
            case PasoConexion::NombreBase:
                base = Trim(platform::db::ConnectionString::parse(m_connString).first({"database", "initial catalog"}));
                break;
            case PasoConexion::Abrir:
                cn.setConnectionString(m_connString);
                cn.Open(QString(), QString(), QString(), -1);
                break;
            case PasoConexion::Marcar:
                // Every later step needs the connection; without it the box tries again next time.
                ConexionAbierta = cn.State() == platform::db::adStateOpen;
                if (!ConexionAbierta)
                    return int(PasoConexion::Fin);
                break;
            case PasoConexion::BaseDefecto:
                if (!base.isEmpty())
                    cn.setDefaultDatabase(base);
                break;
            case PasoConexion::TiempoEspera:
                cn.setCommandTimeout(60);
                break;
            case PasoConexion::LeerArticulos: {
                QString aux;
                DeshabilitarBCArticulos =
                    EqualsNoCase(sp_Cfg(QStringLiteral("DeshabilitaBusquedaCodigoArt"), aux), u"SI");
                break;
            }
            case PasoConexion::LeerTodos: {
                QString aux;
                DeshabilitarBCTodos = EqualsNoCase(sp_Cfg(QStringLiteral("DeshabilitaBusquedaCodigo"), aux), u"SI");
                break;
            }
            case PasoConexion::Fin:
                break;
            }
            return i + 1;
        },
        [&](const platform::Error& e) {
            return common::AccionDeRespuesta(TratamientoErrores(platform::ErrObject(e)));
        });
}

QString BusquedaCodigo::sp_Cfg(const QString& Campo, QString& ValorAux)
{
    platform::db::Command cmd;
    std::shared_ptr<platform::db::Recordset> rs;
    QString resultado;
    const bool completo = common::EjecutarPasos(
        0, int(PasoCfg::Fin),
        [&](int i) {
            switch (PasoCfg(i)) {
            case PasoCfg::Comando:
                cmd.setActiveConnection(&cnBusqueda());
                cmd.setCommandType(platform::db::adCmdStoredProc);
                cmd.setCommandText(QStringLiteral("sp1_getCfg"));
                break;
            case PasoCfg::Parametro:
                cmd.Parameters().Append(cmd.CreateParameter(QStringLiteral("@Campo"), platform::db::adChar,
                                                            platform::db::adParamInput, 50, Campo));
                break;
            case PasoCfg::Ceder:
                QCoreApplication::processEvents();
                break;
            case PasoCfg::Ejecutar:
                rs = cmd.Execute(nullptr, platform::db::adCmdUnspecified);
                break;
            case PasoCfg::Leer:
                if (!rs || rs->State() != platform::db::adStateOpen)
                    throw DbError(platform::db::adErr::ObjectClosed,
                                  QStringLiteral("Operation is not allowed when the object is closed."),
                                  QStringLiteral("ADODB.Recordset"));
                if (rs->Bof() && rs->Eof()) {
                    resultado = QStringLiteral(" ");
                    ValorAux.clear();
                } else {
                    resultado = FieldVal(rs->value(QStringLiteral("Valor")));
                    ValorAux = FieldVal(rs->value(QStringLiteral("ValorAux")));
                }
                break;
            case PasoCfg::Mensajes:
                if (esMensaje(Campo) && resultado.isEmpty() && !ValorAux.isEmpty())
                    resultado = ValorAux;
                break;
            case PasoCfg::Fin:
                break;
            }
            return i + 1;
        },
        [&](const platform::Error& e) {
            return common::AccionDeRespuesta(
                TratamientoErrores(platform::ErrObject(e), std::nullopt, QStringLiteral("sp_Cfg")));
        });
    return completo ? resultado : QString();
}

int16_t BusquedaCodigo::TratamientoErrores(const platform::ErrObject& CodErr, std::optional<int> Botones,
                                           const std::optional<QString>& Rutina)
{
    if (CodErr.Number == 0)
        return 0;
    const QString titulo = CodErr.Source + (Rutina ? QStringLiteral(" - ") + *Rutina : QString()) +
                           QStringLiteral(" Aviso al operador!!! ");
    return int16_t(platform::op().MsgBox(
        common::TextoError(CodErr), Botones.value_or(platform::msgbox::AbortRetryIgnore | platform::msgbox::Critical),
        titulo));
}

QString BusquedaCodigo::FmtLeerCodigo(const QString& Codigo, std::optional<int> Largo) const
{
    const int ancho = Largo && int16_t(*Largo) > 0 ? int16_t(*Largo) : int(Codigo.size());
    const QString recortado = Trim(Codigo);
    if (!Variant(recortado).isNumber())
        return recortado;
    return recortado.size() >= ancho ? recortado.left(ancho) : recortado.rightJustified(ancho, u' ');
}

QString BusquedaCodigo::FieldVal(const Variant& recFieldVal) const
{
    return recFieldVal.isNull() ? QString() : recFieldVal.toText();
}

void BusquedaCodigo::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    UserControl_Resize();
}

void BusquedaCodigo::UserControl_Resize()
{
    if (m_redimensionando)
        return;
    m_redimensionando = true;
    AplicarEstiloPlano();
    const int alto = enTwips(TxtBusqueda->height());
    if (EqualsNoCase(TxtBusqueda->property("Tag").toString(), u"Fecha")) {
        resize(Calendar->width(), TxtBusqueda->height() + Calendar->height());
        Calendar->move(0, TxtBusqueda->y() + TxtBusqueda->height());
        LstBusqueda->hide();
    } else {
        Calendar->hide();
        LstBusqueda->show();
    }
    const int W = enTwips(width());
    const int imagenes = enTwips(ImgX->width()) + enTwips(imgMas->width()) + enTwips(IMGOK->width());
    ubicar(TxtBusqueda, enTwips(TxtBusqueda->x()), enTwips(TxtBusqueda->y()), W - (imagenes + 100), alto);
    const int derecha = enTwips(TxtBusqueda->x()) + W - (imagenes + 100);
    IMGOK->move(twipsToPixels(derecha + 10), IMGOK->y());
    imgMas->move(twipsToPixels(derecha + 10 + enTwips(IMGOK->width()) + 10), imgMas->y());
    ImgX->move(twipsToPixels(derecha + 30 + enTwips(IMGOK->width()) + enTwips(imgMas->width())), ImgX->y());
    ubicar(LstBusqueda, 20, enTwips(TxtBusqueda->y()) + alto + 20, W - 40, enTwips(height()));
    m_redimensionando = false;
}

void BusquedaCodigo::keyPressEvent(QKeyEvent* event)
{
    if (platform::ui::keyCodeOf(*event) == platform::ui::keys::Escape) {
        busqueda::Resguardar([&] {
            TxtBusqueda->clear();
            Buscar.clear();
            ObtieneCodigo(true);
        });
        return;
    }
    QWidget::keyPressEvent(event);
}

bool BusquedaCodigo::eventFilter(QObject* watched, QEvent* event)
{
    bool tomado = false;
    const auto tecla = [&] { return static_cast<QKeyEvent*>(event); };
    if (watched == TxtBusqueda && event->type() == QEvent::KeyPress) {
        busqueda::Resguardar([&] {
            tomado = TxtBusqueda_KeyDown(platform::ui::keyCodeOf(*tecla()));
            if (!tomado)
                if (const int ascii = codigoAscii(*tecla()))
                    tomado = TxtBusqueda_KeyPress(ascii);
        });
        return tomado;
    }
    if (watched == LstBusqueda && event->type() == QEvent::KeyPress && codigoAscii(*tecla()) == 13) {
        busqueda::Resguardar([&] { LstBusqueda_DblClick(); });
        return true;
    }
    if (watched == LstBusqueda && event->type() == QEvent::KeyRelease) {
        busqueda::Resguardar([&] { LstBusqueda_KeyUp(platform::ui::keyCodeOf(*tecla())); });
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == IMGOK)
            busqueda::Resguardar([&] { IMGOK_Click(); });
        else if (watched == ImgX)
            busqueda::Resguardar([&] { ImgX_Click(); });
        else if (watched == imgMas)
            busqueda::Resguardar([&] { imgMas_Click(); });
        return false;
    }
    for (int i = 0; i < 42; ++i) {
        if (watched != OptDia[i])
            continue;
        if (event->type() == QEvent::MouseButtonDblClick) {
            busqueda::Resguardar([&] { OptDia_DblClick(i); });
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const int ascii = codigoAscii(*tecla());
            busqueda::Resguardar([&] { OptDia_KeyPress(i, ascii); });
            return ascii == 13;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace controls
