-- Articles with the mark DESDETRIGGER (a bit, 0 by default): any value other
-- than 0 written into a bit is 1, and the texts 'true' and 'false' are 1 and 0.
CREATE TABLE Articulos (
  Id integer CONSTRAINT PK_Articulos PRIMARY KEY AUTOINCREMENT,
  Costo money,
  DESDETRIGGER bit NOT NULL DEFAULT 0,
  CONSTRAINT numeric_Costo CHECK (typeof(Costo) IN ('integer', 'real', 'null'))
);
INSERT INTO Articulos (Id, Costo) VALUES (1, 10), (2, 20), (3, 30);
