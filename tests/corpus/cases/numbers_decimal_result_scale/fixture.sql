-- An amount, a decimal rate and a quantity, for decimal arithmetic with SQL
-- Server's result scale: a division keeps at least six decimals (money /
-- 3.0 seven), rounded half away from zero; money with whole numbers stays
-- money, at four decimals.
CREATE TABLE Valores (
  Id integer CONSTRAINT PK_Valores PRIMARY KEY AUTOINCREMENT,
  Importe money,
  Tasa decimal(10,2),
  Cantidad int,
  CONSTRAINT numeric_Importe CHECK (typeof(Importe) IN ('integer', 'real', 'null')),
  CONSTRAINT numeric_Tasa CHECK (typeof(Tasa) IN ('integer', 'real', 'null'))
);
INSERT INTO Valores (Id, Importe, Tasa, Cantidad) VALUES (1, 1000, 1.25, 3);
