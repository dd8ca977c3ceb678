#pragma once

#include <QString>

// Where the SQL of the two stores differs, for the statement builders to ask: SQLite's texts are
// the designed ones; PostgreSQL gets statements that give the same rows in the same order. Both
// stores compare and order text by its bytes (PostgreSQL's columns use the "C" collation).
class SqlDialect
{
public:
    enum Kind { Sqlite, Postgres };

    explicit SqlDialect(Kind kind = Sqlite) : m_kind(kind) {}
    // The dialect of the database in use; SQLite's when there is none.
    static SqlDialect inUse();

    Kind kind() const { return m_kind; }

    // How many rows the select returns.
    QString countOf(const QString &select) const;
    // A LIKE as SQLite's: ASCII letters without regard to case, "%" and "_" the only wildcards,
    // no escape character.
    QString like(const QString &column, const QString &patternLiteral) const;
    // The order of a category's list (1 by title, 2 by creation time, otherwise table order).
    // SQLite reads it through an index whose entries end with the row id; PostgreSQL is told so.
    QString listOrder(int order) const;
    // The order of the search dialog's hits. SQLite reads a search through its index on category,
    // creation time and title, or in table order when only an author narrows a search of all
    // categories.
    QString searchOrder(bool tableOrder) const;

private:
    Kind m_kind;
};
