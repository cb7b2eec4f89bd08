-- Branches to page through, in two tables joined by UNION.
CREATE TABLE Sucursales (
  Id integer NOT NULL,
  Nombre varchar(20) COLLATE SQLSERVER,
  CONSTRAINT maxlen_Nombre CHECK (length(Nombre) <= 20)
);
INSERT INTO Sucursales VALUES (1, 'Centro'), (2, 'Norte'), (3, 'Sur');
CREATE TABLE Depositos (
  Id integer NOT NULL,
  Nombre varchar(20) COLLATE SQLSERVER,
  CONSTRAINT maxlen_Nombre CHECK (length(Nombre) <= 20)
);
INSERT INTO Depositos VALUES (4, 'Puerto'), (5, 'Ruta 3');
