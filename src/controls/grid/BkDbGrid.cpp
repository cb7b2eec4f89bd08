// The grid control's parts, state, stored properties, layout and lifetime.
#include "controls/grid/BkDbGrid.h"

#include "common/AplicarEstilo.h"
#include "common/MensajeError.h"
#include "common/Pasos.h"
#include "common/PictureBox.h"
#include "platform/core/Operator.h"
#include "platform/core/Text.h"
#include "platform/ui/ControlError.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/KeyCodes.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/Twips.h"

#include <QComboBox>
#include <QDragMoveEvent>
#include <QEvent>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace controls {

namespace pasos = common;
namespace text = platform::text;
namespace keys = platform::ui::keys;
using platform::ui::twipsToPixels;

namespace {

// Design placement in twips.
void ubicar(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(platform::ui::twipsRect(left, top, width, height));
}

int enTwips(int pixels)
{
    return pixels * platform::ui::kTwipsPerPixel;
}

// The room of a tool-bar button: its icon and three pixels on each side, so
// that the buttons of each bar fit the bar's design width in every style.
constexpr int kMargenIcono = 3;

// A tool-bar button: its icon from the control's image list (drawn at build
// time, named by the key), shown alone, its text the tool tip, which also
// names it for the accessibility interface.
QToolButton* botonSimple(QToolBar* barra, const QString& clave, const QString& ayuda)
{
    auto* boton = new QToolButton(barra);
    boton->setObjectName(clave);
    boton->setToolTip(ayuda);
    boton->setText(ayuda);
    boton->setIcon(QIcon(QStringLiteral(":/grid/iconos/") + clave + QStringLiteral(".png")));
    boton->setIconSize(barra->iconSize());
    boton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    boton->setAutoRaise(true);
    boton->setFixedWidth(barra->iconSize().width() + 2 * kMargenIcono);
    barra->addWidget(boton);
    return boton;
}

// A tool-bar button with its drop-down arrow: the button runs its own action
// and the arrow opens the menu of entries (text, key).
QToolButton* botonConMenu(QToolBar* barra, const QString& clave, const QString& ayuda,
                          std::initializer_list<std::pair<const char*, const char*>> entradas)
{
    QToolButton* boton = botonSimple(barra, clave, ayuda);
    auto* menu = new QMenu(boton);
    for (const auto& [texto, clave2] : entradas) {
        QAction* accion = menu->addAction(QString::fromUtf8(texto));
        accion->setObjectName(QString::fromUtf8(clave2));
    }
    boton->setMenu(menu);
    boton->setPopupMode(QToolButton::MenuButtonPopup);
    boton->setFixedWidth(boton->width() + boton->style()->pixelMetric(QStyle::PM_MenuButtonIndicator, nullptr, boton));
    return boton;
}

// A tool bar of small icons fixed in its place: no handle, no floating, and
// one pixel around its buttons in place of the style's wider frame (the
// style sets it again only when the style itself changes).
QToolBar* barraDeIconos(QWidget* padre, const QString& nombre)
{
    auto* barra = new QToolBar(padre);
    barra->setObjectName(nombre);
    barra->setMovable(false);
    barra->setFloatable(false);
    barra->setIconSize(QSize(16, 16));
    barra->layout()->setContentsMargins(1, 1, 1, 1);
    return barra;
}

} // namespace

BkDbGrid::BkDbGrid(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("BkDbGrid"));
    resize(twipsToPixels(9600), twipsToPixels(6000));
    crearControles();
    conectar();
    // Creation: every step on its own, a failure skipped.
    m_consulta.PaginaActual = 1;
    m_consulta.CamposSel.clear();
    pasos::Omitir([&] { CboRegistros->setEditText(QString()); });
    MsFlexGrid = MSFlexGrid1;
    TxtEdit = txtEdit1;
    setEnabled(false);
    pasos::Omitir([&] { ConfigurarFlexGridModern(); });
    InitProperties();
}

