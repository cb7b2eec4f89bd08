// The look-up box's search as the operator types, the pick list, the keys
// and the images that hand the chosen code over.
#include "controls/lookup/BusquedaCodigo.h"

#include "common/Pasos.h"
#include "controls/lookup/Ejecutar.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/db/Connection.h"
#include "platform/ui/KeyCodes.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace controls {

using platform::db::DbError;
using platform::text::EqualsNoCase;
using platform::text::Replace;
using platform::text::Trim;

namespace {

const QString kCrLf = QStringLiteral("\r\n");
// Each list line keeps its code and its description.
constexpr int kRolCodigo = Qt::UserRole;
constexpr int kRolDescripcion = Qt::UserRole + 1;

} // namespace

void BusquedaCodigo::TxtBusqueda_Change()
{
    Buscar = TxtBusqueda->text();
    CodigoNoConfirmado = Buscar;
    Busqueda();
}

void BusquedaCodigo::Busqueda()
{
    if (!Calendar->isHidden()) {
        if (!Trim(TxtBusqueda->text()).isEmpty()) {
            TextoIngresado = TxtBusqueda->text();
            Buscar = TextoIngresado;
        } else {
            TextoIngresado = Buscar;
        }
        CargarCalendario();
        TxtBusqueda->setFocus();
        return;
    }
    if (OmitirBusqueda) {
        OmitirBusqueda = false;
        return;
    }
    LstBusqueda->clear();
    TextoIngresado = TxtBusqueda->text();
    if (EqualsNoCase(m_catalogo.Tabla, u"FECHA"))
        return;
    if (Buscar.isEmpty() || m_catalogo.Tabla.isEmpty()) {
        LstBusqueda->clear();
        Buscar.clear();
        return;
    }
    // Without an open connection there is nothing to search: a connection
    // that failed to open was reported when it was opened, not at every key.
    if (!m_cnBusqueda || m_cnBusqueda->State() != platform::db::adStateOpen) {
        Buscar.clear();
        return;
    }
    const busqueda::ConsultaBusqueda consulta = busqueda::SentenciaBusqueda(
        m_catalogo, Buscar, Trim(idLista).isEmpty() ? QString() : FmtLeerCodigo(idLista, 4));
    // A statement the data base refuses is reported, so that an empty list
    // means no match; the next keys meet the same failure and say nothing
    // until a search runs again. Retry asks again.
    bool reintento = false;
    const bool hecha = common::EjecutarPasos(
        0, 1,
        [&](int) {
            LstBusqueda->clear();
            const auto rs = busqueda::Ejecutar(cnBusqueda(), consulta.sql, nullptr);
            if (rs->State() == platform::db::adStateOpen) {
                llenarLista(*rs, consulta);
                rs->Close();
            }
            return 1;
        },
        [&](const platform::Error& e) {
            const FalloBusqueda fallo{m_catalogo.Tabla, e.number(), e.nativeError()};
            if (!reintento && m_falloBusqueda == fallo)
                return common::Accion::Salir;
            m_falloBusqueda = fallo;
            reintento = TratamientoErrores(platform::ErrObject(e), std::nullopt, QStringLiteral("Busqueda")) ==
                        platform::msgbox::Retry;
            return reintento ? common::Accion::Reintentar : common::Accion::Salir;
        });
    if (hecha)
        m_falloBusqueda.reset();
    Buscar.clear();
}

void BusquedaCodigo::llenarLista(platform::db::Recordset& rs, const busqueda::ConsultaBusqueda& consulta)
{
    // A column the result lacks leaves its part of the line empty.
    const auto campo = [&](const QString& nombre) {
        const int i = rs.fieldIndex(nombre);
        return i < 0 ? QString() : FieldVal(rs.value(i));
    };
    for (; !rs.Eof(); rs.MoveNext()) {
        LstBusqueda->show();
        QString descripcion;
        if (consulta.descripcion.size() == 1) {
            descripcion = campo(consulta.descripcion.front());
        } else {
            // Several columns (the vehicles) are shown together.
            QStringList partes;
            for (const QString& columna : consulta.descripcion)
                if (const QString v = Trim(campo(columna)); !v.isEmpty())
                    partes << v;
            descripcion = partes.join(QStringLiteral(" - "));
        }
        const QString codigoLinea = campo(consulta.codigo);
        auto* item = new QListWidgetItem(descripcion + QString(50, u' ') + codigoLinea);
        item->setData(kRolCodigo, codigoLinea);
        item->setData(kRolDescripcion, descripcion);
        LstBusqueda->addItem(item);
    }
}

