-- An empty table of a date-time, an amount and a quantity, written with
-- INSERT ... SELECT of several members joined by UNION ALL: the literals
-- of every member are converted to the columns they are written into.
CREATE TABLE Destino (
  Id integer CONSTRAINT PK_Destino PRIMARY KEY AUTOINCREMENT,
  Fecha datetime,
  Importe money,
  Cantidad int,
  CONSTRAINT numeric_Importe CHECK (typeof(Importe) IN ('integer', 'real', 'null'))
);
