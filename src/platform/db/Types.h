#pragma once

#include "platform/core/Error.h"
#include "platform/core/Variant.h"

#include <QString>

#include <cstdint>
#include <utility>

// ADO's names and numbers, so that the program's data access reads in ADO's terms.
namespace platform::db {

enum ObjectState : int { adStateClosed = 0, adStateOpen = 1, adStateConnecting = 2, adStateExecuting = 4 };
enum CursorLocationEnum : int { adUseServer = 2, adUseClient = 3 };
enum CursorTypeEnum : int { adOpenForwardOnly = 0, adOpenKeyset = 1, adOpenDynamic = 2, adOpenStatic = 3 };
enum LockTypeEnum : int { adLockReadOnly = 1, adLockPessimistic = 2, adLockOptimistic = 3, adLockBatchOptimistic = 4 };
enum CommandTypeEnum : int {
    adCmdUnspecified = -1,
    adCmdText = 1,
    adCmdTable = 2,
    adCmdStoredProc = 4,
    adCmdUnknown = 8
};
enum EditModeEnum : int { adEditNone = 0, adEditInProgress = 1, adEditAdd = 2 };
enum SchemaEnum : int { adSchemaColumns = 4, adSchemaTables = 20 };
enum IsolationLevelEnum : int { adXactReadCommitted = 4096, adXactSerializable = 1048576 };
enum PositionEnum : int { adPosUnknown = -1, adPosBOF = -2, adPosEOF = -3 };

// Field type codes.
enum DataTypeEnum : int {
    adEmpty = 0,
    adSmallInt = 2,
    adInteger = 3,
    adSingle = 4,
    adDouble = 5,
    adCurrency = 6,
    adDate = 7,
    adBoolean = 11,
    adVariant = 12,
    adTinyInt = 16,
    adBigInt = 20,
    adGUID = 72,
    adBinary = 128,
    adChar = 129,
    adWChar = 130,
    adNumeric = 131,
    adDBTimeStamp = 135,
    adVarChar = 200,
    adLongVarChar = 201,
    adVarWChar = 202,
    adLongVarWChar = 203,
    adVarBinary = 204,
    adLongVarBinary = 205,
};

// Error numbers as the program's handlers compare them (32-bit, so the HRESULTs are negative).
namespace adErr {
constexpr int32_t BadArgument = 3001;
constexpr int32_t ItemNotFound = 3265;
constexpr int32_t OperationNotAllowed = 3219;
constexpr int32_t ObjectClosed = 3704;
constexpr int32_t ObjectOpen = 3705;
constexpr int32_t ProviderNotFound = 3706;
constexpr int32_t ConnectionUnusable = 3709;
constexpr int32_t NoCurrentRecord = 3021;
constexpr int32_t Generic = int32_t(0x80004005);
constexpr int32_t Syntax = int32_t(0x80040E14);
constexpr int32_t NoSuchObject = int32_t(0x80040E37);
constexpr int32_t Constraint = int32_t(0x80040E2F);
constexpr int32_t Timeout = int32_t(0x80040E31);
constexpr int32_t TypeMismatch = int32_t(0x80040E07);
constexpr int32_t NotSupported = int32_t(0x80040E21);         // also "multiple-step operation generated errors"
constexpr int32_t RowNotFound = int32_t(0x80040E38);          // the row to update or delete is gone
constexpr int32_t DataOverflow = int32_t(0x80040E57);         // text or number too long for its column
constexpr int32_t NoCommand = int32_t(0x80040E0C);            // the command text is empty
constexpr int32_t AuthenticationFailed = int32_t(0x80040E4D); // the login was refused
} // namespace adErr

// SQL Server's native error numbers that the program reads.
namespace native {
constexpr int32_t LostLink = 11;
constexpr int32_t InvalidColumn = 207;
constexpr int32_t CannotConvertToMoney = 235;
constexpr int32_t InvalidObject = 208;
constexpr int32_t NullNotAllowed = 515;
constexpr int32_t ConstraintConflict = 547;
constexpr int32_t DuplicateKey = 2627;
constexpr int32_t NoSuchDatabase = 911;
constexpr int32_t NoBeginForCommit = 3902;
constexpr int32_t NoBeginForRollback = 3903;
constexpr int32_t CannotOpenDatabase = 4060;
constexpr int32_t TextTooLong = 8152;
constexpr int32_t NestedTooDeeply = 191;
} // namespace native

// One entry of a connection's Errors collection.
using ErrorInfo = platform::ErrorInfo;

// The errors of the data platform, with ADO's numbers and, from a provider,
// its SQLSTATE and native error.
class DbError : public Error
{
public:
    explicit DbError(ErrorInfo info) : Error(std::move(info)) {}
    DbError(int32_t number, const QString& description, const QString& source = QStringLiteral("ADODB"))
        : Error(number, description, source)
    {
    }
};

} // namespace platform::db
