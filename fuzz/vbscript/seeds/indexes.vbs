Dim a(40000), b(3, 3)
i = 32767 : a(i + 1) = "x" : a(i - 1) = a(i + 1) & a(CInt(i) + 1)
s = "1" : d = 1.5 : a(s + 1) = a(d - 1)
b(1 + 1, 3 - 1) = b(i - 32767, 0)
On Error Resume Next
x = a(2147483647 + 1) : x = a(i - 40000) : x = a(Null + 1)
Function Len(t) : Len = 0 : End Function
Dim Mid : Mid = 3
ExecuteGlobal "Function g : g = 7 : End Function"
y = g + a(g - 7)
