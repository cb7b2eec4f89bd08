-- An empty data base: the statements create the table.
CREATE TABLE Vacia (Id int);
