-- Officers of the enforcement department as the officer-list update would deliver them. Passwords are
-- written here as the council sends them; make-reference-db keeps only their digests in TVR.sqlite.
-- Rows with status other than 'A' have left or been suspended and must not be able to sign in.
INSERT INTO gc_penguatkuasa (peng_id, peng_nama, peng_katalaluan, peng_ic, kod_pekerja, tarikh_daftar, tarikh_update, status, peng_ubah, jawatan, tkh_ubah) VALUES
('101', 'AHMAD FAUZI BIN ISMAIL',          'merbau1001', '820415085127', 'PK1001', '2014-03-03', '2023-01-09', 'A', 'ADMIN', 'PENOLONG PEGAWAI PENGUATKUASA', '2023-01-09'),
('102', 'NORHAYATI BINTI ABDULLAH',        'nh1002',     '870722105344', 'PK1002', '2015-06-15', '2023-01-09', 'A', 'ADMIN', 'PEMBANTU PENGUATKUASA',         '2023-01-09'),
('103', 'MUHAMMAD HAFIZ BIN ZAKARIA',      'hafiz103',   '910308145581', 'PK1003', '2016-02-01', '2022-11-21', 'A', 'ADMIN', 'PEMBANTU PENGUATKUASA',         '2022-11-21'),
('104', 'MOHD NOR''AZMAN BIN ABDUL RAHMAN', 'azman1004',  '850130105209', 'PK1004', '2016-02-01', '2023-03-02', 'A', 'ADMIN', 'PEMBANTU PENGUATKUASA',         '2023-03-02'),
('105', 'SITI AISYAH BINTI MOHD YUSOF',    'aisyah05',   '930911065132', 'PK1005', '2018-08-20', '2023-01-09', 'A', 'ADMIN', 'PEMBANTU PENGUATKUASA RENDAH',  '2023-01-09'),
('106', 'RAJESH A/L MUNIANDY',             'rajesh106',  '880604085473', 'PK1006', '2017-04-10', '2023-01-09', 'A', 'ADMIN', 'PEMBANTU PENGUATKUASA',         '2023-01-09'),
('107', 'LIM CHEE KEONG',                  'lck1007',    '790219075619', 'PK1007', '2009-11-02', '2021-06-30', 'T', 'ADMIN', 'PENOLONG PEGAWAI PENGUATKUASA', '2021-06-30'),
('108', 'ZULKIFLI BIN HASSAN',             'zul1008',    '760513035287', 'PK1008', '2005-01-17', '2020-12-31', 'T', 'ADMIN', 'PEGAWAI PENGUATKUASA',          '2020-12-31'),
('109', 'NURUL IZZATI BINTI KAMARUDDIN',   'izzati09',   '950127105510', 'PK1009', '2020-09-01', '2023-01-09', 'A', 'ADMIN', 'PEMBANTU PENGUATKUASA RENDAH',  '2023-01-09'),
('110', 'KAMAL ARIFFIN BIN OMAR',          'kamal110',   '800901015433', 'PK1010', '2011-05-23', '2022-04-14', 'A', 'ADMIN', 'PEGAWAI PENGUATKUASA',          '2022-04-14'),
('111', 'FARIDAH BINTI SALLEH',            'faridah11',  '840316125066', 'PK1011', '2012-07-09', '2019-10-01', 'T', 'ADMIN', 'PEMBANTU PENGUATKUASA',         '2019-10-01');
