#pragma once

#include <QString>
#include <QStringList>

struct sqlite3;

namespace testing_support {

// Another program's hold on an embedded data base file, as a second program
// or a maintenance tool takes it: while held, no other connection can read or
// write the file, and each of their statements waits for the lock until its
// command time-out. Released by release() or at the end of the object.
class ExclusiveLock
{
public:
    ExclusiveLock() = default;
    ~ExclusiveLock();
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

    // Takes the lock on `path`; false (with a test failure) when it cannot.
    bool take(const QString& path);
    void release();
    bool held() const { return m_db != nullptr; }

private:
    sqlite3* m_db = nullptr;
};

// Runs SQLite's own SQL on an embedded data base file as another program
// would, without the translator of the program's connections (for rows the
// program itself could not write as they are).
void runRawSql(const QString& path, const QString& sql);

// The rows of a query of SQLite's own SQL on an embedded data base file, read
// as another program would (each row its values' texts joined by tabs; write
// `quote(x)` in the query to see a value's storage class).
QStringList rawRows(const QString& path, const QString& sql);

} // namespace testing_support
