-- Date-times a few thousandths of a second apart, for times written with a
-- colon before the milliseconds (thousandths, as SQL Server reads them) and
-- with a point (a fraction of a second).
CREATE TABLE Marcas (
  ID integer CONSTRAINT PK_Marcas PRIMARY KEY AUTOINCREMENT,
  FechaHora datetime NOT NULL
);
INSERT INTO Marcas (ID, FechaHora) VALUES
  (1, '2024-04-15 10:00:00.123'),
  (2, '2024-04-15 10:00:00.120'),
  (3, '2024-04-15 10:00:00.007'),
  (4, '2024-04-15 10:00:00.070'),
  (5, '2024-04-15 10:00:00.700');
