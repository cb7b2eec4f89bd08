#include "export/HojaExcel.h"

#include "common/MensajeError.h"
#include "export/Stuff10.h"
#include "platform/core/Runtime.h"
#include "platform/db/Connection.h"
#include "platform/core/Operator.h"
#include "platform/util/Dll_ApiWindows.h"
#include "platform/util/Dll_Utilidades.h"
#include "platform/xlsx/CellText.h"
#include "platform/xlsx/Palette.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace exportacion {

namespace db = platform::db;
using platform::Variant;
using platform::xlsx::Range;
using platform::xlsx::Sheet;

namespace {

constexpr int kIntervaloInicial = 50;
// The platform's numbers for a file that cannot be written or reached: in
// general, for a full disk, a refused permission and a missing folder.
constexpr int kErrorArchivo = 75;
constexpr int kErrorDiscoLleno = 61;
constexpr int kErrorPermiso = 70;
constexpr int kErrorCarpeta = 76;

const QString kFormatoImporte = QStringLiteral("#,##0.00");
const QString kFormatoTexto = QStringLiteral("@");
const QString kFormatoFecha = QStringLiteral("dd/mm/yyyy");
const QString kFormatoFechaHora = QStringLiteral("dd/mm/yyyy hh:mm:ss");

constexpr platform::ui::OleColor kRojo = 255;
constexpr platform::ui::OleColor kBlanco = 0xFFFFFF;
constexpr int kIndiceEncabezado = 5;
constexpr int kIndiceBanda = 15;

int& intervalo()
{
    static int valor = kIntervaloInicial;
    static const bool enganchado = [] {
        platform::Runtime::instance().onReset([] { valor = kIntervaloInicial; });
        return true;
    }();
    (void)enganchado;
    return valor;
}

// Lets a report through at most once per interval; the first one always.
class Ritmo
{
public:
    Ritmo() : m_intervalo(IntervaloAvance()) {}
    bool toca()
    {
        if (m_intervalo <= 0) {
            return true;
        }
        if (m_reloj.isValid() && m_reloj.elapsed() < m_intervalo) {
            return false;
        }
        m_reloj.start();
        return true;
    }

private:
    int m_intervalo;
    QElapsedTimer m_reloj;
};

// Whether the value's text holds a time of day, as the text of a date
// value does when its time is not midnight.
bool TieneHora(const Variant& v, const platform::DateTime& fecha)
{
    if (v.type() == platform::VariantType::Date) {
        return fecha.time() != QTime(0, 0);
    }
    return v.toText().contains(u':');
}

// The amount the value's text holds, as TextoAMoneda reads it; whole
// numbers and money read back exactly as they are, without the text.
std::optional<platform::Currency> Monto(const Variant& v, const QString& texto)
{
    if (v.type() == platform::VariantType::Currency ||
        (v.type() == platform::VariantType::Integer && std::abs(*v.toInteger()) < 100000000000000)) {
        return v.toCurrency();
    }
    return platform::Dll_Utilidades::shared().TextoAMoneda(texto);
}

// The value as a date: a date value, or a text that reads as one. Such a
// text begins with a digit, so other texts are not parsed at all.
std::optional<platform::DateTime> ComoFecha(const Variant& v, const QString& texto)
{
    if (v.type() == platform::VariantType::Text) {
        const QString recortado = texto.trimmed();
        if (recortado.isEmpty() || !recortado.front().isDigit()) {
            return std::nullopt;
        }
    }
    return v.toDate();
}

// Writes the text, or as much of it as a cell holds; true when it was cut.
bool EscribirTexto(Range celda, const QString& texto)
{
    const QString cabe = platform::xlsx::fittingText(texto);
    celda.setText(cabe);
    return cabe.size() < texto.size();
}

// One cell by the value rules; numbers written are added to `suma`; returns
// true when its text had to be cut.
bool EscribirValor(Range celda, Sheet& hoja, int columna, const Variant& v, const db::ColumnInfo& campo,
                   const Reglas& reglas, double& suma)
{
    const QString texto = v.toText();
    const std::optional<platform::Currency> monto = Monto(v, texto);
    const bool montoCero = !monto || monto->units() == 0;

    // A Null takes its type's format and stays empty.
    if (v.isNull() || !montoCero) {
        if (campo.type == db::adInteger) {
            if (!v.isNull()) {
                const double n = v.toDouble().value_or(monto->toDouble());
                if (celda.setNumber(n)) {
                    suma += n;
                }
            }
        } else if (campo.type == db::adNumeric || campo.type == db::adCurrency) {
            celda.setNumberFormat(kFormatoImporte);
            if (!v.isNull()) {
                const double n = v.toDouble().value_or(monto->toDouble());
                if (celda.setNumber(n)) {
                    suma += n;
                }
            }
        } else {
            celda.setNumberFormat(kFormatoTexto);
            if (!v.isNull()) {
                return EscribirTexto(celda, texto);
            }
        }
        return false;
    }

    if (const std::optional<platform::DateTime> fecha = ComoFecha(v, texto)) {
        const bool ultimoCosto = campo.name.compare(u"FhUltimoCosto", reglas.nombres) == 0;
        const bool conHora = !ultimoCosto && TieneHora(v, *fecha);
        const QString& formato = conHora ? kFormatoFechaHora : kFormatoFecha;
        const std::optional<double> serie =
            platform::xlsx::dateSerial(conHora ? *fecha : platform::DateTime(fecha->date()));
        bool cortado = false;
        if (serie && celda.setNumber(*serie)) {
            suma += *serie;
        } else {
            cortado = EscribirTexto(celda, texto.trimmed());
        }
        celda.setNumberFormat(formato);
        hoja.setColumnNumberFormat(columna, formato);
        hoja.autoFitColumns();
        return cortado;
    }

    // A zero amount: the text "0" that the application reads as the number 0.
    if (monto) {
        celda.setNumber(0);
        return false;
    }
    return EscribirTexto(celda, texto.trimmed());
}

// The query, read-only, in the Oracle dialect where that applies.
bool AbrirRegistros(const QString& sql, data::RecordsetPtr& rs)
{
    data::DB_Dll& principal = data::gDbPrincipal();
    principal.AbrirRecordset(sql, rs, nullptr, db::adOpenForwardOnly, db::adLockReadOnly, db::adCmdUnspecified, true);
    if (!rs || rs->State() != db::adStateOpen || rs->Bof()) {
        principal.CierraRecordset(rs);
        return false;
    }
    return true;
}

void Informar(const QString& rutina, int numero, const QString& mensaje)
{
    common::MensajeError(platform::ErrObject(numero, mensaje, QStringLiteral("Exportacion")),
                         platform::msgbox::Critical, rutina);
}

// A failure of the workbook in the common error dialog: `que`, then its cause.
void InformarFallo(const QString& rutina, const QString& que, const platform::xlsx::Failure& fallo)
{
    using Cause = platform::xlsx::Failure::Cause;
    switch (fallo.cause) {
    case Cause::NoSpace:
        Informar(rutina, kErrorDiscoLleno, que + QStringLiteral(": no queda espacio en el disco."));
        return;
    case Cause::NoPermission:
        Informar(rutina, kErrorPermiso, que + QStringLiteral(": no tiene permiso para escribir en esa carpeta."));
        return;
    case Cause::NoFolder:
        Informar(rutina, kErrorCarpeta, que + QStringLiteral(": la carpeta no existe."));
        return;
    case Cause::Other:
        break;
    }
    Informar(rutina, kErrorArchivo, que + QStringLiteral(": ") + fallo.detail);
}

// What the delivered workbook lacks, one sentence a line; empty when nothing.
QString Faltantes(const EstadoHoja& estado, const Encabezados& encabezados, const Recorrido& recorrido)
{
    QStringList lineas;
    if (recorrido.sinLugar > 0) {
        const int filas = estado.AppExcel ? estado.AppExcel->activeSheet().rowLimit() : platform::xlsx::kMaxRows;
        const int64_t escritos = recorrido.ultimaFila - int64_t(estado.FilaEncabezado);
        lineas << QStringLiteral("La hoja de Excel tiene %1 filas: %2 y %3")
                      .arg(filas)
                      .arg(escritos == 1 ? QStringLiteral("se exportó 1 registro")
                                         : QStringLiteral("se exportaron %1 registros").arg(escritos))
                      .arg(recorrido.sinLugar == 1
                               ? QStringLiteral("el registro restante no cabe en ella, no se exportó.")
                               : QStringLiteral("los %1 restantes no caben en ella, no se exportaron.")
                                     .arg(recorrido.sinLugar));
    }
    if (recorrido.totalesSinLugar) {
        lineas << QStringLiteral("Los totales no caben debajo de la última fila de la hoja y no se escribieron.");
    }
    if (!recorrido.columnasCortadas.empty()) {
        QStringList columnas;
        for (const int j : recorrido.columnasCortadas) {
            // A column without a heading is named by its letters.
            int indice = j - 1;
            const QString nombre = encabezados.nombres.value(j);
            columnas << (nombre.isEmpty() ? LetraColumna(indice) : nombre);
        }
        lineas << QStringLiteral("Los textos de más de %1 caracteres se cortaron a los primeros %1 en %2 %3.")
                      .arg(platform::xlsx::kMaxTextLength)
                      .arg(columnas.size() == 1 ? QStringLiteral("la columna") : QStringLiteral("las columnas"))
                      .arg(columnas.join(QStringLiteral(", ")));
    }
    return lineas.join(u'\n');
}

} // namespace