BkDbGrid::~BkDbGrid()
{
    data::LiberarDbPrincipal();
}

// ------------------------------------------------------------------ controls

void BkDbGrid::crearControles()
{
    MSFlexGrid1 = new platform::ui::FlexGrid(this);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->setAccessibleName(QStringLiteral("Registros de la consulta"));
    ubicar(MSFlexGrid1, 0, 620, 9500, 3780);

    txtEdit1 = new QLineEdit(this);
    txtEdit1->setObjectName(QStringLiteral("txtEdit1"));
    ubicar(txtEdit1, 0, 620, 1200, 300);
    txtEdit1->hide();

    StatusBar1 = new platform::ui::StatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->AddPanel(QString(), QString(), 9000);
    ubicar(StatusBar1, 0, 5640, 9600, 360);

    crearBarraFiltros();
    crearBarraComandos();
    UserControl_Resize();
}

void BkDbGrid::crearBarraFiltros()
{
    FrmFiltros = new QFrame(this);
    FrmFiltros->setObjectName(QStringLiteral("FrmFiltros"));
    ubicar(FrmFiltros, 0, 0, 9500, 600);

    Label1 = new QLabel(QStringLiteral("Registros:"), FrmFiltros);
    Label1->setObjectName(QStringLiteral("Label1"));
    // Up to the rows-per-page box: "Registros:" needs all of it.
    ubicar(Label1, 60, 160, 820, 250);

    CboRegistros = new QComboBox(FrmFiltros);
    CboRegistros->setObjectName(QStringLiteral("CboRegistros"));
    CboRegistros->setEditable(true);
    CboRegistros->setInsertPolicy(QComboBox::NoInsert);
    for (const char* n : {"5", "10", "15", "20", "25", "30", "35", "40", "45", "50", "100", "500", "1000", "2000"}) {
        CboRegistros->addItem(QString::fromLatin1(n));
    }
    CboRegistros->lineEdit()->installEventFilter(this);
    ubicar(CboRegistros, 880, 120, 900, 315);
    Label1->setBuddy(CboRegistros);

    CboFiltroCampo = new QComboBox(FrmFiltros);
    CboFiltroCampo->setObjectName(QStringLiteral("CboFiltroCampo"));
    // Names for the accessibility interface, where no label stands for the box.
    CboFiltroCampo->setAccessibleName(QStringLiteral("Campo a buscar"));
    ubicar(CboFiltroCampo, 1860, 120, 1600, 315);

    txtBuscar = new QLineEdit(FrmFiltros);
    txtBuscar->setObjectName(QStringLiteral("txtBuscar"));
    txtBuscar->setText(QStringLiteral("Ingrese el texto a buscar..."));
    txtBuscar->setAccessibleName(QStringLiteral("Texto a buscar"));
    ubicar(txtBuscar, 3540, 120, 2600, 315);

    Toolbar1 = barraDeIconos(FrmFiltros, QStringLiteral("Toolbar1"));
    btnBuscar =
        botonConMenu(Toolbar1, QStringLiteral("BUSCAR"), QStringLiteral("Buscar"),
                     {{"  Buscar en Página Actual", "ActualPage"}, {"  Buscar en todas las Páginas", "AllPage"}});
    botonSimple(Toolbar1, QStringLiteral("ACTUALIZAR"), QStringLiteral("Actualizar"));
    botonSimple(Toolbar1, QStringLiteral("AJUSTACOL"), QStringLiteral("Ajustar Columnas"));
    botonSimple(Toolbar1, QStringLiteral("Excel"), QStringLiteral("Exportar a Excel"));
    ubicar(Toolbar1, 6220, 40, 1700, 480);

    CmdCancel = new QPushButton(QStringLiteral("Cancelar carga..."), FrmFiltros);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    ubicar(CmdCancel, 8020, 80, 1300, 315);
    CmdCancel->hide();

    PicMsg = new common::PictureBox(FrmFiltros);
    PicMsg->setObjectName(QStringLiteral("PicMsg"));
    ubicar(PicMsg, 9400, 80, 100, 315);
    PicMsg->hide();

    Pbar = new QProgressBar(FrmFiltros);
    Pbar->setObjectName(QStringLiteral("Pbar"));
    Pbar->setRange(0, 100);
    Pbar->setTextVisible(false);
    ubicar(Pbar, 9400, 80, 100, 315);
    Pbar->hide();
}

