-- Amounts with halves and near-halves, converted to int: money rounds half
-- away from zero (a decimal would lose its fraction), also where it is
-- written into an int column.
CREATE TABLE Importes (
  Id integer CONSTRAINT PK_Importes PRIMARY KEY AUTOINCREMENT,
  Importe money,
  Tasa decimal(10,2),
  Entero int,
  CONSTRAINT numeric_Importe CHECK (typeof(Importe) IN ('integer', 'real', 'null')),
  CONSTRAINT numeric_Tasa CHECK (typeof(Tasa) IN ('integer', 'real', 'null'))
);
INSERT INTO Importes (Id, Importe, Tasa) VALUES (1, 2.5, 2.5), (2, -2.5, -2.5), (3, 2.4999, 2.49), (4, 10.5, 10.99);
