#include "platform/db/AdoErrors.h"

namespace platform::db {

void raiseAdoError(int32_t number, const QString& source)
{
    switch (number) {
    case adErr::ObjectClosed:
        throw DbError(number, QStringLiteral("Operation is not allowed when the object is closed."), source);
    case adErr::ObjectOpen:
        throw DbError(number, QStringLiteral("Operation is not allowed when the object is open."), source);
    case adErr::ItemNotFound:
        throw DbError(number,
                      QStringLiteral("Item cannot be found in the collection corresponding to the requested name or "
                                     "ordinal."),
                      QStringLiteral("ADODB.Fields"));
    case adErr::NoCurrentRecord:
        throw DbError(number,
                      QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. Requested "
                                     "operation requires a current record."),
                      source);
    case adErr::BadArgument:
        throw DbError(number,
                      QStringLiteral("Arguments are of the wrong type, are out of acceptable range, or are in "
                                     "conflict with one another."),
                      source);
    case adErr::OperationNotAllowed:
        throw DbError(number, QStringLiteral("Operation is not allowed in this context."), source);
    default:
        throw DbError(adErr::ConnectionUnusable,
                      QStringLiteral("The connection cannot be used to perform this operation. It is either closed "
                                     "or invalid in this context."),
                      source);
    }
}

} // namespace platform::db
