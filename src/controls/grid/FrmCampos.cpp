// The column chooser form: its controls, its loading from the grid's texts,
// moving and checking entries, applying and closing.
#include "controls/grid/FrmCampos.h"

#include "common/AplicarEstilo.h"
#include "common/Pasos.h"
#include "platform/core/Text.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Twips.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

namespace controls {

namespace pasos = common;
namespace text = platform::text;
using platform::ui::twipsRect;

namespace {

// A picture that takes clicks: its icon (drawn at build time, named by the
// picture it shows) fills the whole control, without a button's face or
// margins, as the form's arrow and close pictures are drawn.
class Imagen : public QToolButton
{
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        icon().paint(&p, rect());
    }
};

// `nombre` says what the picture does for the accessibility interface, which
// has no text of the control to read.
QToolButton* imagen(QWidget* padre, const char* objeto, const char* icono, const char* nombre, const QRect& lugar)
{
    auto* b = new Imagen(padre);
    b->setObjectName(QString::fromLatin1(objeto));
    b->setIcon(QIcon(QStringLiteral(":/grid/iconos/") + QString::fromLatin1(icono) + QStringLiteral(".png")));
    b->setIconSize(lugar.size());
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    b->setAccessibleName(QString::fromUtf8(nombre));
    b->setGeometry(lugar);
    return b;
}

QPushButton* boton(QWidget* padre, const char* nombre, const char* texto, const QRect& lugar)
{
    auto* b = new QPushButton(QString::fromUtf8(texto), padre);
    b->setObjectName(QString::fromLatin1(nombre));
    b->setGeometry(lugar);
    return b;
}

QFrame* cuadro(QWidget* padre, const char* nombre, const QRect& lugar)
{
    auto* f = new QFrame(padre);
    f->setObjectName(QString::fromLatin1(nombre));
    f->setFrameShape(QFrame::Box);
    f->setGeometry(lugar);
    return f;
}

QString sinCorchetes(QString t)
{
    return t.remove(u'[').remove(u']');
}

} // namespace

FrmCampos::FrmCampos(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmCampos"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(twipsRect(0, 0, 3645, 3180).size());
    setMouseTracking(true);
    crearControles();
}

