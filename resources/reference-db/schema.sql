-- Tables of the reference database shipped as TVR.sqlite. Column names are the ones the lookups read;
-- everything is text except the codes the application sorts or formats as numbers.
--
-- device_info is deliberately absent: a phone whose database has no such table is unregistered, and the
-- table is created by the first device registration.
--
-- The officers table (gc_penguatkuasa) is not here either: make-reference-db creates it with the very
-- statement the officer-list update uses (core/ReferenceSchema.h), so a fresh install and an updated phone
-- hold an identical table, and turns the passwords of officers.sql into digests afterwards.

-- Compound types. The menu takes its pictures and its traffic marks from the row position, so the rows
-- are inserted in menu order and the table has no sort key of its own.
CREATE TABLE gc_kodjeniskmp (
    kod_jeniskmp TEXT,
    butiran      TEXT
);

-- Acts and by-laws; jenis_kmp is the compound type they belong to.
CREATE TABLE gc_kod_akta (
    akta_id      INTEGER,
    kod_akta     TEXT,
    butir_akta   TEXT,
    akta_detail  TEXT,
    tarikh_update TEXT,
    jenis_kmp    TEXT,
    title1       TEXT,
    title2       TEXT,
    aktif        TEXT
);

-- Sections (offences) with their amounts as printed, e.g. '300.00'.
CREATE TABLE gc_kod_seksyen (
    akta_id         INTEGER,
    kod_hasil       TEXT,
    akta_seksyen_id TEXT,
    kod_seksyen     TEXT,
    butir_seksyen   TEXT,
    seksyen_detail  TEXT,
    kadar_sebelum   TEXT,
    kadar_tawaran   TEXT,
    aktif           TEXT
);

-- Vehicle pick lists: group 1 vehicle types, 2 makes/models ("integer" = ordinal of their vehicle type),
-- 3 colours. Numeric so that "order by ordinal" puts 10 after 9.
CREATE TABLE gc_paramtable (
    groupid     INTEGER,
    ordinal     INTEGER,
    "integer"   INTEGER,
    description TEXT
);

-- States: the code is text, the lookups sort it with a cast.
CREATE TABLE ge_kod_negeri (
    kod_negeri TEXT,
    negeri     TEXT
);

-- Postcodes are text: several start with 0.
CREATE TABLE ge_kod_poskod (
    poskod     TEXT,
    bandar     TEXT,
    kod_negeri TEXT
);

-- Enforcement areas and their streets.
CREATE TABLE gc_kawasan (
    kodkaw     TEXT,
    short_desc TEXT
);

CREATE TABLE gc_lokasi (
    kodkaw   TEXT,
    kodjalan TEXT,
    prgn     TEXT
);