void BkDbGrid::crearBarraComandos()
{
    FrmComandos = new QFrame(this);
    FrmComandos->setObjectName(QStringLiteral("FrmComandos"));
    ubicar(FrmComandos, 0, 4500, 9500, 700);

    Shape1 = new QFrame(FrmComandos);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    ubicar(Shape1, 0, 0, 9500, 700);

    lblPagSelect = new QLabel(QStringLiteral("Página:"), FrmComandos);
    lblPagSelect->setObjectName(QStringLiteral("lblPagSelect"));
    ubicar(lblPagSelect, 60, 220, 620, 250);

    cboPagSelect = new QComboBox(FrmComandos);
    cboPagSelect->setObjectName(QStringLiteral("cboPagSelect"));
    ubicar(cboPagSelect, 700, 170, 900, 315);
    lblPagSelect->setBuddy(cboPagSelect);

    auto boton = [&](QPushButton*& b, const char* nombre, const char* glifo, const char* ayuda, int left) {
        b = new QPushButton(QString::fromUtf8(glifo), FrmComandos);
        b->setObjectName(QString::fromLatin1(nombre));
        b->setToolTip(QString::fromUtf8(ayuda));
        // The sign on the button says nothing read aloud: its tool tip names it.
        b->setAccessibleName(b->toolTip());
        ubicar(b, left, 170, 400, 315);
    };
    boton(cmdPrimero, "cmdPrimero", "|<", "Primer Página", 1660);
    boton(cmdAnterior, "cmdAnterior", "<", "Página Anterior", 2080);
    boton(cmdSiguiente, "cmdSiguiente", ">", "Página Siguiente", 2500);
    boton(cmdUltimo, "cmdUltimo", ">|", "Última Página", 2920);

    lblPaginas = new QLabel(QStringLiteral("Página 1 de 1"), FrmComandos);
    lblPaginas->setObjectName(QStringLiteral("lblPaginas"));
    ubicar(lblPaginas, 3400, 220, 1900, 250);

    cmdColumnas = new QPushButton(QStringLiteral("Columnas"), FrmComandos);
    cmdColumnas->setObjectName(QStringLiteral("cmdColumnas"));
    ubicar(cmdColumnas, 5360, 170, 1000, 315);

    Toolbar2 = barraDeIconos(FrmComandos, QStringLiteral("Toolbar2"));
    btnOrden = botonConMenu(Toolbar2, QStringLiteral("Orden"), QStringLiteral("Opciones de Ordenamiento"),
                            {{"  Ordemaniento Individual", "ActualPage"}, {"  Ordenamiento Múltiple", "AllPage"}});
    ubicar(Toolbar2, 6420, 100, 600, 480);

    auto imagen = [&](QToolButton*& b, const char* nombre, const char* glifo, const char* ayuda, int left) {
        b = new QToolButton(FrmComandos);
        b->setObjectName(QString::fromLatin1(nombre));
        b->setText(QString::fromUtf8(glifo));
        b->setToolTip(QString::fromUtf8(ayuda));
        b->setAccessibleName(b->toolTip());
        b->setAutoRaise(true);
        ubicar(b, left, 170, 315, 315);
    };
    imagen(ImgOrdenN, "ImgOrdenN", "=", "Orden Natural", 7080);
    imagen(ImgOrdenAsc, "ImgOrdenAsc", "▲", "Orden Ascendente", 7420);
    imagen(ImgOrdenDesc, "ImgOrdenDesc", "▼", "Orden Descendente", 7760);

    LblTotalReg = new QLabel(QStringLiteral("Total Reg: "), FrmComandos);
    LblTotalReg->setObjectName(QStringLiteral("LblTotalReg"));
    ubicar(LblTotalReg, 8140, 220, 1300, 250);
}

