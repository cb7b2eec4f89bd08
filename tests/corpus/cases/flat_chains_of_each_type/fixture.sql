-- One article with a value of each type, for chains a hundred operands long
-- of operators that take them as they are (no parentheses nest them).
CREATE TABLE Articulos (
  Codigo varchar(10) COLLATE SQLSERVER NOT NULL,
  Precio money,
  Cantidad int,
  Margen decimal(10,2),
  Factor float,
  Alta datetime,
  CONSTRAINT PK_Articulos PRIMARY KEY (Codigo),
  CONSTRAINT maxlen_Codigo CHECK (length(Codigo) <= 10),
  CONSTRAINT numeric_Precio CHECK (typeof(Precio) IN ('integer', 'real', 'null'))
);
INSERT INTO Articulos VALUES ('A1', 10.5, 3, 2.25, 1.5, '2024-03-18 10:00:00');
