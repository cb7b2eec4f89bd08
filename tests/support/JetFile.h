#pragma once

#include "platform/core/Variant.h"

#include <QString>

#include <vector>

namespace testing_support {

// The column types a test's Jet file holds.
enum class JetType { Text, LongInteger, Money, DateTime };

struct JetColumn
{
    QString name;
    JetType type = JetType::Text;
    int length = 50; // characters, for a text column
};

struct JetTable
{
    QString name;
    std::vector<JetColumn> columns;
    // One value per column: a text, a whole number, a Currency, a DateTime, or Null.
    std::vector<std::vector<platform::Variant>> rows;
};

// Writes a small Jet 4 data base (an Access 2000 file) laid out as the
// format's public description says: the header page, the page of usage maps,
// the catalogue MSysObjects and one user table, each a definition page and one
// data page, no indexes. A `password` is kept in the header as Jet 4 keeps a
// data-base password. The rows must fit one page. Fails the test when the
// file cannot be written.
void writeJet4File(const QString& path, const JetTable& table, const QString& password = {});

// Writes the header page of a Jet 3 data base (an Access 97 file) alone, with
// its `password`: enough for the checks made before the driver reads a file,
// which the driver then cannot read.
void writeJet3Header(const QString& path, const QString& password);

// The table of articles the Jet tests read: text, integer, money and date
// columns, with a Null, an accented text and a negative amount.
JetTable articulosJet();

} // namespace testing_support