void BkDbGrid::conectar()
{
    auto frontera = [this](const char* rutina, void (BkDbGrid::*handler)()) {
        return [this, rutina, handler] { Frontera(QString::fromLatin1(rutina), [&] { (this->*handler)(); }); };
    };
    connect(CmdCancel, &QPushButton::clicked, this, frontera("CmdCancel_Click", &BkDbGrid::CmdCancel_Click));
    connect(cmdPrimero, &QPushButton::clicked, this, frontera("cmdPrimero_Click", &BkDbGrid::cmdPrimero_Click));
    connect(cmdAnterior, &QPushButton::clicked, this, frontera("cmdAnterior_Click", &BkDbGrid::cmdAnterior_Click));
    connect(cmdSiguiente, &QPushButton::clicked, this, frontera("cmdSiguiente_Click", &BkDbGrid::cmdSiguiente_Click));
    connect(cmdUltimo, &QPushButton::clicked, this, frontera("cmdUltimo_Click", &BkDbGrid::cmdUltimo_Click));
    connect(ImgOrdenN, &QToolButton::clicked, this, frontera("ImgOrdenN_Click", &BkDbGrid::ImgOrdenN_Click));
    connect(ImgOrdenAsc, &QToolButton::clicked, this, frontera("ImgOrdenAsc_Click", &BkDbGrid::ImgOrdenAsc_Click));
    connect(ImgOrdenDesc, &QToolButton::clicked, this, frontera("ImgOrdenDesc_Click", &BkDbGrid::ImgOrdenDesc_Click));
    connect(cboPagSelect, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) {
            Frontera(QStringLiteral("cboPagSelect_Click"), [&] { cboPagSelect_Click(); });
        }
    });
    connect(CboRegistros, &QComboBox::activated, this, frontera("CboRegistros_Click", &BkDbGrid::CboRegistros_Click));
    for (QToolButton* boton : Toolbar1->findChildren<QToolButton*>()) {
        // The tool bar's own extension button is no button of the grid.
        if (boton->objectName().isEmpty() || boton->objectName().startsWith(u"qt_")) {
            continue;
        }
        connect(boton, &QToolButton::clicked, this, [this, boton] {
            Frontera(QStringLiteral("Toolbar1_ButtonClick"), [&] { Toolbar1_ButtonClick(boton->objectName()); });
        });
    }
    connect(btnBuscar->menu(), &QMenu::triggered, this, [this](QAction* entrada) {
        Frontera(QStringLiteral("Toolbar1_ButtonMenuClick"), [&] { Toolbar1_ButtonMenuClick(entrada); });
    });
    connect(btnOrden->menu(), &QMenu::triggered, this, [this](QAction* entrada) {
        Frontera(QStringLiteral("Toolbar2_ButtonMenuClick"), [&] { Toolbar2_ButtonMenuClick(entrada); });
    });
    connect(txtBuscar, &QLineEdit::textChanged, this, frontera("txtBuscar_Change", &BkDbGrid::txtBuscar_Change));
    txtBuscar->installEventFilter(this);
    connect(cmdColumnas, &QPushButton::clicked, this, frontera("cmdColumnas_Click", &BkDbGrid::cmdColumnas_Click));
    conectarEventos();
}

