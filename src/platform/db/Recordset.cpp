#include "platform/db/Connection.h"

#include "platform/db/AdoErrors.h"

namespace platform::db {

namespace {

const QString kSource = QStringLiteral("ADODB.Recordset");

[[noreturn]] void raise(int32_t number)
{
    raiseAdoError(number, kSource);
}

// A result can be written back when every column comes from its one base table.
bool canWriteBack(const ResultSet& r)
{
    if (r.baseTable.isEmpty() || r.rowKeys.size() != r.rows.size() || r.columns.empty())
        return false;
    for (const ColumnInfo& c : r.columns) {
        if (c.baseColumn.isEmpty() || c.baseTable.compare(r.baseTable, Qt::CaseInsensitive) != 0)
            return false;
    }
    return true;
}

// Whether two names of one length are the same without regard to case. Units
// that are both ASCII fold to their lower case, as Unicode folds them; the
// first other pair that differs leaves the answer to Qt's folding.
bool sameName(const QString& a, const QString& b)
{
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t x = a[i].unicode();
        const char16_t y = b[i].unicode();
        if (x == y)
            continue;
        if (x >= 0x80 || y >= 0x80)
            return a.compare(b, Qt::CaseInsensitive) == 0;
        if ((x | 0x20) != (y | 0x20) || (x | 0x20) < u'a' || (x | 0x20) > u'z')
            return false;
    }
    return true;
}

} // namespace

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

void Recordset::Open(const QString& source, Connection* activeConnection, int cursorType, int lockType, int options)
{
    (void)cursorType; // client-side: every record set is static
    if (m_open)
        raise(adErr::ObjectOpen);
    if (!activeConnection || activeConnection->State() != adStateOpen)
        raise(adErr::ConnectionUnusable);
    const QString sql = options == adCmdTable ? QStringLiteral("select * from ") + source : source;
    const bool wantKeys = lockType != adLockReadOnly;
    ResultSet result;
    activeConnection->provider(true, [&](Backend& b, std::vector<ErrorInfo>& errors) {
        result = wantKeys ? b.executeUpdatable(sql, errors) : b.execute(sql, errors);
    });
    // An action statement leaves the record set closed, as ADO does.
    attach(std::move(result), activeConnection, lockType, source);
}

void Recordset::attach(ResultSet result, Connection* connection, int lockType, const QString& source)
{
    m_pending = std::move(result.next);
    if (!result.hasRows)
        return;
    m_result = std::move(result);
    m_connection = connection;
    m_connectionAlive = connection ? std::weak_ptr<int>(connection->m_alive) : std::weak_ptr<int>();
    m_lockType = (lockType != adLockReadOnly && canWriteBack(m_result)) ? lockType : adLockReadOnly;
    m_source = source;
    m_position = 0;
    m_onDeleted = false;
    m_editMode = adEditNone;
    m_editBuffer.clear();
    m_changed.clear();
    m_open = true;
}

void Recordset::Close()
{
    requireOpen();
    if (m_editMode != adEditNone)
        raise(adErr::OperationNotAllowed);
    m_open = false;
    m_result = ResultSet();
    m_pending.clear();
    m_connection = nullptr;
    m_connectionAlive.reset();
    m_position = 0;
    m_onDeleted = false;
}

std::shared_ptr<Recordset> Recordset::NextRecordset(int64_t* recordsAffected)
{
    if (m_editMode != adEditNone)
        raise(adErr::OperationNotAllowed);
    std::vector<ResultSet> pending = std::move(m_pending);
    m_pending.clear();
    Connection* connection = m_connection;
    const QString source = m_source;
    if (m_open)
        Close();
    if (pending.empty()) {
        if (recordsAffected)
            *recordsAffected = -1;
        return nullptr;
    }
    ResultSet next = std::move(pending.front());
    next.next.assign(std::make_move_iterator(pending.begin() + 1), std::make_move_iterator(pending.end()));
    if (recordsAffected)
        *recordsAffected = next.recordsAffected;
    auto rs = std::make_shared<Recordset>();
    rs->attach(std::move(next), connection, adLockReadOnly, source);
    return rs;
}

void Recordset::requireOpen() const
{
    if (!m_open)
        raise(adErr::ObjectClosed);
}

void Recordset::requireCurrent() const
{
    requireOpen();
    if (m_editMode == adEditAdd)
        return;
    if (m_onDeleted || m_position < 0 || m_position >= int64_t(m_result.rows.size()))
        raise(adErr::NoCurrentRecord);
}

