#include "app/Consultas.h"

#include "common/MensajeError.h"
#include "platform/core/LogFile.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/util/FileNameCase.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <array>

namespace app {

namespace text = platform::text;

namespace {

constexpr qint64 kLargoRegistro = 1202;
constexpr int kLargoTitulo = 100;
constexpr int kLargoTabla = 100;
constexpr int kLargoColumnas = 500;
constexpr int kLargoExtra = 500;

struct Definicion
{
    const char* titulo;
    const char* tabla;
    const char* columnas;
};

constexpr std::array<Definicion, 11> kDefiniciones = {{
    {"ARTICULOS", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|"},
    {"CLIENTES", "VT_CLIENTES", "|RAZON_SOCIAL|CODIGO|CONTACTO|"},
    {"PROVEEDORES", "VT_PROVEEDORES", "|RAZON_SOCIAL|CODIGO|"},
    {"CONTACTOS", "MA_CONTACTOS", "|Nombre_y_Apellido|Domicilio|Localidad|Telefono|"},
    {"VENDEDORES", "V_TA_VENDEDORES", "|NOMBRE|IDVENDEDOR|"},
    {"TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|"},
    {"MANTENIMIENTOS", "V_MA_MANTENIMIENTOS", "|DESCRIPCION|CODIGO|"},
    {"CUENTAS", "MA_CUENTAS", "|DESCRIPCION|CODIGO|"},
    {"TAREAS", "V_TA_Tareas  ", "|Descripcion|IdTarea|"},
    {"UnidadNegocio", "V_TA_UnidadNegocio", "|Descripcion|Codigo|"},
    {"DEPOSITO", "V_TA_DEPOSITO", "|Descripcion|IdDeposito|"},
}};

// Windows-1252 for the characters 0x80..0x9F; the rest of the code page is Latin-1.
constexpr char16_t kCp1252Alto[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char ByteCp1252(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        return char(u);
    }
    for (int i = 0; i < 32; ++i) {
        if (kCp1252Alto[i] == u) {
            return char(0x80 + i);
        }
    }
    return '?';
}

// The text in single bytes, cut or padded with blanks to `ancho`.
QByteArray Campo(const QString& texto, int ancho)
{
    QByteArray bytes;
    bytes.reserve(ancho);
    for (QChar c : texto) {
        if (bytes.size() == ancho) {
            break;
        }
        bytes += ByteCp1252(c);
    }
    bytes.append(ancho - bytes.size(), ' ');
    return bytes;
}

QByteArray Registro(const Definicion& d)
{
    return Campo(text::Trim(QString::fromUtf8(d.titulo)), kLargoTitulo) +
           Campo(QString::fromUtf8(d.tabla), kLargoTabla) +
           Campo(text::Trim(QString::fromUtf8(d.columnas)), kLargoColumnas) + Campo(QString(), kLargoExtra) + "\r\n";
}

} // namespace

Dll_Consultas& ConsultasPrograma()
{
    return contexto().consultas;
}

bool GrabaDefinicionesBusqueda(QString* motivo)
{
    QFile archivo(ConsultasPrograma().ArchivoConsultas);
    const bool nuevo = !archivo.exists();
    auto falla = [&]() {
        if (motivo) {
            *motivo = archivo.errorString();
        }
        // A file begun here and left half written is not kept.
        if (nuevo && archivo.isOpen()) {
            archivo.close();
            archivo.remove();
        }
        return false;
    };
    if (!archivo.open(QIODevice::ReadWrite)) {
        return falla();
    }
    for (const Definicion& d : kDefiniciones) {
        // Each record goes after the last whole record of the file.
        const qint64 numero = archivo.size() / kLargoRegistro;
        const QByteArray registro = Registro(d);
        if (!archivo.seek(numero * kLargoRegistro) || archivo.write(registro) != registro.size()) {
            return falla();
        }
    }
    if (!archivo.flush()) {
        return falla();
    }
    archivo.close();
    return true;
}

void AseguraDefinicionesBusqueda()
{
    const QString ruta = ConsultasPrograma().ArchivoConsultas;
    if (QFileInfo(platform::resolveFileNoCase(ruta)).isFile()) {
        return;
    }
    QString motivo;
    if (!GrabaDefinicionesBusqueda(&motivo)) {
        platform::LogFile::appendLine(common::ArchivoBkErr(),
                                      common::LineaBkErr(platform::now(), QStringLiteral("- GrabaDefinicionesBusqueda"),
                                                         ruta + QStringLiteral(": ") + motivo, 0));
    }
}

} // namespace app
