#include "platform/db/sqlite/SqlKeywords.h"

namespace platform::db::sqlite::translation {

const QSet<QString>& statementKeywords()
{
    static const QSet<QString> set = {
        QStringLiteral("SELECT"),   QStringLiteral("INSERT"),   QStringLiteral("UPDATE"),    QStringLiteral("DELETE"),
        QStringLiteral("CREATE"),   QStringLiteral("DROP"),     QStringLiteral("ALTER"),     QStringLiteral("BEGIN"),
        QStringLiteral("COMMIT"),   QStringLiteral("ROLLBACK"), QStringLiteral("IF"),        QStringLiteral("SET"),
        QStringLiteral("USE"),      QStringLiteral("EXEC"),     QStringLiteral("EXECUTE"),   QStringLiteral("DECLARE"),
        QStringLiteral("TRUNCATE"), QStringLiteral("PRINT"),    QStringLiteral("GO"),        QStringLiteral("SAVE"),
        QStringLiteral("GRANT"),    QStringLiteral("MERGE"),    QStringLiteral("RAISERROR"), QStringLiteral("RETURN"),
    };
    return set;
}

const QSet<QString>& keywords()
{
    static const QSet<QString> set = {
        QStringLiteral("SELECT"), QStringLiteral("FROM"),       QStringLiteral("WHERE"),      QStringLiteral("AND"),
        QStringLiteral("OR"),     QStringLiteral("NOT"),        QStringLiteral("IS"),         QStringLiteral("IN"),
        QStringLiteral("LIKE"),   QStringLiteral("BETWEEN"),    QStringLiteral("AS"),         QStringLiteral("ON"),
        QStringLiteral("JOIN"),   QStringLiteral("INNER"),      QStringLiteral("LEFT"),       QStringLiteral("RIGHT"),
        QStringLiteral("OUTER"),  QStringLiteral("CROSS"),      QStringLiteral("FULL"),       QStringLiteral("GROUP"),
        QStringLiteral("BY"),     QStringLiteral("ORDER"),      QStringLiteral("HAVING"),     QStringLiteral("UNION"),
        QStringLiteral("ALL"),    QStringLiteral("DISTINCT"),   QStringLiteral("CASE"),       QStringLiteral("WHEN"),
        QStringLiteral("THEN"),   QStringLiteral("ELSE"),       QStringLiteral("END"),        QStringLiteral("ASC"),
        QStringLiteral("DESC"),   QStringLiteral("INTO"),       QStringLiteral("VALUES"),     QStringLiteral("SET"),
        QStringLiteral("UPDATE"), QStringLiteral("DELETE"),     QStringLiteral("INSERT"),     QStringLiteral("TOP"),
        QStringLiteral("WITH"),   QStringLiteral("EXISTS"),     QStringLiteral("ESCAPE"),     QStringLiteral("CREATE"),
        QStringLiteral("VIEW"),   QStringLiteral("DROP"),       QStringLiteral("TABLE"),      QStringLiteral("ALTER"),
        QStringLiteral("ADD"),    QStringLiteral("CONSTRAINT"), QStringLiteral("DEFAULT"),    QStringLiteral("PRIMARY"),
        QStringLiteral("KEY"),    QStringLiteral("EXCEPT"),     QStringLiteral("INTERSECT"),  QStringLiteral("COLLATE"),
        QStringLiteral("CHECK"),  QStringLiteral("UNIQUE"),     QStringLiteral("REFERENCES"), QStringLiteral("FOREIGN"),
        QStringLiteral("INDEX"),  QStringLiteral("PERCENT"),    QStringLiteral("TIES"),
    };
    return set;
}

namespace {

const QSet<QString>& tableHints()
{
    static const QSet<QString> set = {
        QStringLiteral("NOLOCK"),        QStringLiteral("READUNCOMMITTED"), QStringLiteral("ROWLOCK"),
        QStringLiteral("UPDLOCK"),       QStringLiteral("HOLDLOCK"),        QStringLiteral("READPAST"),
        QStringLiteral("TABLOCK"),       QStringLiteral("TABLOCKX"),        QStringLiteral("PAGLOCK"),
        QStringLiteral("XLOCK"),         QStringLiteral("NOWAIT"),          QStringLiteral("SERIALIZABLE"),
        QStringLiteral("READCOMMITTED"), QStringLiteral("REPEATABLEREAD"),
    };
    return set;
}

} // namespace

bool isEngineOnlyFunction(const QString& name)
{
    static const QSet<QString> set = {
        QStringLiteral("acosh"),        QStringLiteral("asinh"),
        QStringLiteral("atan2"),        QStringLiteral("atanh"),
        QStringLiteral("ceil"),         QStringLiteral("changes"),
        QStringLiteral("cosh"),         QStringLiteral("date"),
        QStringLiteral("datetime"),     QStringLiteral("glob"),
        QStringLiteral("group_concat"), QStringLiteral("hex"),
        QStringLiteral("ifnull"),       QStringLiteral("instr"),
        QStringLiteral("julianday"),    QStringLiteral("last_insert_rowid"),
        QStringLiteral("length"),       QStringLiteral("like"),
        QStringLiteral("likelihood"),   QStringLiteral("likely"),
        QStringLiteral("ln"),           QStringLiteral("load_extension"),
        QStringLiteral("log"),          QStringLiteral("log2"),
        QStringLiteral("mod"),          QStringLiteral("octet_length"),
        QStringLiteral("pow"),          QStringLiteral("printf"),
        QStringLiteral("quote"),        QStringLiteral("random"),
        QStringLiteral("randomblob"),   QStringLiteral("sinh"),
        QStringLiteral("strftime"),     QStringLiteral("substr"),
        QStringLiteral("tanh"),         QStringLiteral("timediff"),
        QStringLiteral("total"),        QStringLiteral("total_changes"),
        QStringLiteral("trunc"),        QStringLiteral("typeof"),
        QStringLiteral("unhex"),        QStringLiteral("unixepoch"),
        QStringLiteral("unlikely"),     QStringLiteral("zeroblob"),
    };
    const QString n = name.toLower();
    for (const char* prefix : {"tsql_", "sqlite_", "json", "fts", "pragma_"})
        if (n.startsWith(QLatin1String(prefix)))
            return true;
    return set.contains(n);
}

bool isHintGroup(const Node& n)
{
    if (n.kind != Tok::Group || n.children.empty())
        return false;
    for (const Node& c : n.children)
        if (!(c.kind == Tok::Comma || (c.kind == Tok::Word && tableHints().contains(c.text.toUpper()))))
            return false;
    return true;
}

} // namespace platform::db::sqlite::translation
