#include "controls/commandbar/ModUtilVekBar.h"

#include "common/AplicarEstilo.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/core/Variant.h"
#include "platform/util/Dll_ApiWindows.h"
#include "platform/util/Dll_ArchivoIni.h"
#include "platform/util/FileNameCase.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cmath>
#include <limits>

namespace controls::ModUtilVekBar {

using platform::text::Trim;

namespace {

const QString kArchivoIni = QStringLiteral("cn000pr.ini");

// The module's own pair of the maker's objects, kept to the end.
const platform::Dll_ApiWindows& apiWindows()
{
    static const platform::Dll_ApiWindows api;
    return api;
}

const platform::Dll_ArchivoIni& archivoIni()
{
    static const platform::Dll_ArchivoIni ini;
    return ini;
}

std::optional<QString>& lineaDePrueba()
{
    static std::optional<QString> linea;
    static bool enganchado = false;
    if (!enganchado) {
        enganchado = true;
        platform::Runtime::instance().onReset([] { linea.reset(); });
    }
    return linea;
}

QString lineaDeComandos()
{
    const std::optional<QString>& prueba = lineaDePrueba();
    return prueba ? *prueba : QCoreApplication::arguments().mid(1).join(u' ');
}

QString entorno(const char* nombre)
{
    return Trim(qEnvironmentVariable(nombre));
}

// The environment names the computer where it can; otherwise the host name.
QString nombreEquipo()
{
    const QString equipo = entorno("COMPUTERNAME");
    return equipo.isEmpty() ? Trim(apiWindows().NombreEquipo()) : equipo;
}

// The value of a stored number: its leading digits (with a sign and a
// decimal part), 0 without any, rounded half to even.
int valorLeido(const QString& texto)
{
    const QString t = Trim(texto);
    qsizetype n = 0;
    if (n < t.size() && (t[n] == u'-' || t[n] == u'+')) {
        ++n;
    }
    bool punto = false;
    while (n < t.size() && ((t[n] >= u'0' && t[n] <= u'9') || (t[n] == u'.' && !punto))) {
        punto = punto || t[n] == u'.';
        ++n;
    }
    bool ok = false;
    const double v = std::nearbyint(t.left(n).toDouble(&ok));
    if (!ok || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) {
        return 0;
    }
    return int(v);
}

} // namespace

QString EnsureTrailingSlash(const QString& path)
{
    const QString p = Trim(path);
    if (p.isEmpty() || p.endsWith(u'/') || p.endsWith(u'\\')) {
        return p;
    }
    return p + u'/';
}

QString GetContextUserName()
{
    QString usuario = entorno("USERNAME");
    if (usuario.isEmpty()) {
        usuario = Trim(apiWindows().NombreUsuarioWindows());
    }
    return usuario.isEmpty() ? QStringLiteral("DEFAULT") : usuario;
}

QString GetContextDbName()
{
    // The name is looked for without regard to case, so "@dbname" also
    // finds "@DbName".
    const QString deLinea = GetCommandArg(QStringLiteral("@dbname"));
    if (!deLinea.isEmpty()) {
        return deLinea;
    }
    for (const char* variable : {"QRT_DBNAME", "GDBNAME", "DBNAME"}) {
        const QString valor = entorno(variable);
        if (!valor.isEmpty()) {
            return valor;
        }
    }
    return QStringLiteral("DEFAULT");
}

QString GetCommandArg(const QString& name)
{
    const QString linea = Trim(lineaDeComandos());
    const QString buscado = Trim(name);
    if (linea.isEmpty() || buscado.isEmpty()) {
        return {};
    }
    const qsizetype en = linea.indexOf(buscado, 0, Qt::CaseInsensitive);
    if (en < 0) {
        return {};
    }
    const QString resto = Trim(QStringView(linea).mid(en + buscado.size()));
    if (!resto.startsWith(u'=')) {
        return {};
    }
    QString valor = resto.mid(1);
    const qsizetype corte = valor.indexOf(u';');
    if (corte >= 0) {
        valor.truncate(corte);
    }
    valor = Trim(valor);
    if (valor.size() >= 2 && valor.startsWith(u'"') && valor.endsWith(u'"')) {
        valor = valor.mid(1, valor.size() - 2);
    }
    return Trim(valor);
}

void EstablecerLineaDeComandos(std::optional<QString> linea)
{
    lineaDePrueba() = std::move(linea);
}

QString ResolveIniPath(const QString& file)
{
    const QString nombre = Trim(file);
    if (nombre.isEmpty()) {
        return {};
    }
    if (nombre.contains(u'/') || nombre.contains(u'\\')) {
        return nombre;
    }
    return EnsureTrailingSlash(platform::Runtime::instance().programFolder()) + nombre;
}

QString ReadIniValue(const QString& file, const QString& section, const QString& key, const QString& defaultValue)
{
    const QString ruta = ResolveIniPath(file);
    if (ruta.isEmpty()) {
        return defaultValue;
    }
    const QString valor = archivoIni().LeerValor(ruta, section, key, defaultValue);
    return valor.isEmpty() ? defaultValue : valor;
}

int ReadStyleSetting(const QString& file, const QString& section)
{
    if (Trim(section).isEmpty()) {
        return -1;
    }
    const QString valor = Trim(ReadIniValue(file, section, QStringLiteral("Styles"), QString()));
    if (valor.isEmpty()) {
        return -1;
    }
    const std::optional<int64_t> numero = platform::Variant(valor).toInteger();
    return numero && *numero >= 0 && *numero <= 99 ? int(*numero) : -1;
}

QString FindStylesSection(const QString& file)
{
    const QString ruta = ResolveIniPath(file);
    if (ruta.isEmpty()) {
        return {};
    }
    QFile archivo(platform::resolveFileNoCase(ruta));
    if (!archivo.open(QIODevice::ReadOnly)) {
        return {};
    }
    for (const QString& crudo : platform::text::SplitLines(platform::text::DecodeFileText(archivo.readAll()))) {
        const QString linea = Trim(crudo);
        if (linea.size() < 3 || !linea.startsWith(u'[') || !linea.endsWith(u']')) {
            continue;
        }
        const QString nombre = linea.mid(1, linea.size() - 2);
        if (nombre.right(6).compare(u"STYLES", Qt::CaseInsensitive) == 0) {
            return nombre;
        }
    }
    return {};
}

QString ResolveStyleSection(const QString& file, const QString& user, const QString& db)
{
    const QString u = Trim(user).toUpper();
    const QString d = Trim(db).toUpper();
    const QString c = nombreEquipo().toUpper();
    QStringList secciones;
    if (!u.isEmpty()) {
        secciones << u + QStringLiteral("Styles");
        if (!c.isEmpty()) {
            secciones << c + u'|' + u + QStringLiteral("Styles");
        }
    }
    if (!u.isEmpty() && !d.isEmpty()) {
        secciones << u + u'_' + d + QStringLiteral("Styles");
        if (!c.isEmpty()) {
            secciones << c + u'|' + u + u'_' + d + QStringLiteral("Styles");
        }
    }
    if (!d.isEmpty()) {
        secciones << d + u'_' + d + QStringLiteral("Styles");
    }
    for (const QString& seccion : secciones) {
        if (ReadStyleSetting(file, seccion) >= 0) {
            return seccion;
        }
    }
    return FindStylesSection(file);
}

int LoadBarStyle(const QString& user, const QString& db)
{
    QString u = Trim(user).toUpper();
    if (u.isEmpty()) {
        u = GetContextUserName().toUpper();
    }
    QString d = Trim(db).toUpper();
    if (d.isEmpty()) {
        d = GetContextDbName().toUpper();
    }
    const QString seccion = ResolveStyleSection(kArchivoIni, u, d);
    QString valor;
    if (!seccion.isEmpty()) {
        valor = Trim(ReadIniValue(kArchivoIni, seccion, QStringLiteral("Styles"), QString()));
    }
    if (valor.isEmpty()) {
        const QString w = apiWindows().NombreUsuarioWindows().toUpper();
        valor = archivoIni().LeerValor(kArchivoIni, w + QStringLiteral("Styles"), QStringLiteral("Styles"), "0");
    }
    if (valor.isEmpty()) {
        valor = Trim(ReadIniValue(kArchivoIni, QStringLiteral("UtilVekBar_") + d, QStringLiteral("Estilo"), QString()));
    }
    if (valor.isEmpty()) {
        valor = QStringLiteral("4");
    }
    return MapStoredStyle(valorLeido(valor));
}

int MapStoredStyle(int value)
{
    // A stored style number maps to the bar's as the form styling maps its own.
    return common::EstiloDeBarra(value);
}

} // namespace controls::ModUtilVekBar
