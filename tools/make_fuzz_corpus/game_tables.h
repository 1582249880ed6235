#pragma once
// Fills the database's game tables (heroes to battler sets) with entries
// that use every kind of field, for the loader's seed files.
void FillGameTables();
