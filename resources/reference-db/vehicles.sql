-- Vehicle pick lists. Group 1 vehicle types, group 2 makes and models, group 3 colours. ordinal is the
-- code stored with the compound and the sort key, so there are more than nine vehicle types to keep the
-- numeric order honest; a model's "integer" is the ordinal of its vehicle type.
INSERT INTO gc_paramtable (groupid, ordinal, "integer", description) VALUES
(1, 1,  0, 'KERETA'),
(1, 2,  0, 'MOTOSIKAL'),
(1, 3,  0, 'VAN'),
(1, 4,  0, 'LORI'),
(1, 5,  0, 'BAS'),
(1, 6,  0, 'PACUAN EMPAT RODA'),
(1, 7,  0, 'TEKSI'),
(1, 8,  0, 'TREILER'),
(1, 9,  0, 'JENTERA BERAT'),
(1, 10, 0, 'LAIN-LAIN');

-- Models of cars (type 1).
INSERT INTO gc_paramtable (groupid, ordinal, "integer", description) VALUES
(2, 1,  1, 'PERODUA MYVI'),
(2, 2,  1, 'PERODUA AXIA'),
(2, 3,  1, 'PERODUA BEZZA'),
(2, 4,  1, 'PERODUA ALZA'),
(2, 5,  1, 'PERODUA ATIVA'),
(2, 6,  1, 'PERODUA ARUZ'),
(2, 7,  1, 'PERODUA KANCIL'),
(2, 8,  1, 'PROTON SAGA'),
(2, 9,  1, 'PROTON PERSONA'),
(2, 10, 1, 'PROTON IRIZ'),
(2, 11, 1, 'PROTON WIRA'),
(2, 12, 1, 'PROTON EXORA'),
(2, 13, 1, 'PROTON X50'),
(2, 14, 1, 'PROTON X70'),
(2, 15, 1, 'HONDA CITY'),
(2, 16, 1, 'HONDA CIVIC'),
(2, 17, 1, 'HONDA JAZZ'),
(2, 18, 1, 'HONDA HR-V'),
(2, 19, 1, 'TOYOTA VIOS'),
(2, 20, 1, 'TOYOTA CAMRY'),
(2, 21, 1, 'NISSAN ALMERA'),
(2, 22, 1, 'MAZDA 3'),
(2, 23, 1, 'MERCEDES-BENZ C200'),
(2, 24, 1, 'BMW 320I'),
(2, 25, 1, 'KERETA LAIN-LAIN');

-- Motorcycles (type 2).
INSERT INTO gc_paramtable (groupid, ordinal, "integer", description) VALUES
(2, 30, 2, 'YAMAHA LC135'),
(2, 31, 2, 'YAMAHA Y15ZR'),
(2, 32, 2, 'YAMAHA NMAX'),
(2, 33, 2, 'HONDA EX5'),
(2, 34, 2, 'HONDA WAVE 125'),
(2, 35, 2, 'HONDA RS150R'),
(2, 36, 2, 'MODENAS KRISS 110'),
(2, 37, 2, 'MODENAS DOMINAR 400'),
(2, 38, 2, 'SUZUKI BELANG 150'),
(2, 39, 2, 'KAWASAKI NINJA 250'),
(2, 40, 2, 'MOTOSIKAL LAIN-LAIN');

-- Vans (type 3), lorries (4), buses (5), four-wheel drives (6), taxis (7), heavy machinery (9).
-- Trailers (8) and "others" (10) have no models of their own.
INSERT INTO gc_paramtable (groupid, ordinal, "integer", description) VALUES
(2, 50, 3, 'TOYOTA HIACE'),
(2, 51, 3, 'NISSAN URVAN'),
(2, 52, 3, 'DAIHATSU GRAN MAX'),
(2, 53, 3, 'PERODUA RUSA'),
(2, 54, 3, 'HYUNDAI STAREX'),
(2, 60, 4, 'HINO 300'),
(2, 61, 4, 'ISUZU NPR'),
(2, 62, 4, 'MITSUBISHI FUSO CANTER'),
(2, 63, 4, 'DAIHATSU DELTA'),
(2, 64, 4, 'SCANIA P360'),
(2, 70, 5, 'HINO RK8'),
(2, 71, 5, 'SCANIA K410'),
(2, 72, 5, 'VOLVO B11R'),
(2, 80, 6, 'TOYOTA HILUX'),
(2, 81, 6, 'ISUZU D-MAX'),
(2, 82, 6, 'MITSUBISHI TRITON'),
(2, 83, 6, 'FORD RANGER'),
(2, 84, 6, 'NISSAN NAVARA'),
(2, 90, 7, 'PROTON EXORA TEKSI'),
(2, 91, 7, 'TOYOTA INNOVA TEKSI'),
(2, 92, 7, 'NAZA RIA TEKSI'),
(2, 100, 9, 'KOMATSU PC200'),
(2, 101, 9, 'JCB 3CX');

-- Colours.
INSERT INTO gc_paramtable (groupid, ordinal, "integer", description) VALUES
(3, 1,  0, 'PUTIH'),
(3, 2,  0, 'HITAM'),
(3, 3,  0, 'MERAH'),
(3, 4,  0, 'BIRU'),
(3, 5,  0, 'HIJAU'),
(3, 6,  0, 'KUNING'),
(3, 7,  0, 'KELABU'),
(3, 8,  0, 'PERAK'),
(3, 9,  0, 'COKLAT'),
(3, 10, 0, 'JINGGA'),
(3, 11, 0, 'UNGU'),
(3, 12, 0, 'EMAS'),
(3, 13, 0, 'MERAH JAMBU'),
(3, 14, 0, 'BIRU TUA'),
(3, 15, 0, 'LAIN-LAIN');
