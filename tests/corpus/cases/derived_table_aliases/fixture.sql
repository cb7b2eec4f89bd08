-- Articles with a price, read through derived tables whose columns are named
-- in each of SQL Server's forms.
CREATE TABLE Articulos (
  Codigo varchar(10) COLLATE SQLSERVER NOT NULL,
  Descripcion varchar(30) COLLATE SQLSERVER,
  Precio money,
  CONSTRAINT PK_Articulos PRIMARY KEY (Codigo),
  CONSTRAINT maxlen_Codigo CHECK (length(Codigo) <= 10),
  CONSTRAINT maxlen_Descripcion CHECK (length(Descripcion) <= 30),
  CONSTRAINT numeric_Precio CHECK (typeof(Precio) IN ('integer', 'real', 'null'))
);
INSERT INTO Articulos VALUES ('A1', 'Yerba', 1500), ('A2', 'Azucar', 820.5), ('A3', 'Cafe', 2300);
CREATE TABLE Etiquetas (
  Texto varchar(40) COLLATE SQLSERVER,
  CONSTRAINT maxlen_Texto CHECK (length(Texto) <= 40)
);
