-- Cash boxes with an amount, a moment and a missing name, for the text and
-- date-name functions.
CREATE TABLE Cajas (
  Id integer NOT NULL,
  Nombre varchar(20) COLLATE SQLSERVER,
  Saldo money,
  Apertura datetime,
  CONSTRAINT PK_Cajas PRIMARY KEY (Id),
  CONSTRAINT maxlen_Nombre CHECK (length(Nombre) <= 20),
  CONSTRAINT numeric_Saldo CHECK (typeof(Saldo) IN ('integer', 'real', 'null'))
);
INSERT INTO Cajas VALUES (1, 'Norte', 1250.5, '2024-03-18 08:05:00'), (2, NULL, 0, '2024-12-01 21:30:15.250');
