#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Text routines with the program's meaning: positions are 1-based and count
// characters, "trim" removes blanks only, and comparisons that the program
// makes without regard to case use Unicode case folding.
namespace platform::text {

QString Trim(QStringView s);
QString LTrim(QStringView s);
QString RTrim(QStringView s);
// The same on a whole text: one without blanks at its ends is given back as it is.
QString Trim(const QString& s);

QString Left(QStringView s, qsizetype n);
QString Right(QStringView s, qsizetype n);
// From 1-based `start`, `length` characters (all to the end when negative).
QString Mid(QStringView s, qsizetype start, qsizetype length = -1);

// 1-based position of `needle` in `hay` from `start`, 0 when absent.
qsizetype InStr(QStringView hay, QStringView needle, qsizetype start = 1, bool ignoreCase = true);
bool Contains(QStringView hay, QStringView needle, bool ignoreCase = true);
bool EqualsNoCase(QStringView a, QStringView b);
int CompareNoCase(QStringView a, QStringView b);
// Every occurrence replaced; matching ignores case when asked.
QString Replace(QStringView s, QStringView find, QStringView with, bool ignoreCase = false);

// Line breaks (CR LF, CR or LF) turned into one blank each, for one-line logs.
QString FoldLineBreaks(QStringView s);
// The lines of a text whose lines end in CR LF, LF or a lone CR, without their ends.
QStringList SplitLines(QStringView s);

// The text of a file the program reads: UTF-8 when the bytes are valid UTF-8
// (a byte-order mark is skipped), else Windows-1252. `wasUtf8` tells which.
QString DecodeFileText(const QByteArray& bytes, bool* wasUtf8 = nullptr);

// The text between apostrophes in SQL: inner apostrophes doubled.
QString SqlQuoteInner(QStringView s);
// "'" + SqlQuoteInner(s) + "'".
QString SqlQuoted(QStringView s);

} // namespace platform::text
