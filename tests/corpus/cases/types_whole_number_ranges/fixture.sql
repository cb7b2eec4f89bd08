-- Cash boxes with an int, a smallint and a tinyint: a value beyond its
-- column's type, written or computed, fails as SQL Server fails it (248 and
-- 244 for texts, 220 for an int in a smaller type, 8115 for an arithmetic
-- overflow) instead of being stored or answered.
CREATE TABLE Cajas (
  Id integer CONSTRAINT PK_Cajas PRIMARY KEY AUTOINCREMENT,
  Numero int,
  Chico smallint,
  Mini tinyint
);
INSERT INTO Cajas (Id, Numero, Chico, Mini) VALUES
  (1, 2000000000, 30000, 200),
  (2, 2147483647, 1, 1);
