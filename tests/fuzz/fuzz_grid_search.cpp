// Builds the grid's search conditions from any typed text, on every column
// and on one text or date field, and checks them with the translator's
// tokenizer: the typed text stays inside its literal (the condition's only
// texts are the patterns '%<typed>%' and the dates' bounds), and the page's
// WHERE part with it translates.
#include "FuzzSupport.h"

#include "controls/grid/ConsultaPaginada.h"
#include "platform/db/Types.h"
#include "platform/db/sqlite/SqlTokenizer.h"
#include "platform/db/sqlite/SqlTranslator.h"

using controls::ConsultaPaginada;
using namespace platform::db::sqlite;

namespace {

// The probe of a table with a long field before its date field, as the
// grid's own tests build it.
ConsultaPaginada probed()
{
    ConsultaPaginada q;
    q.sql = QStringLiteral(" SELECT * FROM T ");
    q.PrepararCarga();
    q.Equias();
    q.CargarCamposTodos({{QStringLiteral("ID"), platform::db::adInteger},
                         {QStringLiteral("Notas"), platform::db::adLongVarWChar},
                         {QStringLiteral("Fecha"), platform::db::adDBTimeStamp},
                         {QStringLiteral("Nombre"), platform::db::adVarWChar}},
                        q.sql);
    return q;
}

SqlCatalog catalog()
{
    SqlCatalog c;
    c.addTable(QStringLiteral("T"), {{QStringLiteral("ID"), ColumnKind::Integer},
                                     {QStringLiteral("Notas"), ColumnKind::Text},
                                     {QStringLiteral("Fecha"), ColumnKind::DateTime},
                                     {QStringLiteral("Nombre"), ColumnKind::Text}});
    return c;
}

// The texts of the condition's literals, in their order.
void collectStrings(const std::vector<translation::Node>& nodes, QStringList& out)
{
    for (const translation::Node& n : nodes) {
        if (n.kind == translation::Tok::String)
            out << n.text;
        collectStrings(n.children, out);
    }
}

void check(const QString& condition, const QString& typed, int textTerms)
{
    const QString where = QStringLiteral("SELECT * FROM T WHERE ") + condition;
    QStringList strings;
    try {
        collectStrings(translation::nest(translation::tokenize(where)), strings);
        (void)SqlTranslator::translateUncached(where, catalog());
    } catch (const platform::db::DbError& e) {
        fuzz_support::fault("a search condition does not translate", condition + u'\n' + e.description());
    }
    const QString pattern = u'%' + typed + u'%';
    if (strings.count(pattern) != textTerms)
        fuzz_support::fault("the typed text left its literal", condition);
    for (const QString& s : strings)
        if (s != pattern && !(s.size() == 8 || s.size() == 17))
            fuzz_support::fault("a literal of the condition is neither the pattern nor a date", condition);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const ConsultaPaginada q = probed();
    const QString typed = fuzz_support::text(data, size);
    const QStringList headings{QStringLiteral("ID"), QStringLiteral("Fecha"), QStringLiteral("Nombre")};
    if (const QString all = q.CondicionTodos(headings, typed); !all.isEmpty())
        check(all, typed, 2);
    check(*q.CondicionCampo(QStringLiteral("Nombre"), typed), typed, 1);
    if (const std::optional<QString> date = q.CondicionCampo(QStringLiteral("Fecha"), typed))
        check(*date, typed, 0);
    return 0;
}
