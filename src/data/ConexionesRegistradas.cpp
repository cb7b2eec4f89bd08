// The file of registered connections BASES.TXT and the desktop shortcut that
// starts the program on a connection.
#include "data/ConexionesRegistradas.h"

#include "platform/core/Runtime.h"
#include "platform/core/Text.h"
#include "platform/util/Dll_Utilidades.h"
#include "platform/util/FileNameCase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>

namespace data {

namespace text = platform::text;

namespace {

const QString kNombreArchivo = QStringLiteral("BASES.TXT");
constexpr int kZona = 14;

struct TextoLeido
{
    QString texto;
    // False when the bytes were not UTF-8 and were read as Windows-1252.
    bool utf8 = true;
};

TextoLeido decodificar(const QByteArray& bytes)
{
    TextoLeido leido;
    leido.texto = platform::text::DecodeFileText(bytes, &leido.utf8);
    return leido;
}

QString enCarpeta(const QString& carpeta)
{
    return platform::Dll_Utilidades::shared().CarpetaConBarra(carpeta) + kNombreArchivo;
}

// The path that BASES.TXT is written to: the writable folder's file.
QString rutaEscritura()
{
    return platform::resolveFileNoCase(enCarpeta(platform::Runtime::instance().writableFolder()));
}

std::optional<TextoLeido> leerArchivo(const QString& ruta, QString* error)
{
    QFile archivo(ruta);
    if (!archivo.exists()) {
        return TextoLeido{};
    }
    if (!archivo.open(QIODevice::ReadOnly)) {
        if (error) {
            *error = QStringLiteral("No se puede leer ") + ruta + QStringLiteral(": ") + archivo.errorString();
        }
        return std::nullopt;
    }
    return decodificar(archivo.readAll());
}

// Blanks from column `columna` (1-based, where the next character goes) to
// the start of the next print zone; none when it already is a zone start.
QString hastaZona(qsizetype columna)
{
    const qsizetype resto = (columna - 1) % kZona;
    return resto == 0 ? QString() : QString(kZona - resto, u' ');
}

} // namespace

QString RutaBases()
{
    const QString escritura = rutaEscritura();
    if (QFileInfo(escritura).isFile()) {
        return escritura;
    }
    return platform::resolveFileNoCase(enCarpeta(platform::Runtime::instance().programFolder()));
}

QString ClaveConexion(const QString& base, const QString& servidor)
{
    QString server = text::Trim(servidor.toUpper());
    const qsizetype dosPuntos = server.indexOf(u':');
    if (dosPuntos >= 0) {
        server = server.left(dosPuntos);
    }
    return text::Trim(base.toUpper()) + QStringLiteral(" / ") + server;
}

bool ValorValidoEnBases(const QString& valor)
{
    return !valor.contains(u',') && !valor.contains(u'\r') && !valor.contains(u'\n');
}

QString LineaConexion(const QString& clave, const QString& base, const QString& usuario, const QString& passwordCifrada,
                      const QString& servidor)
{
    QString linea;
    for (const QString& campo : {clave, base, usuario, passwordCifrada}) {
        linea += text::Trim(campo) + u',';
        linea += hastaZona(linea.size() + 1);
    }
    linea += text::Trim(servidor) + QStringLiteral("\r\n");
    return linea;
}

bool GrabarConexionEnBases(const QString& clave, const QString& base, const QString& usuario, const QString& password,
                           const QString& servidor, QString* error)
{
    for (const QString& campo : {clave, base, usuario, password, servidor}) {
        if (!ValorValidoEnBases(campo)) {
            if (error) {
                *error = QStringLiteral("El valor \"") + text::Trim(campo) +
                         QStringLiteral("\" contiene una coma o un salto de linea y no se puede registrar.");
            }
            return false;
        }
    }
    const QString rutaLeida = RutaBases();
    const std::optional<TextoLeido> existente = leerArchivo(rutaLeida, error);
    if (!existente) {
        return false;
    }
    const QStringList partes = existente->texto.split(QStringLiteral("\r\n"));
    QString registro;
    if (!text::Trim(partes.last()).isEmpty()) {
        registro += u'\r';
    }
    registro += LineaConexion(clave, base, usuario, platform::Dll_Utilidades::shared().Encriptar(text::Trim(password)),
                              servidor);

    const QString destino = rutaEscritura();
    const bool mismoArchivo = QFileInfo(destino).absoluteFilePath() == QFileInfo(rutaLeida).absoluteFilePath();
    if (mismoArchivo && existente->utf8) {
        QFile archivo(destino);
        if (!archivo.open(QIODevice::WriteOnly | QIODevice::Append) || archivo.write(registro.toUtf8()) < 0 ||
            !archivo.flush()) {
            if (error) {
                *error =
                    QStringLiteral("No se puede escribir ") + destino + QStringLiteral(": ") + archivo.errorString();
            }
            return false;
        }
        return true;
    }
    // The record joins a copy of the read-only folder's file, or an older
    // file in the Windows code page that is carried over into UTF-8.
    QSaveFile archivo(destino);
    if (!archivo.open(QIODevice::WriteOnly) || archivo.write((existente->texto + registro).toUtf8()) < 0 ||
        !archivo.commit()) {
        if (error) {
            *error = QStringLiteral("No se puede escribir ") + destino + QStringLiteral(": ") + archivo.errorString();
        }
        return false;
    }
    return true;
}

std::optional<QList<ConexionRegistrada>> LeerConexionesRegistradas(QString* error)
{
    const std::optional<TextoLeido> leido = leerArchivo(RutaBases(), error);
    if (!leido) {
        return std::nullopt;
    }
    QString texto = leido->texto;
    texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    texto.replace(u'\r', u'\n');
    QList<ConexionRegistrada> registros;
    for (const QString& linea : texto.split(u'\n')) {
        if (text::Trim(linea).isEmpty()) {
            continue;
        }
        QStringList campos = linea.split(u',');
        while (campos.size() < 5) {
            campos.append(QString());
        }
        for (QString& campo : campos) {
            campo = campo.trimmed();
        }
        registros.append({campos[0], campos[1], campos[2], campos[3], campos[4]});
    }
    return registros;
}

QString CarpetaEscritorio()
{
    QProcess proceso;
    proceso.start(QStringLiteral("xdg-user-dir"), {QStringLiteral("DESKTOP")});
    if (proceso.waitForFinished(5000) && proceso.exitStatus() == QProcess::NormalExit && proceso.exitCode() == 0) {
        const QString carpeta = QString::fromLocal8Bit(proceso.readAllStandardOutput()).trimmed();
        if (!carpeta.isEmpty()) {
            return carpeta;
        }
    }
    return QDir::homePath() + QStringLiteral("/Desktop");
}

QString ParametrosAccesoDirecto(const QString& servidor, const QString& base, const QString& usuario)
{
    return QStringLiteral(" ; @server=") + servidor + QStringLiteral("; @dbname=") + base +
           QStringLiteral("; @usuario=") + usuario +
           QStringLiteral("; @Password=; @ParametroAdicional=; orvo@ ; @UsuarioLogeado = ; @Caja=;");
}

QString ArgumentoExec(const QString& argumento)
{
    static const QString reservados = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool comillas = argumento.isEmpty();
    for (QChar c : argumento) {
        if (reservados.contains(c) || c == u'\r') {
            comillas = true;
            break;
        }
    }
    QString resultado;
    for (QChar c : argumento) {
        if (comillas && (c == u'"' || c == u'`' || c == u'$' || c == u'\\')) {
            resultado += u'\\';
        }
        resultado += c;
    }
    resultado.replace(QStringLiteral("%"), QStringLiteral("%%"));
    return comillas ? u'"' + resultado + u'"' : resultado;
}

namespace {

// A value of type string in a desktop entry: backslash and control
// characters written as escapes.
QString valorEntrada(const QString& valor)
{
    QString resultado;
    for (QChar c : valor) {
        switch (c.unicode()) {
        case u'\\':
            resultado += QStringLiteral("\\\\");
            break;
        case u'\n':
            resultado += QStringLiteral("\\n");
            break;
        case u'\r':
            resultado += QStringLiteral("\\r");
            break;
        case u'\t':
            resultado += QStringLiteral("\\t");
            break;
        default:
            resultado += c;
        }
    }
    return resultado;
}

} // namespace

QString ContenidoAccesoDirecto(const QString& nombre, const QString& programa, const QString& argumentos)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Version=1.0\n"
                          "Name=") +
           valorEntrada(nombre) + QStringLiteral("\nExec=") +
           valorEntrada(ArgumentoExec(programa) + u' ' + ArgumentoExec(argumentos)) + QStringLiteral("\nIcon=") +
           valorEntrada(programa) + QStringLiteral("\nTerminal=false\n");
}

} // namespace data
