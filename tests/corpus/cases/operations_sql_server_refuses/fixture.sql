-- One article with a bit, a float and a whole number, for operations that
-- SQL Server refuses or that leave a type's range.
CREATE TABLE Articulos (
  Codigo varchar(10) COLLATE SQLSERVER NOT NULL,
  Activo bit NOT NULL,
  Factor float,
  Cantidad int,
  CONSTRAINT PK_Articulos PRIMARY KEY (Codigo),
  CONSTRAINT maxlen_Codigo CHECK (length(Codigo) <= 10)
);
INSERT INTO Articulos VALUES ('A1', 1, 1e308, 3);
