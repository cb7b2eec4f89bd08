-- Cash boxes with an identity key, the price lists that refer to them, and a
-- view over them, for TRUNCATE TABLE.
CREATE TABLE Cajas (
  Id integer CONSTRAINT PK_Cajas PRIMARY KEY AUTOINCREMENT,
  Nombre varchar(20) COLLATE SQLSERVER,
  CONSTRAINT maxlen_Nombre CHECK (length(Nombre) <= 20)
);
INSERT INTO Cajas (Nombre) VALUES ('Norte'), ('Sur'), ('Este');
CREATE TABLE Listas (
  Codigo varchar(4) COLLATE SQLSERVER NOT NULL,
  CONSTRAINT PK_Listas PRIMARY KEY (Codigo),
  CONSTRAINT maxlen_Codigo CHECK (length(Codigo) <= 4)
);
INSERT INTO Listas VALUES ('0001');
CREATE TABLE Precios (
  Lista varchar(4) COLLATE SQLSERVER NOT NULL REFERENCES Listas (Codigo),
  Precio money,
  CONSTRAINT maxlen_Lista CHECK (length(Lista) <= 4),
  CONSTRAINT numeric_Precio CHECK (typeof(Precio) IN ('integer', 'real', 'null'))
);
CREATE VIEW V_Cajas AS SELECT Id, Nombre FROM Cajas;
