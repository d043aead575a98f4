Function Tally(ByVal Grade As Integer) As Integer
    Dim Total As Integer
    Select Case Grade
        Case 1
            Total = Total + 10
        Case 2
            Total = Total + 5
        Case Else
            Total = 0
    End Select
    For Index = 1 To 4
        If Total > 20 Then
            Total = Total - Index
        End If
    Next Index
    Do Until Total < 3
        Total = Total \ 2
    Loop
    Tally = Total
End Function