ExportacionEnCurso::ExportacionEnCurso(EstadoHoja& estado) : m_estado(estado.EnCurso ? nullptr : &estado)
{
    if (m_estado) {
        *m_estado = EstadoHoja{};
        m_estado->EnCurso = true;
    }
}

ExportacionEnCurso::~ExportacionEnCurso()
{
    if (m_estado) {
        m_estado->EnCurso = false;
    }
}

int IntervaloAvance()
{
    return intervalo();
}

void DefinirIntervaloAvance(int milisegundos)
{
    intervalo() = milisegundos;
}

double PorcentajeAvance(const Avance& avance)
{
    return double(avance.posicion) * 100.0 / double(avance.cantidad);
}

QString LeyendaAvance(const QString& titulo, const Avance& avance)
{
    return titulo + QStringLiteral(" Leidos: ") + QString::number(avance.posicion) + QStringLiteral(" DE ") +
           QString::number(avance.cantidad) + QStringLiteral(" Avance: ");
}

Encabezados ArmarEncabezados(const db::Recordset& rs, const Reglas& reglas)
{
    Encabezados e;
    for (int k = 0; k < rs.FieldCount(); ++k) {
        const db::ColumnInfo& campo = rs.column(k);
        if (campo.name.compare(u"ID", reglas.nombres) == 0) {
            e.columnas.push_back(0);
            continue;
        }
        e.nombres.append(campo.name);
        e.anchos.push_back(long(std::max<int64_t>(campo.definedSize, 500)));
        e.columnas.push_back(int(e.nombres.size()) - 1);
    }
    return e;
}

