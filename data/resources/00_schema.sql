-- The resource database of the flow wizard view: texts by key and language, and toolbar
-- pictures by key. The files of this folder run in name order into one fresh database.

-- The layout number a caller names when it opens the file; a file of another layout is refused.
PRAGMA user_version = 7;

-- Languages are Windows language numbers (1033 English, 1031 German). Language 0 is not stored:
-- it is the neutral language in which every key is its own text.
CREATE TABLE languages (
    language INTEGER PRIMARY KEY CHECK (language > 0),
    name     TEXT NOT NULL
);

-- Keys compare case-sensitively ("IDS_TMax" and "IDS_TMAX" are different keys). A text may hold
-- "%1" where its caller fills in a value.
CREATE TABLE texts (
    key      TEXT NOT NULL COLLATE BINARY CHECK (key <> ''),
    language INTEGER NOT NULL REFERENCES languages (language),
    text     TEXT NOT NULL CHECK (text <> ''),
    PRIMARY KEY (key, language)
) WITHOUT ROWID;

-- One PNG per key; width and height must match the PNG's own header.
CREATE TABLE pictures (
    key    TEXT PRIMARY KEY COLLATE BINARY CHECK (key <> ''),
    png    BLOB NOT NULL,
    width  INTEGER NOT NULL CHECK (width > 0),
    height INTEGER NOT NULL CHECK (height > 0)
) WITHOUT ROWID;

INSERT INTO languages (language, name) VALUES
    (1033, 'English'),
    (1031, 'German');
