#include "BaseDePrueba.h"

namespace data_tests {

namespace {

const char* const kScript = R"(
CREATE TABLE ARTICULOS (CODIGO varchar(15) NOT NULL, NOMBRE varchar(40), N integer, ALTA datetime);
INSERT INTO ARTICULOS VALUES ('0001', 'Yerba', 12, '2024-02-01 00:00:00');
INSERT INTO ARTICULOS VALUES ('  0002', 'Azucar', 5, '2024-02-02 00:00:00');
INSERT INTO ARTICULOS VALUES ('O''Brien', NULL, 7, NULL);
CREATE TABLE V_MA_ARTICULOS (IDARTICULO varchar(15) NOT NULL, DESCRIPCION varchar(60));
INSERT INTO V_MA_ARTICULOS VALUES ('099', 'Uno');
INSERT INTO V_MA_ARTICULOS VALUES ('010', 'Dos');
INSERT INTO V_MA_ARTICULOS VALUES ('  0050', 'Tres');
CREATE TABLE VACIA (N integer);
CREATE TABLE CORTA (C varchar(4));
)";

} // namespace

BaseDePrueba::BaseDePrueba()
{
    m_fixture.createDatabase(QStringLiteral("PRUEBA"), QString::fromUtf8(kScript));
    m_instalado = instalarRegistro();
}

data::DB_Dll& BaseDePrueba::abrirPrincipal()
{
    data::DB_Dll& db = data::gDbPrincipal();
    db.gServidor = m_fixture.folder();
    db.gDBName = QStringLiteral("PRUEBA");
    db.OpenServerADODB(false, 3, cadena(), false, false);
    m_instalado.registro->llamadas.clear();
    return db;
}

QStringList BaseDePrueba::tomarLlamadas()
{
    QStringList llamadas = m_instalado.registro->llamadas;
    m_instalado.registro->llamadas.clear();
    return llamadas;
}

} // namespace data_tests