bool EmpezarExportacion(EstadoHoja& estado, const QString& sql, const QString& ElTitulo, const QString& ElTitulo1,
                        const Reglas& reglas, data::RecordsetPtr& rs, Encabezados& encabezados)
{
    estado.TituloHoja = ElTitulo;
    estado.SubtituloHoja = ElTitulo1;
    if (!AbrirRegistros(sql, rs)) {
        return false;
    }
    estado.FilaEncabezado = 1;
    encabezados = ArmarEncabezados(*rs, reglas);
    return true;
}

bool CrearLibro(EstadoHoja& estado, int hojas)
{
    estado.ErrorLibro = {};
    estado.AppExcel = platform::xlsx::Workbook::create(hojas, &estado.ErrorLibro);
    return estado.AppExcel && estado.AppExcel->sheetCount() >= 1;
}

bool EscribirEncabezado(EstadoHoja& estado, int cantidad, const QStringList& nombres, const std::vector<long>& anchos,
                        const platform::DateTime& fecha)
{
    if (!estado.AppExcel) {
        return false;
    }
    Sheet& hoja = estado.AppExcel->activeSheet();
    const int m = cantidad - 1;
    const int filaSubtitulo = estado.TituloHoja.isEmpty() ? 1 : 2;
    const int fila = estado.SubtituloHoja.isEmpty() ? filaSubtitulo : filaSubtitulo + 1;
    // Set before any step can fail, so that the records never land on the head.
    estado.FilaEncabezado = fila;
    auto rojaNegrita = [](Range r) { return r.setFontColor(kRojo) && r.setBold(true); };
    if (!estado.TituloHoja.isEmpty()) {
        // The date goes to the last heading column, but never onto the title.
        Range titulo = hoja.cells(1, 2);
        Range dia = hoja.cells(1, std::max(m, 3));
        if (!(titulo.setText(estado.TituloHoja) && dia.setText(fecha.format(QStringLiteral("dd/mm"))) &&
              rojaNegrita(titulo) && rojaNegrita(dia))) {
            return false;
        }
    }
    if (!estado.SubtituloHoja.isEmpty()) {
        Range subtitulo = hoja.cells(filaSubtitulo, 1);
        if (!(subtitulo.setText(estado.SubtituloHoja) && rojaNegrita(subtitulo))) {
            return false;
        }
    }
    Range encabezado = hoja.range(fila, 1, m);
    if (!(encabezado.setBorders() && encabezado.setFill(platform::xlsx::paletteColor(kIndiceEncabezado)) &&
          encabezado.setFontColor(kBlanco) && encabezado.setBold(true))) {
        return false;
    }
    for (int k = 1; k <= m; ++k) {
        if (!hoja.cells(fila, k).setText(nombres.value(k))) {
            return false;
        }
    }
    // A text column's defined size can ask for far more than a column can be.
    for (int k = 1; k <= m; ++k) {
        if (!hoja.setColumnWidth(k,
                                 std::min(double(anchos.at(std::size_t(k))) / 90.0, platform::xlsx::kMaxColumnWidth))) {
            return false;
        }
    }
    return true;
}

