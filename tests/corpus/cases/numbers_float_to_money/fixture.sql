-- A table of amounts, for float values converted to money: a float
-- literal (1.5e0) converts as its value, rounded to four decimals.
CREATE TABLE Precios (
  Id integer CONSTRAINT PK_Precios PRIMARY KEY AUTOINCREMENT,
  Importe money,
  CONSTRAINT numeric_Importe CHECK (typeof(Importe) IN ('integer', 'real', 'null'))
);
INSERT INTO Precios (Id, Importe) VALUES (1, 10);
