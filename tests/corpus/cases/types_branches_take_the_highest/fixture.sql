-- Movements with a date-time, an amount and a quantity, some of them NULL,
-- for the branches of CASE, COALESCE and ISNULL: a text beside a
-- date-time, money or int branch is converted to that type.
CREATE TABLE Movimientos (
  Id integer CONSTRAINT PK_Movimientos PRIMARY KEY AUTOINCREMENT,
  Fecha datetime,
  Importe money,
  Cantidad int,
  CONSTRAINT numeric_Importe CHECK (typeof(Importe) IN ('integer', 'real', 'null'))
);
INSERT INTO Movimientos (Id, Fecha, Importe, Cantidad) VALUES
  (1, '2024-04-01 00:00:00', 250, 3),
  (2, NULL, NULL, NULL),
  (3, '2024-02-10 09:30:00', 1500.5, 12);