Recorrido RecorrerRegistros(EstadoHoja& estado, db::Recordset& rs, const Encabezados& encabezados, const Reglas& reglas,
                            const Informe& informar)
{
    Recorrido recorrido;
    int64_t r = int64_t(estado.FilaEncabezado);
    recorrido.sumas.assign(encabezados.nombres.size(), 0.0);
    Sheet* hoja = estado.AppExcel ? &estado.AppExcel->activeSheet() : nullptr;
    Ritmo ritmo;
    Avance avance;
    avance.cantidad = rs.RecordCount();
    auto parar = [&](Momento momento) {
        avance.fila = r;
        return ritmo.toca() && informar(momento, avance);
    };
    try {
        while (!rs.Eof()) {
            avance.posicion = rs.AbsolutePosition();
            if (hoja && r + 1 > hoja->rowLimit()) {
                recorrido.sinLugar = avance.cantidad - avance.posicion + 1;
                break;
            }
            for (int k = 0; k < rs.FieldCount(); ++k) {
                if (parar(Momento::AntesDeLaCelda)) {
                    recorrido.cancelado = true;
                    recorrido.ultimaFila = r;
                    return recorrido;
                }
                const int j = encabezados.columnas.at(std::size_t(k));
                if (hoja && j > 0) {
                    Range celda = hoja->cells(int(r + 1), j);
                    if (EscribirValor(celda, *hoja, j, rs.value(k), rs.column(k), reglas,
                                      recorrido.sumas[std::size_t(j)])) {
                        recorrido.columnasCortadas.insert(j);
                    }
                    celda.setFill(platform::xlsx::paletteColor((r + 1) % 2 == 0 ? 0 : kIndiceBanda));
                }
                if (parar(Momento::DespuesDeLaCelda)) {
                    recorrido.cancelado = true;
                    recorrido.ultimaFila = r;
                    return recorrido;
                }
            }
            ++r;
            rs.MoveNext();
        }
    } catch (const db::DbError&) {
        // A record that cannot be read ends the walk; what was written stays.
    }
    recorrido.ultimaFila = r;
    return recorrido;
}

