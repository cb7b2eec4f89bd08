// The look-up box's date mode: the month calendar and the date mask.
#include "controls/lookup/BusquedaCodigo.h"

#include "controls/lookup/BotonDia.h"
#include "controls/lookup/CalendarioBusqueda.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>

namespace controls {

using platform::Variant;
using platform::text::EqualsNoCase;
using platform::text::Trim;

namespace {

const char* const kColorFrente = "ForeColor";

platform::ui::OleColor colorDe(const BotonDia* celda)
{
    return platform::ui::OleColor(celda->property(kColorFrente).toUInt());
}

void pintar(BotonDia* celda, platform::ui::OleColor color)
{
    celda->setProperty(kColorFrente, color);
    QPalette p = celda->palette();
    p.setColor(QPalette::WindowText, platform::ui::toQColor(color));
    p.setColor(QPalette::ButtonText, platform::ui::toQColor(color));
    celda->setPalette(p);
}

std::optional<int> entero(const Variant& v)
{
    const std::optional<int64_t> n = v.toInteger();
    if (!n || *n < INT32_MIN || *n > INT32_MAX)
        return std::nullopt;
    return int(*n);
}

} // namespace

void BusquedaCodigo::CargarCalendario()
{
    if (m_enCalendario)
        return;
    m_enCalendario = true;
    Calendar->show();
    LstBusqueda->hide();
    UserControl_Resize();
    TxtBusqueda->setMaxLength(10);
    TxtBusqueda->setText(Buscar);
    const int largo = int(TxtBusqueda->text().size());
    TxtBusqueda->setCursorPosition(largo >= m_selStartInicial ? m_selStartInicial : largo);
    if (CmbMes->count() < 2) {
        const QDate hoy = platform::now().date();
        CargarMesAno();
        ArmarAlmanaque(hoy.month(), hoy.year());
        Seleccionar(IndCaption(QString::number(hoy.day())), false);
        CmbMes->setCurrentText(NombreMes(hoy.month()));
        CmbAno->setCurrentText(QString::number(hoy.year()));
    }
    if (const std::optional<QDate> fecha = busqueda::LeerFecha(Buscar); fecha && Trim(Buscar).size() == 10) {
        ArmarAlmanaque(fecha->month(), fecha->year());
        TxtBusqueda->setText(fecha->toString(QStringLiteral("dd/MM/yyyy")));
        Seleccionar(IndCaption(QString::number(fecha->day())), false);
        CmbMes->setCurrentText(NombreMes(fecha->month()));
        CmbAno->setCurrentText(QString::number(fecha->year()));
    }
    TxtBusqueda->setFocus();
    m_enCalendario = false;
}

void BusquedaCodigo::CargarMesAno()
{
    const QDate hoy = platform::now().date();
    for (int m = 1; m <= 12; ++m)
        CmbMes->addItem(NombreMes(m));
    CmbMes->setCurrentText(NombreMes(hoy.month()));
    for (int a = 1930; a <= 2049; ++a)
        CmbAno->addItem(QString::number(a));
    CmbAno->setCurrentText(QString::number(hoy.year()));
}

void BusquedaCodigo::ArmarAlmanaque(const Variant& Mes, const Variant& ano)
{
    const std::optional<int> mes = entero(Mes);
    const std::optional<int> anio = entero(ano);
    const auto celdas = mes && anio ? busqueda::Almanaque(*mes, *anio) : std::nullopt;
    if (!celdas)
        return;
    for (int i = 0; i < 42; ++i) {
        const busqueda::CeldaDia& c = (*celdas)[std::size_t(i)];
        QFont f = OptDia[i]->font();
        f.setBold(true);
        OptDia[i]->setFont(f);
        OptDia[i]->setText(c.caption);
        OptDia[i]->setEnabled(c.habilitada);
        pintar(OptDia[i], c.color);
        CalendarioListo = false;
        OptDia[i]->setChecked(false);
    }
    CalendarioListo = true;
}

int BusquedaCodigo::CantidadDeDiasDelmes(const Variant& Mes, const Variant& ano) const
{
    const std::optional<int> mes = entero(Mes);
    const std::optional<int> anio = entero(ano);
    return mes && anio ? busqueda::DiasDelMes(*mes, *anio) : 0;
}

int BusquedaCodigo::IndCaption(const QString& Caption) const
{
    for (int i = 0; i < 42; ++i)
        if (EqualsNoCase(OptDia[i]->text(), Caption))
            return i;
    return -1;
}

void BusquedaCodigo::Seleccionar(const Variant& DIA, bool Asignar)
{
    for (BotonDia* celda : OptDia)
        if (celda->text() == u".")
            pintar(celda, busqueda::kNegro);
    const std::optional<int> dia = entero(DIA);
    if (!dia || *dia < 0 || *dia >= 42)
        return;
    BotonDia* celda = OptDia[*dia];
    if (Asignar && colorDe(celda) == busqueda::kRojo)
        pintar(celda, busqueda::kAzul);
    else if (Asignar && colorDe(celda) == busqueda::kAzul)
        pintar(celda, busqueda::kRojo);
    CalendarioListo = false;
    for (BotonDia* otra : OptDia)
        otra->setChecked(otra == celda);
    CalendarioListo = true;
}

QString BusquedaCodigo::NombreMes(int Nromes) const
{
    return busqueda::NombreDeMes(Nromes);
}

int BusquedaCodigo::Nromes(const QString& NombreMes) const
{
    return busqueda::NumeroDeMes(NombreMes);
}

void BusquedaCodigo::CmbMes_Click()
{
    ArmarAlmanaque(Nromes(CmbMes->currentText()), CmbAno->currentText());
}

void BusquedaCodigo::CmbAno_Click()
{
    ArmarAlmanaque(Nromes(CmbMes->currentText()), CmbAno->currentText());
}

QString BusquedaCodigo::fechaDeCelda(int Index) const
{
    const int mes = Nromes(CmbMes->currentText());
    return Trim(OptDia[Index]->text()).rightJustified(2, u'0') + u'/' + QString::number(mes).rightJustified(2, u'0') +
           u'/' + Trim(CmbAno->currentText());
}

void BusquedaCodigo::OptDia_Click(int Index)
{
    // The cells are one group: a click selects its cell only.
    for (BotonDia* otra : OptDia)
        otra->setChecked(otra == OptDia[Index]);
    if (!CalendarioListo)
        return;
    TxtBusqueda->setText(fechaDeCelda(Index));
    Seleccionar(IndCaption(OptDia[Index]->text()), false);
}

void BusquedaCodigo::OptDia_DblClick(int Index)
{
    TxtBusqueda->setText(fechaDeCelda(Index));
    ObtieneCodigo(false);
}

void BusquedaCodigo::OptDia_KeyPress(int Index, int KeyAscii)
{
    (void)Index;
    if (KeyAscii == 13)
        ObtieneCodigo(false);
}

void BusquedaCodigo::ClsDatosOk(QLineEdit* Textos, int& KeyAscii)
{
    if (!Textos || !EqualsNoCase(Textos->property("Tag").toString(), u"FECHA"))
        return;
    const busqueda::TeclaFecha t =
        busqueda::MascaraFecha(Textos->text(), Textos->cursorPosition(), Textos->maxLength(), KeyAscii);
    Textos->setText(t.texto);
    Textos->setCursorPosition(t.selStart);
    KeyAscii = 0;
}

} // namespace controls
