#pragma once

#include <QString>

// The installed schema of Data.QBD (install/schema.sql: statements ended by ";", comment lines
// beginning with "--"), made into a new database.
namespace SchemaFile {

// Creates the database at the path from the schema; a database already there is left alone.
// False, with the reason, when it cannot.
bool createDatabase(const QString &databasePath, const QString &schemaPath, QString *error);

} // namespace SchemaFile
