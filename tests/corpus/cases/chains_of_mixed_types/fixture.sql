-- One article with a value of each type, for chains of operators whose
-- operands and results change type along the way.
CREATE TABLE Articulos (
  Codigo varchar(10) COLLATE SQLSERVER NOT NULL,
  Letra varchar(5) COLLATE SQLSERVER,
  Uno varchar(5) COLLATE SQLSERVER,
  Dos varchar(5) COLLATE SQLSERVER,
  Precio money,
  Cantidad int,
  Margen decimal(10,2),
  CONSTRAINT PK_Articulos PRIMARY KEY (Codigo),
  CONSTRAINT maxlen_Codigo CHECK (length(Codigo) <= 10),
  CONSTRAINT maxlen_Letra CHECK (length(Letra) <= 5),
  CONSTRAINT maxlen_Uno CHECK (length(Uno) <= 5),
  CONSTRAINT maxlen_Dos CHECK (length(Dos) <= 5),
  CONSTRAINT numeric_Precio CHECK (typeof(Precio) IN ('integer', 'real', 'null'))
);
INSERT INTO Articulos VALUES ('A1', 'x', '1', '2', 10.5, 3, 2.25);
