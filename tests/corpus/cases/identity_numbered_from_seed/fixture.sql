-- A table without an identity; the statements create the one with it.
CREATE TABLE Fijos (
  Codigo varchar(10) COLLATE SQLSERVER NOT NULL,
  CONSTRAINT PK_Fijos PRIMARY KEY (Codigo),
  CONSTRAINT maxlen_Codigo CHECK (length(Codigo) <= 10)
);
