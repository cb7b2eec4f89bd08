#include "common/FrmMvVentas.h"

#include "platform/ui/CommPort.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Twips.h"

#include <QLineEdit>
#include <QToolBar>

namespace common {

namespace {

using platform::ui::twipsToPixels;

QRect tw(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

} // namespace

FrmMvVentas::FrmMvVentas(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmMvVentas"));
    resize(twipsToPixels(9600), twipsToPixels(7560));

    tbarimp = new QToolBar(this);
    tbarimp->setObjectName(QStringLiteral("tbarimp"));
    tbarimp->setGeometry(tw(0, 0, 9600, 420));

    const char* texts[3] = {"sucursal", "letra", "numero"};
    const int lefts[3] = {120, 1440, 2160};
    const int widths[3] = {1200, 600, 1800};
    for (int i = 0; i < 3; ++i) {
        txtfields[i] = new QLineEdit(QString::fromLatin1(texts[i]), this);
        txtfields[i]->setObjectName(QStringLiteral("txtfields_%1").arg(i));
        txtfields[i]->setGeometry(tw(lefts[i], 540, widths[i], 315));
    }

    platform::ui::FlexGrid** grids[3] = {&MSFlexGrid1, &MSFlexGrid2, &MSFlexGrid3};
    const int tops[3] = {1020, 3300, 5580};
    for (int i = 0; i < 3; ++i) {
        *grids[i] = new platform::ui::FlexGrid(this);
        (*grids[i])->setObjectName(QStringLiteral("MSFlexGrid%1").arg(i + 1));
        (*grids[i])->setGeometry(tw(120, tops[i], 9360, 2160));
    }

    MSComm1 = new platform::ui::CommPort(this);
    MSComm1->setObjectName(QStringLiteral("MSComm1"));
    connect(MSComm1, &platform::ui::CommPort::OnComm, this, &FrmMvVentas::MSComm1_OnComm);
}

} // namespace common
