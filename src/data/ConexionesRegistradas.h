#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace data {

// One record of BASES.TXT, as stored: the password is still enciphered.
struct ConexionRegistrada
{
    QString Clave;
    QString Base;
    QString Usuario;
    QString Password;
    QString Servidor;
};

// The path of BASES.TXT that is read: the file of the writable folder when it
// exists there, else the program folder's (its name matched without regard
// to letter case); the program folder's name when neither exists.
QString RutaBases();

// The key of a connection: the data-base name upper-cased and trimmed, " / ",
// the server name upper-cased, trimmed and cut before its first ":".
QString ClaveConexion(const QString& base, const QString& servidor);

// Whether a text can stand in a BASES.TXT field: it holds no comma and no
// line break, which would shift or split the record.
bool ValorValidoEnBases(const QString& valor);

// One record as written: each field trimmed, fields 1 to 4 followed by a
// comma and blanks up to the next 14-column print zone, the last by CR LF.
// `passwordCifrada` is written as given.
QString LineaConexion(const QString& clave, const QString& base, const QString& usuario, const QString& passwordCifrada,
                      const QString& servidor);

// Appends one connection to BASES.TXT, the password enciphered with
// Encriptar. A file whose last line lacks its line break gets a lone CR in
// front of the record. The file is written in UTF-8; an existing file that is
// not UTF-8 (an older Windows-1252 file) is rewritten in UTF-8 with the new
// record, so that it stays readable as one encoding. Returns false with the
// reason in `error` when a field holds a comma or a line break (nothing is
// written) or the file cannot be read or written.
bool GrabarConexionEnBases(const QString& clave, const QString& base, const QString& usuario, const QString& password,
                           const QString& servidor, QString* error = nullptr);

// The records of BASES.TXT in file order, blank keys included; an empty list
// when the file does not exist, nullopt with the reason in `error` when it
// cannot be read. Each line is one record; CR LF, a lone CR or a lone LF end
// a line, blank lines are skipped, blanks around each field are dropped, and
// a line with fewer than five fields reads the missing ones as empty.
std::optional<QList<ConexionRegistrada>> LeerConexionesRegistradas(QString* error = nullptr);

// The desktop folder: what `xdg-user-dir DESKTOP` prints, else ~/Desktop.
QString CarpetaEscritorio();

// The parameter text that a desktop shortcut hands to the program. The
// password is never written into it.
QString ParametrosAccesoDirecto(const QString& servidor, const QString& base, const QString& usuario);

// One argument of a desktop entry's Exec key, quoted as the Desktop Entry
// format asks (reserved characters inside double quotes with ",
// `, $ and \ escaped, "%" doubled), before the key's string escapes.
QString ArgumentoExec(const QString& argumento);

// The text of a freedesktop .desktop file that starts `programa` with the
// single argument `argumentos`.
QString ContenidoAccesoDirecto(const QString& nombre, const QString& programa, const QString& argumentos);

} // namespace data