bool Recordset::Bof() const
{
    requireOpen();
    if (m_editMode == adEditAdd || m_onDeleted)
        return false;
    return m_result.rows.empty() || m_position < 0;
}

bool Recordset::Eof() const
{
    requireOpen();
    if (m_editMode == adEditAdd || m_onDeleted)
        return false;
    return m_result.rows.empty() || m_position >= int64_t(m_result.rows.size());
}

void Recordset::finishPendingEdit()
{
    if (m_editMode != adEditNone)
        Update();
}

void Recordset::leaveDeletedRow()
{
    m_onDeleted = false;
}

void Recordset::MoveFirst()
{
    requireOpen();
    finishPendingEdit();
    if (m_result.rows.empty())
        raise(adErr::NoCurrentRecord);
    leaveDeletedRow();
    m_position = 0;
}

void Recordset::MoveLast()
{
    requireOpen();
    finishPendingEdit();
    if (m_result.rows.empty())
        raise(adErr::NoCurrentRecord);
    leaveDeletedRow();
    m_position = int64_t(m_result.rows.size()) - 1;
}

void Recordset::MoveNext()
{
    requireOpen();
    finishPendingEdit();
    if (m_onDeleted) {
        // The row after the deleted one is already in place.
        leaveDeletedRow();
        return;
    }
    if (Eof())
        raise(adErr::NoCurrentRecord);
    ++m_position;
}

void Recordset::MovePrevious()
{
    requireOpen();
    finishPendingEdit();
    if (m_onDeleted) {
        leaveDeletedRow();
        m_position = std::max<int64_t>(m_position - 1, -1);
        return;
    }
    if (Bof())
        raise(adErr::NoCurrentRecord);
    --m_position;
}

void Recordset::Move(int64_t offset)
{
    requireOpen();
    finishPendingEdit();
    if (offset == 0)
        return;
    int64_t target = 0;
    if (m_onDeleted) {
        target = offset > 0 ? m_position + offset - 1 : m_position + offset;
        leaveDeletedRow();
    } else {
        if ((offset > 0 && Eof()) || (offset < 0 && Bof()))
            raise(adErr::NoCurrentRecord);
        target = m_position + offset;
    }
    const int64_t count = int64_t(m_result.rows.size());
    m_position = std::clamp<int64_t>(target, -1, count);
}

int64_t Recordset::RecordCount() const
{
    requireOpen();
    return int64_t(m_result.rows.size());
}

int64_t Recordset::AbsolutePosition() const
{
    requireOpen();
    if (m_editMode == adEditAdd || m_onDeleted)
        return adPosUnknown;
    if (m_position < 0)
        return adPosBOF;
    if (m_position >= int64_t(m_result.rows.size()))
        return adPosEOF;
    return m_position + 1;
}

void Recordset::setAbsolutePosition(int64_t position)
{
    requireOpen();
    finishPendingEdit();
    if (position < 1 || position > int64_t(m_result.rows.size()))
        raise(adErr::BadArgument);
    leaveDeletedRow();
    m_position = position - 1;
}

int Recordset::FieldCount() const
{
    requireOpen();
    return int(m_result.columns.size());
}

Field Recordset::Fields(int index)
{
    column(index);
    return Field(this, index);
}

Field Recordset::Fields(const QString& name)
{
    const int index = fieldIndex(name);
    if (index < 0)
        raise(adErr::ItemNotFound);
    return Field(this, index);
}

int Recordset::fieldIndex(const QString& name) const
{
    requireOpen();
    // Names compare unit by unit without regard to case: names of other lengths never match.
    const std::vector<ColumnInfo>& columns = m_result.columns.all();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const QString& column = columns[i].name;
        if (column.size() == name.size() && sameName(column, name))
            return int(i);
    }
    return -1;
}

const ColumnInfo& Recordset::column(int index) const
{
    requireOpen();
    if (index < 0 || std::size_t(index) >= m_result.columns.size())
        raise(adErr::ItemNotFound);
    return m_result.columns[std::size_t(index)];
}

Variant Recordset::value(int index) const
{
    column(index);
    if (m_editMode != adEditNone)
        return m_editBuffer[std::size_t(index)];
    requireCurrent();
    return m_result.value(std::size_t(m_position), std::size_t(index));
}

Variant Recordset::value(const QString& name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        raise(adErr::ItemNotFound);
    return value(index);
}

bool Recordset::updatable() const
{
    return m_lockType != adLockReadOnly;
}

void Recordset::requireUpdatable() const
{
    if (updatable())
        return;
    if (m_result.refusedWrites && !m_connectionAlive.expired() && m_connection)
        m_connection->providerFailed({*m_result.refusedWrites}, DbError(*m_result.refusedWrites));
    raise(adErr::OperationNotAllowed);
}

