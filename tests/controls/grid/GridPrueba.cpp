#include "GridPrueba.h"

#include "demo/DemoBuilder.h"
#include "support/EmbeddedFixture.h"
#include "support/TestEnvironment.h"

#include <QDir>

#include <gtest/gtest.h>

namespace grid_tests {

using namespace platform::db;
using platform::Variant;

namespace {

class Grabadora : public Backend
{
public:
    Grabadora(std::unique_ptr<Backend> inner, std::shared_ptr<Sentencias> s) : m_inner(std::move(inner)), m_s(s) {}

    void open(const OpenParams& params, std::vector<ErrorInfo>& errors) override { m_inner->open(params, errors); }
    void close() override { m_inner->close(); }
    QString defaultDatabase() const override { return m_inner->defaultDatabase(); }
    void setDefaultDatabase(const QString& name, std::vector<ErrorInfo>& errors) override
    {
        m_inner->setDefaultDatabase(name, errors);
    }
    void setCommandTimeout(int seconds) override { m_inner->setCommandTimeout(seconds); }
    ResultSet execute(const QString& sql, std::vector<ErrorInfo>& errors) override
    {
        m_s->lista << sql;
        return m_inner->execute(sql, errors);
    }
    ResultSet executeUpdatable(const QString& sql, std::vector<ErrorInfo>& errors) override
    {
        m_s->lista << sql;
        return m_inner->executeUpdatable(sql, errors);
    }
    void beginTransaction(std::vector<ErrorInfo>& errors) override { m_inner->beginTransaction(errors); }
    void commitTransaction(std::vector<ErrorInfo>& errors) override { m_inner->commitTransaction(errors); }
    void rollbackTransaction(std::vector<ErrorInfo>& errors) override { m_inner->rollbackTransaction(errors); }
    ResultSet openSchema(SchemaEnum schema, const std::vector<Variant>& criteria,
                         std::vector<ErrorInfo>& errors) override
    {
        return m_inner->openSchema(schema, criteria, errors);
    }
    Variant insertRow(const QString& table, const std::vector<QString>& columns, const std::vector<Variant>& values,
                      std::vector<ErrorInfo>& errors) override
    {
        return m_inner->insertRow(table, columns, values, errors);
    }
    void updateRow(const QString& table, const Variant& key, const std::vector<QString>& columns,
                   const std::vector<Variant>& values, std::vector<ErrorInfo>& errors) override
    {
        m_inner->updateRow(table, key, columns, values, errors);
    }
    void deleteRow(const QString& table, const Variant& key, std::vector<ErrorInfo>& errors) override
    {
        m_inner->deleteRow(table, key, errors);
    }
    std::vector<Variant> readRow(const QString& table, const Variant& key, const std::vector<ColumnInfo>& columns,
                                 std::vector<ErrorInfo>& errors) override
    {
        return m_inner->readRow(table, key, columns, errors);
    }

private:
    std::unique_ptr<Backend> m_inner;
    std::shared_ptr<Sentencias> m_s;
};

} // namespace

QStringList Sentencias::queEmpiezan(const QString& inicio) const
{
    QStringList out;
    for (const QString& s : lista) {
        if (s.trimmed().startsWith(inicio.trimmed(), Qt::CaseInsensitive)) {
            out << s;
        }
    }
    return out;
}

std::shared_ptr<Sentencias> grabarSentencias()
{
    auto s = std::make_shared<Sentencias>();
    setBackendWrapper([s](std::unique_ptr<Backend> inner) -> std::unique_ptr<Backend> {
        return std::make_unique<Grabadora>(std::move(inner), s);
    });
    return s;
}

QString servidorDemo()
{
    const QString carpeta = QDir(testing_support::testFolder()).filePath(QStringLiteral("demo"));
    demo::BuildOptions opciones;
    opciones.folder = carpeta;
    const demo::BuildResult r = demo::buildDemoServer(opciones);
    EXPECT_TRUE(r.ok) << r.error.toStdString();
    return QStringLiteral("PROVIDER=SQLOLEDB;Server=%1;Database =%2;UId=x;Pwd=y;Connect Timeout=5;")
        .arg(carpeta, QString::fromLatin1(demo::kMainDatabase));
}

QString servidorNumeros(int filas)
{
    testing_support::EmbeddedFixture servidor;
    servidor.createDatabase(
        QStringLiteral("GRID"),
        QStringLiteral("CREATE TABLE T (ID integer PRIMARY KEY, a integer);"
                       "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < %1)"
                       " INSERT INTO T (ID, a) SELECT x, 1 FROM n;")
            .arg(filas));
    return servidor.connectionString(QStringLiteral("GRID"));
}

} // namespace grid_tests
