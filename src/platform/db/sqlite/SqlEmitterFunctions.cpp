#include "platform/db/sqlite/SqlEmitter.h"

#include "platform/db/sqlite/SqlTranslationErrors.h"
#include "platform/db/sqlite/SqlWholeText.h"

#include <QHash>
#include <QSet>

namespace platform::db::sqlite::translation {

bool Emitter::isFunction(const QString& u)
{
    static const QSet<QString> set = {
        QStringLiteral("GETDATE"),
        QStringLiteral("DATEADD"),
        QStringLiteral("DATEDIFF"),
        QStringLiteral("DATEPART"),
        QStringLiteral("YEAR"),
        QStringLiteral("MONTH"),
        QStringLiteral("DAY"),
        QStringLiteral("CONVERT"),
        QStringLiteral("CAST"),
        QStringLiteral("ISNULL"),
        QStringLiteral("COALESCE"),
        QStringLiteral("NULLIF"),
        QStringLiteral("LEN"),
        QStringLiteral("DATALENGTH"),
        QStringLiteral("LTRIM"),
        QStringLiteral("RTRIM"),
        QStringLiteral("SUBSTRING"),
        QStringLiteral("LEFT"),
        QStringLiteral("RIGHT"),
        QStringLiteral("CHARINDEX"),
        QStringLiteral("REPLACE"),
        QStringLiteral("UPPER"),
        QStringLiteral("LOWER"),
        QStringLiteral("COUNT"),
        QStringLiteral("SUM"),
        QStringLiteral("AVG"),
        QStringLiteral("MIN"),
        QStringLiteral("MAX"),
        QStringLiteral("ABS"),
        QStringLiteral("FORMAT"),
        QStringLiteral("ROUND"),
        QStringLiteral("CONCAT"),
        QStringLiteral("REPLICATE"),
        QStringLiteral("SPACE"),
        QStringLiteral("STUFF"),
        QStringLiteral("DATENAME"),
        QStringLiteral("SCOPE_IDENTITY"),
    };
    return set.contains(u);
}

// The arguments of a call, split at the commas of its own level.
std::vector<std::vector<Node>> Emitter::argNodes(const Node& g)
{
    std::vector<std::vector<Node>> args;
    if (g.children.empty())
        return args;
    args.emplace_back();
    for (const Node& c : g.children) {
        if (c.kind == Tok::Comma)
            args.emplace_back();
        else
            args.back().push_back(c);
    }
    for (const auto& a : args)
        if (a.empty())
            syntaxError(QStringLiteral("Incorrect syntax near ','."));
    return args;
}

std::vector<Out> Emitter::args(const Node& g, std::size_t expected, const QString& name, bool compares)
{
    std::vector<Out> out;
    for (const auto& a : argNodes(g))
        out.push_back(sequence(a, !compares));
    if (expected != std::size_t(-1) && out.size() != expected)
        syntaxError(QStringLiteral("The %1 function requires %2 argument(s).").arg(name).arg(expected));
    return out;
}

namespace {

// A whole number the function gives (int in SQL Server).
Out whole(QString text)
{
    Out out{std::move(text), Type::Number, Source::Computed, {}, ColumnKind::Integer};
    out.precision = 10;
    return out;
}

// A conversion's result, of the declared type SQL Server gives it.
Out typed(QString text, Type type, const QString& declared)
{
    Out out{std::move(text), type};
    out.declared = declared;
    return out;
}

} // namespace

QString Emitter::call(const char* name, const std::vector<Out>& a)
{
    QString s = QLatin1String(name) + QLatin1Char('(');
    for (std::size_t i = 0; i < a.size(); ++i)
        s += (i ? QStringLiteral(", ") : QString()) + a[i].text;
    return s + QLatin1Char(')');
}

// The date part word of DATEADD, DATEDIFF and DATEPART, as a text argument.
Out Emitter::datePartArg(const std::vector<Node>& a)
{
    if (a.size() != 1 || (a[0].kind != Tok::Word && a[0].kind != Tok::Ident && a[0].kind != Tok::String))
        syntaxError(QStringLiteral("Invalid parameter 1 specified for a date function."));
    return Out{quoteText(a[0].text), Type::Text};
}

Out Emitter::datePartCall(const char* fn, const Node& g, std::size_t count, Type type, const QString& name)
{
    const auto raw = argNodes(g);
    if (raw.size() != count)
        syntaxError(QStringLiteral("The %1 function requires %2 arguments.").arg(name).arg(count));
    std::vector<Out> a{datePartArg(raw[0])};
    for (std::size_t k = 1; k < raw.size(); ++k)
        a.push_back(sequence(raw[k]));
    Out out{call(fn, a), type};
    if (type == Type::Number)
        out.column = ColumnKind::Integer;
    return out;
}

// CONVERT(type, x[, style]) and CAST(x AS type).
Out Emitter::conversion(const std::vector<Node>& typeNodes, const Out& value, const std::optional<Out>& style,
                        const QString& construct)
{
    if (typeNodes.empty() || typeNodes[0].kind != Tok::Word)
        syntaxError(QStringLiteral("Incorrect syntax in %1.").arg(construct));
    const QString t = typeNodes[0].text.toUpper();
    std::vector<QString> params;
    if (typeNodes.size() > 2)
        syntaxError(QStringLiteral("Incorrect syntax in %1.").arg(construct));
    if (typeNodes.size() == 2) {
        if (typeNodes[1].kind != Tok::Group)
            syntaxError(QStringLiteral("Incorrect syntax in %1.").arg(construct));
        for (const auto& p : argNodes(typeNodes[1])) {
            if (p.size() != 1 || (p[0].kind != Tok::Number && !isWord(p[0], "MAX")))
                syntaxError(QStringLiteral("Incorrect syntax in %1.").arg(construct));
            params.push_back(p[0].text.toUpper());
        }
    }
    if (t == QLatin1String("VARCHAR") || t == QLatin1String("NVARCHAR") || t == QLatin1String("CHAR") ||
        t == QLatin1String("NCHAR") || t == QLatin1String("TEXT") || t == QLatin1String("NTEXT")) {
        // Without a length SQL Server converts to 30 characters.
        const QString length = params.empty()                      ? QStringLiteral("30")
                               : params[0] == QLatin1String("MAX") ? QStringLiteral("0")
                                                                   : params[0];
        const bool sized = t != QLatin1String("TEXT") && t != QLatin1String("NTEXT");
        const QString declared = t.toLower() + (!sized ? QString()
                                                : params.empty() || params[0] != QLatin1String("MAX")
                                                    ? QLatin1Char('(') + length + QLatin1Char(')')
                                                    : QStringLiteral("(max)"));
        // A decimal shows the digits of its scale ("2.50").
        const QString text =
            value.type == Type::Money ? QStringLiteral("tsql_money_text(%1, %2, %3)")
                                            .arg(value.text, style ? style->text : QStringLiteral("0"), length)
            : value.type == Type::Number && value.scale >= 0
                ? QStringLiteral("tsql_convert_text(tsql_decimal_text(%1, %2), NULL, %3)")
                      .arg(value.text, QString::number(value.scale), length)
                // A style formats date-times (style 0 when none is given); a text keeps its characters.
                : QStringLiteral("tsql_convert_text(%1, %2, %3)")
                      .arg(value.text,
                           value.type == Type::Text ? QStringLiteral("NULL")
                           : style                  ? style->text
                                                    : QStringLiteral("0"),
                           length);
        return typed(text, Type::Text, declared);
    }
    // A date-time is a count of days after 1900-01-01: a fraction for a
    // float or a decimal (at its scale), rounded to the nearest day for a
    // whole number; money rounds too.
    const QString number =
        value.type == Type::Date ? QStringLiteral("tsql_date_number(%1)").arg(value.text) : value.text;
    if (t == QLatin1String("MONEY") || t == QLatin1String("SMALLMONEY"))
        return typed(QStringLiteral("tsql_money(%1)").arg(moneyArgument(value)), Type::Money, t.toLower());
    if (t == QLatin1String("DECIMAL") || t == QLatin1String("NUMERIC")) {
        // A text in exponent notation is no decimal for SQL Server (a float is).
        if (value.source == Source::TextLiteral && value.literal.contains(QLatin1Char('e'), Qt::CaseInsensitive))
            serverFailure(serverError::NotANumber, {QStringLiteral("varchar"), QStringLiteral("numeric")});
        const QString p = params.empty() ? QStringLiteral("18") : params[0];
        const QString s = params.size() > 1 ? params[1] : QStringLiteral("0");
        // A precision runs from 1 to 38 digits, a scale from 0 to the precision.
        bool wholeP = false;
        bool wholeS = false;
        const int precision = p.toInt(&wholeP);
        const int scale = s.toInt(&wholeS);
        if (!wholeP || precision < 1 || precision > 38)
            syntaxError(QStringLiteral("Specified column precision %1 is not between 1 and 38.").arg(p));
        if (!wholeS || scale < 0 || scale > precision)
            syntaxError(QStringLiteral("The scale %1 is not between 0 and the precision %2.").arg(s).arg(precision));
        Out converted;
        giveType(converted, ValueType{ColumnKind::Decimal, precision, scale});
        converted.text = QStringLiteral("tsql_decimal(%1, %2, %3)").arg(number, p, s);
        return converted;
    }
    static const QHash<QString, int> intPrecision = {{QStringLiteral("INT"), 10},
                                                     {QStringLiteral("INTEGER"), 10},
                                                     {QStringLiteral("BIGINT"), 19},
                                                     {QStringLiteral("SMALLINT"), 5},
                                                     {QStringLiteral("TINYINT"), 3}};
    if (const auto precision = intPrecision.constFind(t); precision != intPrecision.constEnd()) {
        Out converted;
        giveType(converted, ValueType{ColumnKind::Integer, *precision, 0});
        const bool rounds = value.type == Type::Date || value.type == Type::Money;
        converted.text = QStringLiteral("tsql_int(%1, %2)")
                             .arg(rounds ? QStringLiteral("tsql_round(%1, 0, 0)").arg(number) : number,
                                  QString::number(wholeTypeOfPrecision(*precision).bits));
        return converted;
    }
    if (t == QLatin1String("FLOAT") || t == QLatin1String("REAL")) {
        Out converted;
        giveType(converted, ValueType{ColumnKind::Float, 0, 0});
        converted.text = QStringLiteral("tsql_float(%1)").arg(number);
        return converted;
    }
    if (t == QLatin1String("BIT")) {
        Out converted;
        giveType(converted, ValueType{ColumnKind::Bit, 1, 0});
        converted.text = QStringLiteral("tsql_bit(%1)").arg(value.text);
        return converted;
    }
    const QString styleText = style ? style->text : QStringLiteral("NULL");
    // 0 keeps the time, 1 drops it (date), 2 rounds it to the minute (smalldatetime).
    if (t == QLatin1String("DATETIME") || t == QLatin1String("DATETIME2"))
        return typed(QStringLiteral("tsql_datetime(%1, %2, 0)").arg(value.text, styleText), Type::Date,
                     QStringLiteral("datetime"));
    if (t == QLatin1String("DATE"))
        return typed(QStringLiteral("tsql_datetime(%1, %2, 1)").arg(value.text, styleText), Type::Date,
                     QStringLiteral("datetime"));
    if (t == QLatin1String("SMALLDATETIME"))
        return typed(QStringLiteral("tsql_datetime(%1, %2, 2)").arg(value.text, styleText), Type::Date,
                     QStringLiteral("datetime"));
    refuse(QStringLiteral("%1 to the type %2").arg(construct, typeNodes[0].text));
}

Out Emitter::function(const QString& u, const Node& g)
{
    if (u == QLatin1String("GETDATE")) {
        if (!g.children.empty())
            syntaxError(QStringLiteral("The getdate function requires 0 arguments."));
        return Out{QStringLiteral("tsql_getdate()"), Type::Date};
    }
    if (u == QLatin1String("SCOPE_IDENTITY")) {
        if (!g.children.empty())
            syntaxError(QStringLiteral("The scope_identity function requires 0 arguments."));
        return identity(true);
    }
    if (u == QLatin1String("DATEADD"))
        return datePartCall("tsql_dateadd", g, 3, Type::Date, QStringLiteral("dateadd"));
    if (u == QLatin1String("DATEDIFF"))
        return datePartCall("tsql_datediff", g, 3, Type::Number, QStringLiteral("datediff"));
    if (u == QLatin1String("DATEPART"))
        return datePartCall("tsql_datepart", g, 2, Type::Number, QStringLiteral("datepart"));
    if (u == QLatin1String("DATENAME"))
        return datePartCall("tsql_datename", g, 2, Type::Text, QStringLiteral("datename"));
    if (u == QLatin1String("YEAR") || u == QLatin1String("MONTH") || u == QLatin1String("DAY")) {
        const auto a = args(g, 1, u.toLower());
        return whole(call(u == QLatin1String("YEAR")    ? "tsql_year"
                          : u == QLatin1String("MONTH") ? "tsql_month"
                                                        : "tsql_day",
                          a));
    }
    if (u == QLatin1String("CONVERT")) {
        const auto raw = argNodes(g);
        if (raw.size() < 2 || raw.size() > 3)
            syntaxError(QStringLiteral("The convert function requires 2 or 3 arguments."));
        const Out value = sequence(raw[1]);
        std::optional<Out> style;
        if (raw.size() == 3)
            style = sequence(raw[2]);
        return conversion(raw[0], value, style, QStringLiteral("CONVERT"));
    }
    if (u == QLatin1String("CAST")) {
        // CAST(x AS type): the last AS of the call's own level.
        std::size_t as = g.children.size();
        for (std::size_t k = 0; k < g.children.size(); ++k)
            if (isWord(g.children[k], "AS"))
                as = k;
        if (as == g.children.size() || as == 0)
            syntaxError(QStringLiteral("Incorrect syntax near 'CAST'."));
        const std::vector<Node> valueNodes(g.children.begin(), g.children.begin() + std::ptrdiff_t(as));
        const std::vector<Node> typeNodes(g.children.begin() + std::ptrdiff_t(as) + 1, g.children.end());
        return conversion(typeNodes, sequence(valueNodes), std::nullopt, QStringLiteral("CAST"));
    }
    if (u == QLatin1String("ISNULL") || u == QLatin1String("COALESCE")) {
        std::vector<Out> a = args(g, u == QLatin1String("ISNULL") ? 2 : std::size_t(-1), u.toLower());
        if (a.size() < 2)
            syntaxError(QStringLiteral("The coalesce function requires at least 2 arguments."));
        // ISNULL takes the type of its first argument, COALESCE the one of
        // highest precedence among its arguments: the others convert to it.
        ValueType type = valueType(a[0]);
        bool typedAll = a[0].type == Type::Null || type.kind != ColumnKind::Other;
        if (u == QLatin1String("COALESCE")) {
            for (std::size_t k = 1; k < a.size(); ++k) {
                typedAll = typedAll && (a[k].type == Type::Null || valueType(a[k]).kind != ColumnKind::Other);
                type = higherType(type, valueType(a[k]));
            }
        }
        Out result{{}, Type::Unknown};
        if (type.kind != ColumnKind::Other && (typedAll || u == QLatin1String("ISNULL"))) {
            for (Out& arg : a)
                arg = convertedTo(arg, type);
            if (type.kind != ColumnKind::Text)
                giveType(result, type);
            else
                result.type = Type::Text;
        }
        result.text = call(u == QLatin1String("ISNULL") ? "ifnull" : "coalesce", a);
        return result;
    }
    if (u == QLatin1String("NULLIF")) {
        const auto a = args(g, 2, QStringLiteral("nullif"), true);
        return Out{call("nullif", a), a[0].type};
    }
    if (u == QLatin1String("LEN"))
        return whole(call("tsql_len", args(g, 1, QStringLiteral("len"))));
    if (u == QLatin1String("DATALENGTH"))
        return whole(call("tsql_datalength", args(g, 1, QStringLiteral("datalength"))));
    if (u == QLatin1String("LTRIM"))
        return Out{call("ltrim", args(g, 1, QStringLiteral("ltrim"))), Type::Text};
    if (u == QLatin1String("RTRIM"))
        return Out{call("rtrim", args(g, 1, QStringLiteral("rtrim"))), Type::Text};
    if (u == QLatin1String("SUBSTRING"))
        return Out{call("tsql_substring", args(g, 3, QStringLiteral("substring"))), Type::Text};
    if (u == QLatin1String("LEFT"))
        return Out{call("tsql_left", args(g, 2, QStringLiteral("left"))), Type::Text};
    if (u == QLatin1String("RIGHT"))
        return Out{call("tsql_right", args(g, 2, QStringLiteral("right"))), Type::Text};
    if (u == QLatin1String("CHARINDEX")) {
        const auto a = args(g, std::size_t(-1), QStringLiteral("charindex"));
        if (a.size() < 2 || a.size() > 3)
            syntaxError(QStringLiteral("The charindex function requires 2 or 3 arguments."));
        return whole(call("tsql_charindex", a));
    }
    if (u == QLatin1String("REPLACE"))
        return Out{call("tsql_replace", args(g, 3, QStringLiteral("replace"))), Type::Text};
    if (u == QLatin1String("CONCAT")) {
        // Each value as its conversion to a text writes it, a Null as an empty text.
        const std::vector<Out> a = args(g, std::size_t(-1), QStringLiteral("concat"));
        if (a.size() < 2 || a.size() > 254)
            serverFailure(serverError::ConcatArguments);
        static const std::vector<Node> anyText = {
            Node{Tok::Word, QStringLiteral("NVARCHAR"), false, {}},
            Node{Tok::Group, {}, false, {Node{Tok::Word, QStringLiteral("MAX"), false, {}}}}};
        QString joined;
        for (const Out& value : a) {
            const QString text =
                value.type == Type::Text ? value.text : conversion(anyText, value, std::nullopt, u).text;
            joined += (joined.isEmpty() ? QStringLiteral("(") : QStringLiteral(" || ")) +
                      QStringLiteral("ifnull(%1, '')").arg(text);
        }
        return Out{joined + QLatin1Char(')'), Type::Text};
    }
    if (u == QLatin1String("REPLICATE"))
        return Out{call("tsql_replicate", args(g, 2, QStringLiteral("replicate"))), Type::Text};
    if (u == QLatin1String("SPACE"))
        return Out{call("tsql_space", args(g, 1, QStringLiteral("space"))), Type::Text};
    if (u == QLatin1String("STUFF"))
        return Out{call("tsql_stuff", args(g, 4, QStringLiteral("stuff"))), Type::Text};
    if (u == QLatin1String("UPPER"))
        return Out{call("tsql_upper", args(g, 1, QStringLiteral("upper"))), Type::Text};
    if (u == QLatin1String("LOWER"))
        return Out{call("tsql_lower", args(g, 1, QStringLiteral("lower"))), Type::Text};
    if (u == QLatin1String("ROUND")) {
        std::vector<Out> a = args(g, std::size_t(-1), QStringLiteral("round"));
        if (a.size() < 2 || a.size() > 3)
            syntaxError(QStringLiteral("The round function requires 2 to 3 arguments."));
        if (a.size() == 2)
            a.push_back(Out{QStringLiteral("0")});
        // Money stays money; a decimal literal reaches the function as written, so it stays exact.
        const Type type = a[0].type == Type::Money ? Type::Money : Type::Number;
        a[0].text = moneyArgument(a[0]);
        Out rounded{call("tsql_round", a), type};
        rounded.column = a[0].column == ColumnKind::Integer ? ColumnKind::Integer : ColumnKind::Other;
        return rounded;
    }
    if (u == QLatin1String("FORMAT"))
        refuse(QStringLiteral("FORMAT"));
    // Aggregates and ABS keep their names; money adds up exactly.
    const Out inner = group(g);
    if (valueType(inner).kind == ColumnKind::Bit && (u == QLatin1String("SUM") || u == QLatin1String("AVG")))
        serverFailure(serverError::BadOperandType, {QStringLiteral("bit"), u.toLower()});
    if (inner.type == Type::Money && (u == QLatin1String("SUM") || u == QLatin1String("AVG")))
        return Out{(u == QLatin1String("SUM") ? QStringLiteral("tsql_money_sum") : QStringLiteral("tsql_money_avg")) +
                       inner.text,
                   Type::Money};
    if (u == QLatin1String("COUNT"))
        return whole(u + inner.text);
    // The sum of whole numbers within 32 bits is an int, and fails beyond it.
    if (u == QLatin1String("SUM") && inner.type == Type::Number && inner.column == ColumnKind::Integer &&
        valueType(inner).precision <= 10)
        return whole(QStringLiteral("tsql_int(SUM%1, 32)").arg(inner.text));
    // The average of whole numbers is a whole number, its fraction dropped.
    if (u == QLatin1String("AVG")) {
        // AVG(DISTINCT column): the column's type (a name holds no literal to bind twice).
        bool distinctColumn = g.children.size() > 1 && isWord(g.children.front(), "DISTINCT");
        for (std::size_t k = 1; k < g.children.size() && distinctColumn; ++k)
            distinctColumn =
                g.children[k].kind == Tok::Word || g.children[k].kind == Tok::Ident || g.children[k].kind == Tok::Dot;
        const Out value =
            distinctColumn ? sequence(std::vector<Node>(g.children.begin() + 1, g.children.end())) : inner;
        if (value.type == Type::Number && value.column == ColumnKind::Integer)
            return whole(QStringLiteral("(SUM%1 / COUNT%1)").arg(inner.text));
    }
    if (u == QLatin1String("MIN") || u == QLatin1String("MAX") || u == QLatin1String("ABS")) {
        Out out{u + inner.text, inner.type, Source::Computed, {}, inner.column};
        out.precision = inner.precision;
        out.scale = inner.scale;
        return out;
    }
    return Out{u + inner.text, Type::Number};
}

} // namespace platform::db::sqlite::translation
