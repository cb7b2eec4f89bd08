-- Prices, movement dates and stock by article code (a text), for the
-- members of UNION and of IN: each column, and each list, takes the type of
-- highest precedence among its members.
CREATE TABLE Precios (
  Id integer CONSTRAINT PK_Precios PRIMARY KEY AUTOINCREMENT,
  Codigo varchar(10) COLLATE SQLSERVER,
  Importe money,
  Fecha datetime,
  Cantidad int,
  CONSTRAINT numeric_Importe CHECK (typeof(Importe) IN ('integer', 'real', 'null')),
  CONSTRAINT maxlen_Codigo CHECK (length(Codigo) <= 10)
);
INSERT INTO Precios (Id, Codigo, Importe, Fecha, Cantidad) VALUES
  (1, '0001', 1000, '2024-03-18 08:05:00', 2),
  (2, '0002', 10.5, '2024-01-31 00:00:00', 3),
  (3, '0003', 99.99, '2024-12-01 00:00:00', 1);
CREATE TABLE Stock (
  Id integer CONSTRAINT PK_Stock PRIMARY KEY AUTOINCREMENT,
  IdArticulo int,
  Codigo varchar(10) COLLATE SQLSERVER,
  CONSTRAINT maxlen_Codigo CHECK (length(Codigo) <= 10)
);
INSERT INTO Stock (Id, IdArticulo, Codigo) VALUES (1, 2, '3'), (2, 3, '  1');