void FrmCampos::crearControles()
{
    Label1 = new QLabel(QStringLiteral("Seleccionar Columnas"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(twipsRect(75, 60, 3360, 390));
    Label1->setMouseTracking(true);
    Label1->installEventFilter(this);

    Label2 = new QLabel(QStringLiteral("Control o Mayúscula para selección Múltiple"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter);
    // The styling's font (9 points) needs the form's whole width and the
    // room down to the list for this line; the designed 3360 by 180 cut it.
    Label2->setGeometry(twipsRect(0, 375, 3645, 225));

    LstLista = new platform::ui::ListView(this);
    LstLista->setObjectName(QStringLiteral("LstLista"));
    LstLista->AddColumnHeader(QStringLiteral("Columnas"), 3000);
    LstLista->header()->hide();
    LstLista->setCheckboxes(true);
    LstLista->setGeometry(twipsRect(120, 600, 3375, 2175));

    ImgSube = imagen(this, "ImgSube", "Subir", "Subir", twipsRect(120, 2880, 180, 180));
    ImgBaja = imagen(this, "ImgBaja", "Bajar", "Bajar", twipsRect(405, 2880, 180, 180));

    CmdAll = boton(this, "CmdAll", "Todos", twipsRect(720, 2820, 975, 315));
    CmdAplica = boton(this, "CmdAplica", "Aplicar", twipsRect(1800, 2820, 1575, 315));

    Shape1 = cuadro(this, "Shape1", twipsRect(3225, 0, 210, 210));
    Shape1->hide();
    ImgCancelar = imagen(this, "ImgCancelar", "Cerrar", "Cerrar", twipsRect(3210, -15, 240, 240));
    ImgCancelar->setToolTip(QStringLiteral("Cerrar"));
    ImgCancelar->setMouseTracking(true);
    ImgCancelar->installEventFilter(this);

    LstCampos = new QListWidget(this);
    LstCampos->setObjectName(QStringLiteral("LstCampos"));
    LstCampos->setSelectionMode(QAbstractItemView::MultiSelection);
    LstCampos->setGeometry(twipsRect(4200, 240, 3390, 2205));
    cmdTodos = boton(this, "cmdTodos", "&Todas", twipsRect(4320, 2520, 960, 315));
    cmdAplicar = boton(this, "cmdAplicar", "&Aplicar Seleccón", twipsRect(5400, 2520, 1710, 315));
    shpSubir = cuadro(this, "shpSubir", twipsRect(7680, 240, 240, 240));
    shpBajar = cuadro(this, "shpBajar", twipsRect(7680, 600, 240, 240));
    ImgSubir = imagen(this, "ImgSubir", "Subir", "Subir", twipsRect(7710, 270, 180, 180));
    ImgBajar = imagen(this, "ImgBajar", "Bajar", "Bajar", twipsRect(7710, 630, 180, 180));
    ImgSubir->installEventFilter(this);
    ImgBajar->installEventFilter(this);

    // Tab order as designed: the hidden buttons first, then "Todos" and "Aplicar".
    setTabOrder(cmdTodos, cmdAplicar);
    setTabOrder(cmdAplicar, CmdAll);
    setTabOrder(CmdAll, CmdAplica);

    connect(ImgSube, &QToolButton::clicked, this, &FrmCampos::ImgSube_Click);
    connect(ImgBaja, &QToolButton::clicked, this, &FrmCampos::ImgBaja_Click);
    connect(CmdAll, &QPushButton::clicked, this, &FrmCampos::CmdAll_Click);
    connect(CmdAplica, &QPushButton::clicked, this, &FrmCampos::CmdAplica_Click);
    connect(ImgCancelar, &QToolButton::clicked, this, &FrmCampos::ImgCancelar_Click);
    connect(cmdTodos, &QPushButton::clicked, this, &FrmCampos::cmdTodos_Click);
    connect(cmdAplicar, &QPushButton::clicked, this, &FrmCampos::cmdAplicar_Click);
    connect(ImgSubir, &QToolButton::clicked, this, &FrmCampos::ImgSubir_Click);
    connect(ImgBajar, &QToolButton::clicked, this, &FrmCampos::ImgBajar_Click);
}

void FrmCampos::showEvent(QShowEvent* event)
{
    if (!m_cargado) {
        m_cargado = true;
        if (const QScreen* pantalla = QGuiApplication::primaryScreen()) {
            move(pantalla->geometry().center() - rect().center());
        }
        Form_Load();
    }
    QDialog::showEvent(event);
}

void FrmCampos::Form_Load()
{
    using pasos::Omitir;
    Cancelar = false;
    LstLista->ClearItems();

    // The current choice first, checked, in its order: one entry per position.
    QString resto = gCamposSel;
    if (!text::Trim(gCamposSel).isEmpty()) {
        QString posiciones = gOrdinalSel;
        while (!text::Trim(posiciones).isEmpty()) {
            const qsizetype barra = posiciones.indexOf(u'|');
            const qsizetype coma = resto.indexOf(u',');
            if (barra < 0 || coma < 0) {
                break;
            }
            const QString nombre = text::Trim(sinCorchetes(resto.left(coma)));
            Omitir([&] { LstLista->AddItem(nombre).setChecked(true); });
            posiciones = posiciones.mid(barra + 1);
            resto = resto.mid(coma + 1);
        }
    }
    // Then every other column in the query's order; the key column, which
    // ends the choice, comes last.
    const QStringList columnas = gCampos.split(u'|');
    for (qsizetype i = 0; i + 1 < columnas.size(); ++i) {
        const QString& columna = columnas.at(i);
        if (columna.isEmpty()) {
            continue;
        }
        if (!gCamposSel.contains(columna) || text::Trim(columna) == text::Trim(resto)) {
            Omitir([&] { LstLista->AddItem(sinCorchetes(columna)); });
        }
    }
    gCampos.clear();
    Omitir([&] {
        UltimoCampo = LstLista->Item(LstLista->ItemCount()).Text();
        LstLista->RemoveItem(LstLista->ItemCount());
    });
    Omitir([&] { common::AplicarEstilo(this, true, -1); });
}

void FrmCampos::moverEntrada(int paso, bool seleccionar)
{
    platform::ui::ListItem* elegida = LstLista->SelectedItem();
    if (!elegida) {
        return;
    }
    const int p = elegida->Index();
    const int destino = p + paso;
    if (destino < 1 || destino > LstLista->ItemCount()) {
        return;
    }
    const QString texto = elegida->Text();
    const bool marcada = elegida->Checked();
    // Up: the copy goes before the entry above; down: after the entry below.
    const int nueva = paso < 0 ? destino : destino + 1;
    LstLista->InsertItem(nueva, texto).setChecked(marcada);
    LstLista->RemoveItem(paso < 0 ? p + 1 : p);
    if (seleccionar) {
        LstLista->setSelectedItem(&LstLista->Item(destino));
    } else {
        LstLista->setSelectedItem(nullptr);
    }
}

void FrmCampos::ImgSube_Click()
{
    pasos::Omitir([&] { moverEntrada(-1, true); });
}

void FrmCampos::ImgBaja_Click()
{
    pasos::Omitir([&] { moverEntrada(1, true); });
}

void FrmCampos::aplicar(const QList<std::pair<QString, bool>>& entradas, int primera)
{
    Cancelar = false;
    gCamposSel.clear();
    gOrdinalSel.clear();
    const auto agregar = [](QString& lista, const QString& nombre) {
        lista += (lista.isEmpty() ? QStringLiteral("[") : QStringLiteral(", [")) + nombre + u']';
    };
    for (qsizetype i = 0; i < entradas.size(); ++i) {
        const auto& [texto, marcada] = entradas.at(i);
        if (marcada) {
            agregar(gCamposSel, texto);
            gOrdinalSel += (gOrdinalSel.isEmpty() ? QString() : QStringLiteral("|")) + QString::number(i + primera);
        }
        agregar(gCamposOrden, texto);
    }
    if (!text::Trim(gCamposSel).isEmpty()) {
        gCamposSel += QStringLiteral(", [") + UltimoCampo + u']';
    }
    agregar(gCamposOrden, UltimoCampo);
    if (!gOrdinalSel.isEmpty()) {
        gOrdinalSel += u'|';
    }
    accept();
}

void FrmCampos::CmdAplica_Click()
{
    QList<std::pair<QString, bool>> entradas;
    for (int i = 1; i <= LstLista->ItemCount(); ++i) {
        entradas.append({LstLista->Item(i).Text(), LstLista->Item(i).Checked()});
    }
    aplicar(entradas, 1);
}

void FrmCampos::CmdAll_Click()
{
    for (int i = 1; i <= LstLista->ItemCount(); ++i) {
        LstLista->Item(i).setChecked(true);
    }
    CmdAplica_Click();
}

void FrmCampos::ImgCancelar_Click()
{
    Cancelar = true;
    QDialog::reject();
}

void FrmCampos::reject()
{
    ImgCancelar_Click();
}

void FrmCampos::ImgCancelar_MouseMove()
{
    Shape1->show();
}

void FrmCampos::Form_MouseMove()
{
    Shape1->hide();
}

void FrmCampos::Label1_MouseMove()
{
    Shape1->hide();
}

void FrmCampos::cmdTodos_Click()
{
    LstCampos->selectAll();
    cmdAplicar_Click();
}

void FrmCampos::cmdAplicar_Click()
{
    // The hidden list counts its positions from 0.
    QList<std::pair<QString, bool>> entradas;
    for (int i = 0; i < LstCampos->count(); ++i) {
        entradas.append({LstCampos->item(i)->text(), LstCampos->item(i)->isSelected()});
    }
    aplicar(entradas, 0);
}

void FrmCampos::ImgSubir_Click()
{
    pasos::Omitir([&] { moverEntrada(-1, true); });
}

void FrmCampos::ImgBajar_Click()
{
    pasos::Omitir([&] { moverEntrada(1, false); });
}

void FrmCampos::ImgSubir_MouseDown()
{
    ImgSubir_Click();
}

void FrmCampos::ImgBajar_MouseDown()
{
    ImgBajar_Click();
}

bool FrmCampos::eventFilter(QObject* watched, QEvent* event)
{
    // A movement over the icon or the title is theirs, not the form's below them.
    if (event->type() == QEvent::MouseMove) {
        if (watched == ImgCancelar) {
            ImgCancelar_MouseMove();
            return true;
        }
        if (watched == Label1) {
            Label1_MouseMove();
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonPress) {
        if (watched == ImgSubir) {
            ImgSubir_MouseDown();
        } else if (watched == ImgBajar) {
            ImgBajar_MouseDown();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FrmCampos::mouseMoveEvent(QMouseEvent* event)
{
    Form_MouseMove();
    QDialog::mouseMoveEvent(event);
}

} // namespace controls