Connection& Recordset::writableConnection() const
{
    if (m_connectionAlive.expired() || !m_connection || m_connection->State() != adStateOpen)
        raise(adErr::ConnectionUnusable);
    return *m_connection;
}

void Recordset::setValue(int index, const Variant& value)
{
    column(index);
    requireUpdatable();
    if (m_editMode == adEditNone) {
        requireCurrent();
        m_editBuffer.clear();
        for (std::size_t i = 0; i < m_result.columns.size(); ++i)
            m_editBuffer.push_back(m_result.value(std::size_t(m_position), i));
        m_changed.assign(m_editBuffer.size(), false);
        m_editMode = adEditInProgress;
    }
    m_editBuffer[std::size_t(index)] = value.isEmpty() ? Variant::null() : value;
    m_changed[std::size_t(index)] = true;
}

void Recordset::AddNew()
{
    requireOpen();
    requireUpdatable();
    finishPendingEdit();
    m_positionBeforeAdd = m_position;
    m_editBuffer.assign(m_result.columns.size(), Variant::null());
    m_changed.assign(m_result.columns.size(), false);
    m_editMode = adEditAdd;
}

void Recordset::Update()
{
    requireOpen();
    if (m_editMode == adEditNone)
        return;
    std::vector<QString> columns;
    std::vector<Variant> values;
    for (std::size_t i = 0; i < m_result.columns.size(); ++i) {
        if (m_changed[i]) {
            columns.push_back(m_result.columns[i].baseColumn);
            values.push_back(m_editBuffer[i]);
        }
    }
    if (m_editMode == adEditInProgress && columns.empty()) {
        m_editMode = adEditNone;
        return;
    }
    Connection& connection = writableConnection();
    const QString table = m_result.baseTable;
    std::vector<Variant> stored;
    if (m_editMode == adEditAdd) {
        Variant key;
        connection.provider(false, [&](Backend& b, std::vector<ErrorInfo>& errors) {
            key = b.insertRow(table, columns, values, errors);
            stored = b.readRow(table, key, m_result.columns.all(), errors);
        });
        m_result.rows.push_back(stored.size() == m_result.columns.size() ? std::move(stored) : m_editBuffer);
        m_result.rowKeys.push_back(key);
        m_position = int64_t(m_result.rows.size()) - 1;
        m_onDeleted = false;
    } else {
        const Variant key = m_result.rowKeys[std::size_t(m_position)];
        connection.provider(false, [&](Backend& b, std::vector<ErrorInfo>& errors) {
            b.updateRow(table, key, columns, values, errors);
            stored = b.readRow(table, key, m_result.columns.all(), errors);
        });
        m_result.rows[std::size_t(m_position)] =
            stored.size() == m_result.columns.size() ? std::move(stored) : m_editBuffer;
    }
    m_editMode = adEditNone;
    m_editBuffer.clear();
    m_changed.clear();
}

void Recordset::CancelUpdate()
{
    requireOpen();
    if (m_editMode == adEditAdd)
        m_position = m_positionBeforeAdd;
    m_editMode = adEditNone;
    m_editBuffer.clear();
    m_changed.clear();
}

void Recordset::Delete()
{
    requireOpen();
    requireUpdatable();
    if (m_editMode == adEditAdd)
        raise(adErr::OperationNotAllowed);
    CancelUpdate();
    requireCurrent();
    Connection& connection = writableConnection();
    const auto index = std::size_t(m_position);
    const Variant key = m_result.rowKeys[index];
    const QString table = m_result.baseTable;
    connection.provider(false, [&](Backend& b, std::vector<ErrorInfo>& errors) { b.deleteRow(table, key, errors); });
    m_result.rows.erase(m_result.rows.begin() + std::ptrdiff_t(index));
    m_result.rowKeys.erase(m_result.rowKeys.begin() + std::ptrdiff_t(index));
    m_onDeleted = true;
}

QString Field::Name() const
{
    return m_owner->column(m_index).name;
}

int Field::Type() const
{
    return m_owner->column(m_index).type;
}

int64_t Field::DefinedSize() const
{
    return m_owner->column(m_index).definedSize;
}

int Field::Precision() const
{
    return m_owner->column(m_index).precision;
}

int Field::NumericScale() const
{
    return m_owner->column(m_index).scale;
}

Variant Field::Value() const
{
    return m_owner->value(m_index);
}

void Field::setValue(const Variant& value)
{
    m_owner->setValue(m_index, value);
}

} // namespace platform::db
