Do
For i = 1 To 3
While True
If i = 2 Then Exit Do
Exit For
Wend
Next
Loop
Function F()
Execute "Dim y : y = 5"
F = y
End Function
x = F()
