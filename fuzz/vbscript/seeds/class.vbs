Class Box
Private m
Public Default Property Get Value
Value = m
End Property
Public Property Let Value(v)
m = v
End Property
Sub Class_Terminate
x = 1
End Sub
End Class
Set b = New Box : b.Value = 42 : x = b + 1
With b
.Value = 3
End With
