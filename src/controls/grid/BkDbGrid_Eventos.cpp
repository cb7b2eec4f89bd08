// The events of the inner grid and the edit box passed on to the host, the
// marking of the current cell, the edit box's restyling and row painting.
#include "controls/grid/BkDbGrid.h"

#include "platform/ui/FlexGrid.h"
#include "platform/ui/KeyCodes.h"
#include "platform/ui/Twips.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace controls {

using platform::ui::FlexGrid;

namespace {

constexpr platform::ui::OleColor kMarca = 0xFFFF00u;
constexpr platform::ui::OleColor kBlanco = 0xFFFFFFu;
constexpr platform::ui::OleColor kGris = 0xC0C0C0u;

void negrita(QWidget* w, bool activa)
{
    QFont fuente = w->font();
    fuente.setBold(activa);
    w->setFont(fuente);
}

} // namespace

void BkDbGrid::conectarEventos()
{
    FlexGrid* g = MSFlexGrid1;
    const auto en = [this](const char* rutina, std::function<void()> handler) {
        return [this, rutina, handler] { Frontera(QString::fromLatin1(rutina), handler); };
    };
    connect(g, &FlexGrid::Click, this, en("MSFlexGrid1_Click", [this] { MSFlexGrid1_Click(); }));
    connect(g, &FlexGrid::DblClick, this, en("MSFlexGrid1_DblClick", [this] { emit MsFlexGridDblClick(); }));
    connect(g, &FlexGrid::GotFocus, this, en("MSFlexGrid1_GotFocus", [this] { emit MsFlexGridGotFocus(); }));
    connect(g, &FlexGrid::LostFocus, this, en("MSFlexGrid1_LostFocus", [this] { emit MsFlexGridLostFocus(); }));
    connect(g, &FlexGrid::EnterCell, this, en("MSFlexGrid1_EnterCell", [this] { MSFlexGrid1_EnterCell(); }));
    connect(g, &FlexGrid::LeaveCell, this, en("MSFlexGrid1_LeaveCell", [this] { MSFlexGrid1_LeaveCell(); }));
    connect(g, &FlexGrid::RowColChange, this,
            en("MSFlexGrid1_RowColChange", [this] { emit MSFlexGridRowColChange(); }));
    connect(g, &FlexGrid::KeyDown, this, [this](int& keyCode, int shift) {
        Frontera(QStringLiteral("MSFlexGrid1_KeyDown"), [&] { MSFlexGrid1_KeyDown(keyCode, shift); });
    });
    // The references reach the inner grid: the code the host leaves is the one it handles.
    connect(g, &FlexGrid::KeyPress, this, [this](int& keyAscii) {
        Frontera(QStringLiteral("MSFlexGrid1_KeyPress"), [&] { emit MSFlexGridKeyPress(keyAscii); });
    });
    connect(g, &FlexGrid::KeyUp, this, [this](int& keyCode, int shift) {
        Frontera(QStringLiteral("MSFlexGrid1_KeyUp"), [&] { emit MSFlexGridKeyUp(keyCode, shift); });
    });
    connect(g, &FlexGrid::MouseDown, this, [this](int button, int shift, float x, float y) {
        Frontera(QStringLiteral("MSFlexGrid1_MouseDown"), [&] { emit MSFlexGridMouseDown(button, shift, x, y); });
    });
    // Something dragged over the grid keeps its selection on the current cell.
    g->viewport()->setAcceptDrops(true);
    g->viewport()->installEventFilter(this);

    connect(txtEdit1, &QLineEdit::textChanged, this, en("txtEdit1_Change", [this] { emit txtEditChange(); }));
    txtEdit1->setMouseTracking(true);
    txtEdit1->installEventFilter(this);
}

void BkDbGrid::MSFlexGrid1_Click()
{
    if (pPintaFilaSel) {
        MSFlexGrid1->setCellBackColor(kMarca);
        MSFlexGrid1->setCellFontBold(true);
    }
    emit MsFlexGridClick();
}

void BkDbGrid::MSFlexGrid1_EnterCell()
{
    if (pPintaFilaSel) {
        MSFlexGrid1->setCellBackColor(kMarca);
        MSFlexGrid1->setCellFontBold(true);
    }
    emit MsFlexGridEnterCell();
}

