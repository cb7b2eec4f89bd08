// Stored procedures of the embedded engine: the definition is read from the
// procedures table, its header gives the parameters, and its body is
// translated with each parameter left as a named SQLite parameter, to which
// the call's values are bound.
#include "platform/db/sqlite/SqliteProcedures.h"

#include "platform/db/sqlite/SqlBatchSplitter.h"
#include "platform/db/sqlite/SqlStatementTranslator.h"
#include "platform/db/sqlite/SqlTokenizer.h"
#include "platform/db/sqlite/SqliteBackend.h"
#include "platform/db/sqlite/SqliteBackendInternal.h"
#include "platform/db/sqlite/SqliteTypes.h"

#include <sqlite3.h>

#include <QStringList>

#include <optional>

namespace platform::db::sqlite {

using backend::entry;
using backend::kProvider;
using backend::raise;
using translation::isWord;
using translation::Node;
using translation::Tok;

namespace {

constexpr int32_t kNoSuchProcedure = 2812;
constexpr int32_t kParameterNotSupplied = 201;
constexpr int32_t kTooManyArguments = 8144;
constexpr int32_t kConversionFailed = 8114;
constexpr int32_t kUseInProcedure = 154;

// A parameter as the procedure's header declares it.
struct Declared
{
    QString name; // with its "@", as declared
    QString type; // the declared type with its length, "varchar(50)"
    bool text = false;
    bool fixed = false; // char and nchar are filled with blanks to their length
    int length = 0;     // of a sized text type; 0 when it has none (or MAX)
    std::optional<Variant> byDefault;
};

struct Definition
{
    std::vector<Declared> parameters;
    std::vector<Node> body;
};

// The procedure name without owner and quotes: "[dbo].[p]" is "p".
QString bareName(const QString& name)
{
    QString last = name.trimmed().section(u'.', -1).trimmed();
    if (last.size() >= 2 &&
        ((last.startsWith(u'[') && last.endsWith(u']')) || (last.startsWith(u'"') && last.endsWith(u'"'))))
        last = last.mid(1, last.size() - 2);
    return last;
}

[[noreturn]] void unreadable(const QString& procedure, const QString& what, std::vector<ErrorInfo>& errors)
{
    raise(errors,
          entry(adErr::Syntax,
                QStringLiteral("The definition of the stored procedure '%1' cannot be run: %2.").arg(procedure, what),
                QStringLiteral("42000"), 0));
}

class HeaderReader
{
public:
    HeaderReader(const QString& procedure, std::vector<Node> tokens, std::vector<ErrorInfo>& errors)
        : m_procedure(procedure), m_tokens(std::move(tokens)), m_errors(errors)
    {
    }

    Definition read()
    {
        if (!(word("CREATE") || word("ALTER")) || !(word("PROCEDURE") || word("PROC")))
            fail(QStringLiteral("it does not begin with CREATE PROCEDURE"));
        if (!name())
            fail(QStringLiteral("it names no procedure"));
        while (kind(Tok::Dot))
            if (!name())
                fail(QStringLiteral("it names no procedure"));
        Definition d;
        const bool parenthesised = kind(Tok::LParen);
        while (peek() && peek()->kind == Tok::Variable) {
            d.parameters.push_back(parameter());
            if (!kind(Tok::Comma))
                break;
        }
        if (parenthesised && !kind(Tok::RParen))
            fail(QStringLiteral("its parameter list is not closed"));
        if (peek() && isWord(*peek(), "WITH"))
            fail(QStringLiteral("WITH options"));
        if (!word("AS"))
            fail(QStringLiteral("AS does not follow its parameters"));
        d.body.assign(m_tokens.begin() + std::ptrdiff_t(m_at), m_tokens.end());
        if (d.body.empty())
            fail(QStringLiteral("it has no body"));
        return d;
    }

private:
    const Node* peek() const { return m_at < m_tokens.size() ? &m_tokens[m_at] : nullptr; }
    bool word(const char* w)
    {
        if (peek() && isWord(*peek(), w)) {
            ++m_at;
            return true;
        }
        return false;
    }
    bool kind(Tok k)
    {
        if (peek() && peek()->kind == k) {
            ++m_at;
            return true;
        }
        return false;
    }
    bool name() { return kind(Tok::Word) || kind(Tok::Ident); }
    [[noreturn]] void fail(const QString& what) { unreadable(m_procedure, what, m_errors); }