bool BkDbGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == CboRegistros->lineEdit() && event->type() == QEvent::KeyPress) {
        const auto* tecla = static_cast<QKeyEvent*>(event);
        int keyCode = platform::ui::keyCodeOf(*tecla);
        int keyAscii = platform::ui::keyAsciiOf(*tecla);
        const int shift = platform::ui::shiftStateOf(tecla->modifiers());
        bool consumida = false;
        Frontera(QStringLiteral("CboRegistros_KeyDown"), [&] { CboRegistros_KeyDown(keyCode, shift); });
        // The box's own steps go from its current entry, which a typed size
        // does not move; Alt+Down still opens the list.
        const bool paso =
            (tecla->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) == 0 &&
            (keyCode == keys::Down || keyCode == keys::Up || keyCode == keys::PageDown || keyCode == keys::PageUp);
        if (paso) {
            Frontera(QStringLiteral("CboRegistros_Click"),
                     [&] { CboRegistros_Paso(keyCode == keys::Down || keyCode == keys::PageDown ? 1 : -1); });
            return true;
        }
        if (keyAscii != 0) {
            CboRegistros_KeyPress(keyAscii);
            consumida = keyAscii == 0;
        }
        return consumida;
    }
    if (watched == txtBuscar) {
        bool buscado = false;
        if (event->type() == QEvent::KeyPress) {
            const int keyCode = platform::ui::keyCodeOf(*static_cast<QKeyEvent*>(event));
            Frontera(QStringLiteral("txtBuscar_KeyDown"), [&] { buscado = txtBuscar_KeyDown(keyCode); });
        } else if (event->type() == QEvent::FocusIn) {
            Frontera(QStringLiteral("txtBuscar_GotFocus"), [&] { txtBuscar_GotFocus(); });
        } else if (event->type() == QEvent::FocusOut) {
            Frontera(QStringLiteral("txtBuscar_LostFocus"), [&] { txtBuscar_LostFocus(); });
        }
        return buscado;
    }
    if (watched == txtEdit1) {
        return filtrarEdicion(event);
    }
    if (watched == MSFlexGrid1->viewport() &&
        (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove)) {
        Frontera(QStringLiteral("MSFlexGrid1_DragOver"), [&] { MSFlexGrid1_DragOver(); });
        // Entering is accepted so that the moves follow; nothing may be dropped.
        auto* arrastre = static_cast<QDragMoveEvent*>(event);
        if (event->type() == QEvent::DragEnter) {
            arrastre->acceptProposedAction();
        } else {
            arrastre->ignore();
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void BkDbGrid::colorFondo(QWidget* w, platform::ui::OleColor color)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, platform::ui::toQColor(color));
    w->setPalette(p);
}

void BkDbGrid::colorTexto(QWidget* w, platform::ui::OleColor color)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Text, platform::ui::toQColor(color));
    w->setPalette(p);
}

void BkDbGrid::Frontera(const QString& rutina, const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const platform::Error& e) {
        common::MensajeError(platform::ErrObject(e, QStringLiteral("BkDbGrid")), platform::msgbox::Critical, rutina);
    }
}

// ------------------------------------------------------------------ layout

void BkDbGrid::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    UserControl_Resize();
}

