On Error Resume Next
Dim a(3)
ReDim b(2) : ReDim Preserve b(5)
For Each v In Array(1, "a", Null, Empty, #2026/12/07#)
Select Case v
Case 1, "a" : s = s & v
Case Else : s = s & TypeName(v)
End Select
Next
x = 1 / 0
Err.Raise 5
Execute "y = 1"
z = Eval("y + &HFF")
Set f = GetRef("Foo")
Do While i < 10 : i = i + 1 : Loop
While j < 3 : j = j + 1 : Wend
Erase a