    // @name [AS] type [(n[, m]) | (MAX)] [VARYING] [= default] [OUT | OUTPUT | READONLY]
    Declared parameter()
    {
        Declared p;
        p.name = m_tokens[m_at++].text;
        word("AS");
        const Node* type = peek();
        if (!type || !name())
            fail(QStringLiteral("the parameter %1 has no type").arg(p.name));
        const QString base = type->text.toUpper();
        p.type = type->text;
        if (kind(Tok::LParen)) {
            QStringList sizes;
            while (peek() && (peek()->kind == Tok::Number || isWord(*peek(), "MAX"))) {
                sizes << m_tokens[m_at++].text;
                kind(Tok::Comma);
            }
            if (!kind(Tok::RParen) || sizes.isEmpty())
                fail(QStringLiteral("the type of the parameter %1 is not closed").arg(p.name));
            p.type += u'(' + sizes.join(u',') + u')';
            p.length = sizes.front().toInt();
        }
        p.fixed = base == u"CHAR" || base == u"NCHAR";
        p.text = p.fixed || base == u"VARCHAR" || base == u"NVARCHAR" || base == u"TEXT" || base == u"NTEXT" ||
                 base == u"SYSNAME";
        if ((base == u"CHAR" || base == u"NCHAR") && p.length == 0 && !p.type.contains(u'('))
            p.length = 1;
        word("VARYING");
        if (peek() && peek()->kind == Tok::Op && peek()->text == u"=") {
            ++m_at;
            p.byDefault = defaultValue(p.name);
        }
        if (!word("OUT") && !word("OUTPUT"))
            word("READONLY");
        return p;
    }

    Variant defaultValue(const QString& parameterName)
    {
        const Node* v = peek();
        if (v && (v->kind == Tok::String || v->kind == Tok::Number)) {
            ++m_at;
            return Variant(v->text);
        }
        if (v && isWord(*v, "NULL")) {
            ++m_at;
            return Variant::null();
        }
        if (v && v->kind == Tok::Op && (v->text == u"-" || v->text == u"+") && m_at + 1 < m_tokens.size() &&
            m_tokens[m_at + 1].kind == Tok::Number) {
            m_at += 2;
            return Variant(v->text + m_tokens[m_at - 1].text);
        }
        fail(QStringLiteral("the default of the parameter %1 is not a constant").arg(parameterName));
    }

