-- One article with a date-time and two texts holding numbers, for the
-- operators SQL Server allows between date-times and texts and those it refuses.
CREATE TABLE Articulos (
  Codigo varchar(10) COLLATE SQLSERVER NOT NULL,
  Alta datetime,
  Uno varchar(5) COLLATE SQLSERVER,
  Dos varchar(5) COLLATE SQLSERVER,
  CONSTRAINT PK_Articulos PRIMARY KEY (Codigo),
  CONSTRAINT maxlen_Codigo CHECK (length(Codigo) <= 10),
  CONSTRAINT maxlen_Uno CHECK (length(Uno) <= 5),
  CONSTRAINT maxlen_Dos CHECK (length(Dos) <= 5)
);
INSERT INTO Articulos VALUES ('A1', '2024-03-18 10:00:00', '5', '3');