void BkDbGrid::MSFlexGrid1_LeaveCell()
{
    if (pPintaFilaSel) {
        MSFlexGrid1->setCellBackColor(kBlanco);
        MSFlexGrid1->setCellFontBold(false);
    }
    emit MSFlexGridLeaveCell();
}

void BkDbGrid::MSFlexGrid1_DragOver()
{
    MSFlexGrid1->setRowSel(MSFlexGrid1->Row());
    MSFlexGrid1->setColSel(MSFlexGrid1->Col());
}

void BkDbGrid::txtEdit1_GotFocus()
{
    // The emphasis moves from the marked cell to the box; without marking,
    // the cell keeps its banding or search colour and the box its look.
    if (pPintaFilaSel) {
        MSFlexGrid1->setCellFontBold(false);
        MSFlexGrid1->setCellBackColor(kBlanco);
        colorFondo(txtEdit1, kMarca);
        negrita(txtEdit1, true);
    }
    emit txtEditGotFocus();
}

void BkDbGrid::txtEdit1_LostFocus()
{
    if (pPintaFilaSel) {
        colorFondo(txtEdit1, kBlanco);
        negrita(txtEdit1, false);
    }
    emit txtEditLostFocus();
}

bool BkDbGrid::filtrarEdicion(QEvent* event)
{
    bool consumido = false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* tecla = static_cast<QKeyEvent*>(event);
        int keyCode = platform::ui::keyCodeOf(*tecla);
        int shift = platform::ui::shiftStateOf(tecla->modifiers());
        const int tipeado = platform::ui::keyAsciiOf(*tecla);
        int keyAscii = tipeado;
        Frontera(QStringLiteral("txtEdit1_KeyDown"), [&] { emit txtEditKeyDown(keyCode, shift); });
        if (tipeado == 0) {
            consumido = keyCode == 0;
            break;
        }
        Frontera(QStringLiteral("txtEdit1_KeyPress"), [&] { emit txtEditKeyPress(keyAscii); });
        if (keyAscii != tipeado) {
            // The host's character is typed in place of the key's.
            if (keyAscii != 0) {
                txtEdit1->insert(QString(QChar(keyAscii)));
            }
            consumido = true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        if (m_trasDobleClic) {
            m_trasDobleClic = false;
        } else if (txtEdit1->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
            Frontera(QStringLiteral("txtEdit1_Click"), [&] { emit txtEditClick(); });
        }
        break;
    case QEvent::MouseButtonDblClick:
        // The release that ends a double click is no click of its own.
        m_trasDobleClic = true;
        Frontera(QStringLiteral("txtEdit1_DblClick"), [&] { emit txtEditDblClick(); });
        break;
    case QEvent::MouseMove: {
        const auto* raton = static_cast<QMouseEvent*>(event);
        int button = platform::ui::mouseButtonsOf(raton->buttons());
        int shift = platform::ui::shiftStateOf(raton->modifiers());
        float x = float(platform::ui::pixelsToTwips(raton->position().x()));
        float y = float(platform::ui::pixelsToTwips(raton->position().y()));
        Frontera(QStringLiteral("txtEdit1_MouseMove"), [&] { emit txtEditMouseDown(button, shift, x, y); });
        break;
    }
    case QEvent::FocusIn:
        Frontera(QStringLiteral("txtEdit1_GotFocus"), [&] { txtEdit1_GotFocus(); });
        break;
    case QEvent::FocusOut:
        Frontera(QStringLiteral("txtEdit1_LostFocus"), [&] { txtEdit1_LostFocus(); });
        break;
    default:
        break;
    }
    return consumido;
}

void BkDbGrid::MarcarFila(int fila)
{
    pintarFila(fila, kGris);
}

void BkDbGrid::DesmarcarFila(int fila)
{
    pintarFila(fila, kBlanco);
}

void BkDbGrid::pintarFila(int fila, platform::ui::OleColor color)
{
    FlexGrid& g = *MSFlexGrid1;
    // The cells are painted through the current cell, which comes back where
    // it was; the moves are no cursor moves of the user.
    const QSignalBlocker bloqueo(g);
    const int fil = g.Row();
    const int col = g.Col();
    const platform::ui::RedrawPause pausa(g);
    g.setRow(fila);
    for (int c = 1; c < g.Cols(); ++c) {
        g.setCol(c);
        g.setCellBackColor(color);
    }
    g.setRow(fil);
    g.setCol(col);
}

} // namespace controls
