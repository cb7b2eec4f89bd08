-- Article codes kept as texts, some of them padded with zeros or blanks,
-- and a table of customer codes that are no numbers: a text column compared
-- with a number converts to the number's type, as SQL Server converts it.
CREATE TABLE Articulos (
  Id integer CONSTRAINT PK_Articulos PRIMARY KEY AUTOINCREMENT,
  Codigo varchar(10) COLLATE SQLSERVER,
  Descripcion varchar(30) COLLATE SQLSERVER,
  CONSTRAINT maxlen_Codigo CHECK (length(Codigo) <= 10),
  CONSTRAINT maxlen_Descripcion CHECK (length(Descripcion) <= 30)
);
INSERT INTO Articulos (Id, Codigo, Descripcion) VALUES
  (1, '0001', 'Yerba'),
  (2, '0002', 'Azúcar'),
  (3, '  3', 'Café'),
  (4, '0010', 'Harina');
CREATE TABLE Clientes (
  Id integer CONSTRAINT PK_Clientes PRIMARY KEY AUTOINCREMENT,
  Codigo varchar(10) COLLATE SQLSERVER,
  CONSTRAINT maxlen_Codigo CHECK (length(Codigo) <= 10)
);
INSERT INTO Clientes (Id, Codigo) VALUES (1, '0007'), (2, 'C-12');
