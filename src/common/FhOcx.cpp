#include "common/FhOcx.h"

#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/util/Dll_Teclado.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QRegularExpression>
#include <QTimer>

#include <optional>

namespace common {

namespace {

using platform::text::EqualsNoCase;
using platform::text::Trim;

constexpr int tw(int twips)
{
    return twips / 15;
}

const QString kTitulo = QStringLiteral("Aviso al Operador");

// A typed date, day first: d/m/yyyy (also with "-" or "."), d/m/yy with the
// years 00 to 29 in this century, or yyyy-mm-dd.
std::optional<QDate> leerFecha(const QString& texto)
{
    static const QRegularExpression diaPrimero(QStringLiteral(R"(^(\d{1,2})[/.-](\d{1,2})[/.-](\d{2}|\d{4})$)"));
    static const QRegularExpression iso(QStringLiteral(R"(^(\d{4})-(\d{1,2})-(\d{1,2})$)"));
    const QString t = Trim(texto);
    int d = 0;
    int m = 0;
    int y = 0;
    if (const auto a = diaPrimero.match(t); a.hasMatch()) {
        d = a.captured(1).toInt();
        m = a.captured(2).toInt();
        y = a.captured(3).toInt();
        if (a.captured(3).size() == 2) {
            y += y < 30 ? 2000 : 1900;
        }
    } else if (const auto b = iso.match(t); b.hasMatch()) {
        y = b.captured(1).toInt();
        m = b.captured(2).toInt();
        d = b.captured(3).toInt();
    } else {
        return std::nullopt;
    }
    const QDate date(y, m, d);
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

// The program's short date form.
QString textoFecha(QDate d)
{
    return d.toString(QStringLiteral("dd/MM/yyyy"));
}

QString dosDigitos(int n)
{
    return n < 10 ? QStringLiteral("0") + QString::number(n) : QString::number(n);
}

// "01/mm/yyyy" and "last/mm/yyyy" for the month of `d`.
void mesDe(QDate d, QString& desde, QString& hasta)
{
    const QString mm = dosDigitos(d.month());
    const QString yyyy = dosDigitos(d.year());
    desde = QStringLiteral("01/") + mm + u'/' + yyyy;
    hasta = QString::number(FhOcx::fUltimoDiaDelMes(QString::number(d.month()), QString::number(d.year()))) + u'/' +
            mm + u'/' + yyyy;
}

// A colour in the program's encoding: red in the low byte, or &H800000nn for
// system colour nn.
QColor colorDeSistema(std::int64_t c, const QPalette& pal)
{
    if ((c & 0x80000000LL) != 0) {
        switch (c & 0xFF) {
        case 5:
            return pal.color(QPalette::Base);
        case 8:
            return pal.color(QPalette::Text);
        case 13:
            return pal.color(QPalette::Highlight);
        case 14:
            return pal.color(QPalette::HighlightedText);
        case 18:
            return pal.color(QPalette::ButtonText);
        case 15:
            return pal.color(QPalette::Button);
        default:
            return pal.color(QPalette::Window);
        }
    }
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

} // namespace

FhOcx::FhOcx(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FhOcx"));
    QFont f = font();
    f.setFamily(QStringLiteral("Calibri"));
    setFont(f);
    resize(tw(4695), tw(345));
    setMinimumSize(tw(4695), tw(345));

    PicFondo = new QWidget(this);
    PicFondo->setObjectName(QStringLiteral("PicFondo"));
    PicFondo->setGeometry(0, 0, tw(4695), tw(345));
    PicFondo->setAutoFillBackground(true);

    CmbComboFH = new QComboBox(this);
    CmbComboFH->setObjectName(QStringLiteral("CmbComboFH"));
    CmbComboFH->setEditable(false);
    CmbComboFH->setGeometry(0, 0, tw(1935), tw(345));
    connect(CmbComboFH, &QComboBox::activated, this, &FhOcx::CmbComboFH_Click);

    const char* tags[2] = {"FECHA_DESDE", "FECHA_HASTA"};
    const int lefts[2] = {1920, 3240};
    for (int i = 0; i < 2; ++i) {
        txtFechas[i] = new QLineEdit(this);
        txtFechas[i]->setObjectName(QStringLiteral("txtFechas_%1").arg(i));
        txtFechas[i]->setProperty("Tag", QString::fromLatin1(tags[i]));
        txtFechas[i]->setMaxLength(10);
        txtFechas[i]->setGeometry(tw(lefts[i]), 0, tw(1005), tw(345));
        txtFechas[i]->installEventFilter(this);
    }

    Label2 = new QLabel(QStringLiteral("Hasta"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setGeometry(tw(2925), 0, tw(315), tw(345));
    // The gap between the boxes holds "Hasta" whole only in a small size of the strip's face.
    QFont pequena = Label2->font();
    pequena.setPointSize(7);
    Label2->setFont(pequena);
    Label2->setBuddy(txtFechas[1]);
    // Names for the accessibility interface: the strip shows no label for the
    // period and the first date, and "Hasta" alone does not say what it ends.
    CmbComboFH->setAccessibleName(QStringLiteral("Período"));
    txtFechas[0]->setAccessibleName(QStringLiteral("Fecha desde"));
    txtFechas[1]->setAccessibleName(QStringLiteral("Fecha hasta"));

    PicFondo->lower();
    setTabOrder(CmbComboFH, txtFechas[0]);
    setTabOrder(txtFechas[0], txtFechas[1]);

    UserControl_Initialize();
}

FhOcx::~FhOcx() = default;

void FhOcx::UserControl_Initialize()
{
    CmbComboFH->clear();
    CmbComboFH->addItems({QStringLiteral("Fecha"), QStringLiteral("Semana Actual"), QStringLiteral("Semana Proxima"),
                          QStringLiteral("Semana Pasada"), QStringLiteral("Mes Actual"), QStringLiteral("Año Actual"),
                          QStringLiteral("Mes Pasado"), QStringLiteral("Año pasado"), QStringLiteral("Todo")});
    seleccionar(QStringLiteral("Fecha"));
    txtFechas[0]->clear();
    txtFechas[1]->clear();
    Fh_Desde = txtFechas[0]->text();
    Fh_Hasta = txtFechas[1]->text();
}

platform::Dll_Teclado& FhOcx::teclado()
{
    if (!m_teclado) {
        m_teclado = std::make_unique<platform::Dll_Teclado>();
    }
    return *m_teclado;
}

void FhOcx::seleccionar(const QString& Periodo)
{
    const int i = CmbComboFH->findText(Trim(Periodo), Qt::MatchFixedString);
    if (i < 0) {
        return;
    }
    CmbComboFH->setCurrentIndex(i);
    CmbComboFH_Click();
}

void FhOcx::ComboText(const QString& Periodo)
{
    seleccionar(Periodo);
}

void FhOcx::MostrarFechas()
{
    txtFechas[0]->setText(Fh_Desde);
    txtFechas[1]->setText(Fh_Hasta);
}

QString FhOcx::fDiaSem(const platform::Variant& fecha)
{
    std::optional<QDate> d;
    if (fecha.type() == platform::VariantType::Date) {
        d = fecha.toDate()->date();
    } else if (fecha.type() == platform::VariantType::Text) {
        d = leerFecha(fecha.toText());
    }
    if (!d) {
        return {};
    }
    // Qt counts Monday 1 to Sunday 7; the program counts Sunday 1 to Saturday 7.
    return QString::number(d->dayOfWeek() % 7 + 1);
}

int FhOcx::fUltimoDiaDelMes(const QString& Mes, const QString& Anio)
{
    bool okMes = false;
    bool okAnio = false;
    const int mes = Trim(Mes).toInt(&okMes);
    const int anio = Trim(Anio).toInt(&okAnio);
    if (!okMes || !okAnio) {
        return 0;
    }
    const QDate primero = QDate(anio, 1, 1).addMonths(mes - 1);
    return primero.addMonths(1).addDays(-1).day();
}

void FhOcx::CmbComboFH_Click()
{
    const QString periodo = Trim(CmbComboFH->currentText());
    const QDate hoy = platform::now().date();
    const int d = fDiaSem(platform::Variant(platform::DateTime(hoy))).toInt();
    const auto es = [&periodo](const char16_t* nombre) { return EqualsNoCase(periodo, QStringView(nombre)); };

    if (es(u"Mes Actual")) {
        mesDe(hoy, Fh_Desde, Fh_Hasta);
    } else if (es(u"Año Actual")) {
        Fh_Desde = QStringLiteral("01/01/") + dosDigitos(hoy.year());
        Fh_Hasta = QStringLiteral("31/12/") + dosDigitos(hoy.year());
    } else if (es(u"Año Pasado")) {
        Fh_Desde = QStringLiteral("01/01/") + dosDigitos(hoy.year() - 1);
        Fh_Hasta = QStringLiteral("31/12/") + dosDigitos(hoy.year() - 1);
    } else if (es(u"Mes Pasado")) {
        mesDe(hoy.addMonths(-1), Fh_Desde, Fh_Hasta);
    } else if (es(u"Semana Actual")) {
        const QDate domingo = hoy.addDays(-(d - 1));
        Fh_Desde = textoFecha(domingo);
        Fh_Hasta = textoFecha(domingo.addDays(6));
    } else if (es(u"Semana Pasada")) {
        const QDate sabado = hoy.addDays(-d);
        Fh_Hasta = textoFecha(sabado);
        Fh_Desde = textoFecha(sabado.addDays(-6));
    } else if (es(u"Fecha")) {
        Fh_Desde = textoFecha(hoy);
        Fh_Hasta = textoFecha(hoy);
    } else if (es(u"Semana Proxima")) {
        const QDate domingo = hoy.addDays(-(d - 1) + 7);
        Fh_Desde = textoFecha(domingo);
        Fh_Hasta = textoFecha(domingo.addDays(6));
    } else if (es(u"Todo")) {
        Fh_Desde = QStringLiteral("01/01/1980");
        Fh_Hasta = QStringLiteral("31/12/2220");
    }

    txtFechas[0]->setText(Fh_Desde);
    txtFechas[1]->setText(Fh_Hasta);
    PeriodoSeleccionado = periodo;
}

void FhOcx::CargarPeriodo(const QString& Periodo, const QString& FechaD, const QString& FechaH)
{
    if (!Trim(Periodo).isEmpty()) {
        seleccionar(Periodo);
    }
    if (leerFecha(FechaD)) {
        txtFechas[0]->setText(FechaD);
    }
    if (leerFecha(FechaH)) {
        txtFechas[1]->setText(FechaH);
    }
}

void FhOcx::DefineColorFondo(std::int64_t& Color)
{
    if (Color == 0) {
        Color = 0x8000000FLL;
    }
    QPalette pal = PicFondo->palette();
    pal.setColor(QPalette::Window, colorDeSistema(Color, QApplication::palette()));
    PicFondo->setPalette(pal);
}

void FhOcx::txtFechas_LostFocus(int)
{
    Fh_Desde = txtFechas[0]->text();
    Fh_Hasta = txtFechas[1]->text();
}

void FhOcx::txtFechas_GotFocus(int Index)
{
    // After the click that gave the focus has placed the cursor.
    QTimer::singleShot(0, txtFechas[Index], &QLineEdit::selectAll);
}

void FhOcx::txtFechas_KeyPress(int Index, int& KeyAscii)
{
    teclado().FiltrarTecla(txtFechas[Index], KeyAscii);
}

void FhOcx::txtFechas_KeyDown(int Index, int KeyCode)
{
    if (KeyCode != 13) {
        return;
    }
    const QString texto = Trim(txtFechas[Index]->text());
    if (texto.isEmpty()) {
        platform::op().MsgBox(QStringLiteral("Debe ingresar una fecha!!!"), platform::msgbox::Critical, kTitulo);
        return;
    }
    if (!leerFecha(texto)) {
        platform::op().MsgBox(QStringLiteral("Debe ingresar un formato de fecha válido!!!"), platform::msgbox::Critical,
                              kTitulo);
        return;
    }
    if (Index == 1) {
        // A from-box without a date leaves nothing to compare with.
        const std::optional<QDate> desde = leerFecha(txtFechas[0]->text());
        if (desde && *desde > *leerFecha(texto)) {
            platform::op().MsgBox(QStringLiteral("La fecha hasta no puede ser menor a la fecha desde"),
                                  platform::msgbox::Critical, kTitulo);
            return;
        }
    }
    teclado().TeclaEnter(platform::Variant(KeyCode));
    Fh_Desde = txtFechas[0]->text();
    Fh_Hasta = txtFechas[1]->text();
}

bool FhOcx::eventFilter(QObject* watched, QEvent* event)
{
    const int index = watched == txtFechas[0] ? 0 : watched == txtFechas[1] ? 1 : -1;
    if (index < 0) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::FocusIn:
        txtFechas_GotFocus(index);
        break;
    case QEvent::FocusOut: {
        // Another window taking the focus (a message box) is no leaving of the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            txtFechas_LostFocus(index);
        }
        break;
    }
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            txtFechas_KeyDown(index, 13);
        }
        const QString typed = key->text();
        if (typed.isEmpty() || typed.at(0).unicode() == 127) {
            break;
        }
        int code = typed.at(0).unicode();
        const int original = code;
        txtFechas_KeyPress(index, code);
        if (code == 0) {
            return true;
        }
        if (code != original) {
            txtFechas[index]->insert(QString(QChar(code)));
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace common
