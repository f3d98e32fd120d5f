On Error Resume Next
Function F(x) : If x Then F = 1 Else F = 2 End Function
Class C : Public [Rem], a() End Class
If F(1 / 0) Then :
Do While 1 / 0 : n = n + 1 : If n > 2 Then Exit Do
Loop
For i = 1 To "x" : Next
For Each e In Array(1 / 0) : Next
Select Case 1 / 0 : Case 1 : Case Else : End Select
Select Case 2 : Case CInt("x"), 2 : End Select
With Nothing : .Prop = 1 : End With
x =_
 -3^2 + 2^3^2
If x => 1 And x =< 99 And x >< 5 Then y = &HFF&
Set o = New C : o.rem = 4 : o.end = 5
Call (New C).Rem
z = .Outside
Err.Raise vbObjectError + 1, , , "help", 3
d = CDate("1/2/3") + CLng("&HFFFF") + CLng("¥1,234") + TimeValue("午前0:00")
r = Round(1233.715, 2) + CByte(True) + Rnd(0) + vbMsgBoxRight
If True Then
Sub Inner() : Out = 1 End Sub
End If
