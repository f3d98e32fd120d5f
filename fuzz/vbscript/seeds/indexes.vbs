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
Class C : Public Default Property Get V : V = 41 : End Property : End Class
Set a(3) = New C
z = a(3) + a(2) : z = a(1) < a(2) : z = a(i - 32767) = a(s)
For k = 1 To 3 : ReDim b(k) : b(k) = k : z = b(k) + b(k - 1) : Next
