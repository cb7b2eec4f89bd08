#include "platform/db/odbc/OdbcProcedures.h"

#include <QRegularExpression>
#include <QStringList>

namespace platform::db::odbc {

namespace {

const QString kSource = QStringLiteral("Microsoft OLE DB Provider for ODBC Drivers");

} // namespace

ProcedureCall procedureCall(const QString& name, const std::vector<ProcedureParameter>& parameters)
{
    static const QRegularExpression procedureName(
        QStringLiteral(R"(^(\[[^\]]+\]|[A-Za-z_#@][\w@#$]*)(\.(\[[^\]]+\]|[A-Za-z_#@][\w@#$]*)){0,3}$)"));
    const QString trimmed = name.trimmed();
    if (!procedureName.match(trimmed).hasMatch())
        throw DbError(ErrorInfo{adErr::Syntax,
                                QStringLiteral("Incorrect syntax near '%1': not a stored procedure name.").arg(trimmed),
                                kSource, QStringLiteral("42000"), 0});
    for (const ProcedureParameter& p : parameters)
        if (p.direction != 1)
            throw DbError(ErrorInfo{adErr::NotSupported,
                                    QStringLiteral("Only input parameters are passed (%1).").arg(p.name), kSource,
                                    QStringLiteral("HYC00"), 0});
    std::size_t count = parameters.size();
    while (count > 0 && parameters[count - 1].value.isEmpty())
        --count;
    ProcedureCall call;
    QStringList markers;
    for (std::size_t i = 0; i < count; ++i) {
        const ProcedureParameter& p = parameters[i];
        if (p.value.isEmpty()) {
            markers << QString();
        } else {
            markers << QStringLiteral("?");
            call.values.push_back(p.value);
        }
    }
    call.text =
        QStringLiteral("{call ") + trimmed + (markers.isEmpty() ? QString() : u'(' + markers.join(u',') + u')') + u'}';
    return call;
}

} // namespace platform::db::odbc
