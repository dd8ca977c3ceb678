-- The materials database Data.QBD. Created by the installation, never by the program.
-- Column order matters: a material is loaded by column position.
CREATE TABLE textfile (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    title TEXT NOT NULL DEFAULT '',
    classname TEXT NOT NULL DEFAULT '',
    bigclassname TEXT NOT NULL DEFAULT '',
    writer TEXT NOT NULL DEFAULT '',
    createtime TEXT NOT NULL DEFAULT '',
    main TEXT NOT NULL DEFAULT ''
);
CREATE TABLE exefile (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    title TEXT NOT NULL DEFAULT '',
    classname TEXT NOT NULL DEFAULT '',
    bigclassname TEXT NOT NULL DEFAULT '',
    writer TEXT NOT NULL DEFAULT '',
    createtime TEXT NOT NULL DEFAULT '',
    about TEXT NOT NULL DEFAULT '',
    fpath TEXT NOT NULL DEFAULT ''
);
-- Listing a category in either order, and the title search, read only these indexes.
CREATE INDEX textfile_by_title ON textfile (bigclassname, classname, title);
CREATE INDEX textfile_by_time ON textfile (bigclassname, classname, createtime, title);
CREATE INDEX exefile_by_title ON exefile (bigclassname, classname, title);
CREATE INDEX exefile_by_time ON exefile (bigclassname, classname, createtime, title);
-- The language a reader chose for a text material; the others' languages are guessed from what
-- they hold. Rows stay when their material goes: ids are never given out again.
CREATE TABLE textfile_language (id INTEGER PRIMARY KEY, language TEXT NOT NULL);
