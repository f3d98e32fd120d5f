Class Swap
  Public Default Property Get V
    Set o = Nothing : V = 3
  End Property
End Class
Const K = 2
Dim a(9), s
s = "日本"
For i = 0 To 9 Step K
  a(i) = i * 1.5 : a(i + 1) = CSng(i) / 3
  If a(i) > a(i + 1) Then t = a(i) : a(i) = a(i + 1) : a(i + 1) = t
  s = s & s : s = s & Null : s = s & i
  i = i - (i Mod 3 = 0)
Next
Set o = New Swap
x = o + 1 : Set o = New Swap : y = 1 < o
Sub Use(p, ByVal q)
  z = p + q - K * p & p
  If p = q Then p = p & "x"
End Sub
Use a(2), a(3) : Use s, 32767 + 1
ExecuteGlobal "Const L = 7"
On Error Resume Next
L = 1 : w = a("z") + 2147483647 + 1
