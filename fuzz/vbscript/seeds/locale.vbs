SetLocale 1033
d = DateSerial(2026, 12, 7) + TimeSerial(21, 5, 3)
s = CStr(d) & " " & IsDate("December 7, 2026")
x = CDate(s2) 
SetLocale 1041
t = CDate("2026/12/07 9:05") & Rnd(-1) & Rnd(0)
Randomize 5