void BkDbGrid::UserControl_Resize()
{
    const int H = enTwips(height());
    const int W = enTwips(width());
    const int S = enTwips(StatusBar1->height());
    StatusBar1->setGeometry(0, twipsToPixels(H - S), width(), StatusBar1->height());

    auto medidas = [&] { MSFlexGrid1->resize(twipsToPixels(W - 100), std::max(0, twipsToPixels(H - 1600 - S))); };
    switch (m_alignCommandBar) {
    case 1:
        medidas();
        MSFlexGrid1->move(MSFlexGrid1->x(), FrmComandos->height());
        break;
    case 0:
    case 2:
    case 3:
    case 4:
        medidas();
        break;
    default:
        break;
    }
    switch (m_alignFilterBar) {
    case 2:
        medidas();
        FrmFiltros->move(FrmFiltros->x(), twipsToPixels(enTwips(MSFlexGrid1->height()) + 600));
        FrmFiltros->resize(MSFlexGrid1->width(), FrmFiltros->height());
        break;
    case 0:
    case 1:
    case 3:
    case 4:
        medidas();
        FrmFiltros->resize(MSFlexGrid1->width(), FrmFiltros->height());
        break;
    default:
        break;
    }
    FrmComandos->move(FrmComandos->x(), twipsToPixels(enTwips(MSFlexGrid1->y() + MSFlexGrid1->height()) + 100));
    FrmComandos->resize(MSFlexGrid1->width(), FrmComandos->height());
    Shape1->resize(FrmComandos->size());

    CmdCancel->move(twipsToPixels(enTwips(Toolbar1->x() + Toolbar1->width()) + 100),
                    twipsToPixels(enTwips(Toolbar1->y()) + 40));
    const int left = enTwips(CmdCancel->x() + CmdCancel->width()) + 80;
    PicMsg->setGeometry(twipsToPixels(left), CmdCancel->y(),
                        std::max(0, twipsToPixels(enTwips(FrmFiltros->width()) - (left + 40))), PicMsg->height());
    Pbar->setGeometry(PicMsg->x(), PicMsg->y(), PicMsg->width(), Pbar->height());
}

// ------------------------------------------------------------------ lifecycle

void BkDbGrid::inicializa()
{
    pasos::Omitir([&] { MSFlexGrid1->Clear(); });
    setEnabled(false);
    txtEdit1->clear();
    txtEdit1->hide();
    setOrdenSent(3);
    common::AplicarEstilo(this, true, -1);
}

void BkDbGrid::InitProperties()
{
    ConsultaPaginada& q = m_consulta;
    q.sql.clear();
    q.PrimaryKey = QStringLiteral("ID");
    m_alignCommandBar = 2;
    m_alignFilterBar = 1;
    q.PageSize = 4000;
    m_anchoColFijo = false;
    q.CamposSel.clear();
    q.Campos.clear();
    q.OrdinalSel.clear();
    m_columnas = false;
    m_ocultarOrdenar = false;
    q.OrderBy.clear();
    q.OrdenSent = 0;
    q.FormatDate = 103;
    q.Find = 2;
    q.Order = 1;
}

void BkDbGrid::ReadProperties(const platform::ui::PropertyBag& bag)
{
    using pasos::Omitir;
    ConsultaPaginada& q = m_consulta;
    Omitir([&] { q.sql = bag.ReadProperty(QStringLiteral("SQL"), QString()).toString(); });
    Omitir([&] { q.PrimaryKey = bag.ReadProperty(QStringLiteral("PrimaryKey"), QStringLiteral("ID")).toString(); });
    Omitir([&] { setFind(bag.ReadProperty(QStringLiteral("Find"), 2).toInt()); });
    Omitir([&] { setOrder(bag.ReadProperty(QStringLiteral("Order"), 1).toInt()); });
    Omitir([&] { m_alignCommandBar = bag.ReadProperty(QStringLiteral("AlignCommandBar"), 2).toInt(); });
    Omitir([&] { m_alignFilterBar = bag.ReadProperty(QStringLiteral("AlignFilterBar"), 1).toInt(); });
    Omitir([&] { q.PageSize = bag.ReadProperty(QStringLiteral("PageSize"), 5).toInt(); });
    Omitir([&] { m_anchoColFijo = bag.ReadProperty(QStringLiteral("AnchoColFijo"), true).toBool(); });
    Omitir([&] { q.CamposSel = bag.ReadProperty(QStringLiteral("CamposSel"), QString()).toString(); });
    Omitir([&] { q.Campos = bag.ReadProperty(QStringLiteral("Campos"), QString()).toString(); });
    Omitir([&] { q.OrdinalSel = bag.ReadProperty(QStringLiteral("OrdinalSel"), QString()).toString(); });
    Omitir([&] { setColumnas(bag.ReadProperty(QStringLiteral("Columnas"), false).toBool()); });
    Omitir([&] { setOrderBy(bag.ReadProperty(QStringLiteral("OrderBy"), QString()).toString()); });
    Omitir([&] { setOrdenSent(bag.ReadProperty(QStringLiteral("OrdenSent"), 0).toInt()); });
    Omitir([&] { setFormatDate(bag.ReadProperty(QStringLiteral("FormatDate"), 103).toInt()); });
    UserControl_Resize();
}

