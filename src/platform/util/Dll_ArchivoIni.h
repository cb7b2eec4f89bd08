#pragma once

#include "platform/core/Variant.h"

#include <QString>

namespace platform {

// Reads the program's settings file; it never writes it. The file is found
// in the program folder without regard to the letter case of its name, and
// read as UTF-8 when it is valid UTF-8, else as Windows-1252. Layout: lines
// "[section]" and "key=value"; blanks around names and values are ignored,
// one pair of double quotes around a value is removed, and lines that begin
// with ";" or "#" are comments. Sections and keys match without regard to
// case; when a key occurs more than once in a section (or in repeated blocks
// of the same section), the first occurrence in the file wins.
class Dll_ArchivoIni
{
public:
    // The program-wide instance, created on first use and dropped on reset.
    static Dll_ArchivoIni& shared();

    // The value stored under `section` and `key` of `fileName` (a bare name
    // is taken from the program folder), or the default's text when the file,
    // the section or the key is missing or the file cannot be read.
    QString LeerValor(const QString& fileName, const QString& section, const QString& key,
                      const Variant& defaultValue = {}) const;
};

} // namespace platform
