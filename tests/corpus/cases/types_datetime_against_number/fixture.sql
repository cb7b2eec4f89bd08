-- Date-times around 18/03/2024 (day 45367 after 1900-01-01) and day 0
-- itself: a number compared with a date-time counts days from 1900-01-01.
CREATE TABLE Movimientos (
  Id integer CONSTRAINT PK_Movimientos PRIMARY KEY AUTOINCREMENT,
  FechaHora datetime NOT NULL
);
INSERT INTO Movimientos (Id, FechaHora) VALUES
  (1, '1900-01-01 00:00:00'),
  (2, '2024-03-18 00:00:00'),
  (3, '2024-03-18 12:00:00'),
  (4, '2024-03-20 08:05:00');