    QString m_procedure;
    std::vector<Node> m_tokens;
    std::vector<ErrorInfo>& m_errors;
    std::size_t m_at = 0;
};

// The body with every declared parameter as a name that the translator
// writes out as it stands, which SQLite reads as a named parameter. Any
// other variable stays one, and the translator refuses it by name.
std::vector<Node> withParameters(std::vector<Node> body, const std::vector<Declared>& declared)
{
    for (Node& n : body) {
        if (!n.children.empty())
            n.children = withParameters(std::move(n.children), declared);
        if (n.kind != Tok::Variable)
            continue;
        for (const Declared& p : declared) {
            if (n.text.compare(p.name, Qt::CaseInsensitive) == 0) {
                n.kind = Tok::Word;
                n.text = p.name;
                break;
            }
        }
    }
    return body;
}

// A USE inside a procedure is refused, as SQL Server refuses it when the
// procedure is created.
void refuseUse(const std::vector<TranslatedStep>& steps, std::vector<ErrorInfo>& errors)
{
    for (const TranslatedStep& step : steps) {
        if (step.kind == TranslatedStep::Kind::UseDatabase)
            raise(errors, entry(adErr::Syntax,
                                QStringLiteral("a USE database statement is not allowed in a procedure, function or "
                                               "trigger."),
                                QStringLiteral("42000"), kUseInProcedure));
        refuseUse(step.body, errors);
    }
}

std::vector<TranslatedStep> translatedBody(const Definition& d, const SqlCatalog& catalog,
                                           std::vector<ErrorInfo>& errors)
{
    std::vector<TranslatedStep> steps;
    try {
        for (const auto& statement : translation::splitBatch(withParameters(d.body, d.parameters)))
            translation::translateStatement(translation::nest(statement), catalog, steps);
    } catch (const DbError& e) {
        ErrorInfo info = e.info();
        info.Source = kProvider;
        if (info.SQLState.isEmpty())
            info.SQLState = QStringLiteral("42000");
        raise(errors, std::move(info));
    }
    return steps;
}

// The call's values by parameter name, in the declared types: given by
// position, a missing or Empty one taking the declared default.
QHash<QString, Variant> boundValues(const QString& procedure, const Definition& d,
                                    const std::vector<ProcedureParameter>& given, std::vector<ErrorInfo>& errors)
{
    if (given.size() > d.parameters.size())
        raise(errors, entry(adErr::Syntax,
                            QStringLiteral("Procedure or function %1 has too many arguments specified.").arg(procedure),
                            QStringLiteral("42000"), kTooManyArguments));
    QHash<QString, Variant> values;
    for (std::size_t i = 0; i < d.parameters.size(); ++i) {
        const Declared& p = d.parameters[i];
        if (i < given.size() && given[i].direction != 1)
            raise(errors, entry(adErr::NotSupported,
                                QStringLiteral("The embedded engine passes input parameters only (%1).").arg(p.name),
                                QStringLiteral("HYC00"), 0));
        Variant v = i < given.size() ? given[i].value : Variant();
        if (v.isEmpty()) {
            if (!p.byDefault)
                raise(errors, entry(adErr::Syntax,
                                    QStringLiteral("Procedure or function '%1' expects parameter '%2', which was "
                                                   "not supplied.")
                                        .arg(procedure, p.name),
                                    QStringLiteral("42000"), kParameterNotSupplied));
            v = *p.byDefault;
        }
        if (p.text && !v.isNull()) {
            QString t = v.toText();
            if (p.length > 0)
                t = p.fixed ? t.leftJustified(p.length, u' ', true) : t.left(p.length);
            v = Variant(t);
        }
        const std::optional<Variant> stored = toStorage(v, p.type);
        if (!stored)
            raise(errors, entry(adErr::TypeMismatch,
                                QStringLiteral("Error converting the value of %1 to %2.").arg(p.name, p.type),
                                QStringLiteral("22018"), kConversionFailed));
        values.insert(p.name, *stored);
    }
    return values;
}

} // namespace

QString SqliteBackend::procedureDefinition(const QString& name, std::vector<ErrorInfo>& errors)
{
    const auto missing = [&] {
        raise(errors, entry(adErr::Syntax, QStringLiteral("Could not find stored procedure '%1'.").arg(name),
                            QStringLiteral("42000"), kNoSuchProcedure));
    };
    StmtPtr table = prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = '%1' "
                                           "COLLATE NOCASE")
                                .arg(QLatin1String(kProcedureTable)),
                            errors);
    if (sqlite3_step(table.get()) != SQLITE_ROW)
        missing();
    StmtPtr lookUp = prepare(
        QStringLiteral("SELECT DEFINITION FROM %1 WHERE NAME = ?1").arg(QLatin1String(kProcedureTable)), errors);
    const QByteArray bare = bareName(name).toUtf8();
    sqlite3_bind_text(lookUp.get(), 1, bare.constData(), int(bare.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(lookUp.get()) != SQLITE_ROW)
        missing();
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(lookUp.get(), 0)));
}

ResultSet SqliteBackend::executeProcedure(const QString& name, const std::vector<ProcedureParameter>& parameters,
                                          std::vector<ErrorInfo>& errors)
{
    db(errors);
    const QString definition = procedureDefinition(name, errors);
    std::vector<Node> tokens;
    try {
        tokens = translation::tokenize(definition);
    } catch (const DbError& e) {
        unreadable(name, e.info().Description, errors);
    }
    const Definition d = HeaderReader(name, std::move(tokens), errors).read();
    const QHash<QString, Variant> values = boundValues(bareName(name), d, parameters, errors);
    const std::vector<TranslatedStep> steps = translatedBody(d, catalog(errors), errors);
    refuseUse(steps, errors);
    const auto bind = [&](sqlite3_stmt* statement) {
        for (int i = 1; i <= sqlite3_bind_parameter_count(statement); ++i) {
            const char* parameter = sqlite3_bind_parameter_name(statement, i);
            const auto it = parameter ? values.constFind(QString::fromUtf8(parameter)) : values.constEnd();
            if (it != values.constEnd() && bindStorage(statement, i, it.value()) != SQLITE_OK)
                fail(sqlite3_errcode(m_db.get()), QString::fromUtf8(sqlite3_sql(statement)), errors);
        }
    };
    // SET NOCOUNT inside a procedure lasts until the procedure ends.
    struct NoCountScope
    {
        bool& noCount;
        const bool before = noCount;
        ~NoCountScope() { noCount = before; }
    } noCountScope{m_noCount};
    const CommandClock clock(*this);
    // A procedure is a scope of its own.
    m_scopeIdentity.reset();
    Batch batch;
    runSteps(steps, batch, errors, bind);
    return batch.answer();
}

} // namespace platform::db::sqlite
