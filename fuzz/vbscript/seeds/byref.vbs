Sub Inc(ByRef a, ByVal b)
a = a + b
End Sub
Dim arr(2, 2)
Inc arr(1, 1), 5
Call Inc(x, 1)
Inc (x), 2
Option Explicit
