#pragma once

#include <QString>

#include <optional>

// The command bar's settings routines: the user and data-base names of the
// running program, its command-line parameters, and the colour style kept in
// the settings file "cn000pr.ini", which they only read. Nothing is cached:
// the file is read anew on every call, and a missing file gives the defaults.
namespace controls::ModUtilVekBar {

// The path trimmed, with "/" appended unless it ends in "/" or "\"; an empty
// path stays empty.
QString EnsureTrailingSlash(const QString& path);

// The environment's USERNAME, else the login name of the process owner,
// trimmed; "DEFAULT" when both are empty.
QString GetContextUserName();

// The data-base name of the command line ("@DbName" in any case), else the
// first of the environment variables QRT_DBNAME, GDBNAME and DBNAME that is
// not blank; "DEFAULT" when none gives one.
QString GetContextDbName();

// The value after the first occurrence of `name` (without regard to case) in
// the command-line text, between "=" and the next ";", trimmed and without
// one pair of enclosing double quotes; empty when the name is missing or not
// followed by "=".
QString GetCommandArg(const QString& name);

// The command-line text the routines read: the program's arguments joined by
// blanks, unless a test gave another (nullopt restores the real one; a reset
// of the program context does too).
void EstablecerLineaDeComandos(std::optional<QString> linea);

// The settings file's full path: a name with a "/" or "\" unchanged, a bare
// name in the program folder; empty for a blank name.
QString ResolveIniPath(const QString& file);

// The value of `key` in `section`, or `defaultValue` when the file, the
// section or the key is missing or the value is empty.
QString ReadIniValue(const QString& file, const QString& section, const QString& key, const QString& defaultValue);

// The number 0 to 99 kept under key "Styles" of `section`; -1 for a blank
// section, a missing or empty value, or a value that is no such number.
int ReadStyleSetting(const QString& file, const QString& section);

// The first section of the file whose name ends in "STYLES" (any case);
// empty when there is none or the file cannot be read.
QString FindStylesSection(const QString& file);

// The first of the sections U+"Styles", C+"|"+U+"Styles", U+"_"+D+"Styles",
// C+"|"+U+"_"+D+"Styles", D+"_"+D+"Styles" (U, D and the computer name C
// trimmed and in upper case; empty names skip their sections) that holds a
// style number, else the first section whose name ends in "STYLES".
QString ResolveStyleSection(const QString& file, const QString& user, const QString& db);

// The bar's colour style 1 to 5 for a user and a data base (blank ones are
// taken from the program's context): the section found by
// ResolveStyleSection, else the Windows user's section, else section
// "UtilVekBar_" + D key "Estilo", else "4", read as a number and mapped by
// MapStoredStyle. Never fails.
int LoadBarStyle(const QString& user, const QString& db);

// 0 -> 1, 2 -> 3, 3 -> 4, 4 -> 5, anything else -> 2.
int MapStoredStyle(int value);

} // namespace controls::ModUtilVekBar
