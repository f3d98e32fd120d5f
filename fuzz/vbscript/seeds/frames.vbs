count = 0
Sub Inc(ByVal by)
  count = count + by
End Sub
Function Big(n)
  Dim a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12, a13, a14, a15, a16, a17
  a17 = n
  If n > 0 Then a1 = Big(n - 1)
  Big = a1 + a17
End Function
Function Pick(a, ByVal b, c)
  If a < b Then Pick = c Else Pick = b
  c = c + 1
End Function
Dim arr(3)
arr(1) = 2
x = Pick(1, arr(1), arr(2))
y = Pick(, 2, z)
Inc 3 : Inc Big(5)
Do While count < 40 And x <> 1
  Inc 1
Loop
If count >= 40 Or Big(2) = 3 Then r = Big(16)
