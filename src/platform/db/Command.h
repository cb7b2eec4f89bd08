#pragma once

#include "platform/db/Types.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace platform::db {

class Connection;
class Recordset;

enum ParameterDirectionEnum : int {
    adParamUnknown = 0,
    adParamInput = 1,
    adParamOutput = 2,
    adParamInputOutput = 3,
    adParamReturnValue = 4
};

// True for the text type codes: char, varchar, their wide and their long forms.
bool isTextType(int type);

// A parameter of a command, as CreateParameter makes it.
class Parameter
{
public:
    Parameter(const QString& name, DataTypeEnum type, int direction, int64_t size, const Variant& value)
        : m_name(name), m_type(type), m_direction(direction), m_size(size), m_value(value)
    {
    }

    QString Name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    DataTypeEnum Type() const { return m_type; }
    void setType(DataTypeEnum type) { m_type = type; }
    int Direction() const { return m_direction; }
    void setDirection(int direction) { m_direction = direction; }
    int64_t Size() const { return m_size; }
    void setSize(int64_t size) { m_size = size; }
    Variant Value() const { return m_value; }
    void setValue(const Variant& value) { m_value = value; }

private:
    QString m_name;
    DataTypeEnum m_type;
    int m_direction;
    int64_t m_size;
    Variant m_value;
};

// The parameters of a command, in the order they were appended.
class ParameterList
{
public:
    // Raises 3708 for a parameter without a type, or of a text type without a size.
    void Append(std::shared_ptr<Parameter> parameter);
    int Count() const { return int(m_items.size()); }
    // By position (0-based) or by name without regard to case; raises 3265 when absent.
    Parameter& Item(int index) const;
    Parameter& Item(const QString& name) const;

private:
    std::vector<std::shared_ptr<Parameter>> m_items;
};

// A command in ADO's shape: a statement (CommandType 1, or 8 unknown) or a
// stored procedure (4) with appended parameters, run on its active
// connection. Failures are raised as DbError and leave the connection's
// Errors as its Execute leaves them.
class Command
{
public:
    Connection* ActiveConnection() const { return m_connection; }
    void setActiveConnection(Connection* connection) { m_connection = connection; }
    QString CommandText() const { return m_text; }
    void setCommandText(const QString& text) { m_text = text; }
    int CommandType() const { return m_type; }
    void setCommandType(int type) { m_type = type; }

    std::shared_ptr<Parameter> CreateParameter(const QString& name = {}, DataTypeEnum type = adEmpty,
                                               int direction = adParamInput, int64_t size = 0,
                                               const Variant& value = {}) const;
    ParameterList& Parameters() { return m_parameters; }

    // Runs the command. A stored procedure gets its parameters bound by
    // position, each value converted to its parameter's type first (a value
    // that does not convert raises 3421); a statement takes no parameters.
    // Returns the record set of the first result that has rows (closed when
    // there is none). Raises 3709 without an open connection, 0x80040E0C
    // without a command text.
    std::shared_ptr<Recordset> Execute(int64_t* recordsAffected = nullptr, int options = adCmdUnspecified);

private:
    Connection* m_connection = nullptr;
    QString m_text;
    int m_type = adCmdUnknown;
    ParameterList m_parameters;
};

} // namespace platform::db
