-- Cash boxes whose names a batch changes before it reads them back.
CREATE TABLE Cajas (
  Id integer NOT NULL,
  Nombre varchar(20) COLLATE SQLSERVER,
  CONSTRAINT PK_Cajas PRIMARY KEY (Id),
  CONSTRAINT maxlen_Nombre CHECK (length(Nombre) <= 20)
);
INSERT INTO Cajas VALUES (1, 'Norte'), (2, 'Sur'), (3, 'Este');