void BkDbGrid::WriteProperties(platform::ui::PropertyBag& bag) const
{
    const ConsultaPaginada& q = m_consulta;
    bag.WriteProperty(QStringLiteral("SQL"), q.sql);
    bag.WriteProperty(QStringLiteral("PrimaryKey"), q.PrimaryKey);
    bag.WriteProperty(QStringLiteral("Find"), q.Find, 2);
    bag.WriteProperty(QStringLiteral("Order"), q.Order, 1);
    bag.WriteProperty(QStringLiteral("AlignCommandBar"), m_alignCommandBar, 2);
    bag.WriteProperty(QStringLiteral("AlignFilterBar"), m_alignFilterBar, 1);
    bag.WriteProperty(QStringLiteral("PageSize"), q.PageSize);
    bag.WriteProperty(QStringLiteral("AnchoColFijo"), m_anchoColFijo);
    bag.WriteProperty(QStringLiteral("CamposSel"), q.CamposSel);
    bag.WriteProperty(QStringLiteral("Campos"), q.Campos);
    bag.WriteProperty(QStringLiteral("OrdinalSel"), q.OrdinalSel);
    bag.WriteProperty(QStringLiteral("Columnas"), m_columnas);
    bag.WriteProperty(QStringLiteral("OcultarOrdenar"), m_ocultarOrdenar);
    bag.WriteProperty(QStringLiteral("OrderBy"), q.OrderBy);
    bag.WriteProperty(QStringLiteral("OrdenSent"), q.OrdenSent);
    bag.WriteProperty(QStringLiteral("FormatDate"), q.FormatDate);
}

// ------------------------------------------------------------------ properties

void BkDbGrid::marcarMenu(QToolButton* boton, int valor)
{
    const QList<QAction*> entradas = boton->menu()->actions();
    if (valor < 1 || valor > entradas.size()) {
        throw platform::ui::ControlError(platform::ui::controlErr::IndexOutOfBounds,
                                         QStringLiteral("Index out of bounds"));
    }
    const auto limpio = [](const QString& t) { return text::Trim(text::Replace(t, u"» ", u"")); };
    QAction* elegida = entradas.at(valor - 1);
    elegida->setText(QStringLiteral("» ") + limpio(elegida->text()));
    QAction* otra = entradas.at(valor == 1 ? 1 : 0);
    otra->setText(limpio(otra->text()));
}

void BkDbGrid::setSql(const QString& value)
{
    fijar(m_consulta.sql, QString(QStringLiteral(" ") + value), "SQL");
}

void BkDbGrid::setFind(int value)
{
    m_consulta.Find = value;
    marcarMenu(btnBuscar, value);
    emit PropertyChanged(QStringLiteral("Find"));
}

void BkDbGrid::setOrder(int value)
{
    m_consulta.Order = value;
    marcarMenu(btnOrden, value);
    emit PropertyChanged(QStringLiteral("Order"));
}

void BkDbGrid::setConString(const QString& value)
{
    data::DB_Dll& db = data::gDbPrincipal();
    if (db.gOpenFlag) {
        if (db.gCnn) {
            (void)db.gCnn->DefaultDatabase();
        }
    } else {
        db.OpenServerADODB(false, 3, value, true, true);
    }
    emit PropertyChanged(QStringLiteral("ConString"));
}

} // namespace controls