void EscribirTotales(EstadoHoja& estado, const db::Recordset& rs, const Encabezados& encabezados,
                     const QString& CamposTotaliza, const Reglas& reglas, Recorrido& recorrido)
{
    if (!estado.AppExcel) {
        return;
    }
    Sheet& hoja = estado.AppExcel->activeSheet();
    const int primera = int(estado.FilaEncabezado) + 1;
    const int ultima = int(recorrido.ultimaFila);
    if (ultima < primera) {
        return;
    }
    for (const QString& nombre : CamposTotaliza.split(u',')) {
        // Splitting an empty list gives one empty name, which would match a
        // column without a name.
        if (nombre.isEmpty()) {
            continue;
        }
        for (int k = 0; k < rs.FieldCount(); ++k) {
            const int j = encabezados.columnas.at(std::size_t(k));
            if (j == 0 || rs.column(k).name.compare(nombre, reglas.nombres) != 0) {
                continue;
            }
            if (ultima + 1 > hoja.rowLimit()) {
                recorrido.totalesSinLugar = true;
                continue;
            }
            int indice = j - 1;
            const QString letra = LetraColumna(indice);
            Range total = hoja.cells(ultima + 1, j);
            total.setBold(true);
            total.setFormula(QStringLiteral("=SUM(%1%2:%1%3)").arg(letra).arg(primera).arg(ultima),
                             recorrido.sumas.at(std::size_t(j)));
        }
    }
}

void EntregarLibro(EstadoHoja& estado, bool Preview, const QString& ElNombre, const QString& rutina,
                   const Encabezados& encabezados, const Recorrido& recorrido)
{
    if (!estado.AppExcel) {
        InformarFallo(rutina, QStringLiteral("No se pudo crear el libro de Excel"), estado.ErrorLibro);
        return;
    }
    platform::xlsx::Failure fallo;
    bool entregado = false;
    if (Preview || ElNombre.isEmpty()) {
        const std::optional<QString> libro = estado.AppExcel->keep(&fallo);
        if (!libro) {
            InformarFallo(rutina, QStringLiteral("No se pudo escribir el libro de Excel"), fallo);
        } else if (!platform::Dll_ApiWindows::shared()
                        .EjecutarShell(0, QString(), *libro, QString(), QString(), 1)
                        .toBoolean()
                        .value_or(false)) {
            Informar(rutina, kErrorArchivo,
                     QStringLiteral("No se pudo abrir el libro de Excel ") + *libro +
                         QStringLiteral(" con la aplicación del escritorio."));
        } else {
            entregado = true;
        }
    } else if (!estado.AppExcel->saveAs(ElNombre, &fallo)) {
        InformarFallo(rutina, QStringLiteral("No se pudo guardar el libro de Excel en ") + ElNombre, fallo);
    } else {
        entregado = true;
    }
    const QString faltantes = Faltantes(estado, encabezados, recorrido);
    estado.AppExcel.reset();
    if (entregado && !faltantes.isEmpty()) {
        platform::op().MsgBox(faltantes, platform::msgbox::Exclamation, QStringLiteral("Exportar a Excel"));
    }
}

} // namespace exportacion
