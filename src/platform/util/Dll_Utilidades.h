#pragma once

#include "platform/core/Currency.h"
#include "platform/core/Variant.h"
#include "platform/util/ErrObject.h"

#include <QString>

#include <optional>

class QWidget;

namespace platform {

// Text, number and path routines, the cipher of stored passwords and a plain
// error dialog. The program shares one instance (shared()); a component may
// hold its own, which differs only in its ArchivoLog.
class Dll_Utilidades
{
public:
    // The program-wide instance, created on first use and dropped on reset.
    static Dll_Utilidades& shared();

    // The text right-aligned in `width` characters, filled on the left with
    // blanks. A text longer than the width is returned whole, never cut.
    QString RellenarIzquierda(const QString& text, int width) const;
    // The first `maximum` characters of the text (nothing for 0 or less); a
    // surrogate pair is never split.
    QString AjustarLargo(const QString& text, int maximum) const;
    // The amount the text holds, or nullopt for an empty or non-numeric text.
    // Accepted: blanks around, an optional sign, digits with the locale's
    // group sign between groups of three, and the locale's decimal sign or
    // "." (a "." that forms valid groups in a locale whose group sign is "."
    // is read as grouping). More than four decimals round half to even.
    std::optional<Currency> TextoAMoneda(const QString& text) const;
    // The value with Null replaced by Empty.
    Variant ValorCampo(const Variant& field) const;
    // Number of words separated by white space.
    int CantidadPalabras(const QString& text) const;
    // The text without any occurrence of the given texts (empty ones are skipped).
    QString QuitarCaracteres(const QString& text, const QString& first, const QString& second = {},
                             const QString& third = {}) const;
    // Every occurrence of `find` (matched exactly) replaced.
    QString Reemplazar(const QString& text, const QString& find, const QString& replacement) const;
    // The service each form asks for at load.
    void ServicioFormulario(QWidget* form, const Variant& option = {});
    // The code, without surrounding blanks, filled on the left with "0" to
    // the numeric value of `width`; a longer code is returned whole.
    QString CodigoConCeros(const Variant& code, const Variant& width) const;
    // Shows the error to the operator (style `buttons`, 18 when omitted:
    // Abort/Retry/Ignore with the critical icon), appends a line to the file
    // set by setArchivoLog() when there is one, and returns the answer
    // (4 retry, 5 ignore, ...). A log that cannot be written is skipped.
    int MostrarError(const ErrObject& error, std::optional<int> buttons = std::nullopt, const QString& routine = {});
    // The error-log file of MostrarError (the write-only property ArchivoLog).
    void setArchivoLog(const QString& path) { m_archivoLog = path; }

    // Enciphers a text for storage: the result is printable ASCII made of
    // letters, digits, "-" and "_" only (so never a ",", a CR or LF, or a
    // blank), deterministic, and empty for an empty text. It hides the text
    // from a casual reader; it is not a protection against an attacker.
    QString Encriptar(const QString& text) const;
    // The text that Encriptar enciphered, or nullopt for a text that it did
    // not produce (foreign, damaged or cut).
    std::optional<QString> TryDesencriptar(const QString& text) const;
    // The plain form: the deciphered text, or an empty text when the
    // input cannot be deciphered (use TryDesencriptar to tell them apart).
    QString Desencriptar(const QString& text) const;

    // The folder ending in "/", ready for a file name; an empty folder stays empty.
    QString CarpetaConBarra(const QString& folder) const;

private:
    QString m_archivoLog;
};

} // namespace platform
