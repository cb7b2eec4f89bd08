-- One article, for chains of one operator a hundred operands long.
CREATE TABLE Articulos (
  Codigo varchar(10) COLLATE SQLSERVER NOT NULL,
  Letra varchar(1) COLLATE SQLSERVER,
  Precio money,
  CONSTRAINT PK_Articulos PRIMARY KEY (Codigo),
  CONSTRAINT maxlen_Codigo CHECK (length(Codigo) <= 10),
  CONSTRAINT maxlen_Letra CHECK (length(Letra) <= 1),
  CONSTRAINT numeric_Precio CHECK (typeof(Precio) IN ('integer', 'real', 'null'))
);
INSERT INTO Articulos VALUES ('A1', 'x', 0.0101);
