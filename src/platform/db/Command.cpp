#include "platform/db/Command.h"

#include "platform/db/AdoErrors.h"
#include "platform/db/Backend.h"
#include "platform/db/Connection.h"

#include <optional>

namespace platform::db {

namespace {

const QString kCommandSource = QStringLiteral("ADODB.Command");
const QString kParametersSource = QStringLiteral("ADODB.Parameters");

constexpr int32_t kImproperlyDefined = 3708;
constexpr int32_t kWrongType = 3421;
constexpr int32_t kNoCommandText = int32_t(0x80040E0C);

// The value as the parameter's type holds it; nullopt when it does not convert.
std::optional<Variant> converted(const Parameter& p)
{
    const Variant v = p.Value();
    if (v.isBlank())
        return v;
    if (isTextType(p.Type())) {
        const QString text = v.toText();
        // A longer value is cut to the parameter's size, as the server cuts it.
        return Variant(p.Size() > 0 && text.size() > p.Size() ? text.left(qsizetype(p.Size())) : text);
    }
    switch (p.Type()) {
    case adTinyInt:
    case adSmallInt:
    case adInteger:
    case adBigInt:
        if (const auto i = v.toInteger())
            return Variant(*i);
        return std::nullopt;
    case adSingle:
    case adDouble:
        if (const auto d = v.toDouble())
            return Variant(*d);
        return std::nullopt;
    case adCurrency:
    case adNumeric:
        if (const auto c = v.toCurrency())
            return Variant(*c);
        return std::nullopt;
    case adBoolean:
        if (const auto b = v.toBoolean())
            return Variant(*b);
        return std::nullopt;
    case adDate:
    case adDBTimeStamp:
        if (const auto d = v.toDate())
            return Variant(*d);
        return std::nullopt;
    default:
        return v;
    }
}

} // namespace

bool isTextType(int type)
{
    switch (type) {
    case adChar:
    case adVarChar:
    case adWChar:
    case adVarWChar:
    case adLongVarChar:
    case adLongVarWChar:
        return true;
    default:
        return false;
    }
}

void ParameterList::Append(std::shared_ptr<Parameter> parameter)
{
    if (!parameter || parameter->Type() == adEmpty || (isTextType(parameter->Type()) && parameter->Size() <= 0))
        throw DbError(kImproperlyDefined,
                      QStringLiteral("Parameter object is improperly defined. Inconsistent or "
                                     "incomplete information was provided."),
                      kParametersSource);
    m_items.push_back(std::move(parameter));
}

Parameter& ParameterList::Item(int index) const
{
    if (index < 0 || index >= Count())
        raiseAdoError(adErr::ItemNotFound, kParametersSource);
    return *m_items[std::size_t(index)];
}

Parameter& ParameterList::Item(const QString& name) const
{
    for (const auto& p : m_items)
        if (p->Name().compare(name, Qt::CaseInsensitive) == 0)
            return *p;
    raiseAdoError(adErr::ItemNotFound, kParametersSource);
}

std::shared_ptr<Parameter> Command::CreateParameter(const QString& name, DataTypeEnum type, int direction, int64_t size,
                                                    const Variant& value) const
{
    return std::make_shared<Parameter>(name, type, direction, size, value);
}

std::shared_ptr<Recordset> Command::Execute(int64_t* recordsAffected, int options)
{
    (void)options;
    if (!m_connection || m_connection->State() != adStateOpen)
        raiseAdoError(adErr::ConnectionUnusable, kCommandSource);
    if (m_text.trimmed().isEmpty())
        throw DbError(kNoCommandText, QStringLiteral("Command text was not set for the command object."),
                      kCommandSource);
    if (m_type != adCmdStoredProc) {
        if (m_parameters.Count() > 0)
            throw DbError(adErr::NotSupported, QStringLiteral("Parameters are taken by stored procedures only."),
                          kCommandSource);
        return m_connection->Execute(m_text, recordsAffected);
    }
    std::vector<ProcedureParameter> parameters;
    for (int i = 0; i < m_parameters.Count(); ++i) {
        const Parameter& p = m_parameters.Item(i);
        const std::optional<Variant> value = converted(p);
        if (!value)
            throw DbError(kWrongType,
                          QStringLiteral("Application uses a value of the wrong type for the current operation."),
                          kCommandSource);
        parameters.push_back(ProcedureParameter{p.Name(), p.Type(), p.Direction(), p.Size(), *value});
    }
    ResultSet result;
    const QString name = m_text.trimmed();
    m_connection->provider(true, [&](Backend& b, std::vector<ErrorInfo>& errors) {
        result = b.executeProcedure(name, parameters, errors);
    });
    if (recordsAffected)
        *recordsAffected = result.recordsAffected;
    return m_connection->recordsetOf(std::move(result), name);
}

} // namespace platform::db
