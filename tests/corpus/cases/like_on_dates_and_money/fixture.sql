-- A date-time and a money column, for LIKE, which SQL Server applies to the
-- text of their default style.
CREATE TABLE Ventas (
  Id integer CONSTRAINT PK_Ventas PRIMARY KEY AUTOINCREMENT,
  Fecha datetime,
  Importe money,
  CONSTRAINT numeric_Importe CHECK (typeof(Importe) IN ('integer', 'real', 'null'))
);
INSERT INTO Ventas (Fecha, Importe) VALUES ('2024-04-15 10:00:00', 10.5);
