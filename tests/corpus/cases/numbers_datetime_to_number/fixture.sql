-- Date-times in the morning and in the afternoon of 18/03/2024 (day 45367
-- after 1900-01-01), converted to numbers: a float or a decimal counts the days with the
-- time as a fraction (a decimal at its scale), an int rounds to the nearest day.
CREATE TABLE Movimientos (
  Id integer CONSTRAINT PK_Movimientos PRIMARY KEY AUTOINCREMENT,
  FechaHora datetime NOT NULL
);
INSERT INTO Movimientos (Id, FechaHora) VALUES
  (1, '2024-03-18 06:00:00'),
  (2, '2024-03-18 18:00:00'),
  (3, '1900-01-02 00:00:00');