QString BusquedaCodigo::codigoDeLinea(const QListWidgetItem* item) const
{
    return item ? Trim(item->data(kRolCodigo).toString()) : QString();
}

void BusquedaCodigo::ObtieneCodigo(bool DesdeTxt)
{
    if (DesdeTxt) {
        codigo = Trim(TxtBusqueda->text());
    } else if (!Calendar->isHidden()) {
        codigo = Trim(TxtBusqueda->text());
        Calendar->hide();
    } else {
        codigo = LstBusqueda->currentRow() >= 0 ? codigoDeLinea(LstBusqueda->currentItem()) : QString();
    }
    emit CodigoElegido();
}

void BusquedaCodigo::LstBusqueda_Click()
{
    const QListWidgetItem* item = LstBusqueda->currentItem();
    if (!item)
        return;
    const QString descripcion = Trim(item->data(kRolDescripcion).toString());
    // Only a text that changes runs the change handling that must not search.
    if (descripcion == TxtBusqueda->text())
        return;
    OmitirBusqueda = true;
    TxtBusqueda->setText(descripcion);
}

void BusquedaCodigo::LstBusqueda_DblClick()
{
    ObtieneCodigo(false);
}

void BusquedaCodigo::LstBusqueda_KeyUp(int KeyCode)
{
    if (KeyCode != platform::ui::keys::Back)
        return;
    const QString recortado = Trim(TxtBusqueda->text());
    if (!recortado.isEmpty())
        TxtBusqueda->setText(TxtBusqueda->text().left(recortado.size() - 1));
}

void BusquedaCodigo::IMGOK_Click()
{
    const QListWidgetItem* actual = LstBusqueda->currentRow() >= 0 ? LstBusqueda->currentItem() : nullptr;
    if (actual && !Trim(actual->text()).isEmpty())
        LstBusqueda_DblClick();
    else
        TxtBusqueda_KeyPress(13);
}

void BusquedaCodigo::ImgX_Click()
{
    TxtBusqueda->clear();
    ObtieneCodigo(true);
}

void BusquedaCodigo::TxtBusqueda_MouseDown()
{
    TxtBusqueda->setCursorPosition(TxtBusqueda->cursorPosition());
}

void BusquedaCodigo::TxtBusqueda_GotFocus()
{
    const int largo = int(TxtBusqueda->text().size());
    if (Calendar->isHidden())
        TxtBusqueda->setCursorPosition(largo);
    else
        TxtBusqueda->setCursorPosition(m_selStartInicial <= largo ? m_selStartInicial : largo);
}

bool BusquedaCodigo::TxtBusqueda_KeyDown(int KeyCode)
{
    if (KeyCode != platform::ui::keys::Down || !Calendar->isHidden())
        return false;
    LstBusqueda->setFocus();
    if (LstBusqueda->count() > 0)
        LstBusqueda->setCurrentRow(0);
    return true;
}

bool BusquedaCodigo::TxtBusqueda_KeyPress(int KeyAscii)
{
    if (KeyAscii == 13) {
        if (imgMas->isHidden() || LstBusqueda->count() > 0 || Trim(TxtBusqueda->text()).size() <= 4) {
            ObtieneCodigo(true);
            return true;
        }
        QString nombre = m_catalogo.Tabla;
        for (const char* prefijo : {"v_ta_", "v_ma_", "ta_", "ma_"})
            nombre = Replace(nombre, QString::fromLatin1(prefijo), u"", true);
        const int respuesta =
            platform::op().MsgBox(nombre + kCrLf + QStringLiteral("Desea dar de alta un registro nuevo?"),
                                  platform::msgbox::YesNo, QStringLiteral("Aviso al operador"));
        if (respuesta == platform::msgbox::Yes)
            imgMas_Click();
        else
            ObtieneCodigo(true);
        return true;
    }
    if (KeyAscii == 27) {
        TxtBusqueda->clear();
        ObtieneCodigo(true);
        return true;
    }
    int tecla = KeyAscii;
    ClsDatosOk(TxtBusqueda, tecla);
    if (tecla == KeyAscii)
        return false;
    if (tecla != 0)
        TxtBusqueda->insert(QString(QChar(tecla)));
    return true;
}

} // namespace controls
